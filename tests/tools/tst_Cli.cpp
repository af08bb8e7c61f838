#include "CliRunner.h"
#include "Installation.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {
using namespace tesk::testing;

fs::path workDir() {
    return cliWorkDir();
}

std::string golden(const char* name) {
    return readText(fs::path(TESK_TEST_DATA) / "project" / name);
}
} // namespace

TEST(Cli, NewWritesTheDefaultShape) {
    const fs::path path = workDir() / "new.tsk";
    const CliRun run = cli({"new", path.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readText(path), golden("default.tsk"));
    EXPECT_TRUE(run.out.empty());
}

TEST(Cli, InfoPrintsCountsTypeAndLevels) {
    const CliRun small =
        cli({"info", (fs::path(TESK_TEST_DATA) / "project" / "default.tsk").string()});
    EXPECT_EQ(small.status, 0) << small.err;
    EXPECT_EQ(small.out, "lines: 4\n"
                         "points per line: 4\n"
                         "type: 0 (L [1])\n"
                         "hlevel: 3 3 3 3\n"
                         "vlevel: 3 3 3 3\n"
                         "prim size: X 2.000, Y 2.000, Z 2.000\n");

    const CliRun large =
        cli({"info", (fs::path(TESK_TEST_DATA) / "project" / "lines17x16.tsk").string()});
    EXPECT_EQ(large.status, 0) << large.err;
    EXPECT_EQ(large.out, "lines: 17\n"
                         "points per line: 16\n"
                         "type: 154 (PS [4])\n"
                         "hlevel: 3 1 3 3 1 3 3 3 1 3 3 3 3 3 3 3 3\n"
                         "vlevel: 1 3 3 3 3 1 3 3 3 3 3 3 3 3 3 1\n"
                         "prim size: X 2.000, Y 2.000, Z 2.000\n");

    // The tube is as wide as deep and its height of 2 is what its map cannot keep.
    const CliRun tube =
        cli({"info", (fs::path(TESK_SOURCE_DIR) / "examples" / "tube.tsk").string()});
    EXPECT_EQ(tube.status, 0) << tube.err;
    EXPECT_NE(tube.out.find("type: 254 (C [4])\nhlevel"), std::string::npos) << tube.out;
    EXPECT_NE(tube.out.find("\nprim size: X 1.242, Y 1.242, Z 2.000\n"), std::string::npos)
        << tube.out;
}

TEST(Cli, UnusableInputsExitTwoWithTheReason) {
    const CliRun missing = cli({"info", (workDir() / "missing.tsk").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("ファイルが開けませんでした。"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("missing.tsk"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());

    const fs::path broken = workDir() / "broken.tsk";
    std::string bytes = golden("default.tsk");
    bytes.resize(bytes.size() - 1);
    std::ofstream(broken, std::ios::binary) << bytes;
    const CliRun cut = cli({"info", broken.string()});
    EXPECT_EQ(cut.status, 2);
    EXPECT_NE(cut.err.find("ファイルの内容が正しくありません。"), std::string::npos) << cut.err;

    const fs::path other = workDir() / "other.tsk";
    bytes = golden("default.tsk");
    bytes[16] = '5'; // "0.0.0.5"
    std::ofstream(other, std::ios::binary) << bytes;
    const CliRun version = cli({"info", other.string()});
    EXPECT_EQ(version.status, 2);
    EXPECT_NE(version.err.find("tesk バージョンが異なっています。"), std::string::npos);

    const CliRun unwritable = cli({"new", (workDir() / "no" / "dir.tsk").string()});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find(std::string("ファイルが保存できませんでした。\n") +
                                  std::strerror(ENOENT) + "\n"),
              std::string::npos)
        << unwritable.err;

    // A FIFO would block a plain open until something writes to it.
    const fs::path fifo = workDir() / "fifo.tsk";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const CliRun waiting = cli({"info", fifo.string()});
    EXPECT_EQ(waiting.status, 2);
    EXPECT_NE(waiting.err.find("ファイルが開けませんでした。"), std::string::npos) << waiting.err;
}

TEST(Cli, ANonFiniteCoordinateIsRefusedByEveryCommand) {
    constexpr size_t kFirstCoordinate = 18 + 38 + 22 + 8;
    const std::vector<std::pair<size_t, float>> poisons = {
        {0, std::numeric_limits<float>::quiet_NaN()},
        {29, -std::numeric_limits<float>::infinity()}};
    for (const auto& [index, value] : poisons) {
        std::string bytes = golden("default.tsk");
        std::memcpy(bytes.data() + kFirstCoordinate + 4 * index, &value, sizeof value);
        const fs::path input = workDir() / "poisoned.tsk";
        std::ofstream(input, std::ios::binary) << bytes;
        const fs::path output = workDir() / "poisoned.bmp";
        const std::vector<std::vector<std::string>> commands = {
            {"info", input.string()},
            {"check", input.string()},
            {"render", input.string(), output.string()},
            {"render", input.string(), output.string(), "--lod", "8"}};
        for (const auto& command : commands) {
            const CliRun run = cli(command);
            EXPECT_EQ(run.status, 2) << command[0] << " " << value;
            EXPECT_NE(run.err.find("ファイルの内容が正しくありません。"), std::string::npos)
                << run.err;
            EXPECT_TRUE(run.out.empty()) << run.out;
        }
        EXPECT_FALSE(fs::exists(output));
    }
}

TEST(Cli, UsageErrorsExitSixtyFour) {
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"bogus"}, {"new"}, {"new", "a.tsk", "b.tsk"}, {"info"}, {"info", ""},
    };
    for (const auto& args : wrong) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 64) << (args.empty() ? "(none)" : args[0]);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists("b.tsk"));
}

