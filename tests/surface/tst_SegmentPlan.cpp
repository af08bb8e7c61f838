#include "SegmentPlan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tesk {
namespace {

std::vector<int> keysOf(const SegmentPlan& plan, int n) {
    std::vector<int> keys;
    for (int i = 0; i < n; ++i) {
        if (plan.isKey[static_cast<size_t>(i)]) {
            keys.push_back(i);
        }
    }
    return keys;
}

std::vector<int> countsOf(const SegmentPlan& plan, int segments) {
    return {plan.counts.begin(), plan.counts.begin() + segments};
}

// Metrics of one row: one single bend value per point.
struct Metrics {
    explicit Metrics(int n, float bendValue = 0, float lengthValue = 0)
        : sumBend(static_cast<size_t>(n), bendValue),
          sumLength(static_cast<size_t>(n), lengthValue), bend(static_cast<size_t>(n), bendValue) {}
    KeyMetrics view() {
        const int n = static_cast<int>(bend.size());
        return {sumBend.data(), sumLength.data(), bend.data(), 1, n, 1, n};
    }
    std::vector<float> sumBend;
    std::vector<float> sumLength;
    std::vector<float> bend;
};

std::vector<int32_t> levels(int n, std::initializer_list<int> important) {
    std::vector<int32_t> result(static_cast<size_t>(n), 3);
    for (int i : important) {
        result[static_cast<size_t>(i)] = 1;
    }
    return result;
}

TEST(SegmentPlan, TwelveLinesWithoutImportantLines) {
    Metrics metrics(12);
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(12, false, levels(12, {}).data(), metrics.view(), plan));
    EXPECT_EQ(keysOf(plan, 12), (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 9, 11}));
    EXPECT_EQ(countsOf(plan, 11), (std::vector<int>{8, 8, 8, 8, 8, 4, 4, 4, 4, 4, 4}));
}

TEST(SegmentPlan, EachPickTakesItsOwnMetricThenTheFillSplitsLongRuns) {
    // Closed, 12 points: pick 1 takes the largest summed bend (5), pick 2 the largest single
    // bend not yet a key (8), pick 3 the longest incoming length (3), pick 4 the shortest
    // (10); the fills split 0..3 at 2, 5..8 at 7, then 0..2 at 1.
    Metrics metrics(12, -10.0f, 5.0f);
    metrics.sumBend[5] = 3.0f;
    metrics.bend[5] = 50.0f;
    metrics.bend[8] = 2.0f;
    metrics.sumLength[3] = 9.0f;
    metrics.sumLength[10] = 1.0f;
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(12, true, levels(12, {}).data(), metrics.view(), plan));
    EXPECT_EQ(keysOf(plan, 12), (std::vector<int>{0, 1, 2, 3, 5, 7, 8, 10}));
    EXPECT_EQ(countsOf(plan, 12), (std::vector<int>{8, 8, 8, 4, 4, 4, 4, 8, 4, 4, 4, 4}));

    // Important points are keys and, with six keys, no pick runs (15 would win pick 1).
    Metrics flat(16);
    flat.sumBend[15] = 100.0f;
    std::vector<int32_t> marked = levels(16, {2, 4, 6, 8, 10});
    marked[7] = 2; // any level but 1 is ordinary
    ASSERT_TRUE(PlanSegments(16, true, marked.data(), flat.view(), plan));
    EXPECT_EQ(keysOf(plan, 16), (std::vector<int>{0, 2, 4, 6, 8, 10, 12, 13}));
}

TEST(SegmentPlan, PicksKeepTheirBoundsAndNeverLoopForever) {
    // Bends at or below -999 and lengths at or above 999: only pick 3 takes points, round
    // after round, until five keys exist.
    Metrics bounded(10, -999.0f, 0.0f);
    for (int i = 0; i < 10; ++i) {
        bounded.bend[static_cast<size_t>(i)] = -2000.0f;
        bounded.sumLength[static_cast<size_t>(i)] = 1000.0f + static_cast<float>(i);
    }
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(10, true, levels(10, {}).data(), bounded.view(), plan));
    EXPECT_EQ(keysOf(plan, 10), (std::vector<int>{0, 2, 3, 5, 6, 7, 8, 9}));

    Metrics nan(14, std::nanf(""), std::nanf(""));
    ASSERT_TRUE(PlanSegments(14, true, levels(14, {}).data(), nan.view(), plan));
    EXPECT_EQ(plan.keyCount, 8);
}

TEST(SegmentPlan, SpansWithTwoOrFourInsidePointsFollowTheSummedBend) {
    // Open, 11 points, keys 0 and 3 .. 10: the first span has two inside points.
    const std::vector<int32_t> two = levels(11, {3, 4, 5, 6, 7, 8, 9});
    Metrics metrics(11);
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(11, false, two.data(), metrics.view(), plan));
    EXPECT_EQ(countsOf(plan, 10), (std::vector<int>{4, 2, 2, 8, 8, 8, 8, 8, 8, 8}));
    metrics.sumBend[1] = 1.0f; // the first inside point bends more than the span's key
    ASSERT_TRUE(PlanSegments(11, false, two.data(), metrics.view(), plan));
    EXPECT_EQ(countsOf(plan, 3), (std::vector<int>{2, 2, 4}));

    // Closed, 12 points, keys 0 and 5 .. 11: the first span has four inside points.
    const std::vector<int32_t> four = levels(12, {5, 6, 7, 8, 9, 10, 11});
    Metrics closed(12);
    ASSERT_TRUE(PlanSegments(12, true, four.data(), closed.view(), plan));
    EXPECT_EQ(countsOf(plan, 5), (std::vector<int>{2, 2, 2, 1, 1}));
    closed.sumBend[2] = 1.0f;
    ASSERT_TRUE(PlanSegments(12, true, four.data(), closed.view(), plan));
    EXPECT_EQ(countsOf(plan, 5), (std::vector<int>{2, 2, 1, 1, 2}));
}

TEST(SegmentPlan, RefusesTooManyKeysAndTooLongSpans) {
    Metrics metrics(16);
    SegmentPlan plan;
    const std::vector<int32_t> all(16, 1);
    EXPECT_FALSE(PlanSegments(16, true, all.data(), metrics.view(), plan));
    // Keys 0 .. 7 leave 8 .. 15 as one span of eight inside points.
    EXPECT_FALSE(
        PlanSegments(16, true, levels(16, {1, 2, 3, 4, 5, 6, 7}).data(), metrics.view(), plan));
}

} // namespace
} // namespace tesk
