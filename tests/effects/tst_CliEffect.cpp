// tesk-cli render --effect, run as a separate program.
#include "CliRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
using namespace tesk::testing;

fs::path workDir() {
    return cliWorkDir();
}

/// A project to render: the editor's default shape.
std::string project() {
    static const std::string path = [] {
        const std::string p = (workDir() / "shape.tsk").string();
        EXPECT_EQ(cli({"new", p}).status, 0);
        return p;
    }();
    return path;
}

std::string picture(const char* name) {
    return std::string(TESK_SOURCE_DIR) + "/res/effect/" + name;
}

} // namespace

TEST(CliEffect, AnExportedMapCompositedAtFullStrengthGivesTheSameMap) {
    const std::string plain = (workDir() / "plain.bmp").string();
    ASSERT_EQ(cli({"render", project(), plain, "--type", "53"}).status, 0);
    const std::string again = (workDir() / "again.bmp").string();
    const CliRun run = cli({"render", project(), again, "--type", "53", "--effect",
                            "composite:" + plain + ":100:100:100:100"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readText(again), readText(plain));
}

TEST(CliEffect, EffectsChangeTheMapInTheOrderGiven) {
    const std::string plain = (workDir() / "plain2.bmp").string();
    ASSERT_EQ(cli({"render", project(), plain}).status, 0);
    const std::string a = (workDir() / "a.bmp").string();
    const std::string b = (workDir() / "b.bmp").string();
    const std::string normal = "normal:" + picture("noise.png") + ":60";
    const std::string centroid = "--effect=centroid:" + picture("ridges.png") + ":-40:100:50:0";
    ASSERT_EQ(cli({"render", project(), a, "--effect", normal, centroid}).status, 0);
    ASSERT_EQ(cli({"render", project(), b, centroid, "--effect", normal}).status, 0);
    EXPECT_NE(readText(a), readText(plain));
    EXPECT_NE(readText(a), readText(b));
    EXPECT_EQ(readText(a).size(), readText(plain).size());
}

TEST(CliEffect, BadEffectsAreUsageErrorsAndUnreadablePicturesAreUnusable) {
    const std::string out = (workDir() / "never.bmp").string();
    for (const std::string& bad :
         {std::string("wave:") + picture("noise.png"), std::string("normal"),
          std::string("normal:"), "normal:" + picture("noise.png") + ":101",
          "normal:" + picture("noise.png") + ":5:x",
          "normal:" + picture("noise.png") + ":1:2:3:4:5"}) {
        const CliRun run = cli({"render", project(), out, "--effect", bad});
        EXPECT_EQ(run.status, 64) << bad;
        EXPECT_NE(run.err.find("--effect"), std::string::npos) << run.err;
    }
    EXPECT_EQ(cli({"render", project(), out, "--effect"}).status, 64);

    const CliRun missing = cli(
        {"render", project(), out, "--effect", "centroid:" + (workDir() / "none.png").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("指定ファイルが読み込めませんでした。"), std::string::npos)
        << missing.err;
    EXPECT_FALSE(fs::exists(out));
}
