#include "UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace tesk {

namespace {
constexpr const char* kEnglishTranslation = ":/i18n/tesk_en.qm";

struct Installed {
    UiLanguage language = UiLanguage::Japanese;
    std::unique_ptr<QTranslator> editor;
    std::unique_ptr<QTranslator> qt;
};

Installed& installed() {
    static Installed state;
    return state;
}

/// Loads and installs one translation; nullptr when the file cannot be loaded.
std::unique_ptr<QTranslator> install(const QString& file, const QString& folder = QString()) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder)) {
        return nullptr;
    }
    QCoreApplication::installTranslator(translator.get());
    return translator;
}
} // namespace

UiLanguage languageFor(const QStringList& uiLanguages) {
    for (const QString& name : uiLanguages) {
        const QString language = name.section(QLatin1Char('-'), 0, 0).toLower();
        if (language == QLatin1String("ja")) {
            return UiLanguage::Japanese;
        }
        if (language == QLatin1String("en")) {
            return UiLanguage::English;
        }
    }
    return UiLanguage::English;
}

bool useLanguage(UiLanguage language) {
    Installed& state = installed();
    // Widgets take their texts when they are made, so this comes before the windows.
    state.editor.reset();
    state.qt.reset();
    state.language = language;
    const bool japanese = language == UiLanguage::Japanese;
    QLocale::setDefault(QLocale(japanese ? QLocale::Japanese : QLocale::English));
    if (!japanese) {
        // Qt's own texts are English without a translation.
        state.editor = install(QString::fromLatin1(kEnglishTranslation));
        return state.editor != nullptr;
    }
    state.qt =
        install(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return state.qt != nullptr;
}

UiLanguage currentLanguage() {
    return installed().language;
}

} // namespace tesk
