#include "DialogUnits.h"

#include <QFontMetrics>
#include <cmath>

namespace tesk {

namespace {

// a * b / c rounded half away from zero, as the template mapping rounds.
int mulDiv(int a, int b, int c) {
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

int averageLetterWidth(const QFont& font) {
    const int letters =
        QFontMetrics(font).horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                            "abcdefghijklmnopqrstuvwxyz"));
    return (letters / 26 + 1) / 2;
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
    : m_baseWidth(averageLetterWidth(font)), m_baseHeight(QFontMetrics(font).height()) {}

int DialogUnits::x(int units) const {
    return mulDiv(units, m_baseWidth, 4);
}

int DialogUnits::y(int units) const {
    return mulDiv(units, m_baseHeight, 8);
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    const int x0 = x(left);
    const int y0 = y(top);
    return QRect(x0, y0, x(left + width) - x0, y(top + height) - y0);
}

QSize DialogUnits::size(int width, int height) const {
    return QSize(x(width), y(height));
}

} // namespace tesk
