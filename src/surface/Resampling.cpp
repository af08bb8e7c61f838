#include "Resampling.h"

#include "CurvePrimitives.h"

#include <algorithm>

namespace tesk {

namespace {

float ratio(int k, int count) {
    return static_cast<float>(k) / static_cast<float>(count);
}

// Appends one step; the schedule never grows beyond its 64 entries.
class ScheduleWriter {
public:
    explicit ScheduleWriter(SampleSchedule& out) : m_out(out) {}
    bool add(int segment, float t) {
        if (m_size >= kMapSide) {
            m_overflow = true;
            return false;
        }
        m_out[static_cast<size_t>(m_size++)] = {segment, t};
        return true;
    }
    bool complete() const { return !m_overflow && m_size == kMapSide; }

private:
    SampleSchedule& m_out;
    int m_size = 0;
    bool m_overflow = false;
};

bool uniformRow(const Point3* p, int n) {
    for (int i = 1; i < n; ++i) {
        if (!(p[i] == p[0])) {
            return false;
        }
    }
    return true;
}

bool isCubic(AlongSampler sampler) {
    return sampler != AlongSampler::LinearClosed && sampler != AlongSampler::LinearOpen;
}

CubicWeights weightsFor(bool catmullRom, float t) {
    return catmullRom ? CatmullRomWeights(t) : BSplineWeights(t);
}

// A row with its neighbours beyond the ends, so segment s always reads ext[s] .. ext[s + 3]:
// closed rows wrap around, open rows get phantom points (used by the mirrored B-spline only).
void extendRow(AlongSampler sampler, bool halfLengthEnd, const Point3* p, int n, Point3* ext) {
    for (int i = 0; i < n; ++i) {
        ext[i + 1] = p[i];
    }
    switch (sampler) {
    case AlongSampler::LinearOpen:
        ext[0] = p[0];
        ext[n + 1] = p[n - 1];
        break;
    case AlongSampler::BSplineMirrored:
        ext[0] = p[0] * 2.0f - p[1];
        ext[n + 1] =
            halfLengthEnd ? p[n - 1] + (p[n - 1] - p[n - 2]) * 0.5f : p[n - 1] * 2.0f - p[n - 2];
        break;
    default:
        ext[0] = p[n - 1];
        ext[n + 1] = p[0];
        ext[n + 2] = p[1 % n];
        break;
    }
}

// Row 1 turned half way round, or the row mirrored about its neighbour: the neighbours of
// the end rows across the lines.
void oppositeRow(const Point3* row, int C, Point3* out) {
    const int half = C / 2;
    for (int j = 0; j < C; ++j) {
        out[j] = row[(j + half) % C];
    }
}

void mirroredRow(const Point3* end, const Point3* next, int C, Point3* out) {
    for (int j = 0; j < C; ++j) {
        out[j] = end[j] * 2.0f - next[j];
    }
}

} // namespace

void AlongGrowSchedule(SampleSchedule& out, bool seamless) {
    ScheduleWriter w(out);
    if (seamless) {
        for (int s = 0; s < 8; ++s) {
            for (int k = 0; k < 8; ++k) {
                w.add(s, ratio(k, 8));
            }
        }
        return;
    }
    for (int s = 0; s < 7; ++s) {
        for (int k = 0; k < 8; ++k) {
            w.add(s, ratio(k, 8));
        }
    }
    for (int k = 0; k < 7; ++k) {
        w.add(7, ratio(k, 7));
    }
    // A closed row's 64th sample repeats its first (seam); an open row's is its end point.
    w.add(7, 1.0f);
}

bool AlongKeySchedule(bool closed, int n, const int* counts, SampleSchedule& out) {
    ScheduleWriter w(out);
    const int segments = closed ? n : n - 1;
    for (int s = 0; s < segments; ++s) {
        const int count = counts[s];
        if (count <= 0) {
            return false;
        }
        const bool lastOpen = !closed && s == segments - 1;
        for (int k = 0; k < count; ++k) {
            float t = ratio(k, count);
            if (lastOpen) {
                t = count == 1 ? 1.0f : ratio(k, count - 1);
            }
            if (!w.add(s, t)) {
                return false;
            }
        }
    }
    return w.complete();
}

void AcrossGrowSchedule(SampleSchedule& out) {
    ScheduleWriter w(out);
    for (int k = 0; k < 7; ++k) {
        w.add(0, ratio(k, 7));
    }
    for (int g = 1; g < 8; ++g) {
        for (int k = 0; k < 8; ++k) {
            w.add(g, ratio(k, 8));
        }
    }
    w.add(kCopyLastRow, 1.0f);
}

bool AcrossKeySchedule(int n, const int* counts, SampleSchedule& out) {
    ScheduleWriter w(out);
    if (n < 2 || counts[0] < 1) {
        return false;
    }
    for (int k = 0; k + 1 < counts[0]; ++k) {
        w.add(0, ratio(k, counts[0] - 1));
    }
    for (int g = 1; g <= n - 2; ++g) {
        if (counts[g] <= 0) {
            return false;
        }
        for (int k = 0; k < counts[g]; ++k) {
            if (!w.add(g, ratio(k, counts[g]))) {
                return false;
            }
        }
    }
    w.add(kCopyLastRow, 1.0f);
    return w.complete();
}

void SampleAlong(AlongSampler sampler, bool halfLengthEnd, int n, int R, const Point3* src,
                 const SampleSchedule& schedule, Point3* dst) {
    const bool cubic = isCubic(sampler);
    std::array<CubicWeights, kMapSide> weights{};
    if (cubic) {
        for (size_t i = 0; i < kMapSide; ++i) {
            weights[i] = weightsFor(sampler == AlongSampler::CatmullRomClosed, schedule[i].t);
        }
    }
    std::array<Point3, kMaxSampledPoints + 3> ext;
    for (int r = 0; r < R; ++r) {
        const Point3* p = src + r * n;
        Point3* out = dst + r * kMapSide;
        // A row whose points all coincide (a pole) stays exactly one point.
        if (uniformRow(p, n)) {
            std::fill(out, out + kMapSide, p[0]);
            continue;
        }
        extendRow(sampler, halfLengthEnd, p, n, ext.data());
        for (size_t i = 0; i < kMapSide; ++i) {
            const size_t s = static_cast<size_t>(schedule[i].segment);
            out[i] = cubic ? Combine(weights[i], ext[s], ext[s + 1], ext[s + 2], ext[s + 3])
                           : LinearPoint(ext[s + 1], ext[s + 2], schedule[i].t);
        }
    }
}

void SampleAcross(AcrossSampler sampler, int C, int R, const Point3* src,
                  const SampleSchedule& schedule, Point3* dst) {
    std::array<Point3, kMapSide> before;
    std::array<Point3, kMapSide> after;
    const Point3* a = nullptr;
    const Point3* b = nullptr;
    int preparedGap = -1;
    for (int i = 0; i < kMapSide; ++i) {
        const SampleStep step = schedule[static_cast<size_t>(i)];
        Point3* out = dst + i * C;
        if (step.segment == kCopyLastRow) {
            std::copy_n(src + (R - 1) * C, C, out);
            continue;
        }
        const int g = step.segment;
        const Point3* upper = src + g * C;
        const Point3* lower = upper + C;
        if (sampler == AcrossSampler::Linear) {
            for (int j = 0; j < C; ++j) {
                out[j] = LinearPoint(upper[j], lower[j], step.t);
            }
            continue;
        }
        if (g != preparedGap) {
            const bool poles = sampler != AcrossSampler::BSplineMirrored;
            const Point3* last = src + (R - 1) * C;
            if (g > 0) {
                a = upper - C;
            } else if (poles) {
                oppositeRow(src + C, C, before.data());
                a = before.data();
            } else {
                mirroredRow(src, src + C, C, before.data());
                a = before.data();
            }
            if (g + 2 < R) {
                b = lower + C;
            } else if (poles) {
                oppositeRow(last, C, after.data());
                b = after.data();
            } else {
                mirroredRow(last, last - C, C, after.data());
                b = after.data();
            }
            preparedGap = g;
        }
        const CubicWeights w = weightsFor(sampler == AcrossSampler::CatmullRomPoles, step.t);
        for (int j = 0; j < C; ++j) {
            out[j] = Combine(w, a[j], upper[j], lower[j], b[j]);
        }
    }
}

} // namespace tesk
