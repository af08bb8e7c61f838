#include "SculptImageWriter.h"

#include "ByteStream.h"
#include "FileIO.h"
#include "Messages.h"
#include "Strings.h"
#include "TextMarks.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>

namespace tesk {

// The map has no pixels: the step that stands in for creating the export texture fails.
const char* const kNoPictureMessage = TESK_TEXT("Messages", "D3DXCreateTextureFromFile error");
const char* const kJpegRefusedMessage =
    TESK_TEXT("Messages", "JPEG 形式では書き出せません。非可逆圧縮のため頂点の位置が崩れます。\n"
                          "拡張子を .bmp、.png または .tga にしてください。");
const char* const kUnknownFormatMessage = TESK_TEXT(
    "Messages",
    "この拡張子の形式では書き出せません。\n拡張子を .bmp、.png または .tga にしてください。");
const char* const kExportWriteFailedMessage =
    TESK_TEXT("Messages", "ファイルを書き込めませんでした。");
const char* const kPrimSizeKeyword = "Prim size";

namespace {

constexpr int kBmpHeaderBytes = 54;
constexpr int32_t kPixelsPerMetre = 2834;
constexpr int kTgaHeaderBytes = 18;

struct Rgb {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

Rgb fileColour(uint32_t pixel) {
    const uint32_t colour = SculptFileColour(pixel);
    return {static_cast<uint8_t>(colour & 0xFFu), static_cast<uint8_t>((colour >> 8) & 0xFFu),
            static_cast<uint8_t>((colour >> 16) & 0xFFu)};
}

void flipAxis(uint32_t* pixels, int width, int height, int shift) {
    const uint32_t mask = 0xFFu << shift;
    for (int r = 0; r < height; ++r) {
        uint32_t* row = pixels + static_cast<size_t>(r) * static_cast<size_t>(width);
        std::reverse(row, row + width);
        for (int c = 0; c < width; ++c) {
            row[c] ^= mask;
        }
    }
}

// Rows bottom-up, each pixel blue, green, red: the pixel layout BMP and Targa share.
void appendBottomUpBgr(ByteWriter& out, const uint32_t* pixels, int width, int height,
                       int rowPadding) {
    for (int r = height - 1; r >= 0; --r) {
        const uint32_t* row = pixels + static_cast<size_t>(r) * static_cast<size_t>(width);
        for (int c = 0; c < width; ++c) {
            const Rgb rgb = fileColour(row[c]);
            out.u8(rgb.b);
            out.u8(rgb.g);
            out.u8(rgb.r);
        }
        for (int i = 0; i < rowPadding; ++i) {
            out.u8(0);
        }
    }
}

} // namespace

SculptFileFormat SculptFormatForPath(std::string_view path) {
    const std::string ext = lowerExtension(path);
    if (ext == "bmp") {
        return SculptFileFormat::Bmp;
    }
    if (ext == "png") {
        return SculptFileFormat::Png;
    }
    if (ext == "tga") {
        return SculptFileFormat::Tga;
    }
    if (ext == "jpg" || ext == "jpeg") {
        return SculptFileFormat::Jpeg;
    }
    return SculptFileFormat::Unknown;
}

void ApplyExportFlips(uint32_t* pixels, int width, int height, ExportFlips flips) {
    if (flips.x) {
        flipAxis(pixels, width, height, 0);
    }
    if (flips.y) {
        flipAxis(pixels, width, height, 8);
    }
    if (flips.z) {
        flipAxis(pixels, width, height, 16);
    }
}

std::vector<uint8_t> EncodeSculptBmp(const uint32_t* pixels, int width, int height) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const uint32_t fileSize =
        static_cast<uint32_t>((kBmpHeaderBytes + rowBytes * height + 3) / 4 * 4);
    ByteWriter out;
    out.reserve(fileSize);
    out.u8('B');
    out.u8('M');
    out.u32(fileSize);
    out.u32(0);
    out.u32(kBmpHeaderBytes);
    out.u32(40);
    out.i32(width);
    out.i32(height);
    out.u16(1);
    out.u16(24);
    out.u32(0);
    out.u32(0);
    out.i32(kPixelsPerMetre);
    out.i32(kPixelsPerMetre);
    out.u32(0);
    out.u32(0);
    appendBottomUpBgr(out, pixels, width, height, rowBytes - width * 3);
    while (out.size() < fileSize) {
        out.u8(0);
    }
    return out.take();
}

std::vector<uint8_t> EncodeSculptTga(const uint32_t* pixels, int width, int height) {
    ByteWriter out;
    out.reserve(static_cast<size_t>(kTgaHeaderBytes + width * height * 3));
    out.u8(0); // no image id
    out.u8(0); // no colour map
    out.u8(2); // uncompressed true colour
    for (int i = 0; i < 5; ++i) {
        out.u8(0); // colour map: first entry, length and entry size
    }
    out.u16(0); // x origin
    out.u16(0); // y origin
    out.u16(static_cast<uint16_t>(width));
    out.u16(static_cast<uint16_t>(height));
    out.u8(24);
    out.u8(0); // no alpha bits, origin at the bottom left
    appendBottomUpBgr(out, pixels, width, height, 0);
    return out.take();
}

namespace {

// The signature and the header chunk (length, type, 13 bytes, CRC): a tEXt chunk may follow.
constexpr size_t kPngHeaderEnd = 8 + 4 + 4 + 13 + 4;

void putBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

// keyword NUL text, Latin-1 by the format's rules; the prim size is plain ASCII.
std::vector<uint8_t> textChunk(std::string_view keyword, std::string_view text) {
    std::vector<uint8_t> chunk;
    putBigEndian(chunk, static_cast<uint32_t>(keyword.size() + 1 + text.size()));
    const size_t typeStart = chunk.size();
    chunk.insert(chunk.end(), {'t', 'E', 'X', 't'});
    chunk.insert(chunk.end(), keyword.begin(), keyword.end());
    chunk.push_back(0);
    chunk.insert(chunk.end(), text.begin(), text.end());
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), chunk.data() + typeStart,
                            static_cast<uInt>(chunk.size() - typeStart));
    putBigEndian(chunk, static_cast<uint32_t>(crc));
    return chunk;
}

} // namespace

