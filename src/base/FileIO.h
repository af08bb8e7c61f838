#pragma once
// Whole-file reads with a size cap, and writes that never destroy the previous good file.

#include <cstdint>
#include <string>
#include <vector>

namespace tesk {

/// Reads the whole file. False (and `bytes` cleared) when it cannot be opened or read, or is
/// larger than maxBytes.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes);

/// Writes the bytes to a temporary file beside `path` and renames it over `path` only after
/// everything was written and flushed. On failure the old file is untouched and no temporary
/// file is left behind.
bool writeFileAtomically(const std::string& path, const void* data, size_t size);

} // namespace tesk
