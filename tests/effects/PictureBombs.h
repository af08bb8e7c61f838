#pragma once
// Small files that claim huge pictures, made on the fly (so nothing big is checked in): PNGs
// whose every sample is zero, in any colour type, depth and interlacing, and run-length Targas
// whose rows are single runs of a grey that rises down the picture.

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tesk::testing {

namespace detail {

inline void appendU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

inline void appendChunk(std::vector<uint8_t>& out, const char* type,
                        const std::vector<uint8_t>& data) {
    appendU32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    appendU32(out, static_cast<uint32_t>(
                       crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

/// The bytes of the filtered rows, every one of them zero: filter type 0 and zero samples.
inline uint64_t zeroRowBytes(uint32_t width, uint32_t height, int bitsPerPixel, bool interlaced) {
    // Adam7: first column and row, column and row step of each pass.
    static constexpr std::array<std::array<uint32_t, 4>, 7> kPasses = {{{0, 0, 8, 8},
                                                                        {4, 0, 8, 8},
                                                                        {0, 4, 4, 8},
                                                                        {2, 0, 4, 4},
                                                                        {0, 2, 2, 4},
                                                                        {1, 0, 2, 2},
                                                                        {0, 1, 1, 2}}};
    const auto rowBytes = [&](uint64_t w) {
        return 1 + (w * static_cast<uint64_t>(bitsPerPixel) + 7) / 8;
    };
    if (!interlaced) {
        return height * rowBytes(width);
    }
    uint64_t total = 0;
    for (const auto& [x0, y0, dx, dy] : kPasses) {
        const uint64_t w = width > x0 ? (width - x0 + dx - 1) / dx : 0;
        const uint64_t h = height > y0 ? (height - y0 + dy - 1) / dy : 0;
        if (w > 0) {
            total += h * rowBytes(w);
        }
    }
    return total;
}

/// A zlib stream of `count` zero bytes. Each mebibyte is compressed on its own (a full flush
/// between them), so after the first two the same bytes repeat and gigabytes take no time.
inline std::vector<uint8_t> deflateZeros(uint64_t count) {
    constexpr size_t kChunk = size_t{1} << 20;
    const std::vector<uint8_t> zeros(kChunk);
    std::vector<uint8_t> out;
    z_stream z{};
    if (deflateInit(&z, Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("deflateInit");
    }
    const auto run = [&](size_t n, int flush) {
        const size_t start = out.size();
        z.next_in = const_cast<Bytef*>(zeros.data());
        z.avail_in = static_cast<uInt>(n);
        do {
            std::array<uint8_t, 1 << 16> buffer;
            z.next_out = buffer.data();
            z.avail_out = buffer.size();
            deflate(&z, flush);
            out.insert(out.end(), buffer.data(), z.next_out);
        } while (z.avail_out == 0);
        return std::vector<uint8_t>(out.begin() + static_cast<long>(start), out.end());
    };
    std::vector<uint8_t> repeated;
    uLong adler = adler32(0, nullptr, 0);
    const uLong chunkAdler = adler32(adler, zeros.data(), kChunk);
    for (int calls = 0; count > kChunk; count -= kChunk, ++calls) {
        if (calls < 2) {
            repeated = run(kChunk, Z_FULL_FLUSH);
        } else {
            out.insert(out.end(), repeated.begin(), repeated.end());
        }
        adler = adler32_combine(adler, chunkAdler, kChunk);
    }
    run(static_cast<size_t>(count), Z_FINISH);
    deflateEnd(&z);
    // The stream's own checksum saw only the chunks that were really compressed.
    adler = adler32_combine(adler, adler32(1, zeros.data(), static_cast<uInt>(count)),
                            static_cast<z_off_t>(count));
    for (size_t i = 0; i < 4; ++i) {
        out[out.size() - 4 + i] = static_cast<uint8_t>(adler >> (24 - 8 * i));
    }
    return out;
}

} // namespace detail

/// A PNG of width x height zero samples. colorType and bitDepth as in the IHDR chunk (grey 0,
/// RGB 2, grey + alpha 4, RGBA 6).
inline std::vector<uint8_t> zeroPng(uint32_t width, uint32_t height, int bitDepth, int colorType,
                                    bool interlaced) {
    const int channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    detail::appendU32(header, width);
    detail::appendU32(header, height);
    header.insert(header.end(), {static_cast<uint8_t>(bitDepth), static_cast<uint8_t>(colorType), 0,
                                 0, static_cast<uint8_t>(interlaced ? 1 : 0)});
    detail::appendChunk(out, "IHDR", header);

    detail::appendChunk(
        out, "IDAT",
        detail::deflateZeros(detail::zeroRowBytes(width, height, bitDepth * channels, interlaced)));
    detail::appendChunk(out, "IEND", {});
    return out;
}

/// The grey of row y in rleTga: rises from 0 at the top to 255 at the bottom.
inline uint8_t rleTgaGrey(uint32_t y, uint32_t height) {
    return static_cast<uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
}

/// A 24-bit run-length Targa, top row first, every row made of runs of 128 pixels.
inline std::vector<uint8_t> rleTga(uint16_t width, uint16_t height) {
    std::vector<uint8_t> out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    out.insert(out.end(),
               {static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), 24, 0x20});
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t grey = rleTgaGrey(y, height);
        for (uint32_t x = 0; x < width; x += 128) {
            const uint32_t run = std::min<uint32_t>(128, width - x);
            out.insert(out.end(), {static_cast<uint8_t>(0x80 | (run - 1)), grey, grey, grey});
        }
    }
    return out;
}

} // namespace tesk::testing
