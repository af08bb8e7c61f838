#include "ImageBuffer.h"

#include "ObjectIds.h"

#include <string>

namespace tesk {

ImageBuffer::ImageBuffer() : id(nextObjectId()), name("tex " + std::to_string(id)) {}

void ImageBuffer::allocate(int newWidth, int newHeight) {
    pixels.assign(static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight), 0u);
    width = newWidth;
    height = newHeight;
}

void ImageBuffer::clear() {
    pixels = {};
    width = 0;
    height = 0;
}

uint32_t ImageBuffer::pixel(size_t index) const {
    return index < pixels.size() ? pixels[index] : 0u;
}

void ImageBuffer::setFrom(const uint32_t* source, int newWidth, int newHeight) {
    pixels.assign(source, source + static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight));
    width = newWidth;
    height = newHeight;
    filePath.clear();
}

} // namespace tesk
