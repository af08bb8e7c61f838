#pragma once
// The language of the editor's texts: the designed Japanese, which the sources hold, or the
// English translation. Qt's own dialogs and buttons follow in the same language.

#include <QStringList>

namespace tesk {

enum class UiLanguage { Japanese, English };

/// The first of the desktop's languages (QLocale::uiLanguages(), "ja-JP", "en-GB", ...) that
/// the editor has; English when none is.
UiLanguage languageFor(const QStringList& uiLanguages);

/// Shows the editor in `language` from now on, replacing the translations installed before:
/// the editor's English or none, and Qt's own for the same language. False when one could not
/// be loaded; the editor's texts then stay Japanese, Qt's English.
bool useLanguage(UiLanguage language);

/// The language of the last useLanguage(); Japanese before any.
UiLanguage currentLanguage();

} // namespace tesk
