#pragma once
// Runs the built tesk-cli as a separate program and captures its exit status and output.
// CTest runs each test case as its own process, several at once, so each process works in a
// folder of its own.

#include "ScratchDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace tesk::testing {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// This process's scratch folder, made on first use.
inline const std::filesystem::path& cliWorkDir() {
    static const ScratchDir dir("tesk_cli_tests");
    return dir.path();
}

/// A file of this process's scratch folder.
inline std::string scratch(const std::string& name) {
    return (cliWorkDir() / name).string();
}

#ifdef TESK_SOURCE_DIR
/// One of the example projects shipped in examples/.
inline std::string example(const char* name) {
    return (std::filesystem::path(TESK_SOURCE_DIR) / "examples" / name).string();
}
#endif

inline std::string shellQuoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

/// Exit status of a run that was stopped because it took too long.
inline constexpr int kTimedOut = 124;

/// Runs `program args...` with stdout and stderr captured. A run that hangs is stopped after a
/// minute (status kTimedOut), so a regression fails its test instead of stopping the suite.
/// `stdoutRedirect`, a shell redirection such as ">/dev/full" or ">&-", replaces the capture
/// of stdout.
inline CliRun runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& stdoutRedirect = {}) {
    std::string command = "timeout -k 5 60 " + shellQuoted(program);
    for (const auto& arg : args) {
        command += " " + shellQuoted(arg);
    }
    const auto out = cliWorkDir() / "stdout.txt";
    const auto err = cliWorkDir() / "stderr.txt";
    std::filesystem::remove(out);
    command += (stdoutRedirect.empty() ? " >" + shellQuoted(out.string()) : " " + stdoutRedirect) +
               " 2>" + shellQuoted(err.string());
    const int raw = std::system(command.c_str());
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readText(out);
    run.err = readText(err);
    return run;
}

#ifdef TESK_CLI
inline CliRun cli(const std::vector<std::string>& args, const std::string& stdoutRedirect = {}) {
    return runProgram(TESK_CLI, args, stdoutRedirect);
}
#endif

} // namespace tesk::testing