std::vector<uint8_t> EncodeSculptPng(const uint32_t* pixels, int width, int height,
                                     std::string_view primSize) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (size_t i = 0; i < rgb.size() / 3; ++i) {
        const Rgb c = fileColour(pixels[i]);
        rgb[i * 3] = c.r;
        rgb[i * 3 + 1] = c.g;
        rgb[i * 3 + 2] = c.b;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    out.resize(size);
    if (!primSize.empty() && out.size() > kPngHeaderEnd) {
        const std::vector<uint8_t> chunk = textChunk(kPrimSizeKeyword, primSize);
        out.insert(out.begin() + kPngHeaderEnd, chunk.begin(), chunk.end());
    }
    return out;
}

bool ExportSculptImage(const std::string& path, const uint32_t* pixels, int width, int height,
                       ExportFlips flips, Messages& messages, std::string_view primSize) {
    const SculptFileFormat format = SculptFormatForPath(path);
    if (format == SculptFileFormat::Jpeg) {
        messages.inform(kJpegRefusedMessage);
        return false;
    }
    if (format == SculptFileFormat::Unknown) {
        messages.inform(kUnknownFormatMessage);
        return false;
    }
    if (pixels == nullptr || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
        messages.inform(kNoPictureMessage);
        return false;
    }
    std::vector<uint32_t> flipped(pixels, pixels + static_cast<size_t>(width) * height);
    ApplyExportFlips(flipped.data(), width, height, flips);
    std::vector<uint8_t> file;
    switch (format) {
    case SculptFileFormat::Bmp:
        file = EncodeSculptBmp(flipped.data(), width, height);
        break;
    case SculptFileFormat::Png:
        file = EncodeSculptPng(flipped.data(), width, height, primSize);
        break;
    default:
        file = EncodeSculptTga(flipped.data(), width, height);
        break;
    }
    const WriteResult written =
        file.empty() ? WriteResult(ENOMEM) : writeFileAtomically(path, file.data(), file.size());
    if (!written) {
        messages.inform(std::string(kExportWriteFailedMessage) + "\n" + written.reason() + "\n" +
                        path);
        return false;
    }
    return true;
}

} // namespace tesk
