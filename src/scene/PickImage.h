#pragma once
// The pick image of the 3-D preview as read back: each pixel names the object and the triangle
// drawn there. No GL: the pointer logic and its tests read it as plain data.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tesk {

/// What a pick pixel names: a 1-based object number and a triangle index, or -1 for both.
struct PickHit {
    int objectNumber = -1;
    int element = -1;
};

/// Decodes one pick pixel; the background (and any alpha) names nothing.
PickHit decodePickPixel(uint32_t pixel);
/// The hit under client point (x, y), y downward, in a width x height image stored bottom row
/// first; nothing outside the image or when the image is short.
PickHit pickAt(const std::vector<uint32_t>& image, int width, int height, int x, int y);

/// A whole pick image: width x height words, bottom row first, red in the low byte.
struct PickImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    PickHit at(int x, int y) const { return pickAt(pixels, width, height, x, y); }
    /// The word under client point (x, y); the caller keeps (x, y) inside the image.
    uint32_t pixel(int x, int y) const {
        return pixels[static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) +
                      static_cast<size_t>(x)];
    }
    /// Forgets the content and keeps the storage for the next read.
    void clear() {
        width = 0;
        height = 0;
        pixels.clear();
    }
};

} // namespace tesk
