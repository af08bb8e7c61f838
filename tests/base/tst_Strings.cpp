#include "Strings.h"

#include <gtest/gtest.h>

using namespace tesk;

TEST(Strings, Utf8AndUtf16RoundTripJapaneseAndAstral) {
    const std::string text = "形状保存 tesk.tsk \xF0\x9F\x98\x80";
    const std::u16string wide = utf8ToUtf16(text);
    EXPECT_EQ(wide.substr(0, 4), u"形状保存");
    EXPECT_EQ(wide.size(), 4u + 10u + 2u); // the emoji is a surrogate pair
    EXPECT_EQ(utf16ToUtf8(wide), text);
}

TEST(Strings, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(utf8ToUtf16("a\xC3"), u"a\uFFFD");     // truncated sequence
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF/"), u"\uFFFD/"); // overlong form is refused
    EXPECT_EQ(utf8ToUtf16("\xFF"
                          "b"),
              u"\uFFFDb");
    const char16_t lone[] = {0xD800, u'x', 0};
    EXPECT_EQ(utf16ToUtf8(lone), "\xEF\xBF\xBDx");
}

TEST(Strings, EightBitFormMapsBytesToCodePoints) {
    EXPECT_EQ(bytesToUtf16("hlevel"), u"hlevel");
    EXPECT_EQ(bytesToUtf16("\xE9"), u"\u00E9");
}

TEST(Strings, CaseFoldingAndExtensions) {
    EXPECT_EQ(foldCase("C:/Shapes/Tesk.TSK"), "c:/shapes/tesk.tsk");
    EXPECT_TRUE(equalsIgnoringCase("A.TSK", "a.tsk"));
    EXPECT_FALSE(equalsIgnoringCase("a.tsk", "a.tsk2"));
    EXPECT_EQ(lowerExtension("/tmp/Map.BMP"), "bmp");
    EXPECT_EQ(lowerExtension("/tmp.d/map"), "");
    EXPECT_EQ(lowerExtension("noext"), "");
}
