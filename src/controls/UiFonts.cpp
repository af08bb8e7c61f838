#include "UiFonts.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

struct FaceMapping {
    const char* windowsFace;
    const char* linuxFamily;
};

// MS UI Gothic and MS Shell Dlg (which Japanese Windows resolves to MS UI Gothic) are
// proportional, like IPA P Gothic; MS Gothic is fixed-pitch, like IPA Gothic.
constexpr FaceMapping kFaceMappings[] = {
    {"MS UI Gothic", "IPAPGothic"},   {"MS Shell Dlg", "IPAPGothic"},
    {"MS Shell Dlg 2", "IPAPGothic"}, {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"MS PGothic", "IPAPGothic"},     {"ＭＳ ゴシック", "IPAGothic"},
    {"MS Gothic", "IPAGothic"},
};

constexpr int kScreenDpi = 96;

} // namespace

QString linuxFontFamily(const QString& windowsFace) {
    for (const FaceMapping& mapping : kFaceMappings) {
        if (windowsFace == QString::fromUtf8(mapping.windowsFace)) {
            return QString::fromLatin1(mapping.linuxFamily);
        }
    }
    return windowsFace;
}

QFont gdiFont(const QString& windowsFace, int height, int width, int weight) {
    QFont font(linuxFontFamily(windowsFace));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(weight == 0 ? QFont::Normal
                               : static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        // A cell height includes the internal leading: scale the em to fit ascent + descent.
        font.setPixelSize(100);
        const QFontMetricsF probe(font);
        const double cell = probe.ascent() + probe.descent();
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * 100.0 / cell))));
    }
    if (width > 0) {
        const double natural = QFontMetricsF(font).averageCharWidth();
        if (natural > 0) {
            font.setStretch(
                std::clamp(static_cast<int>(std::lround(100.0 * width / natural)), 1, 4000));
        }
    }
    return font;
}

QFont pointFont(const QString& windowsFace, int tenthsOfPoint) {
    // As the framework's point-font creation does: the em height is the size in pixels.
    return gdiFont(windowsFace,
                   -std::max(1, static_cast<int>(std::lround(tenthsOfPoint * kScreenDpi / 720.0))));
}

} // namespace tesk
