#include "PictureFile.h"

#include "FileIO.h"
#include "Messages.h"
#include "PictureDecoders.h"
#include "Resample.h"
#include "Strings.h"

#include <cstring>
#include <new>
#include <vector>

namespace tesk {

namespace picture {

bool sizeAllowed(uint64_t width, uint64_t height, const DecodeOptions& options) {
    const auto maxSide = static_cast<uint64_t>(options.maxSide);
    return width > 0 && height > 0 && width <= maxSide && height <= maxSide &&
           width * height <= options.maxPixels;
}

size_t memoryLeft(std::span<const uint8_t> bytes, const DecodeOptions& options) {
    return bytes.size() < options.memoryBudget ? options.memoryBudget - bytes.size() : 0;
}

RowSink::RowSink() = default;
RowSink::~RowSink() = default;

DecodeResult RowSink::begin(ImageBuffer& image, int width, int height, const DecodeOptions& options,
                            size_t room) {
    m_image = &image;
    const int targetWidth = options.resampleWidth;
    const int targetHeight = options.resampleHeight;
    const bool reduce =
        targetWidth > 0 && targetHeight > 0 && (width != targetWidth || height != targetHeight);
    m_bytes = reduce ? RowResampler::memoryFor(width, height, targetWidth, targetHeight)
                     : static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t);
    if (m_bytes > room) {
        return DecodeResult::Unreadable;
    }
    try {
        if (reduce) {
            m_resampler = std::make_unique<RowResampler>(width, height, targetWidth, targetHeight);
        } else {
            image.allocate(width, height);
        }
    } catch (const std::bad_alloc&) {
        m_resampler.reset();
        image.clear();
        return DecodeResult::OutOfMemory;
    }
    return DecodeResult::Ok;
}

uint32_t* RowSink::row(int y) {
    if (m_resampler) {
        return m_resampler->row(y);
    }
    return m_image->pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_image->width);
}

void RowSink::finish() {
    if (m_resampler) {
        m_resampler->finish(*m_image);
        m_resampler.reset();
    }
}

} // namespace picture

PictureKind detectPictureKind(std::span<const uint8_t> bytes, std::string_view path) {
    static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    static constexpr char kTgaFooter[] = "TRUEVISION-XFILE.";
    if (bytes.size() >= sizeof kPng && std::memcmp(bytes.data(), kPng, sizeof kPng) == 0) {
        return PictureKind::Png;
    }
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return PictureKind::Jpeg;
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return PictureKind::Bmp;
    }
    const size_t footerLength = sizeof kTgaFooter; // the footer ends with its NUL
    if (bytes.size() >= 18 + footerLength &&
        std::memcmp(bytes.data() + bytes.size() - footerLength, kTgaFooter, footerLength) == 0) {
        return PictureKind::Tga;
    }
    if (lowerExtension(path) == "tga") {
        return PictureKind::Tga;
    }
    return PictureKind::Unknown;
}

DecodeResult decodePicture(std::span<const uint8_t> bytes, PictureKind kind, ImageBuffer& image,
                           const DecodeOptions& options) {
    image.clear();
    DecodeResult result = DecodeResult::Unreadable;
    try {
        switch (kind) {
        case PictureKind::Bmp:
            result = picture::decodeBmp(bytes, image, options);
            break;
        case PictureKind::Tga:
            result = picture::decodeTga(bytes, image, options);
            break;
        case PictureKind::Png:
            result = picture::decodePng(bytes, image, options);
            break;
        case PictureKind::Jpeg:
            result = picture::decodeJpeg(bytes, image, options);
            break;
        case PictureKind::Unknown:
            break;
        }
    } catch (const std::bad_alloc&) {
        result = DecodeResult::OutOfMemory;
    }
    if (result != DecodeResult::Ok) {
        image.clear();
    }
    return result;
}

int LoadImageFile(ImageBuffer& image, const std::string& path, Messages& messages) {
    return LoadImageFile(image, path, messages, DecodeOptions{});
}

int LoadImageFile(ImageBuffer& image, const std::string& path, Messages& messages,
                  const DecodeOptions& options) {
    image.clear();
    image.filePath.clear();
    DecodeResult result = DecodeResult::Unreadable;
    try {
        std::vector<uint8_t> bytes;
        if (readWholeFile(path, bytes, options.memoryBudget)) {
            result = decodePicture(bytes, detectPictureKind(bytes, path), image, options);
        }
    } catch (const std::bad_alloc&) {
        result = DecodeResult::OutOfMemory;
    }
    switch (result) {
    case DecodeResult::Ok:
        image.filePath = path;
        return 1;
    case DecodeResult::OutOfMemory:
        image.clear();
        return 0;
    case DecodeResult::Unreadable:
        break;
    }
    image.clear();
    messages.inform(kUnreadablePictureMessage);
    return -1;
}

} // namespace tesk
