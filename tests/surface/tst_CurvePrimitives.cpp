#include "CurvePrimitives.h"

#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesk {
namespace {

using testing::near;

std::vector<Point3> grid(int C, int R, Point3 (*f)(int, int)) {
    std::vector<Point3> g;
    for (int r = 0; r < R; ++r) {
        for (int c = 0; c < C; ++c) {
            g.push_back(f(r, c));
        }
    }
    return g;
}

Point3 plane(int r, int c) {
    return {static_cast<float>(c), static_cast<float>(r), 0};
}

TEST(CurveSearches, LongestSegmentAndGap) {
    // Row 0's jump is seen only by the open search; the closed search skips the end rows and
    // finds row 2's wrap segment (last column back to column 0).
    std::vector<Point3> g = grid(4, 4, plane);
    g[1] = {100, 0, 0};
    g[2 * 4 + 3] = {5, 2, 0};
    EXPECT_EQ(LongestRowSegment(4, 4, g.data(), true), 2 * 4 + 3);
    EXPECT_EQ(LongestRowSegment(4, 4, g.data(), false), 0);
    EXPECT_EQ(LongestRowSegment(4, 2, g.data(), true), -1);
    // Interior rows of single points: 0 beats the start value once, row 1 column 0 wins.
    const std::vector<Point3> points(16, Point3{1, 2, 3});
    EXPECT_EQ(LongestRowSegment(4, 4, points.data(), true), 4);

    g = grid(3, 3, plane);
    g[2 * 3 + 1].y = 7.0f;
    EXPECT_EQ(LongestLineGap(3, 3, g.data()), 3 + 1);
    EXPECT_EQ(LongestLineGap(3, 1, g.data()), -1);
}

TEST(CurveInsertions, ColumnsWrapAndLinesContinueThroughTheEnds) {
    const std::vector<Point3> row = grid(5, 1, [](int, int c) {
        const float v = static_cast<float>(c);
        return Point3{v, v * v, -v};
    });
    std::vector<Point3> out(6);
    InsertMidColumn(5, 1, 4, row.data(), out.data());
    EXPECT_EQ(out[5], midpoint(row[4], row[0]));
    EXPECT_EQ(out[4], row[4]);
    // After column 0 the B-spline point weighs 1, 23, 23, 1 / 48, taking its first
    // neighbour from the far end of the row.
    InsertBSplineColumn(5, 1, 0, row.data(), out.data());
    EXPECT_TRUE(near(out[1], (row[4] + row[0] * 23.0f + row[1] * 23.0f + row[2]) * (1.0f / 48.0f)));

    // C = 9: past the first row the column continues at column (j + 4) mod 9; past the last
    // row likewise.
    const std::vector<Point3> src = grid(9, 3, [](int r, int c) {
        return Point3{static_cast<float>(c), static_cast<float>(r * r), static_cast<float>(r + c)};
    });
    auto at = [&](int r, int c) { return src[static_cast<size_t>(r * 9 + c)]; };
    std::vector<Point3> dst(9 * 4);
    InsertCatmullRomLine(9, 3, 0, src.data(), dst.data());
    EXPECT_TRUE(near(dst[9], CatmullRomPoint(at(1, 4), at(0, 0), at(1, 0), at(2, 0), 0.5f)));
    EXPECT_EQ(dst[3 * 9 + 8], at(2, 8));
    InsertBSplineLine(9, 3, 1, src.data(), dst.data());
    EXPECT_TRUE(near(dst[2 * 9 + 6], BSplinePoint(at(0, 6), at(1, 6), at(2, 6), at(2, 1), 0.5f)));
}

TEST(CurveMetrics, BendAndIncomingLength) {
    // A straight run is negative, a point where the row turns back is positive.
    const Point3 row[4] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1.5f, 0, 0}};
    float bend[4];
    float inLength[4];
    ColumnShapeMetrics(4, 1, row, bend, inLength);
    EXPECT_FLOAT_EQ(bend[1], -1.0f);
    EXPECT_FLOAT_EQ(bend[2], 0.5f);
    EXPECT_FLOAT_EQ(inLength[0], 1.5f); // closed: arriving from the last point
}

TEST(CurvePoints, EndsAndMidpoints) {
    const Point3 p0{0, 0, 0};
    const Point3 p1{1, 2, 0};
    const Point3 p2{3, 2, 1};
    const Point3 p3{4, 0, 5};
    EXPECT_EQ(CatmullRomPoint(p0, p1, p2, p3, 0.0f), p1);
    EXPECT_EQ(CatmullRomPoint(p0, p1, p2, p3, 1.0f), p2);
    EXPECT_TRUE(near(CatmullRomPoint(p0, p1, p2, p3, 0.5f),
                     (p1 * 9.0f + p2 * 9.0f - p0 - p3) * (1.0f / 16.0f)));
    EXPECT_TRUE(near(BSplinePoint(p0, p1, p2, p3, 0.0f), (p0 + p1 * 4.0f + p2) * (1.0f / 6.0f)));
    EXPECT_TRUE(near(BSplinePoint(p0, p1, p2, p3, 1.0f), (p1 + p2 * 4.0f + p3) * (1.0f / 6.0f)));
}

} // namespace
} // namespace tesk
