// tesk-cli render --effect, run as a separate program.
#include "CliRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
    const std::string noise = picture("noise.png");
    for (const std::string& bad :
         {"wave:" + noise, std::string("normal"), std::string("normal:"), "normal:" + noise + ":",
          "normal:" + noise + "::5", "normal:" + noise + ":101", "normal:" + noise + ":nan"}) {
        const CliRun run = cli({"render", project(), out, "--effect", bad});
        EXPECT_EQ(run.status, 64) << bad;
        EXPECT_NE(run.err.find("--effect"), std::string::npos) << run.err;
    }
    EXPECT_EQ(cli({"render", project(), out, "--effect"}).status, 64);

    // What does not read as a number belongs to the path; a FIFO is not waited on.
    const fs::path fifo = workDir() / "fifo.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {(workDir() / "none.png").string(), noise + ":5:x", fifo.string()}) {
        const CliRun run = cli({"render", project(), out, "--effect", "centroid:" + path});
        EXPECT_EQ(run.status, 2) << path;
        EXPECT_NE(run.err.find("指定ファイルが読み込めませんでした。"), std::string::npos)
            << run.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(CliEffect, APicturePathMayHoldColons) {
    const fs::path colons = workDir() / "a:1.png";
    fs::copy_file(picture("noise.png"), colons, fs::copy_options::overwrite_existing);
    const std::string out = (workDir() / "colons.bmp").string();
    const CliRun run =
        cli({"render", project(), out, "--effect", "normal:" + colons.string() + ":60:1e-50"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(out));
}
