#include "MessageTransport.h"

#include "LinkNames.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tesk {

namespace {

struct Address {
    sockaddr_un sun{};
    socklen_t length = 0;
};

constexpr socklen_t kPathOffset = offsetof(sockaddr_un, sun_path);

// Every window's name is a socket file in the user's private folder, which no other user may
// enter: nobody else can take a name there or send to one.
std::optional<Address> pathAddress(const std::string& path) {
    Address a;
    a.sun.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof a.sun.sun_path) {
        return std::nullopt;
    }
    std::memcpy(a.sun.sun_path, path.data(), path.size());
    a.length = static_cast<socklen_t>(kPathOffset + path.size() + 1);
    return a;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".")
                                      : path.substr(0, std::max<size_t>(slash, 1));
}

// A name is reached only in a folder that is still private: one that vanished and was made
// again by someone else is not ours.
bool inPrivateFolder(const std::string& path) {
    const int folder = openPrivateFolder(folderOf(path));
    if (folder < 0) {
        return false;
    }
    ::close(folder);
    return true;
}

std::optional<Address> destination(const std::string& path) {
    return inPrivateFolder(path) ? pathAddress(path) : std::nullopt;
}

// Return addresses are kept as the bytes of sun_path: a path without its terminator, or an
// abstract name (the reply socket of a send) with its leading zero byte.
std::string rawName(const sockaddr_un& sun, socklen_t length) {
    if (length <= kPathOffset) {
        return {};
    }
    const auto size = static_cast<size_t>(length - kPathOffset);
    if (sun.sun_path[0] != '\0') {
        return std::string(sun.sun_path, ::strnlen(sun.sun_path, size));
    }
    return std::string(sun.sun_path, size);
}

std::optional<Address> rawAddress(const std::string& raw) {
    if (!raw.empty() && raw[0] != '\0') {
        return pathAddress(raw);
    }
    Address a;
    a.sun.sun_family = AF_UNIX;
    if (raw.empty() || raw.size() > sizeof a.sun.sun_path) {
        return std::nullopt;
    }
    std::memcpy(a.sun.sun_path, raw.data(), raw.size());
    a.length = static_cast<socklen_t>(kPathOffset + raw.size());
    return a;
}

int openSocket() {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    return fd;
}

// Receiving sockets ask for the sender's credentials with every datagram.
bool askForCredentials(int fd) {
    const int on = 1;
    return ::setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) == 0;
}

struct Datagram {
    // One byte more than any accepted datagram, so an oversized one shows as too long even
    // where the kernel does not flag truncation.
    uint8_t bytes[kDatagramBytes + 4];
    size_t size = 0;
    bool truncated = false;
    std::optional<uint32_t> uid;
    std::string from;
};

// False when nothing is waiting.
bool receiveDatagram(int fd, Datagram& d) {
    sockaddr_un from{};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    iovec iov{d.bytes, sizeof d.bytes};
    msghdr m{};
    m.msg_name = &from;
    m.msg_namelen = sizeof from;
    m.msg_iov = &iov;
    m.msg_iovlen = 1;
    m.msg_control = control;
    m.msg_controllen = sizeof control;
    ssize_t n;
    do {
        n = ::recvmsg(fd, &m, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return false;
    }
    d.size = static_cast<size_t>(n);
    d.truncated = (m.msg_flags & MSG_TRUNC) != 0;
    d.uid.reset();
    for (cmsghdr* c = CMSG_FIRSTHDR(&m); c != nullptr; c = CMSG_NXTHDR(&m, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS &&
            c->cmsg_len >= CMSG_LEN(sizeof(ucred))) {
            ucred cred{};
            std::memcpy(&cred, CMSG_DATA(c), sizeof cred);
            d.uid = cred.uid;
        }
    }
    d.from = rawName(from, m.msg_namelen);
    return true;
}

class FolderLock {
public:
    explicit FolderLock(int folder) : m_folder(folder) { ::flock(m_folder, LOCK_EX); }
    ~FolderLock() { ::close(m_folder); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_folder;
};

// A socket file outlives a window that crashed; nobody is bound to it any more, so a
// connection to it is refused. One that answers belongs to a live window and is kept.
bool removeDeadSocket(const Address& address, const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::getuid()) {
        return false;
    }
    const int probe = openSocket();
    if (probe < 0) {
        return false;
    }
    const bool dead =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address.sun), address.length) != 0 &&
        errno == ECONNREFUSED;
    ::close(probe);
    return dead && ::unlink(path.c_str()) == 0;
}

bool sendTo(int fd, std::span<const uint8_t> bytes, const Address& to, int& error) {
    ssize_t n;
    do {
        n = ::sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                     reinterpret_cast<const sockaddr*>(&to.sun), to.length);
    } while (n < 0 && errno == EINTR);
    error = n < 0 ? errno : 0;
    return n == static_cast<ssize_t>(bytes.size());
}

} // namespace

