#include "FileNames.h"

#include <QByteArray>
#include <QFile>

namespace tesk {

std::string systemFileName(const QString& shown) {
    return QFile::encodeName(shown).toStdString();
}

QString shownFileName(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string localFilePath(const QUrl& url) {
    if (!url.host().isEmpty()) {
        // A share on another host: only Qt knows how it is reached from here.
        return systemFileName(url.toLocalFile());
    }
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

} // namespace tesk
