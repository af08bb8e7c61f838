#include "ArchiveString.h"

#include "ByteStream.h"

#include <cstdint>
#include <span>

namespace tesk {

namespace {
constexpr uint16_t kWideTag = 0xFFFE;

/// Reads a length that follows an 0xFF byte: a 16-bit length below 0xFFFF, or 0xFFFF and a
/// 32-bit length below 0xFFFFFFFF.
bool readLongLength(ByteReader& in, uint16_t first, uint64_t& length) {
    if (first != 0xFFFF) {
        length = first;
        return true;
    }
    uint32_t wide = 0;
    if (!in.u32(wide) || wide == 0xFFFFFFFFu) {
        return false;
    }
    length = wide;
    return true;
}
} // namespace

void writeArchiveString(ByteWriter& out, std::string_view ascii) {
    out.u8(0xFF);
    out.u16(kWideTag);
    // Every string of the project file is shorter than 255 characters.
    out.u8(static_cast<uint8_t>(ascii.size()));
    for (char c : ascii) {
        out.u16(static_cast<uint8_t>(c));
    }
}

bool readArchiveStringMatching(ByteReader& in, std::string_view expected, bool& matches) {
    matches = false;
    bool wide = false;
    uint64_t length = 0;
    uint8_t first = 0;
    if (!in.u8(first)) {
        return false;
    }
    if (first < 0xFF) {
        length = first;
    } else {
        uint16_t word = 0;
        if (!in.u16(word)) {
            return false;
        }
        if (word == kWideTag) {
            wide = true;
            if (!in.u8(first)) {
                return false;
            }
            if (first < 0xFF) {
                length = first;
            } else if (!in.u16(word) || !readLongLength(in, word, length)) {
                return false;
            }
        } else if (!readLongLength(in, word, length)) {
            return false;
        }
    }

    const uint64_t byteCount = wide ? length * 2 : length;
    if (byteCount > in.remaining()) {
        return false;
    }
    std::span<const uint8_t> chars;
    if (!in.bytes(static_cast<size_t>(byteCount), chars)) {
        return false;
    }
    if (length != expected.size()) {
        return true;
    }
    // An 8-bit string is widened byte by byte before the comparison; every expected text is
    // ASCII, which every code page maps to the same characters.
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto want = static_cast<uint16_t>(static_cast<uint8_t>(expected[i]));
        const uint16_t got =
            wide ? static_cast<uint16_t>(chars[2 * i] | (chars[2 * i + 1] << 8)) : chars[i];
        if (got != want) {
            return true;
        }
    }
    matches = true;
    return true;
}

} // namespace tesk
