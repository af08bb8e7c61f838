#include "SurfaceBuilder.h"

#include "CurvePrimitives.h"
#include "Messages.h"
#include "SPMesh.h"
#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tesk {
namespace {

using testing::makeShape;
using testing::makeSheet;
using testing::makeSphere;
using testing::near;
using testing::rowIsOnePoint;
using testing::vertex;

constexpr int32_t kAllTypes[] = {0, 1, 51, 52, 53, 54, 100, 152, 154};

struct Built {
    GridOutcome outcome;
    std::vector<Point3> grid;
    RecordingMessages messages;
    const Point3* g() const { return grid.data(); }
};

Built buildRaw(SPMesh& mesh, int32_t type) {
    Built built;
    built.grid.assign(64 * 64, Point3{9, 9, 9});
    SurfaceBuilder builder;
    built.outcome = builder.buildGrid(mesh, type, built.messages, built.grid.data());
    return built;
}

// Sample c of a row of eight closed (or nine open) points grown in the grow regime.
Point3 grownSample(const Point3* ring, int c) {
    const int s = c < 56 ? c / 8 : 7;
    const float t = c < 56 ? static_cast<float>(c % 8) / 8.0f : static_cast<float>(c - 56) / 7.0f;
    return LinearPoint(ring[s], ring[s + 1], t);
}

// The default shape under "L [1]": each line grows to the eight-point square below, the
// lines to nine rows at z = 1, 1, 0.5, 0, -0.5, -1, -1 between the poles, the second and
// eighth at half size. The first gap takes seven rows, each later one eight.
TEST(SurfaceBuilder, DefaultShapeUnderLinearPoles) {
    SPMesh mesh;
    mesh.makeDefault();
    const Built b = buildRaw(mesh, DIM_POLES_LINEAR);
    ASSERT_EQ(b.outcome, GridOutcome::Resampled);
    const Point3 ring[9] = {{-1, -1, 0}, {0, -1, 0}, {1, -1, 0}, {1, 0, 0},  {1, 1, 0},
                            {0, 1, 0},   {-1, 1, 0}, {-1, 0, 0}, {-1, -1, 0}};
    const float z[] = {1, 1, 0.5f, 0, -0.5f, -1, -1};
    const float scale[] = {0.5f, 1, 1, 1, 1, 1, 0.5f};
    for (int i = 0; i < 7; ++i) {
        for (int c = 0; c < 64; ++c) {
            Point3 expected = grownSample(ring, c) * scale[i];
            expected.z = z[i];
            EXPECT_TRUE(near(vertex(b.g(), 7 + 8 * i, c), expected)) << i << " " << c;
        }
    }
    EXPECT_TRUE(near(vertex(b.g(), 3, 0), Point3{-3.0f / 14.0f, -3.0f / 14.0f, 1.0f}));
    EXPECT_TRUE(rowIsOnePoint(b.g(), 0));
    EXPECT_TRUE(rowIsOnePoint(b.g(), 63));
    EXPECT_EQ(vertex(b.g(), 63, 0), (Point3{0, 0, -1}));
    for (int r = 0; r < 64; ++r) {
        EXPECT_EQ(vertex(b.g(), r, 63), vertex(b.g(), r, 0)) << r;
    }
}

// "PL [1]" uses lines 1 and 2 only; each grows to nine open points, the rows to nine planes a
// quarter apart; the end lines are left alone.
TEST(SurfaceBuilder, DefaultShapeUnderLinearSheet) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.setWorkPoint(0, 0, Point3{5, 5, 5});
    const Built b = buildRaw(mesh, DIM_SHEET_LINEAR);
    ASSERT_EQ(b.outcome, GridOutcome::Resampled);
    const Point3 row[9] = {{-1, -1, 0}, {-0.5f, -1, 0}, {0, -1, 0}, {0.5f, -1, 0}, {1, -1, 0},
                           {1, 0, 0},   {1, 1, 0},      {0, 1, 0},  {-1, 1, 0}};
    for (int r = 0; r < 64; ++r) {
        const float z = r < 7 ? 1.0f - 0.25f * static_cast<float>(r) / 7.0f
                              : 0.75f - static_cast<float>(r - 7) / 32.0f;
        for (int c : {0, 8, 13, 32, 60, 63}) {
            Point3 expected = grownSample(row, c);
            expected.z = z;
            EXPECT_TRUE(near(vertex(b.g(), r, c), expected)) << r << " " << c;
        }
    }
    EXPECT_EQ(mesh.workPoint(0, 0), (Point3{5, 5, 5}));
}

