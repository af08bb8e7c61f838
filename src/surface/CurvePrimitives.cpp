#include "CurvePrimitives.h"

#include <cmath>

namespace tesk {

namespace {

// Searches start below any real length and replace only on a strictly greater value, so the
// first of equal maxima wins.
constexpr float kSearchStart = -999.0f;

float distance(Point3 a, Point3 b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

int wrap(int i, int n) {
    const int m = i % n;
    return m < 0 ? m + n : m;
}

template <typename MakePoint>
void insertColumn(int C, int R, int k, const Point3* src, Point3* dst, MakePoint make) {
    for (int r = 0; r < R; ++r) {
        const Point3* row = src + r * C;
        Point3* out = dst + r * (C + 1);
        for (int c = 0; c <= k; ++c) {
            *out++ = row[c];
        }
        *out++ = make(row[wrap(k - 1, C)], row[k], row[wrap(k + 1, C)], row[wrap(k + 2, C)]);
        for (int c = k + 1; c < C; ++c) {
            *out++ = row[c];
        }
    }
}

template <typename MakePoint>
void insertLine(int C, int R, int g, const Point3* src, Point3* dst, MakePoint make) {
    const Point3* upper = src + g * C;
    const Point3* lower = upper + C;
    const int half = C / 2;
    for (int i = 0; i < (g + 1) * C; ++i) {
        dst[i] = src[i];
    }
    Point3* added = dst + (g + 1) * C;
    for (int j = 0; j < C; ++j) {
        const int opposite = (j + half) % C;
        const Point3 a = g > 0 ? upper[j - C] : src[C + opposite];
        const Point3 b = g + 2 < R ? lower[j + C] : src[(R - 1) * C + opposite];
        added[j] = make(a, upper[j], lower[j], b);
    }
    for (int i = (g + 1) * C; i < R * C; ++i) {
        dst[i + C] = src[i];
    }
}

Point3 midOf(Point3, Point3 p1, Point3 p2, Point3) {
    return midpoint(p1, p2);
}
Point3 catmullRomMid(Point3 p0, Point3 p1, Point3 p2, Point3 p3) {
    return CatmullRomPoint(p0, p1, p2, p3, 0.5f);
}
Point3 bSplineMid(Point3 p0, Point3 p1, Point3 p2, Point3 p3) {
    return BSplinePoint(p0, p1, p2, p3, 0.5f);
}

// Rows first .. last as closed loops.
int longestLoopSegment(int C, int first, int last, const Point3* grid) {
    float best = kSearchStart;
    int found = -1;
    for (int r = first; r <= last; ++r) {
        const Point3* row = grid + r * C;
        for (int c = 0; c < C; ++c) {
            const float d = distance(row[c], row[(c + 1) % C]);
            if (d > best) {
                best = d;
                found = r * C + c;
            }
        }
    }
    return found;
}

} // namespace

int LongestRowSegment(int C, int R, const Point3* grid, bool skipEndRows) {
    if (C <= 0) {
        return -1;
    }
    if (skipEndRows) {
        return longestLoopSegment(C, 1, R - 2, grid);
    }
    float best = kSearchStart;
    int found = -1;
    for (int r = 0; r < R; ++r) {
        const Point3* row = grid + r * C;
        for (int c = 0; c + 1 < C; ++c) {
            const float d = distance(row[c], row[c + 1]);
            if (d > best) {
                best = d;
                found = r * C + c;
            }
        }
    }
    return found;
}

int LongestLoopSegment(int C, int R, const Point3* grid) {
    return C <= 0 ? -1 : longestLoopSegment(C, 0, R - 1, grid);
}

int LongestLineGap(int C, int R, const Point3* grid) {
    float best = kSearchStart;
    int found = -1;
    for (int r = 0; r + 1 < R; ++r) {
        for (int c = 0; c < C; ++c) {
            const float d = distance(grid[r * C + c], grid[(r + 1) * C + c]);
            if (d > best) {
                best = d;
                found = r * C + c;
            }
        }
    }
    return found;
}

void InsertMidColumn(int C, int R, int k, const Point3* src, Point3* dst) {
    insertColumn(C, R, k, src, dst, midOf);
}

void InsertCatmullRomColumn(int C, int R, int k, const Point3* src, Point3* dst) {
    insertColumn(C, R, k, src, dst, catmullRomMid);
}

void InsertBSplineColumn(int C, int R, int k, const Point3* src, Point3* dst) {
    insertColumn(C, R, k, src, dst, bSplineMid);
}

void InsertMidLine(int C, int R, int g, const Point3* src, Point3* dst) {
    insertLine(C, R, g, src, dst, midOf);
}

void InsertCatmullRomLine(int C, int R, int g, const Point3* src, Point3* dst) {
    insertLine(C, R, g, src, dst, catmullRomMid);
}

void InsertBSplineLine(int C, int R, int g, const Point3* src, Point3* dst) {
    insertLine(C, R, g, src, dst, bSplineMid);
}

void ColumnShapeMetrics(int C, int R, const Point3* grid, float* bend, float* inLength) {
    for (int r = 0; r < R; ++r) {
        const Point3* row = grid + r * C;
        for (int c = 0; c < C; ++c) {
            const Point3 p = row[c];
            const Point3 a = row[wrap(c - 1, C)] - p;
            const Point3 b = row[(c + 1) % C] - p;
            bend[r * C + c] = dot(a, b);
            inLength[r * C + c] = length(a);
        }
    }
}

void LineShapeMetrics(int C, int R, const Point3*, float* bend, float* inLength) {
    for (int i = 0; i < (R - 1) * C; ++i) {
        bend[i] = 0.0f;
        inLength[i] = 0.0f;
    }
}

// 0.5 * ((-s^3 + 2s^2 - s) P0 + (3s^3 - 5s^2 + 2) P1 + (-3s^3 + 4s^2 + s) P2 + (s^3 - s^2) P3);
// the factor one half is exact, so it is folded into the weights.
CubicWeights CatmullRomWeights(float s) {
    const float s2 = s * s;
    const float s3 = s2 * s;
    return {0.5f * (-s3 + 2.0f * s2 - s), 0.5f * (3.0f * s3 - 5.0f * s2 + 2.0f),
            0.5f * (-3.0f * s3 + 4.0f * s2 + s), 0.5f * (s3 - s2)};
}

CubicWeights BSplineWeights(float t) {
    constexpr float kSixth = 0.16666667f;
    const float t2 = t * t;
    const float t3 = t2 * t;
    return {(3.0f * t2 - t3 - 3.0f * t + 1.0f) * kSixth, (3.0f * t3 - 6.0f * t2 + 4.0f) * kSixth,
            (3.0f * t2 - 3.0f * t3 + 3.0f * t + 1.0f) * kSixth, t3 * kSixth};
}

} // namespace tesk
