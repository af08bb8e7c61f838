#pragma once
// Shows the editor's texts in one language for the life of a test, then in the designed
// Japanese again, which the test programs start in. Widgets take their texts when they are
// made, so make them after this.

#include "UiLanguage.h"

#include <QString>
#include <algorithm>

namespace tesk {

/// True when `text` holds a character of a Japanese script: CJK punctuation, kana, kanji or
/// full-width forms.
inline bool hasJapanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x4DBF) ||
               (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
    });
}

class LanguageScope {
public:
    explicit LanguageScope(UiLanguage language) : m_loaded(useLanguage(language)) {}
    ~LanguageScope() { useLanguage(UiLanguage::Japanese); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

    bool loaded() const { return m_loaded; }

private:
    bool m_loaded;
};

} // namespace tesk
