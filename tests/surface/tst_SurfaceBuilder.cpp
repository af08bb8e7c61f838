#include "SurfaceBuilder.h"

#include "CurvePrimitives.h"
#include "Messages.h"
#include "SPMesh.h"
#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

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
constexpr int32_t kPoleTypes[] = {0, 1, 51, 52, 53, 54};
constexpr int32_t kSmoothPoleTypes[] = {0, 51, 52, 53, 54};
constexpr int32_t kSheetTypes[] = {100, 152, 154};

struct Built {
    GridOutcome outcome;
    std::vector<Point3> grid;
    RecordingMessages messages;
};

Built buildRaw(SPMesh& mesh, int32_t type) {
    Built built;
    built.grid.assign(64 * 64, Point3{9, 9, 9});
    SurfaceBuilder builder;
    built.outcome = builder.buildGrid(mesh, type, built.messages, built.grid.data());
    return built;
}

Point3 lerp(Point3 a, Point3 b, float t) {
    return LinearPoint(a, b, t);
}

// The default shape under "L [1]": each line grows to the square of eight points
// (-1,-1) (0,-1) (1,-1) (1,0) (1,1) (0,1) (-1,1) (-1,0); the lines grow to nine rows at
// z = 1, 1, 0.5, 0, -0.5, -1, -1 between the poles, the second and eighth at half size.
TEST(SurfaceBuilder, DefaultShapeUnderLinearPoles) {
    SPMesh mesh;
    mesh.makeDefault();
    const Built b = buildRaw(mesh, DIM_POLES_LINEAR);
    ASSERT_EQ(b.outcome, GridOutcome::Resampled);
    EXPECT_TRUE(b.messages.texts.empty());
    const Point3* g = b.grid.data();

    const Point3 ring[8] = {{-1, -1, 0}, {0, -1, 0}, {1, -1, 0}, {1, 0, 0},
                            {1, 1, 0},   {0, 1, 0},  {-1, 1, 0}, {-1, 0, 0}};
    const int rowOfControl[] = {7, 15, 23, 31, 39, 47, 55};
    const float zOfControl[] = {1, 1, 0.5f, 0, -0.5f, -1, -1};
    const float scaleOfControl[] = {0.5f, 1, 1, 1, 1, 1, 0.5f};
    for (int i = 0; i < 7; ++i) {
        const int row = rowOfControl[i];
        for (int c = 0; c < 64; ++c) {
            const int s = c < 56 ? c / 8 : 7;
            const float t =
                c < 56 ? static_cast<float>(c % 8) / 8.0f : static_cast<float>(c - 56) / 7.0f;
            Point3 expected = lerp(ring[s], ring[(s + 1) % 8], t) * scaleOfControl[i];
            expected.z = zOfControl[i];
            EXPECT_TRUE(near(vertex(g, row, c), expected)) << "row " << row << " column " << c;
        }
    }
    // The first gap is seven steps from the pole to the half-size ring.
    EXPECT_TRUE(near(vertex(g, 3, 0), Point3{-3.0f / 14.0f, -3.0f / 14.0f, 1.0f}));
    EXPECT_TRUE(rowIsOnePoint(g, 0));
    EXPECT_TRUE(rowIsOnePoint(g, 63));
    EXPECT_EQ(vertex(g, 0, 0), (Point3{0, 0, 1}));
    EXPECT_EQ(vertex(g, 63, 0), (Point3{0, 0, -1}));
    for (int r = 0; r < 64; ++r) {
        EXPECT_EQ(vertex(g, r, 63), vertex(g, r, 0)) << r;
    }
}

