#include "EffectRecord.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tesk;

namespace {

/// A list of records with the given strengths, to tell them apart.
EffectList listOf(std::initializer_list<float> strengths) {
    EffectList list;
    for (float s : strengths) {
        auto record = std::make_unique<EffectRecord>();
        record->strength = s;
        list.append(std::move(record));
    }
    return list;
}

std::vector<float> order(const EffectList& list) {
    std::vector<float> out;
    for (const auto& record : list) {
        out.push_back(record->strength);
    }
    return out;
}

} // namespace

TEST(EffectRecord, SettingTheTypeSetsTheFlagAndKeepsTheOtherBits) {
    EffectRecord record;
    EXPECT_EQ(record.typeWord, 1);
    EXPECT_FALSE(record.typeSet());
    record.typeWord = static_cast<int32_t>(0xA5C3'7F5Au);
    record.setTypeCode(EFFECT_CENTROID);
    EXPECT_EQ(static_cast<uint32_t>(record.typeWord), 0xA5C3'885Au);
    EXPECT_EQ(record.typeCode(), EFFECT_CENTROID);
    EXPECT_TRUE(record.typeSet());
    record.setTypeCode(0x181); // only seven bits are kept
    EXPECT_EQ(record.typeCode(), 1);
    EXPECT_EQ(static_cast<uint32_t>(record.typeWord), 0xA5C3'815Au);
}

TEST(EffectRecord, ImagesTakeIdsFromOneCounterAndNameThemselves) {
    EffectRecord a;
    ImageBuffer b;
    EXPECT_GT(b.id, a.id);
    EXPECT_EQ(a.name, "tex " + std::to_string(a.id));
    EXPECT_TRUE(a.filePath.empty());
    EXPECT_FALSE(a.hasPixels());
}

TEST(EffectList, MovesAndRemovesStayInRange) {
    EffectList list = listOf({1, 2, 3});
    EXPECT_FALSE(list.moveUp(0));
    EXPECT_FALSE(list.moveDown(2));
    EXPECT_FALSE(list.moveUp(3));
    EXPECT_FALSE(list.moveDown(std::numeric_limits<size_t>::max()));
    EXPECT_EQ(order(list), (std::vector<float>{1, 2, 3}));
    EXPECT_TRUE(list.moveDown(0));
    EXPECT_EQ(order(list), (std::vector<float>{2, 1, 3}));
    EXPECT_TRUE(list.moveUp(1));
    EXPECT_EQ(order(list), (std::vector<float>{1, 2, 3}));
    EXPECT_FALSE(list.remove(3));
    EXPECT_TRUE(list.remove(1));
    EXPECT_EQ(order(list), (std::vector<float>{1, 3}));
    EXPECT_EQ(list.at(2), nullptr);
    EXPECT_EQ(list.at(1)->strength, 3.0f);
}
