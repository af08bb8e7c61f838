#include "LinkNames.h"
#include "LinkProtocol.h"
#include "OtherUser.h"
#include "SharedBlock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tesk;

namespace {

SharedBlock blockOfThisTest() {
    return SharedBlock(LinkNames::forUser("block" + std::to_string(::getpid())).block);
}

std::string pathOf(const SharedBlock& block) {
    return "/dev/shm" + block.name();
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

off_t sizeOf(const SharedBlock& block) {
    struct stat st {};
    return ::stat(pathOf(block).c_str(), &st) == 0 ? st.st_size : -1;
}

} // namespace

TEST(SharedBlockTest, OnlyTheUsersOwnFullSizePrivateBlockIsUsed) {
    const SharedBlock block = blockOfThisTest();
    uint8_t out[4] = {7, 7, 7, 7};
    EXPECT_EQ(block.readBlock(kAckOffset, 4, out), -1) << "no block";
    EXPECT_EQ(block.writeWord(kAckOffset, 1), -1);

    makeBlock(block.name(), kBlockSize - 1, 0600);
    EXPECT_EQ(block.readBlock(kAckOffset, 4, out), -1) << "too short";
    makeBlock(block.name(), kBlockSize, 0622);
    EXPECT_EQ(block.readBlock(kAckOffset, 4, out), -1) << "others may write into it";
    EXPECT_EQ(out[0], 7) << "a refused read leaves the output alone";

    if (::geteuid() == 0) {
        makeBlock(block.name(), kBlockSize, 0600);
        ASSERT_EQ(
            ::chown(pathOf(block).c_str(), tesk::testing::kOtherUser, tesk::testing::kOtherUser),
            0);
        EXPECT_EQ(block.writeWord(kAckOffset, 1), -1) << "owned by another user";
    }

    const mode_t oldMask = ::umask(0);
    ASSERT_TRUE(block.create());
    ::umask(oldMask);
    struct stat st {};
    ASSERT_EQ(::stat(pathOf(block).c_str(), &st), 0);
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

TEST(SharedBlockTest, ABlockCutShortFailsItsAccessesAndNeverTheProcess) {
    const SharedBlock block = blockOfThisTest();
    ASSERT_TRUE(block.create());
    ASSERT_EQ(::truncate(pathOf(block).c_str(), 16), 0);
    const std::vector<uint8_t> payload(kPayloadSize, 0x5A);
    EXPECT_EQ(block.writeBlock(kPayloadOffset, payload), -1) << "too short: missing";
    EXPECT_EQ(sizeOf(block), 16) << "and not grown by the write";

    // Cut and grown again by someone else while whole-block copies run, each size held about
    // as long as an access takes. Through a mapping, a copy that met the cut died of SIGBUS.
    std::atomic<bool> stop{false};
    std::thread cutter([&] {
        for (int i = 0; !stop; ++i) {
            [[maybe_unused]] const int r =
                ::truncate(pathOf(block).c_str(), i % 2 == 0 ? static_cast<off_t>(kBlockSize) : 0);
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    });
    std::vector<uint8_t> whole(kBlockSize);
    for (int i = 0; i < 400 && !::testing::Test::HasFailure(); ++i) {
        std::fill(whole.begin(), whole.end(), uint8_t{0xAB});
        const int read = block.readBlock(0, whole.size(), whole.data());
        EXPECT_TRUE(read == 1 || std::count(whole.begin(), whole.end(), 0xAB) == std::ssize(whole))
            << "a failed read (" << read << ") wrote into its output";
        block.writeBlock(kPayloadOffset, payload); // whatever its result, the process lives
    }
    stop = true;
    cutter.join();
    ASSERT_EQ(::truncate(pathOf(block).c_str(), static_cast<off_t>(kBlockSize)), 0);
    EXPECT_EQ(block.writeWord(kPeerOffset, 43), 1) << "whole again, the block works";
    block.remove();
}

TEST(SharedBlockTest, AFifoUnderTheNameIsRefusedAtOnce) {
    const SharedBlock block = blockOfThisTest();
    ::shm_unlink(block.name().c_str());
    ASSERT_EQ(::mkfifo(pathOf(block).c_str(), 0666), 0);
    for (const bool writing : {false, true}) {
        auto result = std::async(std::launch::async, [&] {
            uint32_t word = 0;
            return writing ? block.writeWord(kAckOffset, 1) : block.readWord(kAckOffset, word);
        });
        if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "waits on the FIFO, writing " << writing;
            ::close(::open(pathOf(block).c_str(), O_RDWR | O_NONBLOCK)); // lets it go on
        }
        EXPECT_EQ(result.get(), -1) << "writing " << writing;
    }
    ::unlink(pathOf(block).c_str());
}