// "PL [1]" uses lines 1 and 2 only; each grows to nine open points and the rows to nine
// planes a quarter apart.
TEST(SurfaceBuilder, DefaultShapeUnderLinearSheet) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.setWorkPoint(0, 0, Point3{5, 5, 5});
    const Built b = buildRaw(mesh, DIM_SHEET_LINEAR);
    ASSERT_EQ(b.outcome, GridOutcome::Resampled);
    const Point3* g = b.grid.data();
    const Point3 row[9] = {{-1, -1, 0}, {-0.5f, -1, 0}, {0, -1, 0}, {0.5f, -1, 0}, {1, -1, 0},
                           {1, 0, 0},   {1, 1, 0},      {0, 1, 0},  {-1, 1, 0}};
    for (int r = 0; r < 64; ++r) {
        const float z = r < 7 ? 1.0f - 0.25f * static_cast<float>(r) / 7.0f
                              : 0.75f - static_cast<float>(r - 7) / 32.0f;
        for (int c : {0, 8, 13, 32, 56, 60, 63}) {
            const int s = c < 56 ? c / 8 : 7;
            const float t =
                c < 56 ? static_cast<float>(c % 8) / 8.0f : static_cast<float>(c - 56) / 7.0f;
            Point3 expected = lerp(row[s], row[s + 1], t);
            expected.z = z;
            EXPECT_TRUE(near(vertex(g, r, c), expected)) << "row " << r << " column " << c;
        }
    }
    // Sheets leave the end lines alone.
    EXPECT_EQ(mesh.workPoint(0, 0), (Point3{5, 5, 5}));
    EXPECT_EQ(mesh.workPoint(1, 3), (Point3{0, 0, -1}));
}

TEST(SurfaceBuilder, PoleTypesWriteTheCentroidsIntoTheEndLines) {
    for (int32_t type : kPoleTypes) {
        SPMesh mesh;
        makeSphere(mesh, 6, 5);
        mesh.setPoint(2, 0, Point3{7, 7, 7});
        mesh.setWorkPoint(3, 4, Point3{-7, 7, 7});
        const Point3 committedTop = mesh.line(0).points[2];
        buildRaw(mesh, type);
        Point3 top;
        Point3 bottom;
        for (int j = 0; j < 6; ++j) {
            top += mesh.workPoint(j, 1);
            bottom += mesh.workPoint(j, 3);
        }
        top *= 1.0f / 6.0f;
        bottom *= 1.0f / 6.0f;
        for (int j = 0; j < 6; ++j) {
            EXPECT_EQ(mesh.workPoint(j, 0), top) << type;
            EXPECT_EQ(mesh.workPoint(j, 4), bottom) << type;
        }
        EXPECT_EQ(mesh.line(0).points[2], committedTop);
    }
}

TEST(SurfaceBuilder, ClosedRowsRepeatTheSeamOnlyWhenGrown) {
    for (int32_t type : kSmoothPoleTypes) {
        for (int points : {6, 8}) {
            SPMesh mesh;
            makeSphere(mesh, points, 7);
            const Built b = buildRaw(mesh, type);
            ASSERT_EQ(b.outcome, GridOutcome::Resampled);
            // Through the first pole, columns 0 and 63 continue to different opposite columns
            // (32 and 31), so the smooth types across the lines open the seam in the first gap.
            const int firstRow = type == DIM_POLES_CR || type == DIM_POLES_BSPLINE ? 7 : 0;
            for (int r = firstRow; r < 64; ++r) {
                EXPECT_TRUE(near(vertex(b.grid.data(), r, 63), vertex(b.grid.data(), r, 0), 1e-6f))
                    << "type " << type << " row " << r;
            }
        }
        for (int points : {9, 12, 16}) {
            SPMesh mesh;
            makeSphere(mesh, points, 7);
            const Built b = buildRaw(mesh, type);
            ASSERT_EQ(b.outcome, GridOutcome::Resampled);
            EXPECT_FALSE(near(vertex(b.grid.data(), 20, 63), vertex(b.grid.data(), 20, 0), 1e-3f))
                << "type " << type << " points " << points;
        }
    }
}

TEST(SurfaceBuilder, BSplineRowsDoNotPassThroughTheirFirstPoint) {
    // Key regime, 12 points: "S [2]" row 7 of 12 lines is line 1 itself across the lines,
    // and its first sample is (P[11] + 4 P[0] + P[1]) / 6.
    SPMesh mesh;
    makeSphere(mesh, 12, 12);
    const Built b = buildRaw(mesh, DIM_POLES_BSPLINE_ALONG);
    const SPLine& line = mesh.line(1);
    const Point3 expected =
        (line.workPoints[11] + line.workPoints[0] * 4.0f + line.workPoints[1]) * (1.0f / 6.0f);
    EXPECT_TRUE(near(vertex(b.grid.data(), 7, 0), expected));
    const Built cr = buildRaw(mesh, DIM_POLES_CR_ALONG);
    EXPECT_TRUE(near(vertex(cr.grid.data(), 7, 0), line.workPoints[0]));
}

