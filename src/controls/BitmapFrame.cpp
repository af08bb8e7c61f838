#include "BitmapFrame.h"

#include <QPainter>
#include <algorithm>
#include <new>

namespace tesk {

namespace {

constexpr int kMaxSide = 65535;
// Far beyond any screen; larger requests would exhaust memory rather than fail cleanly.
constexpr int64_t kMaxPixels = int64_t{1} << 24;

} // namespace

BitmapFrame::BitmapFrame(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

bool BitmapFrame::setSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        int64_t{width} * height > kMaxPixels) {
        return false;
    }
    QImage display(width, height, QImage::Format_RGB32);
    if (display.isNull()) {
        return false;
    }
    std::vector<uint32_t> source;
    try {
        source.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    display.fill(0u);
    m_source.swap(source);
    m_display.swap(display);
    m_width = width;
    m_height = height;
    update();
    return true;
}

void BitmapFrame::fill(uint32_t colour) {
    std::fill(m_source.begin(), m_source.end(), colour);
    m_display.fill(0xff000000u | colour);
    update();
}

bool BitmapFrame::setImage(int width, int height, const uint32_t* pixels, bool sculptColours) {
    if (pixels == nullptr || !setSize(width, height)) {
        return false;
    }
    std::copy(pixels, pixels + m_source.size(), m_source.begin());
    const uint32_t* source = m_source.data();
    for (int y = 0; y < m_height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(m_display.scanLine(y));
        for (int x = 0; x < m_width; ++x) {
            const uint32_t p = *source++;
            uint32_t red = p & 0xffu;
            uint32_t green = (p >> 8) & 0xffu;
            const uint32_t blue = (p >> 16) & 0xffu;
            if (sculptColours) {
                red = 255 - red;
                green = 255 - green;
            }
            row[x] = 0xff000000u | red << 16 | green << 8 | blue;
        }
    }
    update();
    return true;
}

void BitmapFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_display.isNull() && setSize(width(), height())) {
        fill(0xffffffu);
    }
    if (m_display.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    // Plain pixel copy: each map pixel stays a crisp block.
    painter.drawImage(rect(), m_display);
}

} // namespace tesk
