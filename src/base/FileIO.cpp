#include "FileIO.h"

#include "SaveSignals.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tesk {

namespace {

/// Our own failure code, beside the errno values: the target is a FIFO, device or socket,
/// which a rename would replace by a plain file.
constexpr int kNotRegularFile = -1;

/// Links a save follows before giving up, as the kernel does for a path.
constexpr int kMaxLinkHops = 40;

/// The file a save to `path` must replace: the end of its chain of symbolic links, which may
/// not exist yet. 0, or the errno of the failure.
int resolveLinks(std::string& path) {
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(st.st_mode)) {
            return 0;
        }
        if (hops == kMaxLinkHops) {
            return ELOOP;
        }
        std::string target(static_cast<size_t>(st.st_size) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            return errno;
        }
        if (static_cast<size_t>(n) >= target.size()) {
            return ENAMETOOLONG; // the link changed while it was read
        }
        target.resize(static_cast<size_t>(n));
        if (target.empty() || target[0] == '/') {
            path = target;
        } else {
            const size_t slash = path.rfind('/');
            path =
                (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
        }
    }
}

/// As `cp -p` does: the temporary file takes the owner and group of the file it replaces where
/// the process may give them (a superuser saving another user's file), else the group alone
/// (one the user belongs to); failing both it stays the user's own, as any new file would be.
void keepOwner(int fd, const struct stat& replaced) {
    struct stat mine {};
    if (::fstat(fd, &mine) != 0 ||
        (mine.st_uid == replaced.st_uid && mine.st_gid == replaced.st_gid)) {
        return;
    }
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) == 0 ||
        ::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) == 0) {
        return;
    }
    // Neither could be given: the file stays the user's own, as a new file would be.
}

bool writeAll(int fd, const uint8_t* p, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes) {
    bytes.clear();
    // Opening a FIFO waits for a writer and a device may do anything: only regular files are
    // opened at all, and without blocking in case the name was swapped in between.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return false;
    }
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    if (done != bytes.size()) {
        bytes.clear();
        return false;
    }
    return true;
}

std::string WriteResult::reason() const {
    if (m_error == 0) {
        return {};
    }
    if (m_error == kNotRegularFile) {
        return "not a regular file";
    }
    return std::generic_category().message(m_error);
}

WriteResult writeFileAtomically(const std::string& path, const void* data, size_t size) {
    if (path.empty()) {
        return WriteResult(ENOENT);
    }
    std::string target = path;
    if (const int error = resolveLinks(target); error != 0) {
        return WriteResult(error);
    }
    // A new file gets the usual mode for a document; a replaced one keeps its own.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    struct stat st {};
    const bool replacing = ::stat(target.c_str(), &st) == 0;
    if (replacing) {
        if (S_ISDIR(st.st_mode)) {
            return WriteResult(EISDIR);
        }
        if (!S_ISREG(st.st_mode)) {
            return WriteResult(kNotRegularFile);
        }
        // The rename only needs the folder to be writable, so ask about the file itself. A
        // file nobody may write is read-only on purpose, even for the superuser.
        if ((st.st_mode & 0222) == 0) {
            return WriteResult(EACCES);
        }
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return WriteResult(errno);
        }
        mode = st.st_mode & 0777;
    } else if (errno != ENOENT) {
        return WriteResult(errno);
    }

    // A short fixed name, so any name the file system allows for the target works beside it.
    const size_t slash = target.rfind('/');
    std::string temp =
        (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + ".tesk-XXXXXX";
    // While the temporary file exists under its own name, an ending signal removes it (see
    // SaveSignals.h). The signals are held off while the name is made and registered and again
    // while it is renamed or removed, so a handler never sees a name half made or gone.
    EndingSignalsHeld held;
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return WriteResult(errno);
    }
    const PendingTemporaryFile pending(temp.c_str());
    held.release();
    if (replacing) {
        keepOwner(fd, st);
    }
    // The mode after the owner: a change of owner clears the set-id bits.
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, static_cast<const uint8_t*>(data), size) &&
              ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    held.hold();
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
    }
    return WriteResult(error);
}

} // namespace tesk
