#include "SegmentPlan.h"

namespace tesk {

namespace {

constexpr int32_t kImportant = 1;
constexpr int kPickedKeys = 5;
constexpr int kSpans = 8;
constexpr float kLow = -999.0f;
constexpr float kHigh = 999.0f;

// Each pick returns the chosen point or -1; candidates are replaced only on a strictly better
// value, so the first of equal values wins.
int pickLargest(int n, const float* values, const SegmentPlan& plan) {
    float best = kLow;
    int found = -1;
    for (int i = 0; i < n; ++i) {
        if (!plan.isKey[i] && values[i] > best) {
            best = values[i];
            found = i;
        }
    }
    return found;
}

int pickSmallest(int n, const float* values, const SegmentPlan& plan) {
    float best = kHigh;
    int found = -1;
    for (int i = 0; i < n; ++i) {
        if (!plan.isKey[i] && values[i] < best) {
            best = values[i];
            found = i;
        }
    }
    return found;
}

int pickLargestSingleBend(const KeyMetrics& m, const SegmentPlan& plan) {
    float best = kLow;
    int found = -1;
    for (int g = 0; g < m.groups; ++g) {
        const float* group = m.bend + g * m.groupStride;
        for (int i = 0; i < m.pointsWithValues; ++i) {
            const float v = group[i * m.pointStride];
            if (!plan.isKey[i] && v > best) {
                best = v;
                found = i;
            }
        }
    }
    return found;
}

bool mark(int index, SegmentPlan& plan) {
    if (index < 0) {
        return false;
    }
    plan.isKey[index] = 1;
    ++plan.keyCount;
    return true;
}

void pickByShape(int n, const KeyMetrics& m, SegmentPlan& plan) {
    while (plan.keyCount < kPickedKeys) {
        const int before = plan.keyCount;
        for (int pick = 0; pick < 4 && plan.keyCount < kPickedKeys; ++pick) {
            switch (pick) {
            case 0:
                mark(pickLargest(n, m.sumBend, plan), plan);
                break;
            case 1:
                mark(pickLargestSingleBend(m, plan), plan);
                break;
            case 2:
                mark(pickLargest(n, m.sumLength, plan), plan);
                break;
            default:
                mark(pickSmallest(n, m.sumLength, plan), plan);
                break;
            }
        }
        // Metrics that are NaN or beyond the search bounds pick nothing; the fill takes over.
        if (plan.keyCount == before) {
            return;
        }
    }
}

// Index `end` stands for point 0 again (closed) or is the forced last point (open).
bool keyAt(int i, int end, const SegmentPlan& plan) {
    return i == end || plan.isKey[i] != 0;
}

void fillLongestRuns(int end, int target, SegmentPlan& plan) {
    while (plan.keyCount < target) {
        int bestLength = 0;
        int bestEnd = -1;
        int run = 0;
        for (int i = 0; i <= end; ++i) {
            if (!keyAt(i, end, plan)) {
                ++run;
                continue;
            }
            if (run > bestLength) {
                bestLength = run;
                bestEnd = i;
            }
            run = 0;
        }
        if (bestEnd < 0) {
            return;
        }
        mark(bestEnd - (bestLength + 1) / 2, plan);
    }
}

// Appends the counts of one span with `inside` points between its keys; false when the
// table has no row for it.
bool appendSpan(int inside, int e, const float* sumBend, int*& out) {
    static constexpr int kOne[] = {8};
    static constexpr int kTwo[] = {4, 4};
    static constexpr int kThreeRising[] = {2, 2, 4};
    static constexpr int kThree[] = {4, 2, 2};
    static constexpr int kFour[] = {2, 2, 2, 2};
    static constexpr int kFiveRising[] = {2, 2, 1, 1, 2};
    static constexpr int kFive[] = {2, 2, 2, 1, 1};
    static constexpr int kSix[] = {2, 1, 1, 1, 1, 2};
    const int* row = nullptr;
    switch (inside) {
    case 0:
        row = kOne;
        break;
    case 1:
        row = kTwo;
        break;
    case 2:
        row = sumBend[e] < sumBend[e + 1] ? kThreeRising : kThree;
        break;
    case 3:
        row = kFour;
        break;
    case 4:
        row = sumBend[e + 1] < sumBend[e + 2] ? kFiveRising : kFive;
        break;
    case 5:
        row = kSix;
        break;
    default:
        return false;
    }
    for (int i = 0; i <= inside; ++i) {
        *out++ = row[i];
    }
    return true;
}

} // namespace

bool PlanSegments(int n, bool closed, const int32_t* levels, const KeyMetrics& metrics,
                  SegmentPlan& plan) {
    plan = SegmentPlan{};
    if (n < 2 || n > kMaxPlanPoints - 1) {
        return false;
    }
    for (int i = 0; i < n; ++i) {
        plan.isKey[i] = levels[i] == kImportant ? 1 : 0;
    }
    plan.isKey[0] = 1;
    if (!closed) {
        plan.isKey[n - 1] = 1;
    }
    for (int i = 0; i < n; ++i) {
        plan.keyCount += plan.isKey[i];
    }

    if (plan.keyCount < kPickedKeys) {
        pickByShape(n, metrics, plan);
    }
    const int end = closed ? n : n - 1;
    const int target = closed ? kSpans : kSpans + 1;
    if (plan.keyCount < target) {
        fillLongestRuns(end, target, plan);
    }

    // Runs between consecutive keys; exactly eight spans must cover every segment.
    std::array<int, kMaxPlanPoints> runs{};
    int spans = 0;
    int run = 0;
    for (int i = 1; i <= end; ++i) {
        if (!keyAt(i, end, plan)) {
            ++run;
            continue;
        }
        runs[spans++] = run;
        run = 0;
    }
    if (spans != kSpans) {
        return false;
    }
    int* out = plan.counts.data();
    int e = 0;
    for (int j = 0; j < kSpans; ++j) {
        if (!appendSpan(runs[j], e, metrics.sumBend, out)) {
            return false;
        }
        e += runs[j] + 1;
    }
    return true;
}

} // namespace tesk
