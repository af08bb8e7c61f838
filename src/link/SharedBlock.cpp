#include "SharedBlock.h"

#include "LinkProtocol.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tesk {

namespace {
// Another user must neither plant a block for us to read requests from nor be able to write
// into ours: either would let them make the editor load or save files.
bool usable(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 && st.st_size >= static_cast<off_t>(kBlockSize);
}

bool inLayout(size_t offset, size_t length) {
    return offset <= kBlockSize && length <= kBlockSize - offset;
}

// Without blocking, so that a FIFO someone put under the name cannot hold the editor up until
// it is opened from the other end; and never through a link.
int openBlock(const std::string& name, bool writable) {
    return ::shm_open(name.c_str(),
                      (writable ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY, 0);
}

// One pread or pwrite after another until all is copied; false when the block came up short.
template <typename Step> bool copyAll(size_t length, Step step) {
    for (size_t done = 0; done < length;) {
        const ssize_t n = step(done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}
} // namespace

// Copies with pread and pwrite rather than through a mapping: a block that shrinks under a
// mapping kills the process with SIGBUS, where a copy only comes up short.
template <typename Copy>
int SharedBlock::withBlock(bool writable, size_t offset, size_t length, Copy copy) const {
    if (!inLayout(offset, length)) {
        return -2;
    }
    const int fd = openBlock(m_name, writable);
    if (fd < 0) {
        return -1;
    }
    if (!usable(fd)) {
        ::close(fd);
        return -1;
    }
    // A write past the end of a block cut short meanwhile grows it again without the rest of
    // the layout: still short afterwards, it counts as failed.
    bool done = copyAll(length, [&](size_t at) { return copy(fd, at); });
    struct stat st {};
    done = done && ::fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(kBlockSize);
    ::close(fd);
    return done ? 1 : -2;
}

int SharedBlock::writeBlock(size_t offset, std::span<const uint8_t> bytes) const {
    return withBlock(true, offset, bytes.size(), [&](int fd, size_t at) {
        return ::pwrite(fd, bytes.data() + at, bytes.size() - at, static_cast<off_t>(offset + at));
    });
}

int SharedBlock::readBlock(size_t offset, size_t length, uint8_t* out) const {
    // Read aside first, so that a read cut short leaves `out` as it was.
    std::vector<uint8_t> copy(inLayout(offset, length) ? length : 0);
    const int result = withBlock(false, offset, length, [&](int fd, size_t at) {
        return ::pread(fd, copy.data() + at, length - at, static_cast<off_t>(offset + at));
    });
    if (result == 1) {
        std::memcpy(out, copy.data(), length);
    }
    return result;
}

int SharedBlock::writeWord(size_t offset, uint32_t value) const {
    uint8_t bytes[4];
    storeWord(bytes, value);
    return writeBlock(offset, bytes);
}

int SharedBlock::readWord(size_t offset, uint32_t& value) const {
    uint8_t bytes[4];
    const int result = readBlock(offset, sizeof bytes, bytes);
    if (result == 1) {
        value = loadWord(bytes);
    }
    return result;
}

bool SharedBlock::create() const {
    ::shm_unlink(m_name.c_str());
    const int fd = ::shm_open(m_name.c_str(), O_RDWR | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return false;
    }
    const bool sized = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 &&
                       ::ftruncate(fd, static_cast<off_t>(kBlockSize)) == 0;
    ::close(fd);
    if (!sized) {
        remove();
    }
    return sized;
}

void SharedBlock::remove() const {
    ::shm_unlink(m_name.c_str());
}

} // namespace tesk
