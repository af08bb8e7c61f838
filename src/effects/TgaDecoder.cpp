// Truevision TGA: true-colour (15/16, 24, 32 bit), grey (8 bit, 16 bit with alpha) and
// colour-mapped (8-bit index) pictures, uncompressed or run-length encoded, of either origin.
// Rows are decoded one at a time into the row sink, so a reduced picture is never held whole.

#include "ByteStream.h"
#include "PictureDecoders.h"

#include <algorithm>
#include <vector>

namespace tesk::picture {

namespace {

enum TgaType : uint8_t {
    kColorMapped = 1,
    kTrueColor = 2,
    kGrey = 3,
    kRleColorMapped = 9,
    kRleTrueColor = 10,
    kRleGrey = 11,
};

struct TgaHeader {
    uint8_t idLength = 0;
    uint8_t colorMapType = 0;
    uint8_t imageType = 0;
    uint16_t mapFirst = 0;
    uint16_t mapLength = 0;
    uint8_t mapEntryBits = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;
};

uint32_t fromBgr16(uint32_t v) {
    const auto expand = [](uint32_t c) { return (c * 255u + 15u) / 31u; };
    return packRgb(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
}

/// Turns the bytes of one stored pixel (or colour-map entry) into a packed colour.
class PixelReader {
public:
    PixelReader(int bytesPerPixel, bool grey, const std::vector<uint32_t>* map, uint16_t mapFirst)
        : m_size(bytesPerPixel), m_grey(grey), m_map(map), m_mapFirst(mapFirst) {}

    int size() const { return m_size; }

    uint32_t operator()(const uint8_t* p) const {
        if (m_map != nullptr) {
            const unsigned index = p[0];
            if (index < m_mapFirst || index - m_mapFirst >= m_map->size()) {
                return 0;
            }
            return (*m_map)[index - m_mapFirst];
        }
        if (m_grey) {
            return packRgb(p[0], p[0], p[0]);
        }
        return colour(p, m_size);
    }

    static uint32_t colour(const uint8_t* p, int size) {
        if (size == 2) {
            return fromBgr16(p[0] | static_cast<uint32_t>(p[1]) << 8);
        }
        return packRgb(p[2], p[1], p[0]);
    }

private:
    int m_size;
    bool m_grey;
    const std::vector<uint32_t>* m_map;
    uint16_t m_mapFirst;
};

bool readHeader(ByteReader& in, TgaHeader& h) {
    uint16_t origin = 0;
    return in.u8(h.idLength) && in.u8(h.colorMapType) && in.u8(h.imageType) && in.u16(h.mapFirst) &&
           in.u16(h.mapLength) && in.u8(h.mapEntryBits) && in.u16(origin) && in.u16(origin) &&
           in.u16(h.width) && in.u16(h.height) && in.u8(h.depth) && in.u8(h.descriptor);
}

int entryBytes(uint8_t bits) {
    switch (bits) {
    case 15:
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 0;
    }
}

/// The stored pixels in order, one row at a time. A run-length packet may run on into the next
/// row, but not past the end of the picture: what it holds beyond that is never read.
class PixelStream {
public:
    PixelStream(ByteReader& in, bool rle, const PixelReader& read)
        : m_in(in), m_rle(rle), m_read(read), m_size(static_cast<size_t>(read.size())) {}

    bool readRow(uint32_t* out, size_t count) {
        if (!m_rle) {
            std::span<const uint8_t> data;
            if (!m_in.bytes(count * m_size, data)) {
                return false;
            }
            for (size_t i = 0; i < count; ++i) {
                out[i] = m_read(data.data() + i * m_size);
            }
            return true;
        }
        size_t done = 0;
        while (done < count) {
            if (m_left == 0 && !startPacket()) {
                return false;
            }
            const size_t run = std::min(m_left, count - done);
            if (m_repeat) {
                std::fill_n(out + done, run, m_value);
            } else {
                std::span<const uint8_t> data;
                if (!m_in.bytes(run * m_size, data)) {
                    return false;
                }
                for (size_t i = 0; i < run; ++i) {
                    out[done + i] = m_read(data.data() + i * m_size);
                }
            }
            done += run;
            m_left -= run;
        }
        return true;
    }

private:
    bool startPacket() {
        uint8_t packet = 0;
        if (!m_in.u8(packet)) {
            return false;
        }
        m_left = (packet & 0x7Fu) + 1u;
        m_repeat = (packet & 0x80u) != 0;
        if (m_repeat) {
            std::span<const uint8_t> data;
            if (!m_in.bytes(m_size, data)) {
                return false;
            }
            m_value = m_read(data.data());
        }
        return true;
    }

    ByteReader& m_in;
    bool m_rle;
    const PixelReader& m_read;
    size_t m_size;
    size_t m_left = 0; ///< pixels of the current packet still to come
    bool m_repeat = false;
    uint32_t m_value = 0;
};

} // namespace

DecodeResult decodeTga(std::span<const uint8_t> bytes, ImageBuffer& image,
                       const DecodeOptions& options) {
    ByteReader in(bytes);
    TgaHeader h;
    if (!readHeader(in, h) || !in.skip(h.idLength) || h.colorMapType > 1 ||
        !sizeAllowed(h.width, h.height, options)) {
        return DecodeResult::Unreadable;
    }
    const bool rle = h.imageType >= kRleColorMapped;
    const uint8_t baseType = rle ? static_cast<uint8_t>(h.imageType - 8) : h.imageType;

    std::vector<uint32_t> map;
    if (h.colorMapType == 1) {
        const int mapEntry = entryBytes(h.mapEntryBits);
        std::span<const uint8_t> mapBytes;
        if (mapEntry == 0 ||
            !in.bytes(size_t{h.mapLength} * static_cast<size_t>(mapEntry), mapBytes)) {
            return DecodeResult::Unreadable;
        }
        if (baseType == kColorMapped) {
            map.resize(h.mapLength);
            for (size_t i = 0; i < map.size(); ++i) {
                map[i] = PixelReader::colour(mapBytes.data() + i * static_cast<size_t>(mapEntry),
                                             mapEntry);
            }
        }
    }

    int pixelBytes = 0;
    bool grey = false;
    const std::vector<uint32_t>* palette = nullptr;
    switch (baseType) {
    case kColorMapped:
        if (h.colorMapType != 1 || h.depth != 8) {
            return DecodeResult::Unreadable;
        }
        pixelBytes = 1;
        palette = &map;
        break;
    case kTrueColor:
        pixelBytes = entryBytes(h.depth);
        break;
    case kGrey:
        grey = true;
        pixelBytes = (h.depth == 8 || h.depth == 16) ? h.depth / 8 : 0;
        break;
    default:
        break;
    }
    if (pixelBytes == 0 ||
        (baseType != kColorMapped && baseType != kTrueColor && baseType != kGrey)) {
        return DecodeResult::Unreadable;
    }

    // Every pixel costs at least its own bytes (raw) or one packet per 128 pixels (RLE): check
    // that the data can be there before the picture is allocated.
    const size_t count = size_t{h.width} * h.height;
    const auto size = static_cast<size_t>(pixelBytes);
    const size_t minimum = rle ? (count + 127) / 128 * (1 + size) : count * size;
    if (in.remaining() < minimum) {
        return DecodeResult::Unreadable;
    }
    RowSink sink;
    if (const DecodeResult begun =
            sink.begin(image, h.width, h.height, options, memoryLeft(bytes, options));
        begun != DecodeResult::Ok) {
        return begun;
    }
    // Rows are stored bottom row first unless the origin is at the top.
    const bool topOrigin = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;
    const PixelReader read(pixelBytes, grey, palette, h.mapFirst);
    PixelStream stream(in, rle, read);
    std::vector<uint32_t> scratch(h.width);
    for (int r = 0; r < h.height; ++r) {
        uint32_t* row = sink.row(topOrigin ? r : h.height - 1 - r);
        if (row == nullptr) {
            row = scratch.data();
        }
        if (!stream.readRow(row, h.width)) {
            return DecodeResult::Unreadable;
        }
        if (rightToLeft && row != scratch.data()) {
            std::reverse(row, row + h.width);
        }
    }
    sink.finish();
    return DecodeResult::Ok;
}

} // namespace tesk::picture
