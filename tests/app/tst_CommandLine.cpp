#include "CliRunner.h"
#include "Installation.h"

#include <gtest/gtest.h>
#include <string>

using namespace tesk::testing;

namespace {
// No display, and a platform that does not exist: the editor fails at once if it opens the
// window system at all.
CliRun editorWithoutDisplay(const std::string& option) {
    return runProgram("env", {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=none",
                              TESK_EDITOR, option});
}
} // namespace

TEST(EditorCommandLine, VersionAndHelpNeedNoDisplay) {
    for (const char* option : {"--version", "-v"}) {
        const CliRun version = editorWithoutDisplay(option);
        EXPECT_EQ(version.status, 0) << option << ": " << version.err;
        EXPECT_EQ(version.out, std::string("TESK ( Brenmold ) ") + tesk::programVersion() + "\n" +
                                   tesk::programLicence());
    }
    for (const char* option : {"--help", "-h"}) {
        const CliRun help = editorWithoutDisplay(option);
        EXPECT_EQ(help.status, 0) << option << ": " << help.err;
        for (const char* part : {"[FILE.tsk]", "--screenshot <PATH>", "--version", "--help"}) {
            EXPECT_NE(help.out.find(part), std::string::npos) << part << " in\n" << help.out;
        }
    }
}
