#pragma once
// Whole-file reads with a size cap, and writes that never destroy the previous good file.

#include <cstdint>
#include <string>
#include <vector>

namespace tesk {

/// Reads the whole file. False (and `bytes` cleared) when it cannot be opened or read, is not a
/// regular file, or is larger than maxBytes. Never waits: a FIFO or device is refused unread.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes);

/// The outcome of a save: true on success, else the system's reason.
class WriteResult {
public:
    WriteResult() = default;
    /// errno of the failing call, or 0 for success.
    explicit WriteResult(int error) : m_error(error) {}
    explicit operator bool() const { return m_error == 0; }
    int error() const { return m_error; }
    /// The system's text for the failure (empty on success), for a message's second line.
    std::string reason() const;

private:
    int m_error = 0;
};

/// Writes the bytes to a short-named temporary file beside the file that `path` finally names
/// (a symbolic link is followed, even when its target does not exist yet) and renames it over
/// that file only after everything was written and flushed. A replaced file keeps its
/// permission bits and, where the process may set them, its owner and group; a file that may
/// not be written, a folder or another non-regular file is refused. On failure the old file is
/// untouched and no temporary file is left behind, nor when an ending signal (SaveSignals.h)
/// stops the save and its handler removes the file.
WriteResult writeFileAtomically(const std::string& path, const void* data, size_t size);

} // namespace tesk
