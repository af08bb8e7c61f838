#include "FileIO.h"
#include "ScratchDir.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

using namespace tesk;
namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path.string(), bytes, 1000)) << path;
    return {bytes.begin(), bytes.end()};
}

size_t entriesIn(const fs::path& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
}

mode_t modeOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

/// Runs `body` in a child process and says whether it returned true within a few seconds. A
/// child that hangs is killed, so a regression fails the test instead of stopping the suite.
bool returnsTrueWithoutHanging(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body() ? 0 : 1);
    }
    for (int waited = 0; waited < 500; ++waited) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ADD_FAILURE() << "still waiting after 5 s";
    return false;
}
} // namespace

TEST(FileIO, AtomicWriteReplacesAndLeavesNoTemporary) {
    const tesk::testing::ScratchDir scratch("tesk_fileio_replace");
    const fs::path& dir = scratch.path();
    const std::string path = (dir / "a.bin").string();
    ASSERT_TRUE(writeFileAtomically(path, "old", 3));
    ASSERT_TRUE(writeFileAtomically(path, "newer", 5));
    EXPECT_EQ(contentOf(path), "newer");
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(FileIO, FailedWritesKeepTheOldFileAndGiveTheSystemsReason) {
    const tesk::testing::ScratchDir scratch("tesk_fileio_fail");
    const fs::path& dir = scratch.path();
    // A folder where the file should go, and a folder that does not exist.
    const fs::path folder = dir / "taken";
    fs::create_directories(folder / "child");
    WriteResult result = writeFileAtomically(folder.string(), "x", 1);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error(), EISDIR);
    EXPECT_EQ(result.reason(), std::strerror(EISDIR));
    EXPECT_TRUE(fs::is_directory(folder / "child"));

    result = writeFileAtomically((dir / "missing" / "x.bin").string(), "x", 1);
    EXPECT_EQ(result.error(), ENOENT);
    EXPECT_EQ(result.reason(), std::strerror(ENOENT));
    EXPECT_EQ(writeFileAtomically("", "x", 1).error(), ENOENT);

    // A FIFO is not replaced by a plain file.
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    result = writeFileAtomically(fifo.string(), "x", 1);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason(), "not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(entriesIn(dir), 2u);
    EXPECT_TRUE(writeFileAtomically((dir / "ok").string(), "x", 1).reason().empty());
}

TEST(FileIO, ASaveKeepsTheModeAndRefusesAReadOnlyFile) {
    const tesk::testing::ScratchDir scratch("tesk_fileio_mode");
    const fs::path& dir = scratch.path();
    const fs::path secret = dir / "secret.tsk";
    ASSERT_TRUE(writeFileAtomically(secret.string(), "old", 3));
    ::chmod(secret.c_str(), 0600);
    ASSERT_TRUE(writeFileAtomically(secret.string(), "new", 3));
    EXPECT_EQ(modeOf(secret), 0600u);
    EXPECT_EQ(contentOf(secret), "new");

    // Refused even for the superuser, who could write it.
    const fs::path locked = dir / "locked.tsk";
    ASSERT_TRUE(writeFileAtomically(locked.string(), "old", 3));
    ::chmod(locked.c_str(), 0444);
    const WriteResult result = writeFileAtomically(locked.string(), "new", 3);
    EXPECT_EQ(result.error(), EACCES);
    EXPECT_EQ(contentOf(locked), "old");
    EXPECT_EQ(modeOf(locked), 0444u);
    EXPECT_EQ(entriesIn(dir), 2u);
}

