#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern bool g_haveDisplay;

namespace {

/// The signals the process has handlers for, from /proc.
unsigned long long caughtSignals(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0) {
            return std::strtoull(line.c_str() + 7, nullptr, 16);
        }
    }
    return 0;
}

bool catches(unsigned long long mask, int signal) {
    return (mask >> (signal - 1) & 1) != 0;
}

/// Waits up to a minute for the child; its raw status, or -1 when it had to be killed.
int waitForExit(pid_t pid) {
    for (int waited = 0; waited < 600; ++waited) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

} // namespace

// A signal closes the editor as its window's close button does: it exits normally, status 0.
TEST(EditorSignals, EachEndingSignalClosesTheEditor) {
    if (!g_haveDisplay) {
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    const std::string example = std::string(TESK_SOURCE_DIR) + "/examples/sphere.tsk";
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t editor = ::fork();
        if (editor == 0) {
            // As a terminal starts it: none of the signals ignored.
            for (const int s : {SIGTERM, SIGINT, SIGHUP}) {
                std::signal(s, SIG_DFL);
            }
            ::execl(TESK_EDITOR, TESK_EDITOR, example.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ASSERT_GT(editor, 0);
        // The handlers are in place once the application object exists; from then on a
        // signal waits in the pipe for the event loop, however early it comes.
        bool ready = false;
        for (int waited = 0; waited < 600 && !ready; ++waited) {
            const unsigned long long mask = caughtSignals(editor);
            ready = catches(mask, SIGTERM) && catches(mask, SIGINT) && catches(mask, SIGHUP);
            if (!ready) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        ASSERT_TRUE(ready) << "signal " << signal;
        ::kill(editor, signal);
        const int status = waitForExit(editor);
        EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "signal " << signal << ": raw status " << status;
    }
}