TEST(SurfaceBuilder, PoleTypesWriteTheCentroidsIntoTheEndLines) {
    for (int32_t type : {0, 1, 51, 52, 53, 54}) {
        SPMesh mesh;
        makeSphere(mesh, 6, 5);
        mesh.setPoint(2, 0, Point3{7, 7, 7});
        mesh.setWorkPoint(3, 4, Point3{-7, 7, 7});
        buildRaw(mesh, type);
        Point3 top;
        Point3 bottom;
        for (int j = 0; j < 6; ++j) {
            top += mesh.workPoint(j, 1);
            bottom += mesh.workPoint(j, 3);
        }
        for (int j = 0; j < 6; ++j) {
            EXPECT_EQ(mesh.workPoint(j, 0), top * (1.0f / 6.0f)) << type;
            EXPECT_EQ(mesh.workPoint(j, 4), bottom * (1.0f / 6.0f)) << type;
        }
        EXPECT_EQ(mesh.line(0).points[2], (Point3{7, 7, 7})); // committed points stay
    }
}

TEST(SurfaceBuilder, ClosedRowsRepeatTheSeamOnlyWhenGrown) {
    for (int32_t type : {0, 51, 52, 53, 54}) {
        SPMesh grown;
        makeSphere(grown, 8, 7);
        const Built b = buildRaw(grown, type);
        // Through the first pole, columns 0 and 63 continue to different opposite columns
        // (32 and 31), so the smooth types across the lines open the seam in the first gap.
        const int firstRow = type == DIM_POLES_CR || type == DIM_POLES_BSPLINE ? 7 : 0;
        for (int r = firstRow; r < 64; ++r) {
            EXPECT_TRUE(near(vertex(b.g(), r, 63), vertex(b.g(), r, 0), 1e-6f)) << type << " " << r;
        }
        SPMesh keyed;
        makeSphere(keyed, 12, 7);
        const Built k = buildRaw(keyed, type);
        EXPECT_FALSE(near(vertex(k.g(), 20, 63), vertex(k.g(), 20, 0), 1e-3f)) << type;
    }
    // Key regime, 12 lines: line 1 is row 7, and a B-spline row starts at
    // (P[11] + 4 P[0] + P[1]) / 6 where a Catmull-Rom row starts at P[0].
    SPMesh mesh;
    makeSphere(mesh, 12, 12);
    const std::vector<Point3>& p = mesh.line(1).workPoints;
    EXPECT_TRUE(near(vertex(buildRaw(mesh, DIM_POLES_BSPLINE_ALONG).g(), 7, 0),
                     (p[11] + p[0] * 4.0f + p[1]) * (1.0f / 6.0f)));
    EXPECT_TRUE(near(vertex(buildRaw(mesh, DIM_POLES_CR_ALONG).g(), 7, 0), p[0]));
}

