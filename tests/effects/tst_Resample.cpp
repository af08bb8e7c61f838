#include "Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

using namespace tesk;

namespace {

void fill(ImageBuffer& image, int width, int height, uint32_t value) {
    image.allocate(width, height);
    for (uint32_t& p : image.pixels) {
        p = value;
    }
}

uint32_t at(const ImageBuffer& image, int x, int y) {
    return image.pixels[static_cast<size_t>(y * image.width + x)];
}

} // namespace

TEST(Resample, UniformPicturesStayUniformAtAnySize) {
    for (uint32_t v : {0u, 1u, 7u, 100u, 128u, 254u, 255u}) {
        for (const auto& [w, h] : {std::pair{64, 64}, {4096 / 16, 4096 / 64}, {63, 65}, {7, 5}}) {
            ImageBuffer image;
            fill(image, w, h, v | v << 8 | v << 16);
            Resample(image, 64, 64);
            ASSERT_EQ(image.width, 64);
            ASSERT_EQ(image.height, 64);
            for (uint32_t p : image.pixels) {
                ASSERT_EQ(p, v | v << 8 | v << 16) << v << " from " << w << "x" << h;
            }
        }
    }
}

TEST(Resample, EqualSizeSharpensWithTheDiagonalWeights) {
    // On a pixel the centre weighs 1, the edge neighbours 0, the diagonals 14 - 10 sqrt 2.
    const double diagonal = 14.0 - 10.0 * std::sqrt(2.0);
    const double total = 1.0 + 4.0 * diagonal;
    ImageBuffer image;
    fill(image, 64, 64, 100);
    image.pixels[10 * 64 + 20] = 200;
    Resample(image, 64, 64);
    EXPECT_EQ(at(image, 20, 10), 255u); // (200 - 4 x 0.142 x 100) / 0.43 clamps
    const auto diagonalValue = static_cast<uint32_t>((100.0 + diagonal * 500.0) / total);
    EXPECT_EQ(diagonalValue, 67u);
    EXPECT_EQ(at(image, 21, 11), diagonalValue);
    EXPECT_EQ(at(image, 19, 9), diagonalValue);
    EXPECT_EQ(at(image, 21, 10), 100u); // edge neighbours weigh nothing
    EXPECT_EQ(at(image, 20, 9), 100u);
    EXPECT_EQ(at(image, 22, 10), 100u);
}

TEST(Resample, TheNeighbourhoodWrapsAroundTheEdges) {
    // The bottom-right corner is the top-left corner's diagonal neighbour.
    ImageBuffer image;
    fill(image, 64, 64, 100);
    image.pixels[63 * 64 + 63] = 200 << 16;
    Resample(image, 64, 64);
    EXPECT_EQ(at(image, 0, 0) & 0xFF, 132u); // red: one negative-weight neighbour lacks 100
    EXPECT_EQ(at(image, 0, 0) >> 8, 0u);     // blue: 200 under a negative weight clamps to 0
    EXPECT_EQ(at(image, 1, 1), 100u);

    // Upsampling: the right edge of the result reaches across to the left column of the source,
    // the bottom edge to its top row.
    ImageBuffer stripes;
    stripes.allocate(4, 4);
    for (int i = 0; i < 4; ++i) {
        stripes.pixels[static_cast<size_t>(i * 4)] |= 255;   // left column red
        stripes.pixels[static_cast<size_t>(i)] |= 255u << 8; // top row green
    }
    Resample(stripes, 16, 16);
    EXPECT_GT(at(stripes, 15, 8) & 0xFF, 0u); // 0.25 from column 4 = column 0
    EXPECT_EQ(at(stripes, 8, 8) & 0xFF, 0u);
    EXPECT_GT((at(stripes, 8, 15) >> 8) & 0xFF, 0u); // 0.25 from row 4 = row 0
    EXPECT_EQ((at(stripes, 8, 8) >> 8) & 0xFF, 0u);
}

TEST(Resample, DownsamplingSamplesFromTheTopLeftCorner) {
    // 4096 x 4096 to 64 x 64 samples every 64th pixel at its corner, not its middle.
    ImageBuffer image;
    fill(image, 4096, 4096, 0);
    for (int y = 0; y < 4096; y += 64) {
        for (int x = 0; x < 4096; x += 64) {
            image.pixels[static_cast<size_t>(y) * 4096 + static_cast<size_t>(x)] = 0x808080;
        }
    }
    Resample(image, 64, 64);
    for (uint32_t p : image.pixels) {
        ASSERT_EQ(p, 0xFFFFFFu); // 128 / 0.43 clamps
    }
}

TEST(Resample, NothingWithoutPixels) {
    ImageBuffer image;
    Resample(image, 64, 64);
    EXPECT_FALSE(image.hasPixels());
    EXPECT_EQ(image.width, 0);

    // Pixels that do not fill the stated size are left alone rather than read past their end.
    ImageBuffer partial;
    fill(partial, 4, 4, 7);
    partial.width = 64;
    partial.height = 64;
    Resample(partial, 8, 8);
    EXPECT_EQ(partial.pixels, std::vector<uint32_t>(16, 7));
    EXPECT_EQ(partial.width, 64);
}

TEST(Resample, RowByRowGivesTheSameResultAsTheWholePicture) {
    for (const auto& [w, h, tw, th] : {std::array{100, 70, 13, 9}, std::array{7, 5, 64, 64},
                                       std::array{256, 256, 64, 64}, std::array{3, 200, 5, 4}}) {
        ImageBuffer whole;
        whole.allocate(w, h);
        for (size_t k = 0; k < whole.pixels.size(); ++k) {
            whole.pixels[k] = static_cast<uint32_t>(k * 2654435761u) & 0xFFFFFFu;
        }
        RowResampler rows(w, h, tw, th);
        int skipped = 0;
        for (int y = 0; y < h; ++y) {
            if (uint32_t* out = rows.row(y)) {
                std::copy_n(whole.pixels.begin() + y * w, w, out);
            } else {
                ++skipped;
            }
        }
        // Only five source rows per target row are kept.
        EXPECT_EQ(skipped > 0, h > 5 * th) << w << "x" << h;
        ImageBuffer streamed;
        rows.finish(streamed);
        Resample(whole, tw, th);
        EXPECT_EQ(streamed.width, tw);
        EXPECT_EQ(streamed.height, th);
        EXPECT_EQ(streamed.pixels, whole.pixels) << w << "x" << h << " to " << tw << "x" << th;
    }
}
