#pragma once
// Runs part of a test as another local user, as a hostile neighbour would act: in a child
// process switched to that user. Only root can switch; tests that need it skip otherwise.

#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tesk::testing {

inline constexpr uid_t kOtherUser = 65534; ///< "nobody"

/// The exit status of `body` run as `uid` and the group of that number; -1 when it could not.
inline int runAsUser(uid_t uid, const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool switched =
            ::setgroups(0, nullptr) == 0 && ::setgid(uid) == 0 && ::setuid(uid) == 0;
        ::_exit(switched ? body() : 255);
    }
    int status = 0;
    const bool exited = pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status);
    return exited && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

} // namespace tesk::testing