TEST(SurfaceBuilder, PolesOfTheSmoothAcrossTypes) {
    // Off centre, so opposite columns are not symmetric about the poles.
    for (int lines : {7, 12}) {
        SPMesh mesh;
        makeShape(mesh, 10, lines, [&](int i, int j) {
            const float a = 6.2831853f * static_cast<float>(j) / 10.0f;
            const float r = 1.0f + 0.3f * static_cast<float>(j % 3);
            return Point3{r * std::cos(a) + 0.5f, r * std::sin(a), static_cast<float>(-i)};
        });
        const Built cr = buildRaw(mesh, DIM_POLES_CR);
        EXPECT_TRUE(rowIsOnePoint(cr.g(), 0) && rowIsOnePoint(cr.g(), 63)) << lines;
        const Built bs = buildRaw(mesh, DIM_POLES_BSPLINE);
        EXPECT_FALSE(rowIsOnePoint(bs.g(), 0)) << lines;
        EXPECT_EQ(vertex(bs.g(), 63, 5), mesh.workPoint(0, lines - 1));
        if (lines == 12) {
            // Row 0 continues each meridian through the pole: (row1[j + 32] + 4 pole +
            // row1[j]) / 6, where row 1 is line 1 resampled, which "S [2]" shows as row 7.
            const Built along = buildRaw(mesh, DIM_POLES_BSPLINE_ALONG);
            for (int j : {0, 5, 31, 40}) {
                const Point3 expected = (vertex(along.g(), 7, (j + 32) % 64) +
                                         mesh.workPoint(0, 0) * 4.0f + vertex(along.g(), 7, j)) *
                                        (1.0f / 6.0f);
                EXPECT_TRUE(near(vertex(bs.g(), 0, j), expected)) << j;
            }
        }
    }
}

TEST(SurfaceBuilder, SheetRowsStartAndEndPerRegime) {
    for (int32_t type : {100, 152, 154}) {
        for (int lines : {6, 14}) { // grow and key regime across the lines
            SPMesh mesh;
            makeSheet(mesh, 7, lines);
            const Built b = buildRaw(mesh, type);
            ASSERT_EQ(b.outcome, GridOutcome::Resampled);
            for (int r : {0, 63}) {
                const int line = r == 0 ? 1 : lines - 2;
                EXPECT_TRUE(near(vertex(b.g(), r, 0), mesh.workPoint(0, line), 1e-5f)) << type;
                EXPECT_TRUE(near(vertex(b.g(), r, 63), mesh.workPoint(6, line), 1e-5f)) << type;
            }
        }
    }
    // Key regime along the lines: the half-length phantom makes B-spline rows stop short.
    SPMesh mesh;
    makeSheet(mesh, 13, 6);
    const std::vector<Point3>& p = mesh.line(1).workPoints;
    for (int32_t type : {DIM_SHEET_BSPLINE_ALONG, DIM_SHEET_BSPLINE}) {
        const Built b = buildRaw(mesh, type);
        EXPECT_TRUE(near(vertex(b.g(), 0, 0), p[0], 1e-5f)) << type;
        EXPECT_TRUE(
            near(vertex(b.g(), 0, 63), (p[11] * 0.5f + p[12] * 5.5f) * (1.0f / 6.0f), 1e-5f))
            << type;
    }
    EXPECT_EQ(vertex(buildRaw(mesh, DIM_SHEET_LINEAR).g(), 63, 63), mesh.workPoint(12, 4));
}

// "PS [4]" mirrors the end lines, so its first and last rows are the used end lines as
// resampled along ("PS [2]", linear across, shows them unchanged), in both regimes.
TEST(SurfaceBuilder, MirroredEndLinesKeepTheEndRows) {
    for (auto [points, lines] : {std::pair{7, 6}, {13, 14}}) {
        SPMesh mesh;
        makeSheet(mesh, points, lines);
        const Built mirrored = buildRaw(mesh, DIM_SHEET_BSPLINE);
        const Built linear = buildRaw(mesh, DIM_SHEET_BSPLINE_ALONG);
        for (int r : {0, 63}) {
            for (int c = 0; c < 64; ++c) {
                EXPECT_TRUE(near(vertex(mirrored.g(), r, c), vertex(linear.g(), r, c), 1e-5f))
                    << points << " " << r << " " << c;
            }
        }
    }
}

