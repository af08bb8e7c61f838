#include "SaveSignals.h"

#include <atomic>
#include <cerrno>
#include <pthread.h>
#include <unistd.h>

namespace tesk {

namespace {

// A handler reads it at any moment, on any thread: a lock-free pointer, taken by exchange so
// that only one of several handlers removes the file.
std::atomic<const char*> g_pendingTemporary{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);

void removeThenEnd(int signal) {
    removeTemporaryFileOfSave();
    // The handler was installed to run once; raised again, the signal now takes its default
    // action as soon as this handler returns.
    ::raise(signal);
}

sigset_t endingSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kEndingSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

} // namespace

void removeTemporaryFileOfSave() noexcept {
    if (const char* path = g_pendingTemporary.exchange(nullptr)) {
        const int saved = errno;
        ::unlink(path);
        errno = saved;
    }
}

void removeTemporaryFileOnEndingSignals() {
    for (const int signal : kEndingSignals) {
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = removeThenEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}

EndingSignalsHeld::EndingSignalsHeld() {
    hold();
}

EndingSignalsHeld::~EndingSignalsHeld() {
    release();
}

void EndingSignalsHeld::hold() {
    if (!m_holding) {
        const sigset_t set = endingSignalSet();
        m_holding = ::pthread_sigmask(SIG_BLOCK, &set, &m_before) == 0;
    }
}

void EndingSignalsHeld::release() {
    if (m_holding) {
        ::pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
        m_holding = false;
    }
}

PendingTemporaryFile::PendingTemporaryFile(const char* path) noexcept {
    g_pendingTemporary.store(path);
}

PendingTemporaryFile::~PendingTemporaryFile() {
    g_pendingTemporary.store(nullptr);
}

} // namespace tesk
