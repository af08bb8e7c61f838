#include "SharedBlock.h"

#include "LinkProtocol.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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
} // namespace

template <typename Access> int SharedBlock::withMapping(bool writable, Access access) const {
    const int fd = ::shm_open(m_name.c_str(), writable ? O_RDWR : O_RDONLY, 0);
    if (fd < 0) {
        return -1;
    }
    if (!usable(fd)) {
        ::close(fd);
        return -1;
    }
    void* view = ::mmap(nullptr, kBlockSize, writable ? PROT_READ | PROT_WRITE : PROT_READ,
                        MAP_SHARED, fd, 0);
    ::close(fd);
    if (view == MAP_FAILED) {
        return -2;
    }
    access(static_cast<uint8_t*>(view));
    ::munmap(view, kBlockSize);
    return 1;
}

int SharedBlock::writeBlock(size_t offset, std::span<const uint8_t> bytes) const {
    if (!inLayout(offset, bytes.size())) {
        return -2;
    }
    return withMapping(
        true, [&](uint8_t* block) { std::memcpy(block + offset, bytes.data(), bytes.size()); });
}

int SharedBlock::readBlock(size_t offset, size_t length, uint8_t* out) const {
    if (!inLayout(offset, length)) {
        return -2;
    }
    return withMapping(false,
                       [&](const uint8_t* block) { std::memcpy(out, block + offset, length); });
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