TEST(FileIO, ASaveKeepsTheOwnerAndGroupOfTheFileItReplaces) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user needs the superuser";
    }
    constexpr uid_t kOwner = 4321;
    constexpr gid_t kGroup = 4322;
    constexpr uid_t kSaver = 4323;
    const tesk::testing::ScratchDir scratch("tesk_fileio_owner");
    const fs::path& dir = scratch.path();
    ::chmod(dir.c_str(), 0777);
    const auto ownerOf = [](const fs::path& path) {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return std::make_pair(st.st_uid, st.st_gid);
    };

    // The superuser saving another user's file.
    const fs::path theirs = dir / "theirs.tsk";
    ASSERT_TRUE(writeFileAtomically(theirs.string(), "old", 3));
    ASSERT_EQ(::chown(theirs.c_str(), kOwner, kGroup), 0);
    ::chmod(theirs.c_str(), 0664);
    ASSERT_TRUE(writeFileAtomically(theirs.string(), "new", 3));
    EXPECT_EQ(contentOf(theirs), "new");
    EXPECT_EQ(ownerOf(theirs), std::make_pair(kOwner, kGroup));
    EXPECT_EQ(modeOf(theirs), 0664u);

    // A user of the file's group may keep the group but not give the file away: it becomes
    // the saver's, in the old group.
    EXPECT_TRUE(returnsTrueWithoutHanging([&] {
        const gid_t groups[] = {kGroup};
        if (::setgroups(1, groups) != 0 || ::setgid(kSaver) != 0 || ::setuid(kSaver) != 0) {
            return false;
        }
        return static_cast<bool>(writeFileAtomically(theirs.string(), "mine", 4));
    }));
    EXPECT_EQ(contentOf(theirs), "mine");
    EXPECT_EQ(ownerOf(theirs), std::make_pair(kSaver, kGroup));

    // A new file is the saver's own.
    const fs::path fresh = dir / "fresh.tsk";
    ASSERT_TRUE(writeFileAtomically(fresh.string(), "x", 1));
    EXPECT_EQ(ownerOf(fresh).first, ::geteuid());
    EXPECT_EQ(entriesIn(dir), 2u);
}

TEST(FileIO, ASaveThroughALinkReplacesItsTarget) {
    const tesk::testing::ScratchDir scratch("tesk_fileio_link");
    const fs::path& dir = scratch.path();
    fs::create_directories(dir / "real");
    const fs::path target = dir / "real" / "shape.tsk";
    ASSERT_TRUE(writeFileAtomically(target.string(), "old", 3));
    ::chmod(target.c_str(), 0640);
    // A relative link to a relative link to the file.
    fs::create_symlink("real/shape.tsk", dir / "inner");
    fs::create_symlink("inner", dir / "outer");
    ASSERT_TRUE(writeFileAtomically((dir / "outer").string(), "new", 3));
    EXPECT_TRUE(fs::is_symlink(dir / "outer"));
    EXPECT_TRUE(fs::is_symlink(dir / "inner"));
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_EQ(modeOf(target), 0640u);

    // A dangling link: its target is made.
    fs::create_symlink(dir / "real" / "later.tsk", dir / "dangling");
    ASSERT_TRUE(writeFileAtomically((dir / "dangling").string(), "made", 4));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(contentOf(dir / "real" / "later.tsk"), "made");
    EXPECT_EQ(entriesIn(dir / "real"), 2u);

    // A loop is an error, not a hang.
    fs::create_symlink("loop", dir / "loop");
    EXPECT_EQ(writeFileAtomically((dir / "loop").string(), "x", 1).error(), ELOOP);
}

TEST(FileIO, TheLongestNameAFileSystemAllowsCanBeWritten) {
    const tesk::testing::ScratchDir scratch("tesk_fileio_long");
    const fs::path& dir = scratch.path();
    const fs::path path = dir / std::string(255, 'n');
    ASSERT_TRUE(writeFileAtomically(path.string(), "old", 3));
    ASSERT_TRUE(writeFileAtomically(path.string(), "new", 3));
    EXPECT_EQ(contentOf(path), "new");
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(FileIO, ReadRefusesMissingDirectoriesAndOversizedFiles) {
    const tesk::testing::ScratchDir scratch("tesk_fileio_read");
    const fs::path& dir = scratch.path();
    std::vector<uint8_t> bytes = {9};
    EXPECT_FALSE(readWholeFile((dir / "none").string(), bytes, 100));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(readWholeFile(dir.string(), bytes, 100));
    std::ofstream((dir / "big").string()) << "0123456789";
    EXPECT_FALSE(readWholeFile((dir / "big").string(), bytes, 9));
    EXPECT_TRUE(readWholeFile((dir / "big").string(), bytes, 10));
    EXPECT_EQ(bytes.size(), 10u);
}

TEST(FileIO, ReadRefusesAFifoOrDeviceWithoutWaiting) {
    const tesk::testing::ScratchDir scratch("tesk_fileio_fifo");
    const fs::path& dir = scratch.path();
    const std::string fifo = (dir / "f.tsk").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        EXPECT_TRUE(returnsTrueWithoutHanging([&] {
            std::vector<uint8_t> bytes;
            return !readWholeFile(path, bytes, 100) && bytes.empty();
        })) << path;
    }
}
