#include "SegmentPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
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

// Metrics with one group of single bend values, one per point.
struct Metrics {
    explicit Metrics(int n) : sumBend(n, 0.0f), sumLength(n, 0.0f), bend(n, 0.0f) {}
    KeyMetrics view() {
        const int n = static_cast<int>(bend.size());
        return {sumBend.data(), sumLength.data(), bend.data(), 1, n, 1, n};
    }
    std::vector<float> sumBend;
    std::vector<float> sumLength;
    std::vector<float> bend;
};

TEST(SegmentPlan, TwelveLinesWithoutImportantLines) {
    Metrics metrics(12);
    const std::vector<int32_t> levels(12, 3);
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(12, false, levels.data(), metrics.view(), plan));
    EXPECT_EQ(keysOf(plan, 12), (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 9, 11}));
    EXPECT_EQ(countsOf(plan, 11), (std::vector<int>{8, 8, 8, 8, 8, 4, 4, 4, 4, 4, 4}));
}

TEST(SegmentPlan, EachPickTakesItsOwnMetric) {
    // Closed, 12 points: pick 1 the largest summed bend (5), pick 2 the largest single bend
    // (8), pick 3 the longest incoming length (3), pick 4 the shortest (10); then three fills.
    Metrics metrics(12);
    for (int i = 0; i < 12; ++i) {
        metrics.sumLength[static_cast<size_t>(i)] = 5.0f;
        metrics.sumBend[static_cast<size_t>(i)] = -10.0f;
        metrics.bend[static_cast<size_t>(i)] = -20.0f;
    }
    metrics.sumBend[5] = 3.0f;
    metrics.bend[5] = 50.0f; // already a key when pick 2 runs
    metrics.bend[8] = 2.0f;
    metrics.sumLength[3] = 9.0f;
    metrics.sumLength[10] = 1.0f;
    const std::vector<int32_t> levels(12, 3);
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(12, true, levels.data(), metrics.view(), plan));
    // Picks give 0, 3, 5, 8, 10; the fills split 0..3 at 2, 5..8 at 7, then 0..2 at 1.
    EXPECT_EQ(keysOf(plan, 12), (std::vector<int>{0, 1, 2, 3, 5, 7, 8, 10}));
    EXPECT_EQ(countsOf(plan, 12), (std::vector<int>{8, 8, 8, 4, 4, 4, 4, 8, 4, 4, 4, 4}));
}

TEST(SegmentPlan, PicksRespectTheirBounds) {
    // Every summed and single bend is at or below -999 and every length at or above 999: only
    // pick 3 can take points (the longest first), and it runs again until five keys exist.
    Metrics metrics(10);
    for (int i = 0; i < 10; ++i) {
        metrics.sumBend[static_cast<size_t>(i)] = -999.0f;
        metrics.bend[static_cast<size_t>(i)] = -2000.0f;
        metrics.sumLength[static_cast<size_t>(i)] = 1000.0f + static_cast<float>(i);
    }
    const std::vector<int32_t> levels(10, 3);
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(10, true, levels.data(), metrics.view(), plan));
    EXPECT_EQ(keysOf(plan, 10), (std::vector<int>{0, 2, 3, 5, 6, 7, 8, 9}));
}

TEST(SegmentPlan, NotANumberMetricsStillGiveEightSpans) {
    Metrics metrics(14);
    const float nan = std::nanf("");
    std::fill(metrics.sumBend.begin(), metrics.sumBend.end(), nan);
    std::fill(metrics.sumLength.begin(), metrics.sumLength.end(), nan);
    std::fill(metrics.bend.begin(), metrics.bend.end(), nan);
    const std::vector<int32_t> levels(14, 3);
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(14, true, levels.data(), metrics.view(), plan));
    EXPECT_EQ(plan.keyCount, 8);
    const std::vector<int> counts = countsOf(plan, 14);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), 64);
}

TEST(SegmentPlan, ImportantPointsAreKeysAndSkipThePicks) {
    // Five important points plus the forced first make six keys: no pick runs, two fills.
    Metrics metrics(16);
    metrics.sumBend[15] = 100.0f; // would win pick 1 if picks ran
    std::vector<int32_t> levels(16, 3);
    for (int i : {2, 4, 6, 8, 10}) {
        levels[static_cast<size_t>(i)] = 1;
    }
    levels[7] = 2; // levels other than 1 are ordinary
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(16, true, levels.data(), metrics.view(), plan));
    // Run 11..15 ended by 16 (point 0 again): 16 - 3 = 13; then 11..12 ended by 13 -> 12.
    EXPECT_EQ(keysOf(plan, 16), (std::vector<int>{0, 2, 4, 6, 8, 10, 12, 13}));
    EXPECT_EQ(countsOf(plan, 16),
              (std::vector<int>{4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 8, 4, 2, 2}));
}

TEST(SegmentPlan, TwoInsidePointsFollowTheSummedBend) {
    // Open, 11 points, keys 0 and 3 .. 10: the first span has two inside points.
    std::vector<int32_t> levels(11, 3);
    for (int i = 3; i <= 9; ++i) {
        levels[static_cast<size_t>(i)] = 1;
    }
    Metrics metrics(11);
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(11, false, levels.data(), metrics.view(), plan));
    ASSERT_EQ(keysOf(plan, 11), (std::vector<int>{0, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(countsOf(plan, 10), (std::vector<int>{4, 2, 2, 8, 8, 8, 8, 8, 8, 8}));

    metrics.sumBend[1] = 1.0f; // the first inside point bends more than the span's key
    ASSERT_TRUE(PlanSegments(11, false, levels.data(), metrics.view(), plan));
    EXPECT_EQ(countsOf(plan, 3), (std::vector<int>{2, 2, 4}));
}

TEST(SegmentPlan, FourInsidePointsFollowTheSummedBend) {
    // Closed, 12 points, keys 0 and 5 .. 11: the first span has four inside points.
    std::vector<int32_t> levels(12, 3);
    for (int i = 5; i <= 11; ++i) {
        levels[static_cast<size_t>(i)] = 1;
    }
    Metrics metrics(12);
    SegmentPlan plan;
    ASSERT_TRUE(PlanSegments(12, true, levels.data(), metrics.view(), plan));
    EXPECT_EQ(countsOf(plan, 12), (std::vector<int>{2, 2, 2, 1, 1, 8, 8, 8, 8, 8, 8, 8}));
    metrics.sumBend[2] = 1.0f;
    ASSERT_TRUE(PlanSegments(12, true, levels.data(), metrics.view(), plan));
    EXPECT_EQ(countsOf(plan, 5), (std::vector<int>{2, 2, 1, 1, 2}));
}

TEST(SegmentPlan, RefusesTooManyKeysAndTooLongSpans) {
    Metrics metrics(16);
    SegmentPlan plan;
    const std::vector<int32_t> allImportant(16, 1);
    EXPECT_FALSE(PlanSegments(16, true, allImportant.data(), metrics.view(), plan));

    // Keys 0..7 leave 8..15 as one span of eight inside points.
    std::vector<int32_t> levels(16, 3);
    for (int i = 1; i <= 7; ++i) {
        levels[static_cast<size_t>(i)] = 1;
    }
    EXPECT_FALSE(PlanSegments(16, true, levels.data(), metrics.view(), plan));
}

} // namespace
} // namespace tesk
