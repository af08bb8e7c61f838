#pragma once
// What a save leaves when SIGTERM, SIGINT or SIGHUP ends the program: nothing. A save names
// its temporary file here while that file exists under its temporary name, so a handler can
// remove it before the process ends.

#include <array>
#include <csignal>

namespace tesk {

/// The signals that end a program the user or the system wants gone, with a chance to clean up.
inline constexpr std::array<int, 3> kEndingSignals = {SIGTERM, SIGINT, SIGHUP};

/// Removes the temporary file of a save in progress, if there is one. Async-signal-safe: for
/// signal handlers.
void removeTemporaryFileOfSave() noexcept;

/// For programs without handlers of their own: the ending signals remove the temporary file of
/// a save in progress, then end the process as they would have. A signal that the process was
/// started ignoring stays ignored.
void removeTemporaryFileOnEndingSignals();

/// Holds the ending signals off on the calling thread while it lives (or until release()); a
/// signal that arrives meanwhile is delivered when they are let through again.
class EndingSignalsHeld {
public:
    EndingSignalsHeld();
    ~EndingSignalsHeld();
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

    void hold();
    void release();

private:
    sigset_t m_before{};
    bool m_holding = false;
};

/// Names the temporary file of the save in progress while it lives; `path` must outlive it.
class PendingTemporaryFile {
public:
    explicit PendingTemporaryFile(const char* path) noexcept;
    ~PendingTemporaryFile();
    PendingTemporaryFile(const PendingTemporaryFile&) = delete;
    PendingTemporaryFile& operator=(const PendingTemporaryFile&) = delete;
};

} // namespace tesk
