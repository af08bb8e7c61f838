#pragma once
// The recent-file list kept in the user's settings: up to 8 project paths, newest first.

#include <QStringList>

namespace tesk {

class RecentFiles {
public:
    static constexpr int kMaxEntries = 8;

    /// The list as stored.
    static QStringList entries();
    /// Puts `path`, made absolute, at the front, dropping an older copy and entries beyond the
    /// eighth.
    static void add(const QString& path);
};

} // namespace tesk