TEST(Cli, HelpPrintsUsage) {
    const CliRun run = cli({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("tesk-cli new OUT.tsk"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("tesk-cli info IN.tsk"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("tesk-cli --version"), std::string::npos) << run.out;
    EXPECT_TRUE(run.err.empty());
}

TEST(Cli, VersionPrintsNameVersionAndLicenceOnly) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--version"}, {"info", "--version"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, std::string("tesk-cli ") + tesk::programVersion() + "\n" +
                               tesk::programLicence());
        EXPECT_TRUE(run.err.empty()) << run.err;
    }
}

// Linux file names are bytes; a Latin-1 name is not UTF-8 at all. Every command takes it as
// given, for projects, pictures and effect pictures alike.
TEST(Cli, FileNamesThatAreNotUtf8AreUsedAsGiven) {
    const std::string project = (workDir() / "caf\xe9.tsk").string();
    const CliRun made = cli({"new", project});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(readText(project), golden("default.tsk"));

    const CliRun info = cli({"info", project});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out.rfind("lines: 4\npoints per line: 4\n", 0), 0u) << info.out;

    const fs::path picture = workDir() / "anneau\xe9.png";
    fs::copy_file(fs::path(TESK_SOURCE_DIR) / "res" / "effect" / "rings.png", picture);
    const std::string map = (workDir() / "carte\xe9.bmp").string();
    const CliRun render = cli({"render", project, map, "--effect", "normal:" + picture.string()});
    EXPECT_EQ(render.status, 0) << render.err;
    EXPECT_TRUE(fs::is_regular_file(map));

    const CliRun check = cli({"check", map});
    EXPECT_TRUE(check.status == 0 || check.status == 1) << check.err;
    EXPECT_EQ(check.out.rfind(map + ", read with sphere stitching\n", 0), 0u) << check.out;
}

TEST(Cli, DoubleDashEndsTheOptionsOfEveryCommand) {
    // Relative names that start with a dash, in this process's own folder.
    fs::current_path(workDir());
    const CliRun made = cli({"new", "--", "-shape.tsk"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(readText("-shape.tsk"), golden("default.tsk"));

    const CliRun info = cli({"info", "--", "-shape.tsk"});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out.rfind("lines: 4\n", 0), 0u) << info.out;

    const CliRun check = cli({"check", "--type", "torus", "--", "-shape.tsk"});
    EXPECT_TRUE(check.status == 0 || check.status == 1) << check.err;
    EXPECT_EQ(check.out.rfind("-shape.tsk, read with torus stitching\n", 0), 0u) << check.out;

    // Without "--" the same words are options that no command knows.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"new", "-other.tsk"}, {"info", "-shape.tsk"}, {"check", "-shape.tsk"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 64) << args[0];
        EXPECT_NE(run.err.find("unknown option '" + args[1] + "'"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists("-other.tsk"));

    // After "--", even --version is a file name.
    const CliRun version = cli({"info", "--", "--version"});
    EXPECT_EQ(version.status, 2);
    EXPECT_TRUE(version.out.empty()) << version.out;
}

// As the system's own tools do: output that never arrived is a failure, with the reason.
TEST(Cli, OutputThatCannotBeWrittenExitsTwo) {
    const std::string project = (fs::path(TESK_TEST_DATA) / "project" / "default.tsk").string();
    const std::string lost = "tesk-cli: cannot write the output";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"info", project}, {"check", project}, {"--help"}, {"--version"}}) {
        const CliRun full = cli(args, ">/dev/full");
        EXPECT_EQ(full.status, 2) << args[0];
        EXPECT_NE(full.err.find(lost + ": " + std::strerror(ENOSPC) + "\n"), std::string::npos)
            << full.err;
        const CliRun closed = cli(args, ">&-");
        EXPECT_EQ(closed.status, 2) << args[0];
        EXPECT_NE(closed.err.find(lost), std::string::npos) << closed.err;
    }
    // Nothing to print, nothing lost: the command's own status stands.
    EXPECT_EQ(cli({"new", (workDir() / "quiet.tsk").string()}, ">/dev/full").status, 0);
    EXPECT_EQ(cli({"new", (workDir() / "closed.tsk").string()}, ">&-").status, 0);
    EXPECT_EQ(readText(workDir() / "closed.tsk"), golden("default.tsk"));
    EXPECT_EQ(cli({"info"}, ">/dev/full").status, 64);
}
