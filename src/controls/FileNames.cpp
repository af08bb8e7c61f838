#include "FileNames.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <initializer_list>

namespace tesk {

std::string systemFileName(const QString& shown) {
    return QFile::encodeName(shown).toStdString();
}

std::string systemFileName(const QString& shown, const std::string& proposed) {
    const size_t slash = proposed.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : proposed.substr(0, slash);
    for (const std::string& known : {proposed, folder}) {
        if (known.empty()) {
            continue;
        }
        const QString text = shownFileName(known);
        if (shown == text) {
            return known;
        }
        if (shown.startsWith(text + QLatin1Char('/'))) {
            return known + systemFileName(shown.mid(text.size()));
        }
    }
    return systemFileName(shown);
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

QString fileFilter(const char* filter) {
    return QCoreApplication::translate("FileFilters", filter);
}

} // namespace tesk