TEST(SurfaceBuilder, PolesOfTheSmoothAcrossTypes) {
    // An off-centre shape, so opposite columns are not symmetric about the poles.
    for (int lines : {7, 12}) {
        SPMesh mesh;
        makeShape(mesh, 10, lines, [&](int i, int j) {
            const float a = 6.2831853f * static_cast<float>(j) / 10.0f;
            const float r =
                i == 0 || i == lines - 1 ? 0.0f : 1.0f + 0.3f * static_cast<float>(j % 3);
            return Point3{r * std::cos(a) + 0.5f, r * std::sin(a), static_cast<float>(-i)};
        });
        const Built cr = buildRaw(mesh, DIM_POLES_CR);
        EXPECT_TRUE(rowIsOnePoint(cr.grid.data(), 0)) << lines;
        EXPECT_TRUE(rowIsOnePoint(cr.grid.data(), 63)) << lines;
        const Built bs = buildRaw(mesh, DIM_POLES_BSPLINE);
        EXPECT_FALSE(rowIsOnePoint(bs.grid.data(), 0)) << lines;
        EXPECT_TRUE(rowIsOnePoint(bs.grid.data(), 63)) << lines;
        EXPECT_EQ(vertex(bs.grid.data(), 63, 5), mesh.workPoint(0, lines - 1));
    }
    // Key regime across (12 lines): row 0 of "S [4]" continues each meridian through the pole,
    // (row1[j + 32] + 4 pole + row1[j]) / 6, where row 1 is line 1 resampled along the lines,
    // which "S [2]" shows unchanged as its row 7.
    SPMesh mesh;
    makeShape(mesh, 10, 12, [](int i, int j) {
        const float a = 6.2831853f * static_cast<float>(j) / 10.0f;
        const float r = i == 0 || i == 11 ? 0.0f : 1.0f + 0.3f * static_cast<float>(j % 3);
        return Point3{r * std::cos(a) + 0.5f, r * std::sin(a), static_cast<float>(-i)};
    });
    const Built bs = buildRaw(mesh, DIM_POLES_BSPLINE);
    const Built along = buildRaw(mesh, DIM_POLES_BSPLINE_ALONG);
    const Point3 pole = mesh.workPoint(0, 0);
    for (int j : {0, 5, 31, 40}) {
        const Point3 expected = (vertex(along.grid.data(), 7, (j + 32) % 64) + pole * 4.0f +
                                 vertex(along.grid.data(), 7, j)) *
                                (1.0f / 6.0f);
        EXPECT_TRUE(near(vertex(bs.grid.data(), 0, j), expected, 1e-5f)) << j;
    }
}

TEST(SurfaceBuilder, SheetRowsStartAndEndPerRegime) {
    for (int32_t type : kSheetTypes) {
        SPMesh mesh;
        makeSheet(mesh, 7, 6); // open grow regime
        const Built b = buildRaw(mesh, type);
        ASSERT_EQ(b.outcome, GridOutcome::Resampled);
        for (int r : {0, 63}) {
            const int line = r == 0 ? 1 : 4;
            EXPECT_TRUE(near(vertex(b.grid.data(), r, 0), mesh.workPoint(0, line), 1e-5f)) << type;
            EXPECT_TRUE(near(vertex(b.grid.data(), r, 63), mesh.workPoint(6, line), 1e-5f)) << type;
        }
    }
    // Key regime along with the half-length phantom: the B-spline rows stop short.
    for (int32_t type : {DIM_SHEET_BSPLINE_ALONG, DIM_SHEET_BSPLINE}) {
        SPMesh mesh;
        makeSheet(mesh, 13, 6);
        const Built b = buildRaw(mesh, type);
        ASSERT_EQ(b.outcome, GridOutcome::Resampled);
        const SPLine& first = mesh.line(1);
        const Point3 shortEnd =
            (first.workPoints[11] * 0.5f + first.workPoints[12] * 5.5f) * (1.0f / 6.0f);
        EXPECT_TRUE(near(vertex(b.grid.data(), 0, 0), first.workPoints[0], 1e-5f)) << type;
        EXPECT_TRUE(near(vertex(b.grid.data(), 0, 63), shortEnd, 1e-5f)) << type;
    }
    SPMesh mesh;
    makeSheet(mesh, 13, 6);
    const Built linear = buildRaw(mesh, DIM_SHEET_LINEAR);
    EXPECT_EQ(vertex(linear.grid.data(), 63, 63), mesh.workPoint(12, 4));
}

