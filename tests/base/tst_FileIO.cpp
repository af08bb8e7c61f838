#include "FileIO.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace tesk;
namespace fs = std::filesystem;

namespace {
fs::path freshDir(const char* name) {
    const fs::path dir = fs::temp_directory_path() / ("tesk_fileio_" + std::string(name));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}
} // namespace

TEST(FileIO, AtomicWriteReplacesAndLeavesNoTemporary) {
    const fs::path dir = freshDir("replace");
    const std::string path = (dir / "a.bin").string();
    ASSERT_TRUE(writeFileAtomically(path, "old", 3));
    ASSERT_TRUE(writeFileAtomically(path, "newer", 5));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(path, bytes, 100));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "newer");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(FileIO, FailedWriteKeepsTheOldFile) {
    const fs::path dir = freshDir("fail");
    // A directory in the way of the rename: the write must fail and clean up.
    const fs::path blocker = dir / "taken";
    fs::create_directories(blocker / "child");
    EXPECT_FALSE(writeFileAtomically(blocker.string(), "x", 1));
    EXPECT_TRUE(fs::is_directory(blocker));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_FALSE(writeFileAtomically((dir / "missing" / "x.bin").string(), "x", 1));
    EXPECT_FALSE(writeFileAtomically("", "x", 1));
}

TEST(FileIO, ReadRefusesMissingDirectoriesAndOversizedFiles) {
    const fs::path dir = freshDir("read");
    std::vector<uint8_t> bytes = {9};
    EXPECT_FALSE(readWholeFile((dir / "none").string(), bytes, 100));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(readWholeFile(dir.string(), bytes, 100));
    std::ofstream((dir / "big").string()) << "0123456789";
    EXPECT_FALSE(readWholeFile((dir / "big").string(), bytes, 9));
    EXPECT_TRUE(readWholeFile((dir / "big").string(), bytes, 10));
    EXPECT_EQ(bytes.size(), 10u);
}
