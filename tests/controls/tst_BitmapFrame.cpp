#include "BitmapFrame.h"
#include "WidgetPixels.h"

#include <gtest/gtest.h>
#include <vector>

using tesk::BitmapFrame;
using tesk::test::at;
using tesk::test::paintWidget;

namespace {

// X code in byte 0, Y in byte 1, Z in byte 2: the layout of the sculpt map.
constexpr uint32_t mapPixel(uint32_t x, uint32_t y, uint32_t z) {
    return x | y << 8 | z << 16;
}

} // namespace

TEST(BitmapFrame, SetSizeRefusesBadSidesAndKeepsTheOldBuffers) {
    BitmapFrame frame;
    const uint32_t pixel = mapPixel(1, 2, 3);
    ASSERT_TRUE(frame.setImage(1, 1, &pixel, false));
    for (const auto& [w, h] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {65536, 1}, {1, 65536}}) {
        EXPECT_FALSE(frame.setSize(w, h)) << w << " x " << h;
    }
    // Within the per-side limit but far too many pixels to hold.
    EXPECT_FALSE(frame.setSize(65535, 65535));
    EXPECT_EQ(frame.imageWidth(), 1);
    EXPECT_EQ(frame.imageHeight(), 1);
    EXPECT_EQ(frame.sourcePixels(), std::vector<uint32_t>{pixel});
    EXPECT_EQ(frame.displayImage().pixel(0, 0), 0xff010203u);

    EXPECT_TRUE(frame.setSize(65535, 1));
    EXPECT_EQ(frame.imageWidth(), 65535);
    EXPECT_EQ(frame.sourcePixels().size(), 65535u);
    EXPECT_EQ(frame.sourcePixels()[100], 0u);
}

TEST(BitmapFrame, SetImageRefusesMissingPixels) {
    BitmapFrame frame;
    EXPECT_FALSE(frame.setImage(64, 64, nullptr, true));
    EXPECT_TRUE(frame.displayImage().isNull());
}

TEST(BitmapFrame, SculptColoursInvertRedAndGreenOnScreen) {
    // Four quadrants with distinct X, Y and Z codes, so both channel order and position show.
    std::vector<uint32_t> map(64 * 64);
    const uint32_t quadrant[4] = {mapPixel(0x10, 0x20, 0x30), mapPixel(0xf0, 0x00, 0x80),
                                  mapPixel(0x00, 0xff, 0x00), mapPixel(0x40, 0x80, 0xc0)};
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            map[y * 64 + x] = quadrant[(y / 32) * 2 + x / 32];
        }
    }
    BitmapFrame frame;
    ASSERT_TRUE(frame.setImage(64, 64, map.data(), true));
    EXPECT_EQ(frame.sourcePixels(), map);
    const QImage shown = paintWidget(frame, QSize(128, 96));
    EXPECT_EQ(at(shown, 10, 10), QColor(0xef, 0xdf, 0x30));
    EXPECT_EQ(at(shown, 120, 10), QColor(0x0f, 0xff, 0x80));
    EXPECT_EQ(at(shown, 10, 90), QColor(0xff, 0x00, 0x00));
    EXPECT_EQ(at(shown, 120, 90), QColor(0xbf, 0x7f, 0xc0));

    ASSERT_TRUE(frame.setImage(64, 64, map.data(), false));
    const QImage plain = paintWidget(frame, QSize(128, 96));
    EXPECT_EQ(at(plain, 10, 10), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(at(plain, 120, 10), QColor(0xf0, 0x00, 0x80));
}

TEST(BitmapFrame, StretchesWithoutSmoothing) {
    // A one-pixel checker: every map pixel must become a sharp 2 x 2 block.
    std::vector<uint32_t> map(64 * 64);
    for (int i = 0; i < 64 * 64; ++i) {
        map[i] = ((i % 64 + i / 64) % 2) ? 0xffffffu : 0u;
    }
    BitmapFrame frame;
    ASSERT_TRUE(frame.setImage(64, 64, map.data(), false));
    const QImage shown = paintWidget(frame, QSize(128, 128));
    for (int y = 0; y < 128; y += 7) {
        for (int x = 0; x < 128; x += 5) {
            const QColor expected = ((x / 2 + y / 2) % 2) ? Qt::white : Qt::black;
            ASSERT_EQ(at(shown, x, y), expected) << x << ", " << y;
        }
    }
}

TEST(BitmapFrame, WithoutAnImageShowsWhiteAndFillSetsBothBuffers) {
    BitmapFrame frame;
    const QImage blank = paintWidget(frame, QSize(40, 30));
    EXPECT_EQ(at(blank, 0, 0), QColor(Qt::white));
    EXPECT_EQ(at(blank, 39, 29), QColor(Qt::white));
    EXPECT_EQ(frame.imageWidth(), 40);
    EXPECT_EQ(frame.imageHeight(), 30);

    frame.fill(0x3366ccu);
    EXPECT_EQ(frame.sourcePixels().front(), 0x3366ccu);
    const QImage filled = paintWidget(frame, QSize(40, 30));
    EXPECT_EQ(at(filled, 20, 15), QColor(0x33, 0x66, 0xcc));
}
