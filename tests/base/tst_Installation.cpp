#include "Installation.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace tesk;
namespace fs = std::filesystem;

namespace {
// An empty prefix/bin/ of its own for each case; other programs may run the same tests.
fs::path freshProgramDir(const std::string& name) {
    const fs::path prefix =
        fs::temp_directory_path() / ("tesk_install_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(prefix);
    fs::create_directories(prefix / "bin");
    return prefix / "bin";
}
} // namespace

TEST(Installation, EffectFolderBesideTheProgramComesFirst) {
    const fs::path bin = freshProgramDir("beside");
    fs::create_directories(bin / "effect");
    fs::create_directories(bin / ".." / "share" / "tesk" / "effect");
    EXPECT_EQ(effectPictureFolder(bin), bin / "effect");
    // The folder as the document keeps it, with a trailing separator.
    EXPECT_EQ(effectPictureFolder(bin.string() + "/"), bin / "effect");
    fs::remove_all(bin.parent_path());
}

TEST(Installation, InstalledEffectFolderIsFoundBesideBin) {
    const fs::path bin = freshProgramDir("shared");
    const fs::path shared = bin.parent_path() / "share" / "tesk" / "effect";
    // Nothing beside the program: the unpacked package's layout.
    fs::create_directories(shared);
    EXPECT_EQ(effectPictureFolder(bin), shared);
    EXPECT_EQ(effectPictureFolder(bin.string() + "/"), shared);

    // A plain file called effect is no folder to start a dialog in.
    std::ofstream(bin / "effect") << "not a folder";
    EXPECT_EQ(effectPictureFolder(bin), shared);
    fs::remove_all(bin.parent_path());
}

TEST(Installation, WithoutAnyEffectFolderTheDesignedPlaceIsKept) {
    const fs::path bin = freshProgramDir("none");
    EXPECT_EQ(effectPictureFolder(bin), bin / "effect");
    fs::remove_all(bin.parent_path());
}

TEST(Installation, TheManualIsBesideTheProgramInABuildAndUnderShareDocOnceInstalled) {
    const fs::path bin = freshProgramDir("doc");
    EXPECT_EQ(documentationFolder(bin), bin / "doc") << "neither: the build's place";
    const fs::path shared = bin.parent_path() / "share" / "doc" / "tesk";
    fs::create_directories(shared);
    EXPECT_EQ(documentationFolder(bin.string() + "/"), shared);
    fs::create_directories(bin / "doc");
    EXPECT_EQ(documentationFolder(bin), bin / "doc");
    fs::remove_all(bin.parent_path());
}
