#pragma once
// Shows the editor's texts in one language for the life of a test, then in the designed
// Japanese again, which the test programs start in. Widgets take their texts when they are
// made, so make them after this.

#include "UiLanguage.h"

namespace tesk {

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
