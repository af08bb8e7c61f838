#pragma once
// Runs the companion-viewer stand-in as a real second process: commands go to its standard
// input, the lines it reports come back from its standard output. Closing its input makes it
// quit and remove its block; kill() is a crash, which leaves the block behind.

#include <chrono>
#include <csignal>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tesk::testing {

class StandInProcess {
public:
    StandInProcess(const std::string& program, const std::vector<std::string>& args) {
        int in[2];
        int out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        m_in = in[1];
        m_out = out[0];
        ::fcntl(m_out, F_SETFL, O_NONBLOCK);
    }

    ~StandInProcess() {
        if (m_in >= 0) {
            ::close(m_in);
        }
        if (m_pid > 0) {
            // It quits at the end of its input; give it a moment, then make sure.
            for (int i = 0; i < 200 && ::waitpid(m_pid, nullptr, WNOHANG) == 0; ++i) {
                ::usleep(10000);
            }
            if (::kill(m_pid, 0) == 0) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, nullptr, 0);
            }
        }
        if (m_out >= 0) {
            ::close(m_out);
        }
    }
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    bool running() const { return m_pid > 0; }

    void command(const std::string& line) {
        const std::string text = line + "\n";
        [[maybe_unused]] const ssize_t n = ::write(m_in, text.data(), text.size());
    }

    /// The first unread line starting with `prefix`, taken out of the unread ones; `pump`
    /// runs between polls, so the caller's side of the link keeps working meanwhile.
    std::optional<std::string> waitFor(std::string_view prefix,
                                       const std::function<void()>& pump = {},
                                       int timeoutMs = 10000) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            readAvailable();
            for (auto it = m_unread.begin(); it != m_unread.end(); ++it) {
                if (it->starts_with(prefix)) {
                    std::string line = *it;
                    m_unread.erase(it);
                    return line;
                }
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return std::nullopt;
            }
            if (pump) {
                pump();
            }
            pollfd p{m_out, POLLIN, 0};
            ::poll(&p, 1, 5);
        }
    }

    /// Every line read so far and not taken by waitFor.
    const std::deque<std::string>& unread() {
        readAvailable();
        return m_unread;
    }

    /// A crash: no chance to remove the block.
    void kill() {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    void readAvailable() {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(m_out, buffer, sizeof buffer)) > 0) {
            m_pending.append(buffer, static_cast<size_t>(n));
        }
        for (size_t end; (end = m_pending.find('\n')) != std::string::npos;) {
            m_unread.push_back(m_pending.substr(0, end));
            m_pending.erase(0, end + 1);
        }
    }

    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    std::string m_pending;
    std::deque<std::string> m_unread;
};

} // namespace tesk::testing