// Keys 0 .. 7 and 12 of 13 open points leave four inside points in the last span: counts 2,
// 2, 2, 1, 1. Segment 10 gives one sample at its start, the last segment one at t = 1.
TEST(SurfaceBuilder, OpenRowEndingInASingleSampleSegment) {
    SPMesh mesh;
    makeShape(mesh, 13, 5, [](int i, int j) {
        return Point3{static_cast<float>(j), 1.5f * static_cast<float>(i), 0.2f * i};
    });
    for (int c = 1; c <= 7; ++c) {
        mesh.vlevel[static_cast<size_t>(c)] = LEVEL_IMPORTANT;
    }
    const std::vector<Point3>& p = mesh.line(1).workPoints;
    const Built linear = buildRaw(mesh, DIM_SHEET_LINEAR);
    ASSERT_EQ(linear.outcome, GridOutcome::Resampled);
    EXPECT_EQ(vertex(linear.g(), 0, 56), p[7]);
    EXPECT_TRUE(near(vertex(linear.g(), 0, 61), LinearPoint(p[9], p[10], 0.5f)));
    EXPECT_EQ(vertex(linear.g(), 0, 62), p[10]);
    EXPECT_EQ(vertex(linear.g(), 0, 63), p[12]);
    const Built smooth = buildRaw(mesh, DIM_SHEET_BSPLINE_ALONG);
    EXPECT_TRUE(
        near(vertex(smooth.g(), 0, 63), (p[11] * 0.5f + p[12] * 5.5f) * (1.0f / 6.0f), 1e-5f));
    EXPECT_TRUE(linear.messages.texts.empty() && smooth.messages.texts.empty());
}

// 12 lines: keys 0, 1, 2, 3, 4, 5, 7, 9, 11 and counts 8, 8, 8, 8, 8, 4, 4, 4, 4, 4, 4, so
// line i lands on row 7 + 8 (i - 1) up to line 5, then every four rows.
TEST(SurfaceBuilder, TwelveLinesLandOnTheirKeyRows) {
    SPMesh mesh;
    makeShape(mesh, 64, 12, [](int i, int j) {
        return Point3{static_cast<float>(j), static_cast<float>(i * i), std::sin(0.3f * j + i)};
    });
    const Built b = buildRaw(mesh, DIM_POLES_LINEAR);
    ASSERT_EQ(b.outcome, GridOutcome::Resampled);
    const int rowOfLine[] = {0, 7, 15, 23, 31, 39, 43, 47, 51, 55, 59, 63};
    for (int i = 1; i <= 10; ++i) {
        for (int c : {0, 17, 63}) {
            EXPECT_EQ(vertex(b.g(), rowOfLine[i], c), mesh.workPoint(c, i)) << i;
        }
    }
    // The first gap is seven steps: row 3 is three sevenths from the pole to line 1.
    EXPECT_TRUE(near(vertex(b.g(), 3, 17),
                     LinearPoint(mesh.workPoint(17, 0), mesh.workPoint(17, 1), 3.0f / 7.0f)));
    EXPECT_TRUE(near(vertex(b.g(), 45, 17),
                     LinearPoint(mesh.workPoint(17, 6), mesh.workPoint(17, 7), 0.5f)));
}

// "L [2]" with 4 points and 5 lines: 32 interpolated columns then 32 copies of point 0; rows
// 0 .. 31 interpolated (lines at rows 0, 7, 15, 23, 31), the rest 0.95 times the pole.
TEST(SurfaceBuilder, FixedSubdivisionOfASmallShape) {
    SPMesh mesh;
    makeSphere(mesh, 4, 5);
    const Built b = buildRaw(mesh, DIM_POLES_FIXED);
    ASSERT_EQ(b.outcome, GridOutcome::Resampled);
    const Point3 fill = mesh.workPoint(0, 4) * 0.95f;
    for (int i = 32 * 64; i < 64 * 64; ++i) {
        ASSERT_EQ(b.grid[static_cast<size_t>(i)], fill) << i;
    }
    const int rowOfLine[] = {0, 7, 15, 23, 31};
    for (int i = 0; i < 5; ++i) {
        const std::vector<Point3>& p = mesh.line(i).workPoints;
        for (int c = 0; c < 64; ++c) {
            const Point3 expected =
                c < 32 ? LinearPoint(p[static_cast<size_t>(c / 8)],
                                     p[static_cast<size_t>((c / 8 + 1) % 4)], (c % 8) / 8.0f)
                       : p[0];
            EXPECT_TRUE(near(vertex(b.g(), rowOfLine[i], c), expected)) << i << " " << c;
        }
    }
    EXPECT_TRUE(near(vertex(b.g(), 3, 12),
                     LinearPoint(vertex(b.g(), 0, 12), vertex(b.g(), 7, 12), 3.0f / 7.0f)));
}

