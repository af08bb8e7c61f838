#include "SettingsFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QStringList>
#include <cstdio>
#include <sys/stat.h>

namespace tesk {

namespace {

// Where QSettings looks for this application's files: the user's configuration folder
// first, then the system's.
QStringList settingsFiles() {
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders.prepend(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    folders.append(QLibraryInfo::path(QLibraryInfo::SettingsPath));
    const QString organisation = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QStringList files;
    for (const QString& folder : folders) {
        const QString base = folder + QLatin1Char('/') + organisation;
        files << base + QLatin1Char('/') + application + QStringLiteral(".conf")
              << base + QStringLiteral(".conf");
    }
    files << files.front() + QStringLiteral(".lock");
    files.removeDuplicates();
    return files;
}

// A name that does not exist is fine: QSettings then starts empty or creates the file.
bool existsButIsNotRegular(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

} // namespace

std::unique_ptr<QSettings> openSettings() {
    static bool warned = false;
    for (const QString& path : settingsFiles()) {
        if (existsButIsNotRegular(path)) {
            if (!warned) {
                std::fprintf(stderr,
                             "tesk: the settings file %s is not a regular file; it is ignored "
                             "and the recent-file list is not kept\n",
                             QFile::encodeName(path).constData());
                warned = true;
            }
            return nullptr;
        }
    }
    return std::make_unique<QSettings>();
}

} // namespace tesk
