#include "RADIOFrame.h"

#include "UiFonts.h"

#include <QPainter>
#include <unordered_set>

namespace tesk {

namespace {

int g_lastSelectedIndex = -1;

} // namespace

RADIOFrame::RADIOFrame(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFont(gdiFont(QStringLiteral("ＭＳ Ｐゴシック"), 12, 6, 400));
    connect(this, &QAbstractButton::clicked, this, [this] {
        select(1);
        emit picked(m_groupIndex);
    });
}

RADIOFrame::RADIOFrame(const QString& text, int groupIndex, QWidget* parent) : RADIOFrame(parent) {
    setText(text);
    m_groupIndex = groupIndex;
}

void RADIOFrame::linkRing(const QList<RADIOFrame*>& buttons) {
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        buttons[i]->setNext(buttons[(i + 1) % buttons.size()]);
    }
}

bool RADIOFrame::setFace(const QImage& face) {
    if (face.isNull()) {
        m_face = QImage();
    } else if (face.width() == kFaceWidth && face.height() == kFaceHeight) {
        m_face = face.convertToFormat(QImage::Format_RGB32);
    } else {
        return false;
    }
    update();
    return true;
}

void RADIOFrame::select(int state) {
    g_lastSelectedIndex = m_groupIndex;
    // A ring that was linked wrongly (open, or looping without this button) must not hang.
    std::unordered_set<const RADIOFrame*> visited{this};
    for (RADIOFrame* other = m_next; other != nullptr && visited.insert(other).second;
         other = other->m_next) {
        if (other->m_groupIndex != m_groupIndex) {
            other->setSelectedState(0);
        }
    }
    setSelectedState(state);
}

int RADIOFrame::lastSelectedIndex() {
    return g_lastSelectedIndex;
}

void RADIOFrame::setSelectedState(int state) {
    // Every rebuild shows the shape's type again; only a change needs a new face.
    if (state == m_selected) {
        return;
    }
    m_selected = state;
    update();
}

QImage RADIOFrame::composedFace() const {
    QImage picture(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    if (m_face.isNull()) {
        painter.fillRect(0, 0, kFaceWidth, kHalfHeight, QColor(200, 200, 200));
        painter.fillRect(0, kHalfHeight, kFaceWidth, kFaceHeight - kHalfHeight,
                         QColor(100, 100, 100));
    } else {
        painter.drawImage(0, 0, m_face);
    }
    painter.setFont(font());
    // The caption box follows the client size, as the layout of the original faces expects.
    const QRect box(2, 0, width() + 4 - 2, height() - 3);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (m_selected) {
        painter.setPen(QColor(180, 180, 180));
        painter.drawText(box.translated(0, 18), flags, text());
        painter.setPen(Qt::white);
        painter.drawText(box.translated(1, 19), flags, text());
    } else {
        painter.setPen(QColor(140, 140, 140));
        painter.drawText(box.translated(1, 1), flags, text());
        painter.setPen(Qt::black);
        painter.drawText(box, flags, text());
    }
    return picture;
}

void RADIOFrame::paintEvent(QPaintEvent*) {
    const QImage picture = composedFace();
    const QRect half(0, m_selected ? kHalfHeight : 0, kFaceWidth, kHalfHeight);
    QPainter painter(this);
    painter.drawImage(rect(), picture, half);
}

} // namespace tesk
