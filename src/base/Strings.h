#pragma once
// Text helpers: the program keeps UTF-8 inside and meets UTF-16LE only at file boundaries.

#include <string>
#include <string_view>

namespace tesk {

/// UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);

/// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

/// An 8-bit string of the old archive form: each byte is taken as the code point of the same
/// value (Latin-1). Every tag the program compares is ASCII, which all code pages share.
std::u16string bytesToUtf16(std::string_view bytes);

/// Lower-cases A-Z; used where file names are compared without regard to letter case.
std::string foldCase(std::string_view text);

/// True when a and b are equal after foldCase.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

/// The extension of a path after its last dot, lower-cased, without the dot; empty if none.
std::string lowerExtension(std::string_view path);

} // namespace tesk
