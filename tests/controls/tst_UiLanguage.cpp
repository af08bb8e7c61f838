// Which language the editor speaks: the desktop's first language it has, and what switching
// does to the texts of the editor and of Qt.
#include "FileNames.h"
#include "LanguageScope.h"
#include "UiLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

using namespace tesk;

TEST(UiLanguage, TheFirstOfTheDesktopsLanguagesThatTheEditorHasDecides) {
    EXPECT_EQ(languageFor({"ja-JP", "en-US"}), UiLanguage::Japanese);
    EXPECT_EQ(languageFor({"ja"}), UiLanguage::Japanese);
    EXPECT_EQ(languageFor({"JA-jp"}), UiLanguage::Japanese);
    EXPECT_EQ(languageFor({"en-GB", "ja-JP"}), UiLanguage::English);
    EXPECT_EQ(languageFor({"de-DE", "ja-JP"}), UiLanguage::Japanese) << "German is not had";
    EXPECT_EQ(languageFor({"de-DE", "fr-FR"}), UiLanguage::English);
    EXPECT_EQ(languageFor({"jav-ID"}), UiLanguage::English) << "Javanese is not Japanese";
    EXPECT_EQ(languageFor({}), UiLanguage::English);
}

TEST(UiLanguage, SwitchingReplacesTheEditorsAndQtsTexts) {
    const auto saveShape = [] {
        return QCoreApplication::translate("tesk::Ctesk001View", "形状保存");
    };
    const auto qtCancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    ASSERT_EQ(currentLanguage(), UiLanguage::Japanese) << "the test programs start in Japanese";
    EXPECT_EQ(saveShape(), QStringLiteral("形状保存"));
    EXPECT_EQ(qtCancel(), QStringLiteral("キャンセル"));
    {
        const LanguageScope english(UiLanguage::English);
        ASSERT_TRUE(english.loaded());
        EXPECT_EQ(currentLanguage(), UiLanguage::English);
        EXPECT_EQ(saveShape(), QStringLiteral("Save shape"));
        EXPECT_EQ(qtCancel(), QStringLiteral("Cancel")) << "Qt's Japanese is gone";
        EXPECT_EQ(fileFilter("Bitmap (*.bmp);;PNG (*.png);;TGA (*.tga);;All Files (*)"),
                  QStringLiteral("Bitmap (*.bmp);;PNG (*.png);;TGA (*.tga);;All files (*)"));
        EXPECT_EQ(QLocale().language(), QLocale::English);
        // Switching twice leaves one translation, not two.
        ASSERT_TRUE(useLanguage(UiLanguage::English));
        EXPECT_EQ(saveShape(), QStringLiteral("Save shape"));
    }
    EXPECT_EQ(saveShape(), QStringLiteral("形状保存")) << "back to the sources";
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
}
