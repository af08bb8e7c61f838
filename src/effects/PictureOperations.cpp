#include "PictureOperations.h"

#include <vector>

namespace tesk {

namespace {

/// Applies f to each of the three channel bytes of every pixel.
template <typename F> void forEachChannel(ImageBuffer& image, F f) {
    for (uint32_t& p : image.pixels) {
        p = f(p & 0xFFu) | f((p >> 8) & 0xFFu) << 8 | f((p >> 16) & 0xFFu) << 16;
    }
}

} // namespace

// The weights are exact decimals, so the sums are taken in whole numbers (thousandths and
// tenths): truncating a floating-point sum would turn 10 x 0.1 into 0.999... and darken grey
// or uniform pictures by one step.

void Grayscale(ImageBuffer& image) {
    for (uint32_t& p : image.pixels) {
        const uint32_t r = p & 0xFFu;
        const uint32_t g = (p >> 8) & 0xFFu;
        const uint32_t b = (p >> 16) & 0xFFu;
        const uint32_t v = (g * 587u + r * 299u + b * 114u) / 1000u;
        p = v | v << 8 | v << 16;
    }
}

void Posterize(ImageBuffer& image) {
    forEachChannel(image, [](uint32_t c) { return c & 0xE0u; });
}

void Negative(ImageBuffer& image) {
    forEachChannel(image, [](uint32_t c) { return 255u - c; });
}

void Binarize(ImageBuffer& image) {
    forEachChannel(image, [](uint32_t c) { return (c & 0x80u) != 0 ? 255u : 0u; });
}

void Blur(ImageBuffer& image) {
    if (!image.hasWholePicture()) {
        return;
    }
    static constexpr uint32_t kKernel[3][3] = {{3, 5, 3}, {5, 10, 5}, {3, 5, 3}}; // tenths
    constexpr uint32_t kKernelSum = 42;
    const auto w = static_cast<size_t>(image.width);
    const auto h = static_cast<size_t>(image.height);
    const std::vector<uint32_t> before = image.pixels;
    for (size_t y = 0; y < h; ++y) {
        for (size_t x = 0; x < w; ++x) {
            uint32_t sum[3] = {0, 0, 0};
            for (size_t dy = 0; dy < 3; ++dy) {
                const size_t sy = (y + h + dy - 1) % h;
                for (size_t dx = 0; dx < 3; ++dx) {
                    const size_t sx = (x + w + dx - 1) % w;
                    const uint32_t p = before[sy * w + sx];
                    const uint32_t k = kKernel[dy][dx];
                    sum[0] += (p & 0xFFu) * k;
                    sum[1] += ((p >> 8) & 0xFFu) * k;
                    sum[2] += ((p >> 16) & 0xFFu) * k;
                }
            }
            image.pixels[y * w + x] =
                (sum[0] / kKernelSum) | (sum[1] / kKernelSum) << 8 | (sum[2] / kKernelSum) << 16;
        }
    }
}

} // namespace tesk
