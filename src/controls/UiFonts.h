#pragma once
// The Windows Japanese UI fonts the panels were laid out for, mapped to the metric-compatible
// IPA fonts, and fonts built from GDI-style sizes (cell height, average width, weight).

#include <QFont>
#include <QString>

namespace tesk {

/// The installed family that stands in for a Windows face name; unknown names pass through.
QString linuxFontFamily(const QString& windowsFace);

/// A font as GDI's CreateFont makes it: `height` > 0 is the cell height in pixels, < 0 the
/// character (em) height, 0 the default; `width` is the average character width in pixels
/// (0 = the font's own); `weight` 0..1000 (0 = normal).
QFont gdiFont(const QString& windowsFace, int height, int width = 0, int weight = 400);

/// A font of a size in tenths of a point, on the 96 dpi screen the layouts were made for.
QFont pointFont(const QString& windowsFace, int tenthsOfPoint);

} // namespace tesk