TEST(SurfaceBuilder, MirroredSheetKeepsItsEndRowsInTheKeyRegime) {
    // 14 lines: 12 used rows, key regime across the lines with mirrored end rows.
    SPMesh mesh;
    makeSheet(mesh, 9, 14);
    const Built ps4 = buildRaw(mesh, DIM_SHEET_BSPLINE);
    const Built ps2 = buildRaw(mesh, DIM_SHEET_BSPLINE_ALONG);
    ASSERT_EQ(ps4.outcome, GridOutcome::Resampled);
    for (int c = 0; c < 64; c += 7) {
        EXPECT_TRUE(near(vertex(ps4.grid.data(), 0, c), vertex(ps2.grid.data(), 0, c), 1e-5f));
        EXPECT_EQ(vertex(ps4.grid.data(), 63, c), vertex(ps2.grid.data(), 63, c));
    }
}

// 12 lines without important lines: keys 0, 1, 2, 3, 4, 5, 7, 9, 11 and segment counts
// 8, 8, 8, 8, 8, 4, 4, 4, 4, 4, 4, so line i lands on row 7 + 8 (i - 1) up to line 5, then
// every four rows.
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
            EXPECT_EQ(vertex(b.grid.data(), rowOfLine[i], c), mesh.workPoint(c, i)) << i;
        }
    }
    // Between lines 6 and 7 (rows 43 and 47) the four samples step by a quarter.
    EXPECT_TRUE(near(vertex(b.grid.data(), 45, 17),
                     lerp(mesh.workPoint(17, 6), mesh.workPoint(17, 7), 0.5f)));
    EXPECT_TRUE(rowIsOnePoint(b.grid.data(), 0));
    EXPECT_TRUE(rowIsOnePoint(b.grid.data(), 63));
}

// The columns at which the control points of a line appear in the grid row that holds it.
std::vector<int> columnsOfControlPoints(const Built& b, const SPLine& line) {
    std::vector<int> columns;
    for (int r = 0; r < 64; ++r) {
        if (!(vertex(b.grid.data(), r, 0) == line.workPoints[0])) {
            continue;
        }
        for (const Point3& p : line.workPoints) {
            int found = -1;
            for (int c = 0; c < 64 && found < 0; ++c) {
                found = vertex(b.grid.data(), r, c) == p ? c : -1;
            }
            columns.push_back(found);
        }
        break;
    }
    return columns;
}

TEST(SurfaceBuilder, ImportantColumnsStartSpans) {
    // Closed, 12 points: every span gets eight samples, so a key column lands on a multiple
    // of eight. The shape's own picks put neither column 4 nor column 7 there.
    SPMesh mesh;
    makeShape(mesh, 12, 5, [](int i, int j) {
        const float a = 6.2831853f * static_cast<float>(j) / 12.0f;
        const float r = 1.0f + (j == 2 || j == 9 ? 0.6f : 0.0f);
        return Point3{r * std::cos(a), r * std::sin(a), static_cast<float>(i)};
    });
    const std::vector<int> plain =
        columnsOfControlPoints(buildRaw(mesh, DIM_POLES_LINEAR), mesh.line(2));
    ASSERT_EQ(plain.size(), 12u);
    ASSERT_FALSE(plain[4] % 8 == 0 && plain[7] % 8 == 0);
    mesh.vlevel[4] = LEVEL_IMPORTANT;
    mesh.vlevel[7] = LEVEL_IMPORTANT;
    const std::vector<int> keyed =
        columnsOfControlPoints(buildRaw(mesh, DIM_POLES_LINEAR), mesh.line(2));
    ASSERT_EQ(keyed.size(), 12u);
    EXPECT_EQ(keyed[0], 0);
    EXPECT_EQ(keyed[4] % 8, 0) << keyed[4];
    EXPECT_EQ(keyed[7] % 8, 0) << keyed[7];
    // Eight keys in all, each at the start of a span.
    int atSpanStarts = 0;
    for (int c : keyed) {
        atSpanStarts += c % 8 == 0 ? 1 : 0;
    }
    EXPECT_EQ(atSpanStarts, 8);
}

