#pragma once
// Helpers for tests that paint a widget and look at the picture.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

namespace tesk::test {

/// Shows nothing on screen: paints the widget at `size` and returns its picture, one image
/// pixel per widget pixel.
inline QImage paintWidget(QWidget& widget, const QSize& size) {
    widget.resize(size);
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

/// The bounding box of the pixels for which `match` holds; empty when none does.
template <typename Match> QRect boundsOf(const QImage& image, Match match) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixelColor(x, y))) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

/// Pixels at least this bright (or dark) on every channel count as the text colour.
inline bool nearWhite(const QColor& c) {
    return c.red() > 230 && c.green() > 230 && c.blue() > 230;
}
inline bool nearBlack(const QColor& c) {
    return c.red() < 40 && c.green() < 40 && c.blue() < 40;
}

} // namespace tesk::test
