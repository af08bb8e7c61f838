#include "StaticFrame.h"

#include "UiFonts.h"

#include <QPainter>

namespace tesk {

StaticFrame::StaticFrame(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

StaticFrame::StaticFrame(const QString& text, QWidget* parent) : StaticFrame(parent) {
    setText(text);
}

QFont StaticFrame::captionFont(int clientHeight) {
    return pointFont(QStringLiteral("MS UI Gothic"), clientHeight * 6);
}

void StaticFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background());
    painter.setFont(captionFont(height()));
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace tesk
