#include "LinkNames.h"
#include "LinkProtocol.h"
#include "MessageTransport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace tesk;

namespace {

std::string uniqueTag(const char* what) {
    return std::string(what) + std::to_string(::getpid());
}

/// Sends a datagram that claims to come from `uid` (only root may claim another user).
bool postAs(uint32_t uid, const std::string& to, const LinkMessage& message) {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, to.data(), to.size());
    auto bytes = encodeMessage(message);
    iovec iov{bytes.data(), bytes.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))] = {};
    msghdr m{};
    m.msg_name = &addr;
    m.msg_namelen = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + to.size());
    m.msg_iov = &iov;
    m.msg_iovlen = 1;
    m.msg_control = control;
    m.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&m);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_CREDENTIALS;
    c->cmsg_len = CMSG_LEN(sizeof(ucred));
    const ucred cred{::getpid(), uid, ::getgid()};
    std::memcpy(CMSG_DATA(c), &cred, sizeof cred);
    const bool sent = ::sendmsg(fd, &m, 0) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    return sent;
}

} // namespace

TEST(MessageTransportTest, DecodingDropsWrongSizesAndOtherUsers) {
    const auto bytes = encodeMessage({kMsgLoad, 1, 2});
    const uint32_t me = ::getuid();
    EXPECT_EQ(decodeMessage(bytes, false, me), (LinkMessage{kMsgLoad, 1, 2}));
    EXPECT_FALSE(decodeMessage(std::span(bytes).first(11), false, me));
    EXPECT_FALSE(decodeMessage(bytes, true, me)) << "truncated";
    EXPECT_FALSE(decodeMessage(bytes, false, me + 1));
    EXPECT_FALSE(decodeMessage(bytes, false, std::nullopt)) << "no credentials";
}

TEST(MessageTransportTest, MailboxTakesOnlyWellFormedMessagesOfItsUser) {
    const LinkNames names = LinkNames::forUser(uniqueTag("mail"));
    const std::string name = names.endpoint(nextWindowId());
    auto box = Mailbox::bind(name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Mailbox::bind(name), nullptr) << "a name is held by one window";

    const std::vector<uint8_t> shortOne(11, 1);
    const std::vector<uint8_t> longOne(13, 1);
    EXPECT_TRUE(postBytes(name, shortOne));
    EXPECT_TRUE(postBytes(name, longOne));
    if (::getuid() == 0) {
        EXPECT_TRUE(postAs(65534, name, {kMsgSave, 0, 0}));
    }
    EXPECT_EQ(postMessage(name, {kMsgLoad, 3, 4}), PostResult::Posted);
    const auto got = box->take();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->message, (LinkMessage{kMsgLoad, 3, 4}));
    EXPECT_TRUE(got->returnAddress.empty()) << "a post carries no return address";
    EXPECT_FALSE(box->take());

    box.reset();
    EXPECT_EQ(postMessage(name, {kMsgLoad, 0, 0}), PostResult::Refused) << "window gone";
    EXPECT_EQ(sendMessage(name, {kMsgLoad, 0, 0}).status, SendResult::Refused);
}