std::array<uint8_t, kDatagramBytes> encodeMessage(const LinkMessage& message) {
    std::array<uint8_t, kDatagramBytes> bytes{};
    storeWord(bytes.data(), message.message);
    storeWord(bytes.data() + 4, message.wParam);
    storeWord(bytes.data() + 8, message.lParam);
    return bytes;
}

std::optional<LinkMessage> decodeMessage(std::span<const uint8_t> bytes, bool truncated,
                                         std::optional<uint32_t> senderUid) {
    if (truncated || bytes.size() != kDatagramBytes || !senderUid || *senderUid != ::getuid()) {
        return std::nullopt;
    }
    return LinkMessage{loadWord(bytes.data()), loadWord(bytes.data() + 4),
                       loadWord(bytes.data() + 8)};
}

std::unique_ptr<Mailbox> Mailbox::bind(const std::string& name) {
    const auto address = pathAddress(name);
    const int folder = address ? openPrivateFolder(folderOf(name)) : -1;
    if (folder < 0) {
        return nullptr;
    }
    // Held while a dead window's name is replaced, so that two windows of this user starting
    // at once never both take it.
    const FolderLock lock(folder);
    const int fd = openSocket();
    if (fd < 0) {
        return nullptr;
    }
    const auto bindName = [&] {
        return ::bind(fd, reinterpret_cast<const sockaddr*>(&address->sun), address->length) == 0;
    };
    bool bound = askForCredentials(fd) && bindName();
    if (!bound && errno == EADDRINUSE && removeDeadSocket(*address, name)) {
        bound = bindName();
    }
    struct stat st {};
    if (!bound || ::lstat(name.c_str(), &st) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<Mailbox>(
        new Mailbox(fd, name, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)));
}

Mailbox::~Mailbox() {
    ::close(m_fd);
    // Only the file this window made: a later window of the same name keeps its own.
    struct stat st {};
    if (::lstat(m_name.c_str(), &st) == 0 && static_cast<uint64_t>(st.st_dev) == m_device &&
        static_cast<uint64_t>(st.st_ino) == m_inode) {
        ::unlink(m_name.c_str());
    }
}

std::optional<ReceivedMessage> Mailbox::take() {
    Datagram d;
    while (receiveDatagram(m_fd, d)) {
        const auto message =
            decodeMessage(std::span<const uint8_t>(d.bytes, d.size), d.truncated, d.uid);
        if (message) {
            return ReceivedMessage{*message, d.from};
        }
    }
    return std::nullopt;
}

void Mailbox::answer(const ReceivedMessage& received, uint32_t result) {
    const auto to = rawAddress(received.returnAddress);
    if (!to) {
        return;
    }
    uint8_t bytes[kReplyBytes];
    storeWord(bytes, result);
    int error = 0;
    sendTo(m_fd, bytes, *to, error);
}

bool postBytes(const std::string& to, std::span<const uint8_t> bytes) {
    const auto address = destination(to);
    const int fd = address ? openSocket() : -1;
    if (fd < 0) {
        return false;
    }
    int error = 0;
    const bool sent = sendTo(fd, bytes, *address, error);
    ::close(fd);
    return sent;
}

PostResult postMessage(const std::string& to, const LinkMessage& message) {
    const auto address = destination(to);
    const int fd = address ? openSocket() : -1;
    if (fd < 0) {
        return PostResult::Refused;
    }
    int error = 0;
    const bool sent = sendTo(fd, encodeMessage(message), *address, error);
    ::close(fd);
    if (sent) {
        return PostResult::Posted;
    }
    return error == EAGAIN || error == EWOULDBLOCK || error == ENOBUFS ? PostResult::Full
                                                                       : PostResult::Refused;
}

SendResult sendMessage(const std::string& to, const LinkMessage& message, int timeoutMs) {
    const auto address = destination(to);
    const int fd = address ? openSocket() : -1;
    if (fd < 0) {
        return {};
    }
    // Bound to a name of the kernel's choosing, so the receiver has somewhere to answer.
    sockaddr_un self{};
    self.sun_family = AF_UNIX;
    int error = 0;
    if (!askForCredentials(fd) ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&self), sizeof(sa_family_t)) != 0 ||
        !sendTo(fd, encodeMessage(message), *address, error)) {
        ::close(fd);
        return {};
    }
    SendResult result{SendResult::NoReply, 0};
    const std::string expectedFrom = rawName(address->sun, address->length);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        Datagram d;
        while (receiveDatagram(fd, d)) {
            // Only the window asked may answer, with one word, from this user.
            if (d.from == expectedFrom && !d.truncated && d.size == kReplyBytes && d.uid &&
                *d.uid == ::getuid()) {
                result = {SendResult::Replied, loadWord(d.bytes)};
                ::close(fd);
                return result;
            }
        }
    }
    ::close(fd);
    return result;
}

} // namespace tesk
