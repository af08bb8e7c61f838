#include "CliRunner.h"
#include "EditorCommandLine.h"
#include "Installation.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tesk::testing;
using tesk::EditorCommandLine;

namespace {
const std::string kNoDisplay = "no display: run it under a desktop or `xvfb-run`\n";

// The editor with neither an X nor a Wayland display and Qt's default platform, as in a plain
// terminal login or a build machine.
CliRun editorWithoutDisplay(const std::vector<std::string>& args,
                            const std::string& stdoutRedirect = {}) {
    std::vector<std::string> command = {"-u", "DISPLAY",         "-u",       "WAYLAND_DISPLAY",
                                        "-u", "QT_QPA_PLATFORM", TESK_EDITOR};
    command.insert(command.end(), args.begin(), args.end());
    return runProgram("env", command, stdoutRedirect);
}

EditorCommandLine read(std::vector<std::string> words) {
    static std::vector<std::string> kept;
    kept = std::move(words);
    kept.insert(kept.begin(), "tesk");
    static std::vector<char*> argv;
    argv.clear();
    for (std::string& word : kept) {
        argv.push_back(word.data());
    }
    return tesk::readEditorCommandLine(static_cast<int>(argv.size()), argv.data());
}

std::vector<std::string> qtArguments(const EditorCommandLine& line) {
    return {line.qtArguments.begin(), line.qtArguments.end()};
}
} // namespace

TEST(EditorCommandLine, VersionAndHelpNeedNoDisplay) {
    for (const char* option : {"--version", "-v"}) {
        const CliRun version = editorWithoutDisplay({option});
        EXPECT_EQ(version.status, 0) << option << ": " << version.err;
        EXPECT_EQ(version.out, std::string("TESK ( Brenmold ) ") + tesk::programVersion() + "\n" +
                                   tesk::programLicence());
    }
    for (const char* option : {"--help", "-h"}) {
        const CliRun help = editorWithoutDisplay({option});
        EXPECT_EQ(help.status, 0) << option << ": " << help.err;
        for (const char* part : {"[FILE.tsk]", "--screenshot <PATH>", "--version", "--help"}) {
            EXPECT_NE(help.out.find(part), std::string::npos) << part << " in\n" << help.out;
        }
    }
}

TEST(EditorCommandLine, UsageErrorsPrintTheUsageWithoutADisplay) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--unknown-option"}, {"shape.tsk", "-x"}, {"--screenshot"}, {"-platform"}}) {
        const CliRun run = editorWithoutDisplay(args);
        EXPECT_EQ(run.status, 64) << args.back() << ": " << run.err;
        EXPECT_EQ(run.err.rfind("tesk: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("--screenshot <PATH>"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_NE(editorWithoutDisplay({"--unknown-option"})
                  .err.find("unknown option "
                            "'--unknown-option'"),
              std::string::npos);
}

