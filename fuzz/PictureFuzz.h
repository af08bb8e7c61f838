#pragma once
// Shared body of the picture decoder fuzz targets: arbitrary bytes through one decoder, then
// through the resampling filter.

#include "PictureFile.h"
#include "Resample.h"

#include <cstddef>
#include <cstdint>

namespace tesk {

inline int fuzzPicture(PictureKind kind, const uint8_t* data, size_t size) {
    DecodeOptions options;
    // Small enough that a header claiming a huge picture costs little, large enough for every
    // code path.
    options.maxPixels = uint64_t{1} << 20;
    options.memoryBudget = size_t{64} << 20;
    // The last byte also picks the reduced decoding, the row-by-row resampling and a budget
    // that a picture of 512 x 512 already exceeds whole.
    const uint8_t mode = size > 0 ? data[size - 1] : 0;
    if ((mode & 1) != 0) {
        options.minWidth = 16;
        options.minHeight = 16;
    }
    if ((mode & 2) != 0) {
        options.resampleWidth = 8;
        options.resampleHeight = 8;
    }
    if ((mode & 4) != 0) {
        options.memoryBudget = size + (size_t{1} << 20);
    }
    ImageBuffer image;
    if (decodePicture({data, size}, kind, image, options) == DecodeResult::Ok) {
        Resample(image, 8, 8);
    }
    return 0;
}

} // namespace tesk
