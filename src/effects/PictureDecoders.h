#pragma once
// The four format readers behind decodePicture, and the checks they share.

#include "PictureFile.h"

namespace tesk::picture {

DecodeResult decodeBmp(std::span<const uint8_t> bytes, ImageBuffer& image,
                       const DecodeOptions& options);
DecodeResult decodeTga(std::span<const uint8_t> bytes, ImageBuffer& image,
                       const DecodeOptions& options);
DecodeResult decodePng(std::span<const uint8_t> bytes, ImageBuffer& image,
                       const DecodeOptions& options);
DecodeResult decodeJpeg(std::span<const uint8_t> bytes, ImageBuffer& image,
                        const DecodeOptions& options);

/// True when a width x height picture is within the limits (and not empty).
bool sizeAllowed(uint64_t width, uint64_t height, const DecodeOptions& options);

/// Allocates width x height zero pixels; false (image cleared) when memory runs out.
bool allocatePixels(ImageBuffer& image, int width, int height);

inline uint32_t packRgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

} // namespace tesk::picture
