#include "LinkNames.h"

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tesk {

namespace {
constexpr mode_t kPrivateMode = S_IRWXU;

// Another user who could rename entries of the runtime folder could swap ours for theirs.
bool usableRuntimeFolder(const char* path) {
    struct stat st {};
    return ::lstat(path, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}
} // namespace

int openPrivateFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 0777) != kPrivateMode) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string linkFolder(const char* runtimeDir, const std::string& tmpDir) {
    std::string folder;
    if (runtimeDir != nullptr && runtimeDir[0] == '/') {
        if (!usableRuntimeFolder(runtimeDir)) {
            return {};
        }
        folder = std::string(runtimeDir) + "/tesk";
    } else {
        // A name in the shared temporary folder that another user may have made first: it is
        // refused below unless it is ours and private.
        folder = tmpDir + "/tesk-" + std::to_string(::getuid());
    }
    if (::mkdir(folder.c_str(), kPrivateMode) == 0) {
        // The umask may have taken bits the user needs.
        ::chmod(folder.c_str(), kPrivateMode);
    }
    const int fd = openPrivateFolder(folder);
    if (fd < 0) {
        return {};
    }
    ::close(fd);
    return folder;
}

LinkNames LinkNames::forUser(std::string_view tag) {
    std::string block = "/KOB_APP-" + std::to_string(::getuid());
    std::string prefix;
    if (!tag.empty()) {
        block += "-" + std::string(tag);
        prefix = std::string(tag) + "-";
    }
    return {std::move(block), linkFolder(std::getenv("XDG_RUNTIME_DIR")), std::move(prefix)};
}

namespace {
std::string socketPath(const LinkNames& names, const std::string& name) {
    return names.folder.empty() ? std::string() : names.folder + "/" + names.socketPrefix + name;
}
} // namespace

std::string LinkNames::endpoint(uint32_t id) const {
    return socketPath(*this, "endpoint-" + std::to_string(id));
}

std::string LinkNames::windowClass(std::string_view className) const {
    return socketPath(*this, "class-" + std::string(className));
}

uint32_t nextWindowId() {
    static std::atomic<uint32_t> counter{0};
    const uint32_t window = counter.fetch_add(1) % 255u + 1u;
    return static_cast<uint32_t>(::getpid()) << 8 | window;
}

} // namespace tesk
