#pragma once
// The four format readers behind decodePicture, and the checks they share.

#include "PictureFile.h"
#include "Resample.h"

#include <memory>

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

/// What the budget leaves once the file's own bytes are held; 0 when they alone exceed it.
size_t memoryLeft(std::span<const uint8_t> bytes, const DecodeOptions& options);

/// Where a decoder puts its rows, in any order: straight into the whole picture, or, when the
/// caller wants another size, into the resampling filter, which keeps only the rows it reads.
class RowSink {
public:
    RowSink();
    ~RowSink();
    RowSink(const RowSink&) = delete;
    RowSink& operator=(const RowSink&) = delete;

    /// Sets up for a width x height picture (within sizeAllowed) going to `image`. Unreadable
    /// when it needs more than `room` bytes, OutOfMemory when allocating fails.
    DecodeResult begin(ImageBuffer& image, int width, int height, const DecodeOptions& options,
                       size_t room);
    /// The bytes begin took.
    size_t bytes() const { return m_bytes; }
    /// Where row y (0 = top) goes, width pixels; null for a row nobody reads.
    uint32_t* row(int y);
    /// Hands the finished picture to the image.
    void finish();

private:
    ImageBuffer* m_image = nullptr;
    std::unique_ptr<RowResampler> m_resampler;
    size_t m_bytes = 0;
};

inline uint32_t packRgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

} // namespace tesk::picture
