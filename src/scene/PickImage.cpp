#include "PickImage.h"

namespace tesk {

PickHit decodePickPixel(uint32_t pixel) {
    const uint32_t object = pixel & 0xFFu;
    if (object == 0) {
        return {};
    }
    return {static_cast<int>(object), static_cast<int>((pixel >> 8) & 0xFFFFu)};
}

PickHit pickAt(const std::vector<uint32_t>& image, int width, int height, int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height ||
        image.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return {};
    }
    const size_t row = static_cast<size_t>(height - 1 - y);
    return decodePickPixel(image[row * static_cast<size_t>(width) + static_cast<size_t>(x)]);
}

} // namespace tesk