// "L [2]" with 4 points and 5 lines: 32 interpolated columns then 32 copies of point 0;
// rows 0 .. 31 interpolated, the rest 0.95 times the south pole.
TEST(SurfaceBuilder, FixedSubdivisionOfASmallShape) {
    SPMesh mesh;
    makeSphere(mesh, 4, 5);
    const Built b = buildRaw(mesh, DIM_POLES_FIXED);
    ASSERT_EQ(b.outcome, GridOutcome::Resampled);
    const Point3* g = b.grid.data();
    const Point3 fill = mesh.workPoint(0, 4) * 0.95f;
    for (int r = 32; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            ASSERT_EQ(vertex(g, r, c), fill) << r << " " << c;
        }
    }
    const int rowOfLine[] = {0, 7, 15, 23, 31};
    for (int i = 0; i < 5; ++i) {
        const SPLine& line = mesh.line(i);
        for (int c = 0; c < 64; ++c) {
            const Point3 expected =
                c < 32 ? lerp(line.workPoints[static_cast<size_t>(c / 8)],
                              line.workPoints[static_cast<size_t>((c / 8 + 1) % 4)],
                              static_cast<float>(c % 8) / 8.0f)
                       : line.workPoints[0];
            EXPECT_TRUE(near(vertex(g, rowOfLine[i], c), expected)) << i << " " << c;
        }
    }
    EXPECT_TRUE(near(vertex(g, 11, 40), lerp(mesh.workPoint(0, 1), mesh.workPoint(0, 2), 0.5f)));
    EXPECT_TRUE(near(vertex(g, 3, 12), lerp(vertex(g, 0, 12), vertex(g, 7, 12), 3.0f / 7.0f)));
}

// Cases the editor never creates still give a defined grid: the gathered points, rest zero.
void expectGathered(const Built& b, const SPMesh& mesh, int firstLine, int rows, int columns) {
    ASSERT_EQ(b.outcome, GridOutcome::Gathered);
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            const Point3 expected =
                r < rows && c < columns ? mesh.workPoint(c, r + firstLine) : Point3{};
            ASSERT_EQ(vertex(b.grid.data(), r, c), expected) << r << " " << c;
        }
    }
}

TEST(SurfaceBuilder, UnknownTypeIsReportedAndEncodesTheGatheredPoints) {
    SPMesh mesh;
    makeSphere(mesh, 6, 5);
    const Built poles = buildRaw(mesh, 2);
    EXPECT_EQ(poles.messages.texts, std::vector<std::string>{kUnknownTypeMessage});
    EXPECT_EQ(std::string(kUnknownTypeMessage), "タイプ指定がされていません。");
    expectGathered(poles, mesh, 0, 5, 6);

    SPMesh sheet;
    makeSheet(sheet, 6, 5);
    const Built sheetBuilt = buildRaw(sheet, 300);
    EXPECT_EQ(sheetBuilt.messages.texts.size(), 1u);
    expectGathered(sheetBuilt, sheet, 1, 3, 6);
}

TEST(SurfaceBuilder, PassRegimeNeedsSixtyFourSamples) {
    SPMesh mesh;
    makeSphere(mesh, 20, 5);
    for (int32_t type : {0, 53, 100, 154}) {
        const Built b = buildRaw(mesh, type);
        EXPECT_TRUE(b.messages.texts.empty());
        expectGathered(b, mesh, type < 100 ? 0 : 1, type < 100 ? 5 : 3, 20);
    }
    // 63 lines of 64 points, the largest project file: along passes, across cannot.
    SPMesh big;
    makeSphere(big, 64, 63);
    for (int32_t type : kAllTypes) {
        const Built b = buildRaw(big, type);
        expectGathered(b, big, type < 100 ? 0 : 1, type < 100 ? 63 : 61, 64);
    }
}

TEST(SurfaceBuilder, InvalidDivisionIsReported) {
    SPMesh mesh;
    makeSphere(mesh, 16, 12);
    for (int c = 1; c <= 7; ++c) {
        mesh.vlevel[static_cast<size_t>(c)] = LEVEL_IMPORTANT; // leaves 8 .. 15 as one span
    }
    const Built along = buildRaw(mesh, DIM_POLES_CR);
    EXPECT_EQ(along.messages.texts, std::vector<std::string>{kInvalidDivisionMessage});
    EXPECT_EQ(std::string(kInvalidDivisionMessage), "分割ポイントの指定が無効です。");
    expectGathered(along, mesh, 0, 12, 16);

    SPMesh lines;
    makeSphere(lines, 6, 12);
    lines.hlevel.assign(12, LEVEL_IMPORTANT); // twelve keys: more than eight spans
    const Built across = buildRaw(lines, DIM_POLES_LINEAR);
    EXPECT_EQ(across.messages.texts, std::vector<std::string>{kInvalidDivisionMessage});
    expectGathered(across, lines, 0, 12, 6);
}

