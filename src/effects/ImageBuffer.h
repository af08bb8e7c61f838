#pragma once
// A named 32-bit picture: effect images, the preview's sculpt-map image, the export source.
// Pixels are row-major, top row first; red in bits 0-7, green 8-15, blue 16-23, bits 24-31 zero.

#include <cstdint>
#include <string>
#include <vector>

namespace tesk {

class ImageBuffer {
public:
    ImageBuffer();
    virtual ~ImageBuffer() = default;
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;

    /// Frees the old pixels and allocates width x height zero pixels, setting the size.
    void allocate(int newWidth, int newHeight);
    /// Frees the pixels; the size becomes 0 x 0.
    void clear();
    /// The pixel at a row-major index; 0 without pixels or beyond width x height.
    uint32_t pixel(size_t index) const;
    /// Copies width x height pixels from `source`, sets the size and clears filePath.
    void setFrom(const uint32_t* source, int newWidth, int newHeight);
    bool hasPixels() const { return !pixels.empty(); }
    /// Pixels present and exactly width x height of them: safe to read by row and column.
    bool hasWholePicture() const {
        return hasPixels() && width > 0 && height > 0 &&
               pixels.size() == static_cast<size_t>(width) * static_cast<size_t>(height);
    }

    int id;
    std::string name;     ///< "tex %d" with id
    int32_t typeWord = 1; ///< effect records keep their type in bits 8-15
    std::string filePath; ///< the picture file last loaded; empty at construction
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
};

} // namespace tesk
