#include "EndingSignalWatch.h"

#include "SaveSignals.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tesk {

namespace {

int g_wakePipe[2] = {-1, -1};
volatile std::sig_atomic_t g_asked = 0;

void onEndingSignal(int signal) {
    const int saved = errno;
    if (g_asked != 0) {
        removeTemporaryFileOfSave();
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        ::sigaction(signal, &fallback, nullptr);
        ::raise(signal); // delivered, with the default action, once this handler returns
    } else {
        g_asked = 1;
        const char byte = 1;
        // A full pipe already holds a wake-up; nothing more to do either way.
        if (::write(g_wakePipe[1], &byte, 1) < 0) {
            g_asked = 1;
        }
    }
    errno = saved;
}

} // namespace

EndingSignalWatch::EndingSignalWatch(QObject* parent) : QObject(parent) {
    if (::pipe2(g_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the signals keep their default action: the editor still ends
    }
    m_notifier = new QSocketNotifier(g_wakePipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndingSignalWatch::endEditor);
    for (const int signal : kEndingSignals) {
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = onEndingSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
}

EndingSignalWatch::~EndingSignalWatch() {
    if (m_notifier == nullptr) {
        return;
    }
    for (const int signal : kEndingSignals) {
        struct sigaction now {};
        if (::sigaction(signal, nullptr, &now) == 0 && now.sa_handler == onEndingSignal) {
            now.sa_handler = SIG_DFL;
            ::sigaction(signal, &now, nullptr);
        }
    }
    ::close(g_wakePipe[0]);
    ::close(g_wakePipe[1]);
}

void EndingSignalWatch::endEditor() {
    char bytes[16];
    while (::read(g_wakePipe[0], bytes, sizeof bytes) > 0) {
    }
    m_notifier->setEnabled(false);
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

} // namespace tesk
