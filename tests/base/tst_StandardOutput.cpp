#include "StandardOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace tesk;

namespace {
// In the forked child: standard output goes to `target` (closed when null), `text` is printed
// and the child leaves with status 0, as a command that believes it succeeded.
[[noreturn]] void printAndExit(const char* target, const char* text) {
    if (target != nullptr) {
        ::dup2(::open(target, O_WRONLY), STDOUT_FILENO);
    } else {
        ::close(STDOUT_FILENO);
    }
    guardStandardStreams("prog");
    std::fputs(text, stdout);
    std::exit(0);
}

std::string lostBecause(int error) {
    return std::string("^prog: cannot write the output: ") + std::strerror(error) + "\n$";
}
} // namespace

TEST(StandardOutputDeathTest, OutputThatCannotBeWrittenFailsTheRun) {
    EXPECT_EXIT(printAndExit("/dev/full", "lines: 4\n"), ::testing::ExitedWithCode(2),
                lostBecause(ENOSPC));
    EXPECT_EXIT(printAndExit(nullptr, "lines: 4\n"), ::testing::ExitedWithCode(2),
                lostBecause(EBADF));
}

TEST(StandardOutputDeathTest, WrittenOrNoOutputKeepsTheStatus) {
    EXPECT_EXIT(printAndExit("/dev/null", "lines: 4\n"), ::testing::ExitedWithCode(0), "^$");
    // Nothing printed: a closed standard output loses nothing.
    EXPECT_EXIT(printAndExit(nullptr, ""), ::testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(printAndExit("/dev/full", ""), ::testing::ExitedWithCode(0), "^$");
}
