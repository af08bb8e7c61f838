#include "StandardOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace tesk {

namespace {
const char* g_program = "";

void closeStandardOutput() {
    errno = 0;
    const bool failedBefore = std::ferror(stdout) != 0;
    bool failed = std::fflush(stdout) != 0 || failedBefore;
    int error = errno;
    // A descriptor that was closed from the start fails to close again; that alone loses
    // nothing, since whatever was printed would have failed the flush.
    if (!failed && std::fclose(stdout) != 0 && errno != EBADF) {
        failed = true;
        error = errno;
    }
    if (failed) {
        std::fprintf(stderr, "%s: cannot write the output%s%s\n", g_program, error != 0 ? ": " : "",
                     error != 0 ? std::strerror(error) : "");
        std::_Exit(kExitOutputLost);
    }
}
} // namespace

void guardStandardStreams(const char* program) {
    g_program = program;
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            // Opened the wrong way round: reading stdin or writing stdout still fails.
            const int placeholder = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
            if (placeholder != fd && placeholder >= 0) {
                ::close(placeholder);
            }
        }
    }
    std::atexit(closeStandardOutput);
}

} // namespace tesk
