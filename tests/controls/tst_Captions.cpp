#include "COLORFrame.h"
#include "StaticFrame.h"
#include "WidgetPixels.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using tesk::COLORFrame;
using tesk::StaticFrame;
using tesk::test::at;
using tesk::test::boundsOf;
using tesk::test::nearBlack;
using tesk::test::nearWhite;
using tesk::test::paintWidget;

TEST(COLORFrame, WhiteCaptionCentredOnItsColour) {
    COLORFrame caption(QStringLiteral("X"), QColor(0, 0, 200));
    const QImage shown = paintWidget(caption, QSize(46, 28));
    EXPECT_EQ(at(shown, 0, 0), QColor(0, 0, 200));
    EXPECT_EQ(at(shown, 45, 27), QColor(0, 0, 200));
    const QRect text = boundsOf(shown, nearWhite);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NEAR(text.center().x(), 23, 2);
    EXPECT_NEAR(text.center().y(), 14, 2);
    // The caption font is twice as wide as usual: an X is wider than it is tall.
    EXPECT_GT(text.width(), text.height());

    caption.setColour(QColor(200, 0, 0));
    EXPECT_EQ(at(paintWidget(caption, QSize(46, 28)), 0, 0), QColor(200, 0, 0));
}

TEST(StaticFrame, BlackCaptionOnLightBlueGrowingWithTheHeight) {
    StaticFrame caption(QStringLiteral("ABC"));
    const QImage small = paintWidget(caption, QSize(120, 20));
    EXPECT_EQ(at(small, 0, 0), QColor(160, 200, 255));
    EXPECT_EQ(at(small, 119, 19), QColor(160, 200, 255));
    const QRect smallText = boundsOf(small, nearBlack);
    ASSERT_FALSE(smallText.isEmpty());
    EXPECT_NEAR(smallText.center().x(), 60, 2);
    EXPECT_NEAR(smallText.center().y(), 10, 2);

    const QImage large = paintWidget(caption, QSize(120, 40));
    const QRect largeText = boundsOf(large, nearBlack);
    ASSERT_FALSE(largeText.isEmpty());
    EXPECT_NEAR(largeText.width(), 2 * smallText.width(), 4);
    EXPECT_NEAR(largeText.center().y(), 20, 4);

    // 0.6 x the height in points is 0.8 x the height in pixels at 96 dpi.
    const QFont font = StaticFrame::captionFont(QStringLiteral("ABC"), QSize(120, 30));
    EXPECT_EQ(font.pixelSize(), 24);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
}

TEST(StaticFrame, LongCaptionShrinksToFitTheWidth) {
    // The control panel's captions are 84 x 26: six full-width characters at the height rule
    // would need about 126 pixels.
    StaticFrame caption(QStringLiteral("プロジェクト"));
    EXPECT_LT(StaticFrame::captionFont(caption.text(), QSize(84, 26)).pixelSize(), 21);
    const QImage shown = paintWidget(caption, QSize(84, 26));
    const QRect text = boundsOf(shown, nearBlack);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GT(text.left(), 0);
    EXPECT_LT(text.right(), 83);
    EXPECT_GT(text.width(), 84 * 3 / 4) << "shrunk no more than needed";
}
