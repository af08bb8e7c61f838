#include "DialogUnits.h"
#include "UiFonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <gtest/gtest.h>

using tesk::DialogUnits;
using tesk::gdiFont;
using tesk::linuxFontFamily;
using tesk::pointFont;

TEST(UiFonts, WindowsJapaneseFacesResolveToInstalledIpaFonts) {
    EXPECT_EQ(linuxFontFamily(QStringLiteral("MS UI Gothic")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(linuxFontFamily(QStringLiteral("ＭＳ Ｐゴシック")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(linuxFontFamily(QStringLiteral("MS Shell Dlg")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(linuxFontFamily(QStringLiteral("ＭＳ ゴシック")), QStringLiteral("IPAGothic"));
    EXPECT_EQ(linuxFontFamily(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(QFontInfo(gdiFont(QStringLiteral("MS UI Gothic"), 12)).family(),
              QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(gdiFont(QStringLiteral("ＭＳ ゴシック"), 12)).family(),
              QStringLiteral("IPAGothic"));
}

TEST(UiFonts, GdiSizesBecomeCellHeightAverageWidthAndEm) {
    const QFont cell = gdiFont(QStringLiteral("MS UI Gothic"), 24);
    const QFontMetricsF cellMetrics(cell);
    EXPECT_NEAR(cellMetrics.ascent() + cellMetrics.descent(), 24, 1);

    EXPECT_EQ(gdiFont(QStringLiteral("MS UI Gothic"), -15).pixelSize(), 15);

    const QFont wide = gdiFont(QStringLiteral("MS UI Gothic"), 12, 12, 2);
    EXPECT_NEAR(QFontMetricsF(wide).averageCharWidth(), 12, 1);
    EXPECT_GT(wide.stretch(), 150);

    // 9 points on a 96 dpi screen are 12 pixels.
    EXPECT_EQ(pointFont(QStringLiteral("MS UI Gothic"), 90).pixelSize(), 12);
    EXPECT_EQ(pointFont(QStringLiteral("MS Shell Dlg"), 80).pixelSize(), 11);
}

TEST(DialogUnits, MapsEdgesSoNeighboursMeet) {
    const DialogUnits units(7, 13);
    EXPECT_EQ(units.x(4), 7);
    EXPECT_EQ(units.y(8), 13);
    // 6 * 7 / 4 = 10.5 rounds up; the right edge 44 * 7 / 4 = 77.
    EXPECT_EQ(units.rect(6, 6, 38, 10), QRect(11, 10, 66, 16));
    for (int top = 0; top < 60; top += 3) {
        const QRect upper = units.rect(0, top, 48, 3);
        const QRect lower = units.rect(0, top + 3, 48, 3);
        ASSERT_EQ(upper.bottom() + 1, lower.top()) << top;
    }
    EXPECT_EQ(units.size(64, 77), QSize(112, 125));
}
