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
                         "vlevel: 3 3 3 3\n");

    const CliRun large =
        cli({"info", (fs::path(TESK_TEST_DATA) / "project" / "lines17x16.tsk").string()});
    EXPECT_EQ(large.status, 0) << large.err;
    EXPECT_EQ(large.out, "lines: 17\n"
                         "points per line: 16\n"
                         "type: 154 (PS [4])\n"
                         "hlevel: 3 1 3 3 1 3 3 3 1 3 3 3 3 3 3 3 3\n"
                         "vlevel: 1 3 3 3 3 1 3 3 3 3 3 3 3 3 3 1\n");
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

TEST(Cli, VersionPrintsNameAndVersionOnly) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--version"}, {"info", "--version"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, std::string("tesk-cli ") + tesk::programVersion() + "\n");
        EXPECT_TRUE(run.err.empty()) << run.err;
    }
}
