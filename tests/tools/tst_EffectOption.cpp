// The grammar of render's --effect value.
#include "EffectOption.h"
#include "EffectRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace tesk;
using tesk::cli::EffectOption;

namespace {

struct Parsed {
    int type;
    std::string picture;
    std::array<float, 4> strengths;
};

Parsed parse(const std::string& text) {
    EffectOption effect;
    EXPECT_TRUE(cli::parseEffectOption(text, effect)) << text;
    return {effect.type,
            effect.picture,
            {effect.strengths[0], effect.strengths[1], effect.strengths[2], effect.strengths[3]}};
}

} // namespace

TEST(EffectOption, KindPictureAndTheDefaultsOfANewEffect) {
    const Parsed normal = parse("normal:p.png");
    EXPECT_EQ(normal.type, EFFECT_NORMAL);
    EXPECT_EQ(normal.picture, "p.png");
    EXPECT_EQ(normal.strengths, (std::array<float, 4>{10, 100, 100, 100}));
    EXPECT_EQ(parse("centroid:p.png:-40:100:50").type, EFFECT_CENTROID);
    EXPECT_EQ(parse("centroid:p.png:-40:100:50").strengths,
              (std::array<float, 4>{-40, 100, 50, 100}));
    EXPECT_EQ(parse("composite:p.png:1:2:3:4").type, EFFECT_COMPOSITE);
    EXPECT_EQ(parse("composite:p.png:1:2:3:4").strengths, (std::array<float, 4>{1, 2, 3, 4}));
    // The first field is the picture even when it reads as a number.
    EXPECT_EQ(parse("normal:5").picture, "5");
    EXPECT_EQ(parse("normal:5:6").strengths[0], 6.0f);
}

TEST(EffectOption, StrengthsComeFromTheRightSoAPathMayHoldColons) {
    EXPECT_EQ(parse("normal:C:/maps:a.png").picture, "C:/maps:a.png");
    const Parsed some = parse("normal:a:b.png:30:20");
    EXPECT_EQ(some.picture, "a:b.png");
    EXPECT_EQ(some.strengths, (std::array<float, 4>{30, 20, 100, 100}));
    // With all four strengths given, the rest is the path, even where it ends in a number.
    const Parsed all = parse("centroid:x:7:1:2:3:4");
    EXPECT_EQ(all.picture, "x:7");
    EXPECT_EQ(all.strengths, (std::array<float, 4>{1, 2, 3, 4}));
    EXPECT_EQ(parse("normal:p.png:1:2:3:4:5").picture, "p.png:1");
    EXPECT_EQ(parse("normal:p.png:5:x").picture, "p.png:5:x");
}

TEST(EffectOption, AnyFiniteNumberFromMinusToPlusHundred) {
    EXPECT_EQ(parse("normal:p:1e-50").strengths[0], 0.0f);
    EXPECT_EQ(parse("normal:p:1e-5000").strengths[0], 0.0f);
    EXPECT_EQ(parse("normal:p:-100").strengths[0], -100.0f);
    EXPECT_EQ(parse("normal:p:+7.5").strengths[0], 7.5f);
    EXPECT_EQ(parse("normal:p:.25").strengths[0], 0.25f);
    EXPECT_EQ(parse("normal:p:1e2").strengths[0], 100.0f);
}

TEST(EffectOption, EverythingElseIsRefused) {
    for (const char* bad :
         {"", "normal", "wave:p.png", ":p.png", "Normal:p.png", "normal:", "normal::5",
          "normal:p.png:", "normal:p.png::5", "normal:a::b.png", "normal:p.png:101",
          "normal:p.png:-100.5", "normal:p.png:1e3", "normal:p.png:inf", "normal:p.png:-inf",
          "normal:p.png:nan", "normal:p.png:1e400", "normal:p.png:1e5000"}) {
        EffectOption effect;
        EXPECT_FALSE(cli::parseEffectOption(bad, effect)) << bad;
    }
}
