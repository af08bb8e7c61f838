#pragma once
// Small files that claim huge pictures, made on the fly (so nothing big is checked in): PNGs
// whose every sample is zero, in any colour type, depth and interlacing, and run-length Targas
// whose rows are runs of a grey that rises down the picture; and a small PNG of such rows.

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

/// Calls row(y, w) for every filtered row the file stores, in order: w pixels of picture row y
/// (fewer than the width in the passes of an interlaced file).
template <typename Row>
void forEachStoredRow(uint32_t width, uint32_t height, bool interlaced, Row row) {
    // Adam7: first column and row, column and row step of each pass.
    static constexpr std::array<std::array<uint32_t, 4>, 7> kPasses = {{{0, 0, 8, 8},
                                                                        {4, 0, 8, 8},
                                                                        {0, 4, 4, 8},
                                                                        {2, 0, 4, 4},
                                                                        {0, 2, 2, 4},
                                                                        {1, 0, 2, 2},
                                                                        {0, 1, 1, 2}}};
    for (const auto& [x0, y0, dx, dy] : kPasses) {
        if (!interlaced) {
            for (uint32_t y = 0; y < height; ++y) {
                row(y, width);
            }
            return;
        }
        const uint32_t w = width > x0 ? (width - x0 + dx - 1) / dx : 0;
        for (uint32_t y = y0; w > 0 && y < height; y += dy) {
            row(y, w);
        }
    }
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

/// A chunk of the file besides the header, the picture data and the end.
struct ExtraChunk {
    const char* type;
    std::vector<uint8_t> data;
    bool afterData; ///< after IDAT rather than before it
};

inline std::vector<uint8_t> pngFile(uint32_t width, uint32_t height, int bitDepth, int colorType,
                                    bool interlaced, const std::vector<uint8_t>& idat,
                                    const std::vector<ExtraChunk>& extras = {}) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    appendU32(header, width);
    appendU32(header, height);
    header.insert(header.end(), {static_cast<uint8_t>(bitDepth), static_cast<uint8_t>(colorType), 0,
                                 0, static_cast<uint8_t>(interlaced ? 1 : 0)});
    appendChunk(out, "IHDR", header);
    for (const bool after : {false, true}) {
        for (const ExtraChunk& chunk : extras) {
            if (chunk.afterData == after) {
                appendChunk(out, chunk.type, chunk.data);
            }
        }
        if (!after) {
            appendChunk(out, "IDAT", idat);
        }
    }
    appendChunk(out, "IEND", {});
    return out;
}

} // namespace detail

/// The grey of row y in rampPng and rleTga: rises from 0 at the top to 255 at the bottom.
inline uint8_t rampGrey(uint32_t y, uint32_t height) {
    return static_cast<uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
}

/// A PNG of width x height zero samples. colorType and bitDepth as in the IHDR chunk (grey 0,
/// RGB 2, grey + alpha 4, RGBA 6).
inline std::vector<uint8_t> zeroPng(uint32_t width, uint32_t height, int bitDepth, int colorType,
                                    bool interlaced) {
    const int channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
    uint64_t bytes = 0;
    detail::forEachStoredRow(width, height, interlaced, [&](uint32_t, uint32_t w) {
        bytes += 1 + (uint64_t{w} * static_cast<uint64_t>(bitDepth * channels) + 7) / 8;
    });
    return detail::pngFile(width, height, bitDepth, colorType, interlaced,
                           detail::deflateZeros(bytes));
}

/// An 8-bit grey PNG whose rows are each one grey, rampGrey(y); for small pictures.
inline std::vector<uint8_t> rampPng(uint32_t width, uint32_t height, bool interlaced,
                                    const std::vector<detail::ExtraChunk>& extras = {}) {
    std::vector<uint8_t> raw;
    detail::forEachStoredRow(width, height, interlaced, [&](uint32_t y, uint32_t w) {
        raw.push_back(0);
        raw.insert(raw.end(), w, rampGrey(y, height));
    });
    std::vector<uint8_t> idat(compressBound(static_cast<uLong>(raw.size())));
    uLongf size = idat.size();
    compress(idat.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    idat.resize(size);
    return detail::pngFile(width, height, 8, 0, interlaced, idat, extras);
}

/// `count` compressed text chunks, zTXt and iTXt in turn, each inflating to `textBytes` zero
/// bytes; every third one comes after the picture data.
inline std::vector<detail::ExtraChunk> compressedTexts(int count, uint64_t textBytes) {
    const std::vector<uint8_t> text = detail::deflateZeros(textBytes);
    std::vector<detail::ExtraChunk> chunks;
    for (int i = 0; i < count; ++i) {
        const bool international = i % 2 == 1;
        // zTXt: keyword, 0, method 0. iTXt: keyword, 0, compressed 1, method 0, language, 0,
        // translated keyword, 0.
        std::vector<uint8_t> data = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
        if (international) {
            data.back() = 1;
            data.insert(data.end(), {0, 'e', 'n', 0, 0});
        }
        data.insert(data.end(), text.begin(), text.end());
        chunks.push_back({international ? "iTXt" : "zTXt", std::move(data), i % 3 == 2});
    }
    return chunks;
}

/// A 24-bit run-length Targa, top row first, every row made of runs of 128 pixels.
inline std::vector<uint8_t> rleTga(uint16_t width, uint16_t height) {
    std::vector<uint8_t> out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    out.insert(out.end(),
               {static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), 24, 0x20});
    const size_t runsPerRow = (width + 127u) / 128u;
    out.resize(out.size() + runsPerRow * height * 4);
    uint8_t* p = out.data() + 18;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t grey = rampGrey(y, height);
        for (uint32_t x = 0; x < width; x += 128, p += 4) {
            p[0] = static_cast<uint8_t>(0x80 | (std::min<uint32_t>(128, width - x) - 1));
            p[1] = p[2] = p[3] = grey;
        }
    }
    return out;
}

} // namespace tesk::testing