TEST(SurfaceBuilder, FixedSubdivisionBeyondItsLimits) {
    for (auto [points, lines] : {std::pair{9, 5}, std::pair{4, 10}}) {
        SPMesh mesh;
        makeSphere(mesh, points, lines);
        const Built b = buildRaw(mesh, DIM_POLES_FIXED);
        EXPECT_TRUE(b.messages.texts.empty());
        expectGathered(b, mesh, 0, lines, points);
    }
}

TEST(SurfaceBuilder, TooFewLinesLeaveTheShapeAlone) {
    for (int32_t type : kAllTypes) {
        for (int lines : {1, 2, 3}) {
            SPMesh mesh;
            makeSheet(mesh, 5, lines);
            const Point3 before = mesh.workPoint(2, 0);
            const Built b = buildRaw(mesh, type);
            const bool poles = type < 100;
            if (poles && lines == 3) {
                EXPECT_EQ(b.outcome, GridOutcome::Resampled) << type;
                continue;
            }
            EXPECT_EQ(mesh.workPoint(2, 0), before) << type;
            expectGathered(b, mesh, poles ? 0 : 1, poles ? lines : std::max(lines - 2, 0), 5);
        }
    }
}

TEST(SurfaceBuilder, LinesOfDifferentLengths) {
    for (int32_t type : kAllTypes) {
        SPMesh mesh;
        makeSphere(mesh, 8, 6);
        mesh.lines[2]->points.resize(5);
        mesh.lines[2]->workPoints.resize(5);
        mesh.lines[3]->points.resize(12, Point3{3, 3, 3});
        mesh.lines[3]->workPoints.resize(12, Point3{3, 3, 3});
        mesh.lines[5]->points.resize(2);
        mesh.lines[5]->workPoints.resize(2);
        const Built b = buildRaw(mesh, type);
        EXPECT_EQ(b.outcome, GridOutcome::Resampled) << type;
        EXPECT_EQ(mesh.line(5).workPoints.size(), 2u);
        const Built gathered = buildRaw(mesh, 7);
        EXPECT_EQ(vertex(gathered.grid.data(), 2, 6), Point3{}); // missing points count as zero
        EXPECT_EQ(vertex(gathered.grid.data(), 3, 7), mesh.workPoint(7, 3));
        EXPECT_EQ(vertex(gathered.grid.data(), 3, 8), Point3{}); // longer lines are cut
    }
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
    EXPECT_EQ(mesh.mapWidth, 0);

    mesh.makeDefault();
    mesh.SPDimType = DIM_POLES_CR;
    ASSERT_TRUE(BuildSurface(mesh, DIM_POLES_LINEAR, messages));
    EXPECT_EQ(mesh.mapWidth, 64);
    EXPECT_EQ(mesh.mapHeight, 64);
    EXPECT_EQ(mesh.SPDimType, DIM_POLES_LINEAR);
    ASSERT_EQ(mesh.map.size(), 4096u);
    ASSERT_EQ(mesh.grid.size(), 4096u);
    EXPECT_EQ(mesh.halfExtent, (Point3{1, 1, 1}));
    // The poles are the extremes of Z: row 0 codes Z 255, row 63 codes Z 0.
    EXPECT_EQ(mesh.map[0], 127u | 127u << 8 | 255u << 16);
    EXPECT_EQ(mesh.map[63 * 64 + 20], 127u | 127u << 8);
    for (const Point3& p : mesh.grid) {
        ASSERT_GE(p.x, 0.0f);
        ASSERT_LE(p.x, 1.0001f);
    }
    EXPECT_TRUE(messages.texts.empty());
    ASSERT_TRUE(BuildSurface(mesh, DIM_POLES_CR, messages));
    EXPECT_EQ(mesh.SPDimType, DIM_POLES_CR);
    EXPECT_TRUE(messages.texts.empty());

    ASSERT_TRUE(BuildSurface(mesh, 77, messages));
    EXPECT_EQ(mesh.SPDimType, 77);
    EXPECT_EQ(messages.texts.size(), 1u);
}

} // namespace
} // namespace tesk
