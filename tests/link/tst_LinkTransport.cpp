#include "LinkNames.h"
#include "LinkProtocol.h"
#include "MessageTransport.h"
#include "SharedBlock.h"

#include <array>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace tesk;

namespace {

std::string uniqueTag(const char* what) {
    return std::string(what) + std::to_string(::getpid());
}

/// A block made by hand, to give it the wrong size, mode or owner.
void makeBlock(const std::string& name, off_t size, mode_t mode) {
    ::shm_unlink(name.c_str());
    const int fd = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ASSERT_EQ(::fchmod(fd, mode), 0);
    ::close(fd);
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

TEST(SharedBlockTest, OnlyTheUsersOwnFullSizePrivateBlockIsUsed) {
    const SharedBlock block(LinkNames::forUser(uniqueTag("block")).block);
    uint8_t out[4] = {7, 7, 7, 7};
    EXPECT_EQ(block.readBlock(kAckOffset, 4, out), -1) << "no block";
    EXPECT_EQ(block.writeWord(kAckOffset, 1), -1);

    makeBlock(block.name(), kBlockSize - 1, 0600);
    EXPECT_EQ(block.readBlock(kAckOffset, 4, out), -1) << "too short";
    makeBlock(block.name(), kBlockSize, 0622);
    EXPECT_EQ(block.readBlock(kAckOffset, 4, out), -1) << "others may write into it";
    EXPECT_EQ(out[0], 7) << "a refused read leaves the output alone";

    if (::getuid() == 0) {
        makeBlock(block.name(), kBlockSize, 0600);
        const int fd = ::shm_open(block.name().c_str(), O_RDWR, 0);
        ASSERT_EQ(::fchown(fd, 65534, 65534), 0);
        ::close(fd);
        EXPECT_EQ(block.writeWord(kAckOffset, 1), -1) << "owned by another user";
    }

    const mode_t oldMask = ::umask(0);
    ASSERT_TRUE(block.create());
    ::umask(oldMask);
    struct stat st {};
    ASSERT_EQ(::stat(("/dev/shm" + block.name()).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, static_cast<off_t>(kBlockSize));

    EXPECT_EQ(block.writeWord(kPayloadOffset + kPayloadSize - 4, 0x11223344u), 1);
    uint32_t word = 0;
    EXPECT_EQ(block.readWord(kPayloadOffset + kPayloadSize - 4, word), 1);
    EXPECT_EQ(word, 0x11223344u);
    EXPECT_EQ(block.readBlock(kBlockSize - 2, 4, out), -2) << "beyond the layout";
    block.remove();
    EXPECT_EQ(block.readWord(0, word), -1);
}

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
