#pragma once
// Resizing a picture with a radial cubic filter whose neighbourhood wraps around the edges.

#include "ImageBuffer.h"

#include <memory>
#include <vector>

namespace tesk {

/// Replaces the pixels by a newWidth x newHeight version; nothing without pixels, when they do
/// not match the size, or for a size below 1. Even at equal size the filter sharpens, so callers
/// skip it when the size fits.
void Resample(ImageBuffer& image, int newWidth, int newHeight);

/// The same filter fed one source row at a time, top row first, keeping only the rows it
/// reads (five per target row): a huge picture is reduced without ever being held whole.
class RowResampler {
public:
    /// All sizes at least 1.
    RowResampler(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);
    ~RowResampler();
    RowResampler(const RowResampler&) = delete;
    RowResampler& operator=(const RowResampler&) = delete;

    /// An upper bound of the bytes such a resampler holds, the target picture included.
    static size_t memoryFor(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);

    /// Where source row y is to be written (sourceWidth pixels); null for a row the filter
    /// never reads.
    uint32_t* row(int y);
    /// The target pixels, from the rows written so far.
    void finish(ImageBuffer& image) const;

private:
    struct Plan;
    std::unique_ptr<Plan> m_plan;
    std::vector<std::vector<uint32_t>> m_kept; ///< per source row; empty when not read
};

} // namespace tesk