// Cases the editor never creates still give a defined grid: the gathered points, rest zero.
void expectGathered(const Built& b, const SPMesh& mesh, int firstLine, int rows, int columns) {
    ASSERT_EQ(b.outcome, GridOutcome::Gathered);
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            const Point3 expected =
                r < rows && c < columns ? mesh.workPoint(c, r + firstLine) : Point3{};
            ASSERT_EQ(vertex(b.g(), r, c), expected) << r << " " << c;
        }
    }
}

TEST(SurfaceBuilder, UnresampledShapesGiveTheGatheredPoints) {
    SPMesh sphere;
    makeSphere(sphere, 6, 5);
    const Built unknown = buildRaw(sphere, 2);
    EXPECT_EQ(unknown.messages.texts, std::vector<std::string>{"タイプ指定がされていません。"});
    expectGathered(unknown, sphere, 0, 5, 6);
    SPMesh sheet;
    makeSheet(sheet, 6, 5);
    expectGathered(buildRaw(sheet, 199), sheet, 1, 3, 6);

    // Pass regime with other than 64 points; "L [2]" beyond 8 points or 9 lines: no message.
    for (auto [points, lines, type] : {std::tuple{20, 5, 0}, {20, 5, 154}, {9, 5, 1}, {4, 10, 1}}) {
        SPMesh mesh;
        makeSphere(mesh, points, lines);
        const Built b = buildRaw(mesh, type);
        EXPECT_TRUE(b.messages.texts.empty());
        expectGathered(b, mesh, type < 100 ? 0 : 1, type < 100 ? lines : lines - 2, points);
    }
    // The largest project file, 63 lines of 64 points: along passes, across cannot.
    SPMesh big;
    makeSphere(big, 64, 63);
    for (int32_t type : kAllTypes) {
        expectGathered(buildRaw(big, type), big, type < 100 ? 0 : 1, type < 100 ? 63 : 61, 64);
    }
}

TEST(SurfaceBuilder, InvalidDivisionIsReported) {
    SPMesh columns;
    makeSphere(columns, 16, 12);
    for (int c = 1; c <= 7; ++c) {
        columns.vlevel[static_cast<size_t>(c)] = LEVEL_IMPORTANT; // 8 .. 15 make one span
    }
    const Built along = buildRaw(columns, DIM_POLES_CR);
    EXPECT_EQ(along.messages.texts, std::vector<std::string>{"分割ポイントの指定が無効です。"});
    expectGathered(along, columns, 0, 12, 16);

    SPMesh lines;
    makeSphere(lines, 6, 12);
    lines.hlevel.assign(12, LEVEL_IMPORTANT); // twelve keys: more than eight spans
    const Built across = buildRaw(lines, DIM_POLES_LINEAR);
    EXPECT_EQ(across.messages.texts, std::vector<std::string>{kInvalidDivisionMessage});
    expectGathered(across, lines, 0, 12, 6);

    // Each direction's division is judged on its own, so both are reported, columns first.
    SPMesh both;
    makeSphere(both, 16, 17);
    for (int i = 1; i <= 7; ++i) {
        both.vlevel[static_cast<size_t>(i)] = LEVEL_IMPORTANT; // columns 8 .. 15: one span
        both.hlevel[static_cast<size_t>(i)] = LEVEL_IMPORTANT; // lines 8 .. 15: one span
    }
    const Built twice = buildRaw(both, DIM_POLES_LINEAR);
    EXPECT_EQ(twice.messages.texts,
              (std::vector<std::string>{kInvalidDivisionMessage, kInvalidDivisionMessage}));
    expectGathered(twice, both, 0, 17, 16);
}

