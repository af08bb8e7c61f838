#include "RecentFiles.h"

#include "SettingsFile.h"

#include <QFileInfo>

namespace tesk {

namespace {
const QString kGroup = QStringLiteral("Recent File List");
QString key(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}
} // namespace

QStringList RecentFiles::entries() {
    QStringList list;
    const std::unique_ptr<QSettings> settings = openSettings();
    if (!settings) {
        return list;
    }
    settings->beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = settings->value(key(i)).toString();
        if (!path.isEmpty()) {
            list.append(path);
        }
    }
    return list;
}

void RecentFiles::add(const QString& given) {
    // Absolute, so that the list still leads to the file from wherever the editor starts.
    const QString path = QFileInfo(given).absoluteFilePath();
    QStringList list = entries();
    list.removeAll(path);
    list.prepend(path);
    const std::unique_ptr<QSettings> settings = openSettings();
    if (!settings) {
        return;
    }
    settings->beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < list.size()) {
            settings->setValue(key(i), list[i]);
        } else {
            settings->remove(key(i));
        }
    }
}

} // namespace tesk
