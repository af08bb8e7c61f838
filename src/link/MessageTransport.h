#pragma once
// Window messages between programs: each window is a Unix datagram socket bound to a path in
// the user's private folder (LinkNames), and a message is one datagram of three little-endian
// words. Receivers take only datagrams of exactly that size from processes of their own user.

#include "LinkProtocol.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace tesk {

struct LinkMessage {
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
    friend bool operator==(const LinkMessage&, const LinkMessage&) = default;
};

std::array<uint8_t, kDatagramBytes> encodeMessage(const LinkMessage& message);
/// The message a received datagram carries, or nothing when it must be dropped: a size other
/// than kDatagramBytes, a truncated datagram, or a sender that is not this process's user
/// (absent when the kernel gave no credentials).
std::optional<LinkMessage> decodeMessage(std::span<const uint8_t> bytes, bool truncated,
                                         std::optional<uint32_t> senderUid);

struct ReceivedMessage {
    LinkMessage message;
    /// The sender's socket address; empty for a posted message, which gets no answer.
    std::string returnAddress;
};

/// One window's socket, bound to a path; closed, and its file removed, with the object.
class Mailbox {
public:
    /// Binds `name`, replacing the socket file of a window that is gone. Null when a live
    /// window holds the name, the folder is not the user's private one, or no socket can be
    /// made.
    static std::unique_ptr<Mailbox> bind(const std::string& name);
    ~Mailbox();
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    /// For a watcher of readability.
    int fd() const { return m_fd; }
    const std::string& name() const { return m_name; }
    /// The next acceptable message, without waiting; datagrams to drop are consumed on the way.
    std::optional<ReceivedMessage> take();
    /// Answers a sent message with the handler's result; posted messages get nothing.
    void answer(const ReceivedMessage& received, uint32_t result);

private:
    Mailbox(int fd, std::string name, uint64_t device, uint64_t inode)
        : m_fd(fd), m_name(std::move(name)), m_device(device), m_inode(inode) {}
    int m_fd;
    std::string m_name;
    uint64_t m_device;
    uint64_t m_inode;
};

enum class PostResult { Posted, Refused, Full };

/// Sends without a return address and without waiting. Refused when no live window has the
/// name or its folder is not the user's private one.
PostResult postMessage(const std::string& to, const LinkMessage& message);

struct SendResult {
    enum Status { Refused, NoReply, Replied };
    Status status = Refused;
    uint32_t result = 0;
};

/// Sends with a return address and waits up to `timeoutMs` for the receiver's answer.
SendResult sendMessage(const std::string& to, const LinkMessage& message,
                       int timeoutMs = kSendReplyMilliseconds);

/// Sends raw bytes without a return address: for tools that test how receivers cope.
bool postBytes(const std::string& to, std::span<const uint8_t> bytes);

} // namespace tesk
