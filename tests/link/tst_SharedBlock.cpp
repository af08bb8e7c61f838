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

    if (tesk::testing::canSwitchUser()) {
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
    ASSERT_EQ(block.writeWord(kPeerOffset, 42), 1);

    // Cut short between two accesses: missing, and a write does not grow it back.
    ASSERT_EQ(::truncate(pathOf(block).c_str(), 16), 0);
    uint32_t word = 7;
    EXPECT_EQ(block.readWord(kPeerOffset, word), -1);
    EXPECT_EQ(word, 7u);
    const std::vector<uint8_t> payload(kPayloadSize, 0x5A);
    EXPECT_EQ(block.writeBlock(kPayloadOffset, payload), -1);
    EXPECT_EQ(sizeOf(block), 16);

    // Cut short and grown again while whole-block copies run, as a viewer of the same user
    // might: each access either completes or fails, and a failed read leaves its output
    // alone. Through a mapping, a copy that met the cut ended the process with SIGBUS.
    ASSERT_EQ(::truncate(pathOf(block).c_str(), static_cast<off_t>(kBlockSize)), 0);
    std::atomic<bool> stop{false};
    std::thread cutter([&] {
        const int fd = ::shm_open(block.name().c_str(), O_RDWR, 0);
        // Each size held a moment, about as long as one access takes.
        for (int i = 0; !stop; ++i) {
            [[maybe_unused]] const int r =
                ::ftruncate(fd, i % 2 == 0 ? 0 : static_cast<off_t>(kBlockSize));
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
        [[maybe_unused]] const int r = ::ftruncate(fd, static_cast<off_t>(kBlockSize));
        ::close(fd);
    });
    const auto copyWhileCut = [&] {
        std::vector<uint8_t> whole(kBlockSize);
        for (int i = 0; i < 400; ++i) {
            std::fill(whole.begin(), whole.end(), uint8_t{0xAB});
            const int read = block.readBlock(0, whole.size(), whole.data());
            ASSERT_TRUE(read == 1 || read == -1 || read == -2) << read;
            if (read != 1) {
                ASSERT_EQ(std::count(whole.begin(), whole.end(), uint8_t{0xAB}),
                          static_cast<long>(whole.size()))
                    << "a failed read wrote into its output";
            }
            const int written = block.writeBlock(kPayloadOffset, payload);
            ASSERT_TRUE(written == 1 || written == -1 || written == -2) << written;
        }
    };
    copyWhileCut();
    stop = true;
    cutter.join();
    EXPECT_EQ(block.writeWord(kPeerOffset, 43), 1) << "whole again, the block works";
    EXPECT_EQ(block.readWord(kPeerOffset, word), 1);
    EXPECT_EQ(word, 43u);
    block.remove();
}

TEST(SharedBlockTest, AFifoOrFolderUnderTheNameIsRefusedAtOnce) {
    const SharedBlock block = blockOfThisTest();
    const std::string path = pathOf(block);
    ::shm_unlink(block.name().c_str());
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    if (tesk::testing::canSwitchUser()) {
        // As another user would leave it.
        ASSERT_EQ(::chown(path.c_str(), tesk::testing::kOtherUser, tesk::testing::kOtherUser), 0);
    }
    const auto accessOnce = [&](bool writing) {
        return std::async(std::launch::async, [&block, writing] {
            uint32_t word = 0;
            return writing ? block.writeWord(kAckOffset, 1) : block.readWord(kAckOffset, word);
        });
    };
    for (const bool writing : {false, true}) {
        auto result = accessOnce(writing);
        if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Opening the other end releases the waiting open, so the test can end.
            ::close(::open(path.c_str(), O_RDWR | O_NONBLOCK));
            ADD_FAILURE() << "an access waits on the FIFO, writing " << writing;
        }
        EXPECT_EQ(result.get(), -1) << "writing " << writing;
    }
    ::unlink(path.c_str());

    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    for (const bool writing : {false, true}) {
        EXPECT_EQ(accessOnce(writing).get(), -1) << "a folder, writing " << writing;
    }
    ::rmdir(path.c_str());
}
