#include "COLORFrame.h"

#include "UiFonts.h"

#include <QPainter>

namespace tesk {

COLORFrame::COLORFrame(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFont(gdiFont(QStringLiteral("MS UI Gothic"), 12, 12, 2));
}

COLORFrame::COLORFrame(const QString& text, const QColor& colour, QWidget* parent)
    : COLORFrame(parent) {
    setText(text);
    m_colour = colour;
}

void COLORFrame::setColour(const QColor& colour) {
    m_colour = colour;
    update();
}

void COLORFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
    painter.setFont(font());
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace tesk
