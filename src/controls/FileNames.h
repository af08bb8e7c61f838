#pragma once
// File names between Qt's text and the system's bytes. The core takes names as the bytes the
// system uses; Qt shows and edits them as text, which cannot hold every name.

#include <QString>
#include <QUrl>
#include <string>

namespace tesk {

/// The name the system uses for a file name Qt shows or a dialog returned.
std::string systemFileName(const QString& shown);

/// The name the system uses for `shown`, which a file dialog returned after it was offered
/// `proposed` (a file or a folder, as the system names it). The text cannot hold every name, so
/// where `shown` is the text of `proposed`, or of `proposed` or its folder followed by more of
/// the path, that part is taken from `proposed` byte for byte.
std::string systemFileName(const QString& shown, const std::string& proposed);

/// The text Qt shows for a file the system names `name`.
QString shownFileName(const std::string& name);

/// The local file a file: URL names, byte for byte as the system spells it. A name that is
/// not UTF-8 comes percent-encoded, and decoding it as text would turn it into another name.
std::string localFilePath(const QUrl& url);

/// A file dialog's filter (marked with QT_TRANSLATE_NOOP under "FileFilters") in the user's
/// language; the patterns stay as they are.
QString fileFilter(const char* filter);

} // namespace tesk
