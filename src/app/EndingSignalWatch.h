#pragma once
// SIGTERM, SIGINT and SIGHUP end the editor as closing its window does, asking nothing.

#include <QObject>

class QSocketNotifier;

namespace tesk {

/// The signal handler only wakes the event loop through a pipe; the loop then closes every
/// window (a dialog as if cancelled) and quits once the work in hand is done, so a save under
/// way still renames or removes its own temporary file. A second signal while that quit waits
/// (a save stuck on a dead disk) ends the editor at once, removing the temporary file of the
/// save in progress. A signal the editor was started ignoring stays ignored. One per process.
class EndingSignalWatch : public QObject {
public:
    explicit EndingSignalWatch(QObject* parent = nullptr);
    ~EndingSignalWatch() override;
    EndingSignalWatch(const EndingSignalWatch&) = delete;
    EndingSignalWatch& operator=(const EndingSignalWatch&) = delete;

private:
    void endEditor();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace tesk
