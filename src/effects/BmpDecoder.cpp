// Windows bitmaps: uncompressed 1, 4 and 8-bit palette pictures, 16, 24 and 32-bit pictures,
// with bit-field masks for 16 and 32 bits, either row order. Run-length compressed bitmaps are
// refused: the program never writes them and effect pictures are rarely stored that way. Rows
// go to the row sink, so a reduced picture is never held whole.

#include "ByteStream.h"
#include "PictureDecoders.h"

#include <algorithm>
#include <array>
#include <bit>

namespace tesk::picture {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

/// One colour channel held under a bit mask, widened to 8 bits.
struct MaskChannel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    bool set(uint32_t m) {
        mask = m;
        if (m == 0) {
            return true;
        }
        shift = std::countr_zero(m);
        const uint32_t field = m >> shift;
        bits = std::popcount(field);
        return (field & (field + 1)) == 0; // contiguous
    }
    uint32_t extract(uint32_t value) const {
        if (bits == 0) {
            return 0;
        }
        const uint32_t v = (value & mask) >> shift;
        if (bits >= 8) {
            return v >> (bits - 8);
        }
        const uint32_t top = (1u << bits) - 1u;
        return (v * 255u + top / 2u) / top;
    }
};

struct BmpHeader {
    uint32_t dataOffset = 0;
    uint32_t dibSize = 0;
    int64_t width = 0;
    int64_t height = 0;
    bool topDown = false;
    uint16_t bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    std::array<MaskChannel, 3> masks; // red, green, blue
};

bool readHeader(ByteReader& in, BmpHeader& h) {
    uint16_t planes = 0;
    uint8_t b = 0;
    uint8_t m = 0;
    if (!in.u8(b) || !in.u8(m) || b != 'B' || m != 'M' || !in.skip(8) || !in.u32(h.dataOffset) ||
        !in.u32(h.dibSize)) {
        return false;
    }
    if (h.dibSize == 12) {
        uint16_t w = 0;
        uint16_t hh = 0;
        if (!in.u16(w) || !in.u16(hh) || !in.u16(planes) || !in.u16(h.bitCount)) {
            return false;
        }
        h.width = w;
        h.height = hh;
        return true;
    }
    int32_t w = 0;
    int32_t hh = 0;
    if (h.dibSize < 40 || !in.i32(w) || !in.i32(hh) || !in.u16(planes) || !in.u16(h.bitCount) ||
        !in.u32(h.compression) || !in.skip(12) || !in.u32(h.colorsUsed) || !in.skip(4)) {
        return false;
    }
    h.width = w;
    h.height = hh;
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
        // Version 2+ headers hold the masks themselves; the 40-byte header is followed by them.
        uint32_t r = 0;
        uint32_t g = 0;
        uint32_t bl = 0;
        if (!in.u32(r) || !in.u32(g) || !in.u32(bl)) {
            return false;
        }
        return h.masks[0].set(r) && h.masks[1].set(g) && h.masks[2].set(bl);
    }
    return true;
}

bool formatSupported(const BmpHeader& h) {
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        return h.compression == kBiRgb;
    case 16:
    case 32:
        return h.compression == kBiRgb || h.compression == kBiBitfields ||
               h.compression == kBiAlphaBitfields;
    default:
        return false;
    }
}

} // namespace

DecodeResult decodeBmp(std::span<const uint8_t> bytes, ImageBuffer& image,
                       const DecodeOptions& options) {
    ByteReader in(bytes);
    BmpHeader h;
    if (!readHeader(in, h) || !formatSupported(h) ||
        !sizeAllowed(static_cast<uint64_t>(std::max<int64_t>(h.width, 0)),
                     static_cast<uint64_t>(h.height), options)) {
        return DecodeResult::Unreadable;
    }
    if (h.compression == kBiRgb && h.bitCount == 16) {
        h.masks[0].set(0x7C00);
        h.masks[1].set(0x03E0);
        h.masks[2].set(0x001F);
    }
    const auto width = static_cast<size_t>(h.width);
    const auto height = static_cast<size_t>(h.height);
    const size_t stride = (width * h.bitCount + 31) / 32 * 4;
    const size_t rowBytes = (width * h.bitCount + 7) / 8;
    if (h.dataOffset > bytes.size() ||
        (height - 1) * stride + rowBytes > bytes.size() - h.dataOffset) {
        return DecodeResult::Unreadable;
    }

    std::array<uint32_t, 256> palette{};
    if (h.bitCount <= 8) {
        const size_t entrySize = h.dibSize == 12 ? 3 : 4;
        const size_t maxColors = size_t{1} << h.bitCount;
        const size_t colors =
            (h.colorsUsed == 0 || h.colorsUsed > maxColors) ? maxColors : h.colorsUsed;
        const size_t paletteStart = 14 + size_t{h.dibSize};
        if (paletteStart > h.dataOffset || colors * entrySize > h.dataOffset - paletteStart) {
            return DecodeResult::Unreadable;
        }
        for (size_t i = 0; i < colors; ++i) {
            const uint8_t* e = bytes.data() + paletteStart + i * entrySize;
            palette[i] = packRgb(e[2], e[1], e[0]);
        }
    }

    RowSink sink;
    if (const DecodeResult begun =
            sink.begin(image, static_cast<int>(width), static_cast<int>(height), options,
                       memoryLeft(bytes, options));
        begun != DecodeResult::Ok) {
        return begun;
    }
    const bool masked = h.bitCount == 16 || (h.bitCount == 32 && h.compression != kBiRgb);
    for (size_t r = 0; r < height; ++r) {
        const uint8_t* src = bytes.data() + h.dataOffset + r * stride;
        uint32_t* dst = sink.row(static_cast<int>(h.topDown ? r : height - 1 - r));
        if (dst == nullptr) {
            continue;
        }
        if (h.bitCount <= 8) {
            const unsigned perByte = 8u / h.bitCount;
            const unsigned valueMask = (1u << h.bitCount) - 1u;
            for (size_t x = 0; x < width; ++x) {
                const unsigned shift = 8u - h.bitCount * (1u + static_cast<unsigned>(x % perByte));
                dst[x] = palette[(src[x / perByte] >> shift) & valueMask];
            }
        } else if (masked) {
            const size_t step = h.bitCount / 8u;
            for (size_t x = 0; x < width; ++x) {
                const uint8_t* p = src + x * step;
                uint32_t v = p[0] | static_cast<uint32_t>(p[1]) << 8;
                if (step == 4) {
                    v |= static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
                }
                dst[x] =
                    packRgb(h.masks[0].extract(v), h.masks[1].extract(v), h.masks[2].extract(v));
            }
        } else {
            const size_t step = h.bitCount / 8u;
            for (size_t x = 0; x < width; ++x) {
                const uint8_t* p = src + x * step;
                dst[x] = packRgb(p[2], p[1], p[0]);
            }
        }
    }
    sink.finish();
    return DecodeResult::Ok;
}

} // namespace tesk::picture
