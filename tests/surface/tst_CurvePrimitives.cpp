#include "CurvePrimitives.h"

#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesk {
namespace {

using testing::near;

std::vector<Point3> grid(int C, int R, Point3 (*f)(int, int)) {
    std::vector<Point3> g(static_cast<size_t>(C * R));
    for (int r = 0; r < R; ++r) {
        for (int c = 0; c < C; ++c) {
            g[static_cast<size_t>(r * C + c)] = f(r, c);
        }
    }
    return g;
}

TEST(LongestRowSegment, SingleInteriorPointsPickRowOneColumnZero) {
    const std::vector<Point3> g(4 * 4, Point3{1, 2, 3});
    EXPECT_EQ(LongestRowSegment(4, 4, g.data(), true), 4);
}

TEST(LongestRowSegment, ClosedSearchSkipsEndRowsAndSeesTheWrap) {
    // Row 0 has a huge jump that only the open search may see; row 2's wrap segment is
    // the longest interior segment.
    std::vector<Point3> g = grid(4, 4, [](int r, int c) {
        return Point3{static_cast<float>(c), static_cast<float>(r), 0};
    });
    g[1] = {100, 0, 0};
    g[2 * 4 + 3] = {5, 2, 0};
    EXPECT_EQ(LongestRowSegment(4, 4, g.data(), true), 2 * 4 + 3);
    EXPECT_EQ(LongestRowSegment(4, 4, g.data(), false), 0);
    EXPECT_EQ(LongestRowSegment(4, 2, g.data(), true), -1);
    EXPECT_EQ(LongestRowSegment(4, 0, g.data(), false), -1);
}

TEST(LongestRowSegment, FirstOfEqualMaximaWins) {
    const std::vector<Point3> g = grid(3, 2, [](int, int c) {
        return Point3{static_cast<float>(c) * 2.0f, 0, 0};
    });
    EXPECT_EQ(LongestRowSegment(3, 2, g.data(), false), 0);
}

TEST(LongestLineGap, WidestGapOnTheUpperRow) {
    std::vector<Point3> g = grid(3, 3, [](int r, int c) {
        return Point3{static_cast<float>(c), static_cast<float>(r), 0};
    });
    g[2 * 3 + 1].y = 7.0f;
    EXPECT_EQ(LongestLineGap(3, 3, g.data()), 3 + 1);
    EXPECT_EQ(LongestLineGap(3, 1, g.data()), -1);
}

TEST(ColumnInsertions, NewPointAfterTheLastColumnWrapsToColumnZero) {
    const std::vector<Point3> src = grid(4, 2, [](int r, int c) {
        return Point3{static_cast<float>(c * c), static_cast<float>(r), 1};
    });
    std::vector<Point3> dst(5 * 2);
    InsertMidColumn(4, 2, 3, src.data(), dst.data());
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(dst[static_cast<size_t>(r * 5 + c)], src[static_cast<size_t>(r * 4 + c)]);
        }
        EXPECT_EQ(dst[static_cast<size_t>(r * 5 + 4)],
                  midpoint(src[static_cast<size_t>(r * 4 + 3)], src[static_cast<size_t>(r * 4)]));
    }
}

TEST(ColumnInsertions, SmoothInsertionsUseTheirCurveAtHalf) {
    const std::vector<Point3> src = grid(5, 1, [](int, int c) {
        const float v = static_cast<float>(c);
        return Point3{v, v * v, -v};
    });
    std::vector<Point3> cr(6);
    std::vector<Point3> bs(6);
    InsertCatmullRomColumn(5, 1, 1, src.data(), cr.data());
    InsertBSplineColumn(5, 1, 0, src.data(), bs.data());
    EXPECT_TRUE(near(cr[2], CatmullRomPoint(src[0], src[1], src[2], src[3], 0.5f)));
    EXPECT_EQ(cr[3], src[2]);
    // k = 0 takes its previous point from the far end of the row.
    const Point3 expected = (src[4] + src[0] * 23.0f + src[1] * 23.0f + src[2]) * (1.0f / 48.0f);
    EXPECT_TRUE(near(bs[1], expected));
}

TEST(LineInsertions, ContinueThroughTheEndRowsAtTheOppositeColumn) {
    // C = 9: the partner of column 0 is column 4.
    const std::vector<Point3> src = grid(9, 3, [](int r, int c) {
        return Point3{static_cast<float>(c), static_cast<float>(r * r), static_cast<float>(r + c)};
    });
    auto at = [&](int r, int c) { return src[static_cast<size_t>(r * 9 + c)]; };
    std::vector<Point3> dst(9 * 4);
    InsertCatmullRomLine(9, 3, 0, src.data(), dst.data());
    EXPECT_TRUE(near(dst[9], CatmullRomPoint(at(1, 4), at(0, 0), at(1, 0), at(2, 0), 0.5f)));
    EXPECT_EQ(dst[0], at(0, 0));
    EXPECT_EQ(dst[2 * 9 + 3], at(1, 3));
    EXPECT_EQ(dst[3 * 9 + 8], at(2, 8));

    InsertBSplineLine(9, 3, 1, src.data(), dst.data());
    EXPECT_TRUE(near(dst[2 * 9 + 6], BSplinePoint(at(0, 6), at(1, 6), at(2, 6), at(2, 1), 0.5f)));
    InsertMidLine(9, 3, 1, src.data(), dst.data());
    EXPECT_EQ(dst[2 * 9 + 6], midpoint(at(1, 6), at(2, 6)));
    EXPECT_EQ(dst[3 * 9 + 6], at(2, 6));
}

TEST(ShapeMetrics, BendAndIncomingLengthOfAClosedRow) {
    // A square: every corner turns at right angles, so every bend is 0 and every side is 2.
    const Point3 square[4] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    float bend[4];
    float inLength[4];
    ColumnShapeMetrics(4, 1, square, bend, inLength);
    for (int c = 0; c < 4; ++c) {
        EXPECT_FLOAT_EQ(bend[c], 0.0f);
        EXPECT_FLOAT_EQ(inLength[c], 2.0f);
    }
    // A straight run is strongly negative; a spike that turns back is positive.
    const Point3 row[4] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1.5f, 0, 0}};
    ColumnShapeMetrics(4, 1, row, bend, inLength);
    EXPECT_FLOAT_EQ(bend[1], -1.0f);
    EXPECT_FLOAT_EQ(bend[2], 0.5f);
    EXPECT_FLOAT_EQ(inLength[0], 1.5f);
}

TEST(ShapeMetrics, LineMetricsAreAllZero) {
    const std::vector<Point3> g = grid(3, 4, [](int r, int c) {
        return Point3{static_cast<float>(r * 7 + c), static_cast<float>(c), 2};
    });
    std::vector<float> bend(9, 5.0f);
    std::vector<float> inLength(9, 5.0f);
    LineShapeMetrics(3, 4, g.data(), bend.data(), inLength.data());
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(bend[i], 0.0f);
        EXPECT_EQ(inLength[i], 0.0f);
    }
}

TEST(CubicPoints, EndsAndMidpoints) {
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
    EXPECT_TRUE(near(BSplinePoint(p0, p1, p2, p3, 0.5f),
                     (p0 + p1 * 23.0f + p2 * 23.0f + p3) * (1.0f / 48.0f)));
    EXPECT_EQ(LinearPoint(p1, p2, 0.25f), (Point3{1.5f, 2.0f, 0.25f}));
}

} // namespace
} // namespace tesk
