#include "StaticFrame.h"

#include "UiFonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace tesk {

StaticFrame::StaticFrame(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

StaticFrame::StaticFrame(const QString& text, QWidget* parent) : StaticFrame(parent) {
    setText(text);
}

QFont StaticFrame::captionFont(const QString& text, const QSize& clientSize) {
    QFont font = pointFont(QStringLiteral("MS UI Gothic"), clientSize.height() * 6);
    const int textWidth = QFontMetrics(font).horizontalAdvance(text);
    if (textWidth > clientSize.width()) {
        font.setPixelSize(std::max(1, font.pixelSize() * clientSize.width() / textWidth));
    }
    return font;
}

void StaticFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background());
    painter.setFont(captionFont(text(), size()));
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace tesk
