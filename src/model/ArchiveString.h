#pragma once
// The archive's serialised strings: written in the wide form, read in the wide or the
// 8-bit form with any of the three length forms.

#include <string_view>

namespace tesk {

class ByteReader;
class ByteWriter;

/// Writes an ASCII text in the wide form: FF FE FF, the length, UTF-16LE characters.
void writeArchiveString(ByteWriter& out, std::string_view ascii);

/// Reads one string and tells whether it equals `expected` (ASCII, case-sensitive). False
/// when the data ends inside the string; `matches` is then left false.
bool readArchiveStringMatching(ByteReader& in, std::string_view expected, bool& matches);

} // namespace tesk
