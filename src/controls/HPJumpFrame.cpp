#include "HPJumpFrame.h"

#include <QDesktopServices>
#include <QPainter>

namespace tesk {

namespace {

constexpr int kMaxSide = 10000;

} // namespace

HPJumpFrame::HPJumpFrame(QWidget* parent)
    : QAbstractButton(parent), m_opener([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &HPJumpFrame::openAddress);
}

bool HPJumpFrame::setPicture(const QString& address, const uint32_t* pixels, int width,
                             int height) {
    if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        return false;
    }
    if (m_picture.width() != width || m_picture.height() != height) {
        QImage picture(width, height, QImage::Format_RGB32);
        if (picture.isNull()) {
            return false;
        }
        m_picture.swap(picture);
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(m_picture.scanLine(y));
        const uint32_t* source = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            row[x] = 0xff000000u | source[x];
        }
    }
    m_address = address;
    setToolTip(address);
    update();
    return true;
}

bool HPJumpFrame::setPicture(const QString& address, const QImage& picture) {
    if (picture.isNull()) {
        return false;
    }
    // 32-bit rows carry no padding, so the bits are width x height words as they stand.
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    return setPicture(address, reinterpret_cast<const uint32_t*>(rgb.constBits()), rgb.width(),
                      rgb.height());
}

void HPJumpFrame::setUrlOpener(UrlOpener opener) {
    m_opener = std::move(opener);
}

QSize HPJumpFrame::sizeHint() const {
    return m_picture.isNull() ? QSize(84, 63) : m_picture.size();
}

void HPJumpFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_picture.isNull()) {
        painter.drawImage(QPoint(0, 0), m_picture);
    }
}

void HPJumpFrame::openAddress() {
    if (!m_address.isEmpty() && m_opener) {
        m_opener(QUrl(m_address));
    }
}

} // namespace tesk
