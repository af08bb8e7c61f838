#pragma once
// Runs a piece of a test as another local user, the way a hostile neighbour would act: in a
// child process that has switched to that user. Only root can switch; tests that need it skip
// otherwise.

#include <functional>
#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tesk::testing {

/// The user "nobody" on Debian.
inline constexpr uid_t kOtherUser = 65534;

inline bool canSwitchUser() {
    return ::geteuid() == 0;
}

/// The exit status of `body` run as `uid` (with the group of the same number and no others);
/// -1 when the child could not switch or did not exit.
inline int runAsUser(uid_t uid, const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid < 0) {
        return -1;
    }
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0) {
            ::_exit(255);
        }
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 255) {
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace tesk::testing
