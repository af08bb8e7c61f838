#include "FileIO.h"
#include "SaveSignals.h"
#include "ScratchDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace tesk;
namespace fs = std::filesystem;

namespace {

constexpr size_t kSaveBytes = 64 * 1024;

/// Starts a child that saves `target` over and over, each time all bytes one value, and returns
/// once its first save has begun.
pid_t startSavingChild(const std::string& target) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        removeTemporaryFileOnEndingSignals();
        const char started = 1;
        if (::write(ready[1], &started, 1) != 1) {
            ::_exit(3);
        }
        std::vector<uint8_t> bytes(kSaveBytes);
        for (uint8_t round = 0;; ++round) {
            bytes.assign(kSaveBytes, round);
            writeFileAtomically(target, bytes.data(), bytes.size());
        }
    }
    ::close(ready[1]);
    char started = 0;
    EXPECT_EQ(::read(ready[0], &started, 1), 1);
    ::close(ready[0]);
    return child;
}

/// The file is one save's bytes, whole.
bool whole(const fs::path& path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path.string(), bytes, kSaveBytes * 2) || bytes.size() != kSaveBytes) {
        return false;
    }
    return std::all_of(bytes.begin(), bytes.end(), [&](uint8_t b) { return b == bytes[0]; });
}

} // namespace

TEST(SaveSignals, AnEndingSignalDuringASaveLeavesTheTargetWholeAndNoTemporaryFile) {
    const tesk::testing::ScratchDir scratch("tesk_save_signals");
    const fs::path target = scratch.path() / "shape.tsk";
    for (int round = 0; round < 36; ++round) {
        const int signal = kEndingSignals[static_cast<size_t>(round) % kEndingSignals.size()];
        const pid_t child = startSavingChild(target.string());
        ASSERT_GT(child, 0);
        // A spread of moments, inside one save and between two.
        ::usleep(static_cast<useconds_t>(100 + (round * 337) % 3000));
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
            << "round " << round << ": the signal ends the process as it would have";
        for (const auto& entry : fs::directory_iterator(scratch.path())) {
            EXPECT_EQ(entry.path(), target) << "round " << round << " left " << entry.path();
        }
        if (fs::exists(target)) {
            EXPECT_TRUE(whole(target)) << "round " << round;
        }
    }
}

TEST(SaveSignals, ASignalTheProcessWasStartedIgnoringStaysIgnored) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGHUP, SIG_IGN);
        removeTemporaryFileOnEndingSignals();
        ::raise(SIGHUP);
        ::_exit(7);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
}
