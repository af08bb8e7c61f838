#pragma once
// The user's settings, opened only when every file QSettings would read is a regular file.

#include <QSettings>
#include <memory>

namespace tesk {

/// The application's settings, or null when one of the files they are read from (the user's
/// and the system's, for the application and for the organisation, and the user file's lock)
/// exists but is not a regular file: a FIFO or device would stall the editor on opening it.
/// The first refusal prints a warning naming the file on stderr.
std::unique_ptr<QSettings> openSettings();

} // namespace tesk
