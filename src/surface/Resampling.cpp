#include "Resampling.h"

#include "CurvePrimitives.h"

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
        if (m_size >= kSamples) {
            m_overflow = true;
            return false;
        }
        m_out[static_cast<size_t>(m_size++)] = {segment, t};
        return true;
    }
    bool complete() const { return !m_overflow && m_size == kSamples; }

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

// A row whose points all coincide (a pole) stays exactly one point, free of rounding.
template <typename Eval>
void sampleRows(int n, int R, const Point3* src, const SampleSchedule& schedule, Point3* dst,
                Eval eval) {
    for (int r = 0; r < R; ++r) {
        const Point3* p = src + r * n;
        Point3* out = dst + r * kSamples;
        if (uniformRow(p, n)) {
            for (int i = 0; i < kSamples; ++i) {
                out[i] = p[0];
            }
            continue;
        }
        for (int i = 0; i < kSamples; ++i) {
            out[i] = eval(p, schedule[static_cast<size_t>(i)].segment,
                          schedule[static_cast<size_t>(i)].t);
        }
    }
}

template <typename Eval>
void sampleColumns(int C, int R, const Point3* src, const SampleSchedule& schedule, Point3* dst,
                   Eval eval) {
    const Point3* last = src + (R - 1) * C;
    for (int i = 0; i < kSamples; ++i) {
        const SampleStep step = schedule[static_cast<size_t>(i)];
        Point3* out = dst + i * C;
        if (step.segment == kCopyLastRow) {
            for (int j = 0; j < C; ++j) {
                out[j] = last[j];
            }
            continue;
        }
        for (int j = 0; j < C; ++j) {
            out[j] = eval(step.segment, j, step.t);
        }
    }
}

} // namespace

void AlongGrowSchedule(SampleSchedule& out) {
    ScheduleWriter w(out);
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
    auto next = [n](int i) { return i + 1 < n ? i + 1 : i + 1 - n; };
    auto prev = [n](int i) { return i > 0 ? i - 1 : n - 1; };
    switch (sampler) {
    case AlongSampler::LinearClosed:
        sampleRows(n, R, src, schedule, dst, [&](const Point3* p, int s, float t) {
            return LinearPoint(p[s], p[next(s)], t);
        });
        break;
    case AlongSampler::LinearOpen:
        sampleRows(n, R, src, schedule, dst,
                   [&](const Point3* p, int s, float t) { return LinearPoint(p[s], p[s + 1], t); });
        break;
    case AlongSampler::CatmullRomClosed:
        sampleRows(n, R, src, schedule, dst, [&](const Point3* p, int s, float t) {
            return CatmullRomPoint(p[prev(s)], p[s], p[next(s)], p[next(next(s))], t);
        });
        break;
    case AlongSampler::BSplineClosed:
        sampleRows(n, R, src, schedule, dst, [&](const Point3* p, int s, float t) {
            return BSplinePoint(p[prev(s)], p[s], p[next(s)], p[next(next(s))], t);
        });
        break;
    case AlongSampler::BSplineMirrored:
        sampleRows(n, R, src, schedule, dst, [&](const Point3* p, int s, float t) {
            const Point3 a = s > 0 ? p[s - 1] : p[0] * 2.0f - p[1];
            Point3 b;
            if (s + 2 < n) {
                b = p[s + 2];
            } else if (halfLengthEnd) {
                b = p[n - 1] + (p[n - 1] - p[n - 2]) * 0.5f;
            } else {
                b = p[n - 1] * 2.0f - p[n - 2];
            }
            return BSplinePoint(a, p[s], p[s + 1], b, t);
        });
        break;
    }
}

void SampleAcross(AcrossSampler sampler, int C, int R, const Point3* src,
                  const SampleSchedule& schedule, Point3* dst) {
    const int half = C / 2;
    auto at = [src, C](int row, int column) { return src[row * C + column]; };
    // Neighbours beyond the end rows: through the pole to the opposite column.
    auto poleBefore = [&](int g, int j) { return g > 0 ? at(g - 1, j) : at(1, (j + half) % C); };
    auto poleAfter = [&](int g, int j) {
        return g + 2 < R ? at(g + 2, j) : at(R - 1, (j + half) % C);
    };
    switch (sampler) {
    case AcrossSampler::Linear:
        sampleColumns(C, R, src, schedule, dst, [&](int g, int j, float t) {
            return LinearPoint(at(g, j), at(g + 1, j), t);
        });
        break;
    case AcrossSampler::CatmullRomPoles:
        sampleColumns(C, R, src, schedule, dst, [&](int g, int j, float t) {
            return CatmullRomPoint(poleBefore(g, j), at(g, j), at(g + 1, j), poleAfter(g, j), t);
        });
        break;
    case AcrossSampler::BSplinePoles:
        sampleColumns(C, R, src, schedule, dst, [&](int g, int j, float t) {
            return BSplinePoint(poleBefore(g, j), at(g, j), at(g + 1, j), poleAfter(g, j), t);
        });
        break;
    case AcrossSampler::BSplineMirrored:
        sampleColumns(C, R, src, schedule, dst, [&](int g, int j, float t) {
            const Point3 a = g > 0 ? at(g - 1, j) : at(0, j) * 2.0f - at(1, j);
            const Point3 b = g + 2 < R ? at(g + 2, j) : at(R - 1, j) * 2.0f - at(R - 2, j);
            return BSplinePoint(a, at(g, j), at(g + 1, j), b, t);
        });
        break;
    }
}

} // namespace tesk
