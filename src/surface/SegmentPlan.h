#pragma once
// Key selection for one direction of the key regime: which control points start the eight
// spans, and how many samples each segment between control points receives (64 in all).

#include <array>
#include <cstdint>

namespace tesk {

/// The shape metrics the key picks rank points by. Point i has the sums sumBend[i] and
/// sumLength[i]; its single bend values are bend[g * groupStride + i * pointStride] for the
/// groups g = 0 .. groups - 1, present only for i < pointsWithValues.
struct KeyMetrics {
    const float* sumBend = nullptr;
    const float* sumLength = nullptr;
    const float* bend = nullptr;
    int groups = 0;
    int groupStride = 0;
    int pointStride = 0;
    int pointsWithValues = 0;
};

inline constexpr int kMaxPlanPoints = 66;

struct SegmentPlan {
    std::array<uint8_t, kMaxPlanPoints> isKey{};
    /// Sample count per segment: n entries for a closed direction, n - 1 for an open one.
    std::array<int, kMaxPlanPoints> counts{};
    int keyCount = 0;
};

/// Chooses the keys of a direction of n points (levels: one entry per point, 1 = important)
/// and fills the segment table. False when the keys do not divide the direction into eight
/// spans of at most five inside points each; the plan is then unusable.
bool PlanSegments(int n, bool closed, const int32_t* levels, const KeyMetrics& metrics,
                  SegmentPlan& plan);

} // namespace tesk
