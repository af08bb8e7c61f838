#include "LinkNames.h"
#include "LinkProtocol.h"
#include "MessageTransport.h"
#include "OtherUser.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace tesk;

namespace {

std::string uniqueTag(const char* what) {
    return std::string(what) + std::to_string(::getpid());
}

sockaddr_un addressOf(const std::string& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.data(), std::min(path.size(), sizeof addr.sun_path - 1));
    return addr;
}

/// A socket bound to `path` with plain system calls, as any program could; -1 when refused.
int bindByHand(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_un addr = addressOf(path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

/// Sends a datagram that claims to come from `uid` (only root may claim another user).
bool postAs(uint32_t uid, const std::string& to, const LinkMessage& message) {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr = addressOf(to);
    auto bytes = encodeMessage(message);
    iovec iov{bytes.data(), bytes.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))] = {};
    msghdr m{};
    m.msg_name = &addr;
    m.msg_namelen = sizeof addr;
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

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
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
        EXPECT_TRUE(postAs(tesk::testing::kOtherUser, name, {kMsgSave, 0, 0}));
    }
    EXPECT_EQ(postMessage(name, {kMsgLoad, 3, 4}), PostResult::Posted);
    const auto got = box->take();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->message, (LinkMessage{kMsgLoad, 3, 4}));
    EXPECT_TRUE(got->returnAddress.empty()) << "a post carries no return address";
    EXPECT_FALSE(box->take());

    box.reset();
    EXPECT_FALSE(exists(name)) << "a closed window leaves no socket file";
    EXPECT_EQ(postMessage(name, {kMsgLoad, 0, 0}), PostResult::Refused) << "window gone";
    EXPECT_EQ(sendMessage(name, {kMsgLoad, 0, 0}).status, SendResult::Refused);
}

TEST(MessageTransportTest, ADeadWindowsNameIsTakenOverAndALiveOnesKept) {
    const LinkNames names = LinkNames::forUser(uniqueTag("stale"));
    const std::string name = names.windowClass(kEditorClassName);

    // A window that crashed: its socket file stays, with nobody bound to it.
    const int dead = bindByHand(name);
    ASSERT_GE(dead, 0);
    ::close(dead);
    ASSERT_TRUE(exists(name));
    EXPECT_EQ(postMessage(name, {kMsgRegister, 0, 0}), PostResult::Refused) << "nobody there";
    auto first = Mailbox::bind(name);
    ASSERT_NE(first, nullptr) << "the dead window's name is taken over";
    EXPECT_EQ(postMessage(name, {kMsgRegister, 0, 0}), PostResult::Posted);
    EXPECT_TRUE(first->take());

    // A second editor: the name stays with the live window.
    EXPECT_EQ(Mailbox::bind(name), nullptr);
    EXPECT_EQ(postMessage(name, {kMsgRegister, 0, 0}), PostResult::Posted);
    EXPECT_TRUE(first->take()) << "still the first window's";

    // A window closing removes only its own file, not one made since under its name.
    ASSERT_EQ(::unlink(name.c_str()), 0);
    auto second = Mailbox::bind(name);
    ASSERT_NE(second, nullptr);
    first.reset();
    EXPECT_EQ(postMessage(name, {kMsgRegister, 0, 0}), PostResult::Posted);
    EXPECT_TRUE(second->take());

    second.reset();
    EXPECT_FALSE(exists(name));
}

TEST(MessageTransportTest, AnotherUserCanNeitherTakeANameNorReachOne) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    const LinkNames names = LinkNames::forUser(uniqueTag("other"));
    const uint32_t panelId = nextWindowId();
    auto panel = Mailbox::bind(names.endpoint(panelId));
    ASSERT_NE(panel, nullptr);
    const std::string editorClass = names.windowClass(kEditorClassName);
    const std::string viewerClass = names.windowClass(kViewerClassName);

    // The neighbour tries first, with plain system calls and with this library: the class
    // names before the editor and the viewer bind them, and a request to the control panel.
    const int took = tesk::testing::runAsUser(tesk::testing::kOtherUser, [&] {
        int what = 0;
        for (const std::string* name : {&editorClass, &viewerClass}) {
            const bool bound = bindByHand(*name) >= 0 || Mailbox::bind(*name) != nullptr;
            what = what << 1 | (bound ? 1 : 0);
        }
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const sockaddr_un to = addressOf(names.endpoint(panelId));
        const auto bytes = encodeMessage({kMsgLoad, 0, 0});
        const bool sent =
            ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                     sizeof to) > 0 ||
            postMessage(names.endpoint(panelId), {kMsgLoad, 0, 0}) == PostResult::Posted;
        return what << 1 | (sent ? 1 : 0);
    });
    EXPECT_EQ(took, 0) << "bits: editor's class, viewer's class, sent to the panel";

    EXPECT_NE(Mailbox::bind(editorClass), nullptr);
    EXPECT_NE(Mailbox::bind(viewerClass), nullptr);
    EXPECT_FALSE(panel->take()) << "nothing of the neighbour's arrived";
}
