#pragma once
// Where the 64 samples of a direction fall (a schedule of segment and parameter) and the
// linear, Catmull-Rom and B-spline samplers that evaluate a schedule over a work grid.

#include "MapSide.h"
#include "Point3.h"

#include <array>

namespace tesk {

/// The longest row the samplers resample along the lines (the key regime's limit).
inline constexpr int kMaxSampledPoints = 17;

/// One sample: segment s (control point s to s + 1) at parameter t. Across the lines the
/// segment kCopyLastRow stands for the last control row itself.
struct SampleStep {
    int segment = 0;
    float t = 0.0f;
};
inline constexpr int kCopyLastRow = -1;
using SampleSchedule = std::array<SampleStep, kMapSide>;

/// Grow regime along the lines: 8 segments (a closed row of 8 points or an open row of 9),
/// segments 0-6 at k/8, segment 7 at k/7 up to t = 1. A seamless closed row instead takes
/// every segment at k/8, so its 64th sample lies a regular step before its first.
void AlongGrowSchedule(SampleSchedule& out, bool seamless = false);
/// Key regime along the lines from the segment table. False if the counts do not give 64.
bool AlongKeySchedule(bool closed, int n, const int* counts, SampleSchedule& out);
/// Grow regime across the lines: 9 rows, the first gap one step short, then the last row.
void AcrossGrowSchedule(SampleSchedule& out);
/// Key regime across the lines from the segment table. False if the counts do not give 64.
bool AcrossKeySchedule(int n, const int* counts, SampleSchedule& out);

enum class AlongSampler {
    LinearClosed,
    LinearOpen,
    CatmullRomClosed,
    BSplineClosed,
    /// Open rows; phantom ends mirror the neighbour, or extend the last segment by half its
    /// length when halfLengthEnd is set (key regime).
    BSplineMirrored,
};

enum class AcrossSampler {
    Linear,
    /// Columns continue through the end rows by the opposite column (j + C/2) mod C.
    CatmullRomPoles,
    BSplinePoles,
    /// Phantom end rows mirror the row next to them.
    BSplineMirrored,
};

/// Resamples each of the R rows of n points (stride n, n <= kMaxSampledPoints) into 64 points
/// (stride 64) of dst.
void SampleAlong(AlongSampler sampler, bool halfLengthEnd, int n, int R, const Point3* src,
                 const SampleSchedule& schedule, Point3* dst);

/// Resamples each of the C columns (C <= 64) of R rows (stride C) into 64 rows of dst.
void SampleAcross(AcrossSampler sampler, int C, int R, const Point3* src,
                  const SampleSchedule& schedule, Point3* dst);

} // namespace tesk
