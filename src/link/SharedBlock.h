#pragma once
// The shared block "KOB_APP": a POSIX shared-memory object that the viewer creates and the
// editor opens anew for each single access, as the original opened its named mapping. The
// bytes are copied in and out through the descriptor, so a block cut short meanwhile makes an
// access fail, never the process.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tesk {

class SharedBlock {
public:
    explicit SharedBlock(std::string name) : m_name(std::move(name)) {}

    /// Copies the bytes into the block at `offset`. 1 on success; -1 when there is no usable
    /// block (missing, not a regular shared-memory object, owned by another user, writable by
    /// others, or shorter than kBlockSize); -2 when the range lies outside the layout or the
    /// block was cut short during the copy.
    int writeBlock(size_t offset, std::span<const uint8_t> bytes) const;
    /// Copies `length` bytes from the block into `out`; the same results. On -1 or -2 `out`
    /// is left untouched.
    int readBlock(size_t offset, size_t length, uint8_t* out) const;

    /// Little-endian words, for the window id and the acknowledgement.
    int writeWord(size_t offset, uint32_t value) const;
    int readWord(size_t offset, uint32_t& value) const;

    /// The viewer's side: a fresh zeroed block of kBlockSize bytes, mode 0600 whatever the
    /// umask. A block left behind by an earlier run is replaced.
    bool create() const;
    /// The viewer's side, when it exits.
    void remove() const;

    const std::string& name() const { return m_name; }

private:
    /// Opens the block, checks it, runs `copy(fd, done)` until `length` bytes are copied, and
    /// closes it.
    template <typename Copy>
    int withBlock(bool writable, size_t offset, size_t length, Copy copy) const;

    std::string m_name;
};

} // namespace tesk
