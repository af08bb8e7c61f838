#pragma once
// Building blocks of the surface builder: searches that pick where to refine a work grid,
// insertions that add one column or row, shape metrics, and the two cubic curve evaluators.
// Pure functions over caller-owned row-major grids (point (r, c) at r * C + c); none allocates.

#include "Point3.h"

namespace tesk {

/// Flat index of the start of the longest segment along the rows, or -1. With skipEndRows the
/// rows 1 .. R-2 are searched as closed loops; otherwise all rows, as open polylines.
int LongestRowSegment(int C, int R, const Point3* grid, bool skipEndRows);
/// The same search over every row, each taken as a closed loop (rows without poles).
int LongestLoopSegment(int C, int R, const Point3* grid);

/// Flat index (on the upper row) of the longest distance between vertically adjacent points,
/// or -1 when R < 2.
int LongestLineGap(int C, int R, const Point3* grid);

// Column insertions: dst gets C + 1 columns; a new point follows column k of every row,
// computed from the row's own points with indices modulo C.
void InsertMidColumn(int C, int R, int k, const Point3* src, Point3* dst);
void InsertCatmullRomColumn(int C, int R, int k, const Point3* src, Point3* dst);
void InsertBSplineColumn(int C, int R, int k, const Point3* src, Point3* dst);

// Line insertions: dst gets R + 1 rows; a new row follows row g. The smooth ones continue a
// column through the end rows by the opposite column (j + C/2) mod C. Need R >= 2, g <= R - 2.
void InsertMidLine(int C, int R, int g, const Point3* src, Point3* dst);
void InsertCatmullRomLine(int C, int R, int g, const Point3* src, Point3* dst);
void InsertBSplineLine(int C, int R, int g, const Point3* src, Point3* dst);

/// Per point, with every row taken as closed: bend = dot(prev - p, next - p) and
/// inLength = |prev - p|. Both arrays hold R * C entries.
void ColumnShapeMetrics(int C, int R, const Point3* grid, float* bend, float* inLength);

/// The same arrays for the line direction, (R - 1) * C entries each: all zero, so the key-line
/// selection has no geometric preference between lines.
void LineShapeMetrics(int C, int R, const Point3* grid, float* bend, float* inLength);

/// The four weights of a cubic segment at one parameter; samplers that evaluate many segments
/// at the same parameter compute them once.
struct CubicWeights {
    float w0;
    float w1;
    float w2;
    float w3;
};

CubicWeights CatmullRomWeights(float s);
CubicWeights BSplineWeights(float t);

inline Point3 Combine(const CubicWeights& w, Point3 p0, Point3 p1, Point3 p2, Point3 p3) {
    return {w.w0 * p0.x + w.w1 * p1.x + w.w2 * p2.x + w.w3 * p3.x,
            w.w0 * p0.y + w.w1 * p1.y + w.w2 * p2.y + w.w3 * p3.y,
            w.w0 * p0.z + w.w1 * p1.z + w.w2 * p2.z + w.w3 * p3.z};
}

/// Uniform Catmull-Rom segment from p1 (s = 0) to p2 (s = 1).
inline Point3 CatmullRomPoint(Point3 p0, Point3 p1, Point3 p2, Point3 p3, float s) {
    return Combine(CatmullRomWeights(s), p0, p1, p2, p3);
}

/// Uniform cubic B-spline segment of p0 .. p3.
inline Point3 BSplinePoint(Point3 p0, Point3 p1, Point3 p2, Point3 p3, float t) {
    return Combine(BSplineWeights(t), p0, p1, p2, p3);
}

/// p * (1 - t) + q * t per component.
inline Point3 LinearPoint(Point3 p, Point3 q, float t) {
    const float u = 1.0f - t;
    return {p.x * u + q.x * t, p.y * u + q.y * t, p.z * u + q.z * t};
}

} // namespace tesk