TEST(SurfaceBuilder, TooFewLinesOrLinesOfDifferentLengths) {
    for (int32_t type : kAllTypes) {
        const bool poles = type < 100;
        for (int count : {1, 2}) {
            SPMesh mesh;
            makeSheet(mesh, 5, count + (poles ? 0 : 1)); // sheets: 0 or 1 used line
            const Point3 before = mesh.workPoint(2, 0);
            const Built b = buildRaw(mesh, type);
            EXPECT_EQ(mesh.workPoint(2, 0), before) << type;
            expectGathered(b, mesh, poles ? 0 : 1, poles ? count : count - 1, 5);
        }
        SPMesh mesh;
        makeSphere(mesh, 8, 6);
        for (auto [line, size] : {std::pair{2, 5}, {3, 12}, {5, 2}}) {
            mesh.lines[static_cast<size_t>(line)]->points.resize(static_cast<size_t>(size));
            mesh.lines[static_cast<size_t>(line)]->workPoints.resize(static_cast<size_t>(size));
        }
        EXPECT_EQ(buildRaw(mesh, type).outcome, GridOutcome::Resampled) << type;
        EXPECT_EQ(mesh.line(5).workPoints.size(), 2u);
    }
    // Missing points count as zero; longer lines are cut at line 0's length.
    SPMesh mesh;
    makeSphere(mesh, 8, 6);
    mesh.lines[2]->workPoints.resize(5);
    mesh.lines[2]->points.resize(5);
    expectGathered(buildRaw(mesh, 7), mesh, 0, 6, 8);
}

TEST(SurfaceBuilder, ReusedBuildersGiveTheSameGrids) {
    SurfaceBuilder reused;
    RecordingMessages messages;
    std::vector<Point3> grid(64 * 64);
    SPMesh big;
    makeSphere(big, 64, 63);
    SPMesh odd;
    makeSheet(odd, 13, 17);
    odd.vlevel[4] = LEVEL_IMPORTANT;
    for (int32_t type : kAllTypes) {
        reused.buildGrid(big, type, messages, grid.data());
        reused.buildGrid(odd, type, messages, grid.data());
        EXPECT_EQ(grid, buildRaw(odd, type).grid) << type;
    }
}

TEST(BuildSurface, StoresMapGridExtentsAndType) {
    SPMesh mesh;
    RecordingMessages messages;
    EXPECT_FALSE(BuildSurface(mesh, DIM_POLES_CR, messages));
    EXPECT_TRUE(mesh.map.empty());

    mesh.makeDefault();
    mesh.SPDimType = DIM_POLES_CR;
    ASSERT_TRUE(BuildSurface(mesh, DIM_POLES_LINEAR, messages));
    EXPECT_EQ(mesh.mapWidth, 64);
    EXPECT_EQ(mesh.mapHeight, 64);
    EXPECT_EQ(mesh.SPDimType, DIM_POLES_LINEAR);
    EXPECT_EQ(mesh.halfExtent, (Point3{1, 1, 1}));
    EXPECT_EQ(mesh.map[0], 127u | 127u << 8 | 255u << 16); // the top pole
    EXPECT_EQ(mesh.map[63 * 64 + 20], 127u | 127u << 8);   // the bottom pole
    EXPECT_EQ(mesh.grid[63 * 64].z, 0.00001f / 2.0f);      // normalised, kept in the shape
    ASSERT_TRUE(BuildSurface(mesh, 77, messages));
    EXPECT_EQ(mesh.SPDimType, 77);
    EXPECT_EQ(messages.texts.size(), 1u);
}

} // namespace
} // namespace tesk