TEST(EditorCommandLine, WithoutADisplayItSaysWhatItNeedsAndExitsTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"shape.tsk"}, {"--", "--help"}, {"-platform", "xcb"}}) {
        const CliRun run = editorWithoutDisplay(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "(none)" : args.back());
        EXPECT_EQ(run.err, "tesk: " + kNoDisplay);
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    // A display that is named but not there: Qt gives up, and the editor says why.
    const CliRun absent = runProgram(
        "env", {"-u", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb", "DISPLAY=:9753", TESK_EDITOR});
    EXPECT_EQ(absent.status, 2) << absent.err;
    EXPECT_NE(absent.err.find(kNoDisplay), std::string::npos) << absent.err;
}

TEST(EditorCommandLine, HelpAndVersionThatCannotBeWrittenExitTwo) {
    for (const char* option : {"--help", "--version"}) {
        const CliRun full = editorWithoutDisplay({option}, ">/dev/full");
        EXPECT_EQ(full.status, 2) << option;
        EXPECT_NE(full.err.find("tesk: cannot write the output"), std::string::npos) << full.err;
    }
}

TEST(EditorCommandLine, QtOptionsGoToQtAndEverythingElseStaysAsGiven) {
    const EditorCommandLine line =
        read({"-platform", "offscreen", "--style=Fusion", "-reverse", "--screenshot", "s\xe9.png",
              "--display", ":3", "caf\xe9.tsk", "later.tsk"});
    EXPECT_EQ(line.request, EditorCommandLine::Request::Run) << line.problem;
    EXPECT_EQ(qtArguments(line),
              (std::vector<std::string>{"tesk", "-platform", "offscreen", "--style=Fusion",
                                        "-reverse", "--display", ":3"}));
    EXPECT_EQ(line.platform, "offscreen");
    EXPECT_TRUE(line.displayGiven);
    EXPECT_TRUE(line.screenshot);
    EXPECT_EQ(line.screenshotPath, "s\xe9.png");
    EXPECT_EQ(line.file, "caf\xe9.tsk");

    const EditorCommandLine joined = read({"--screenshot=-shot.png", "--", "-platform"});
    EXPECT_EQ(joined.screenshotPath, "-shot.png");
    EXPECT_EQ(joined.file, "-platform");
    EXPECT_EQ(qtArguments(joined), std::vector<std::string>{"tesk"});
    EXPECT_TRUE(joined.platform.empty());

    // Qt takes -style=NAME, but no -platform=NAME: that would go unnoticed by both.
    EXPECT_EQ(read({"-platform=offscreen"}).request, EditorCommandLine::Request::UsageError);
    EXPECT_EQ(read({"--screenshotx"}).request, EditorCommandLine::Request::UsageError);
    EXPECT_EQ(read({"-?"}).request, EditorCommandLine::Request::Help);
    EXPECT_EQ(read({"file.tsk", "--help-all"}).request, EditorCommandLine::Request::HelpAll);
}

TEST(EditorCommandLine, TextureTakesAPictureOrTheCheckerLikeScreenshotTakesItsPath) {
    const EditorCommandLine line =
        read({"--texture", "-pic.png", "--screenshot", "s.png", "--", "--texture"});
    EXPECT_EQ(line.request, EditorCommandLine::Request::Run) << line.problem;
    EXPECT_TRUE(line.texture);
    EXPECT_EQ(line.texturePath, "-pic.png");
    EXPECT_EQ(line.screenshotPath, "s.png");
    EXPECT_EQ(line.file, "--texture");
    EXPECT_EQ(qtArguments(line), std::vector<std::string>{"tesk"});

    const EditorCommandLine joined = read({"--texture=checker"});
    EXPECT_TRUE(joined.texture);
    EXPECT_EQ(joined.texturePath, tesk::kCheckerTextureName);
    EXPECT_FALSE(read({"file.tsk"}).texture);

    const EditorCommandLine missing = read({"--screenshot", "s.png", "--texture"});
    EXPECT_EQ(missing.request, EditorCommandLine::Request::UsageError);
    EXPECT_EQ(missing.problem, "--texture takes a PIC");
    EXPECT_EQ(read({"--textures", "a.png"}).request, EditorCommandLine::Request::UsageError);
}

TEST(EditorCommandLine, LangTakesJapaneseOrEnglish) {
    EXPECT_EQ(read({"--lang", "en", "a.tsk"}).language, "en");
    EXPECT_EQ(read({"--lang=ja"}).language, "ja");
    EXPECT_EQ(read({"a.tsk"}).language, "") << "the desktop decides";
    const EditorCommandLine german = read({"--lang", "de"});
    EXPECT_EQ(german.request, EditorCommandLine::Request::UsageError);
    EXPECT_EQ(german.problem, "--lang takes ja or en, not 'de'");
    EXPECT_EQ(read({"--lang"}).problem, "--lang takes a LANG");
    const CliRun run = editorWithoutDisplay({"--lang", "fr"});
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.err.find("--lang takes ja or en"), std::string::npos) << run.err;
    EXPECT_NE(editorWithoutDisplay({"--help"}).out.find("--lang <LANG>"), std::string::npos);
}

TEST(EditorCommandLine, OnlyDisplayServersNeedADisplayNamed) {
    using tesk::windowSystemNamed;
    EXPECT_FALSE(windowSystemNamed("", false, false));
    EXPECT_TRUE(windowSystemNamed("", true, false));
    EXPECT_TRUE(windowSystemNamed("", false, true));
    EXPECT_FALSE(windowSystemNamed("xcb", false, true));
    EXPECT_FALSE(windowSystemNamed("wayland-egl", true, false));
    EXPECT_TRUE(windowSystemNamed("wayland;xcb", true, false));
    EXPECT_FALSE(windowSystemNamed("xcb:nograb;wayland", false, false));
    EXPECT_TRUE(windowSystemNamed("offscreen", false, false));
    EXPECT_TRUE(windowSystemNamed("xcb;offscreen", false, false));
    EXPECT_TRUE(windowSystemNamed("vnc:size=800x600", false, false));
}
