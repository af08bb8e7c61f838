#pragma once
// Converts dialog-template units to pixels from the dialog font's average character size, so
// dialogs laid out in code keep the proportions of their templates.

#include <QFont>
#include <QRect>
#include <QSize>

namespace tesk {

class DialogUnits {
public:
    /// Base units of `font`: the average width of the Latin letters and the line height.
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseWidth, int baseHeight) : m_baseWidth(baseWidth), m_baseHeight(baseHeight) {}

    int baseWidth() const { return m_baseWidth; }
    int baseHeight() const { return m_baseHeight; }

    /// One horizontal unit is a quarter of the base width, one vertical an eighth of the height.
    int x(int units) const;
    int y(int units) const;
    /// Maps the four edges separately, as templates are mapped, so adjacent controls meet.
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const;

private:
    int m_baseWidth;
    int m_baseHeight;
};

} // namespace tesk
