#include "PictureOperations.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tesk;

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

void single(ImageBuffer& image, uint32_t pixel) {
    image.allocate(1, 1);
    image.pixels[0] = pixel;
}

uint32_t after(void (*operation)(ImageBuffer&), uint32_t pixel) {
    ImageBuffer image;
    single(image, pixel);
    operation(image);
    return image.pixels[0];
}

} // namespace

TEST(PictureOperations, GreyScaleWeighsGreenMost) {
    EXPECT_EQ(after(Grayscale, rgb(255, 0, 0)), rgb(76, 76, 76));
    EXPECT_EQ(after(Grayscale, rgb(0, 255, 0)), rgb(149, 149, 149));
    EXPECT_EQ(after(Grayscale, rgb(0, 0, 255)), rgb(29, 29, 29));
    EXPECT_EQ(after(Grayscale, rgb(255, 255, 255) | 0xFF000000u), rgb(255, 255, 255));
    // Grey pixels stay exactly as they are, so grey scale twice is grey scale once.
    for (uint32_t v = 0; v < 256; ++v) {
        ASSERT_EQ(after(Grayscale, rgb(v, v, v)), rgb(v, v, v)) << v;
    }
}

TEST(PictureOperations, PosterizeNegativeAndBinarizeWorkPerChannel) {
    EXPECT_EQ(after(Posterize, rgb(0x9F, 0x1F, 0xFF)), rgb(0x80, 0x00, 0xE0));
    EXPECT_EQ(after(Negative, rgb(0, 100, 255) | 0x12000000u), rgb(255, 155, 0));
    EXPECT_EQ(after(Binarize, rgb(0x80, 0x7F, 0xFF)), rgb(0xFF, 0x00, 0xFF));
    EXPECT_EQ(after(Binarize, rgb(0, 1, 0x81) | 0xFF000000u), rgb(0, 0, 0xFF));
}

TEST(PictureOperations, BlurKeepsUniformPicturesAndWrapsAroundTheEdges) {
    for (uint32_t v = 0; v < 256; ++v) {
        ImageBuffer image;
        image.allocate(4, 3);
        for (uint32_t& p : image.pixels) {
            p = rgb(v, 255 - v, v / 2);
        }
        Blur(image);
        for (uint32_t p : image.pixels) {
            ASSERT_EQ(p, rgb(v, 255 - v, v / 2)) << v;
        }
    }
    // A white pixel in the corner spreads into its eight neighbours across both edges:
    // 255 x 1.0 / 4.2 = 60.7, x 0.5 / 4.2 = 30.4, x 0.3 / 4.2 = 18.2.
    ImageBuffer image;
    image.allocate(5, 4);
    image.pixels[0] = rgb(255, 255, 255);
    Blur(image);
    const auto at = [&](int x, int y) {
        return image.pixels[static_cast<size_t>(y * 5 + x)] & 0xFF;
    };
    EXPECT_EQ(at(0, 0), 60u);
    EXPECT_EQ(at(1, 0), 30u);
    EXPECT_EQ(at(4, 0), 30u);
    EXPECT_EQ(at(0, 1), 30u);
    EXPECT_EQ(at(0, 3), 30u);
    EXPECT_EQ(at(1, 1), 18u);
    EXPECT_EQ(at(4, 3), 18u);
    EXPECT_EQ(at(4, 1), 18u);
    EXPECT_EQ(at(1, 3), 18u);
    EXPECT_EQ(at(2, 0), 0u);
    EXPECT_EQ(at(2, 2), 0u);
    EXPECT_EQ(image.pixels[0], rgb(60, 60, 60));
}

TEST(PictureOperations, NothingHappensWithoutPixels) {
    for (auto operation : {Grayscale, Posterize, Blur, Negative, Binarize}) {
        ImageBuffer image;
        operation(image);
        EXPECT_FALSE(image.hasPixels());
    }
    // Blur reads neighbours by the stated size; pixels that do not fill it are left alone.
    ImageBuffer image;
    image.allocate(2, 2);
    image.pixels[0] = rgb(255, 255, 255);
    image.width = 64;
    Blur(image);
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{rgb(255, 255, 255), 0, 0, 0}));
}
