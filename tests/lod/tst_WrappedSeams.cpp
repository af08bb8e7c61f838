// Tubes and rings close in the world: at every level viewers build, the cylinder and torus
// stitchings' wrap (column 64 to 0, and for the torus row 64 to 0) is no wider a step than
// those between the level's neighbouring columns or rows, and the wrap is a step, not a
// repeated point.
#include "LodGrid.h"
#include "MapSide.h"
#include "Messages.h"
#include "SPMesh.h"
#include "SculptMapCheck.h"
#include "ShapeTypes.h"
#include "SurfaceBuilder.h"
#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tesk {
namespace {

using testing::makeShape;

// Two codes of slack: the map rounds every coordinate to a code.
constexpr float kCodeSlack = 2.0f / 255.0f;

struct Steps {
    float seam = 0.0f;       ///< largest step across the wrap
    float neighbours = 0.0f; ///< largest step between vertices as far apart elsewhere
    float seamRatio = 1e9f;  ///< smallest wrap step over its row's mean step
};

// At a level of `faces`, viewers' vertices stand lodSample(t) pixels along a row, and the last
// one wraps to pixel 0. The step across the wrap spans `span` pixels; it is measured against
// the steps between pixels as far apart that do not cross it, since at 6 faces the level's
// columns lie 10 or 11 pixels apart. `full` is the map read at 64 faces, (row, 64) = (row, 0).
Steps stepsOf(const LodGrid& full, int faces, bool acrossRows) {
    const auto at = [&](int line, int i) {
        return acrossRows ? full.at(i, line) : full.at(line, i);
    };
    const int span = kMapSide - lodSample(faces - 1, faces, kMapSide);
    Steps steps;
    for (int line = 0; line < kMapSide; ++line) {
        float sum = 0.0f;
        for (int i = 0; i + span < kMapSide; ++i) {
            const float d = length(at(line, i + span) - at(line, i));
            steps.neighbours = std::max(steps.neighbours, d);
            sum += d;
        }
        const float seam = length(at(line, kMapSide) - at(line, kMapSide - span));
        steps.seam = std::max(steps.seam, seam);
        const float mean = sum / static_cast<float>(kMapSide - span);
        if (mean > kCodeSlack) {
            steps.seamRatio = std::min(steps.seamRatio, seam / mean);
        }
    }
    return steps;
}

std::vector<uint32_t> pictureOf(SPMesh& mesh, int32_t type) {
    RecordingMessages messages;
    EXPECT_TRUE(BuildSurface(mesh, type, messages));
    return pictureOfMap(mesh.map);
}

// Every line a closed loop of `points` points, none repeated; the used lines 1 … lines - 2
// climb a wavy tube.
void makeTube(SPMesh& mesh, int points, int lines) {
    makeShape(mesh, points, lines, [&](int i, int j) {
        const double phi = 2.0 * M_PI * j / points;
        const double radius = 0.5 + 0.2 * std::sin(i * 1.3) + 0.05 * (j % 3);
        return Point3{static_cast<float>(radius * std::cos(phi)),
                      static_cast<float>(radius * std::sin(phi)), static_cast<float>(i) * 0.3f};
    });
}

// The used lines 1 … lines - 2 go once around the tube of a ring, each line once around the
// main axis; with repeatEnds the last point and the last used line repeat the first, as a
// ring built as a sheet needs.
void makeRing(SPMesh& mesh, int points, int lines, bool repeatEnds) {
    const int steps = repeatEnds ? points - 1 : points;
    const int used = repeatEnds ? lines - 3 : lines - 2;
    makeShape(mesh, points, lines, [&](int i, int j) {
        const double tube = 2.0 * M_PI * (i - 1) / used;
        const double around = 2.0 * M_PI * j / steps;
        const double radius = 1.0 + 0.35 * std::cos(tube);
        return Point3{static_cast<float>(radius * std::cos(around)),
                      static_cast<float>(radius * std::sin(around)),
                      static_cast<float>(0.35 * std::sin(tube))};
    });
}

// The net sizes that reach the grow regime (few points) and the key regime (many), the latter
// with an important column and line.
struct Net {
    int points;
    int lines;
    bool important;
};
constexpr Net kNets[] = {{5, 6, false}, {8, 10, false}, {12, 14, true}, {16, 17, false}};

void markImportant(SPMesh& mesh, const Net& net) {
    if (net.important) {
        mesh.vlevel[3] = LEVEL_IMPORTANT;
        mesh.hlevel[4] = LEVEL_IMPORTANT;
    }
}

void expectClosed(const std::vector<uint32_t>& picture, int stitch, bool acrossRows,
                  const char* what) {
    LodGrid full;
    ASSERT_TRUE(buildLodGrid(picture, kMapSide, kMapSide, stitch, kMapSide, full));
    for (int faces : {64, 32, 16, 8, 6}) {
        const Steps steps = stepsOf(full, faces, acrossRows);
        EXPECT_LE(steps.seam, steps.neighbours + kCodeSlack) << what << " at " << faces;
        if (faces == kMapSide) {
            EXPECT_GT(steps.seamRatio, 0.5f) << what << ": the wrap repeats a point";
        }
    }
}

// Tubes wrap their columns only; rings their rows too.
TEST(WrappedSeams, TubesAndRingsCloseAtEveryLevel) {
    for (const ShapeTypeInfo& info : kShapeTypes) {
        const bool ring = info.stitch == kStitchTorus;
        if (info.stitch != kStitchCylinder && !ring) {
            continue;
        }
        for (const Net& net : kNets) {
            SPMesh mesh;
            if (ring) {
                makeRing(mesh, net.points, net.lines, false);
            } else {
                makeTube(mesh, net.points, net.lines);
            }
            markImportant(mesh, net);
            SCOPED_TRACE(::testing::Message()
                         << info.caption << " " << net.points << " x " << net.lines);
            const std::vector<uint32_t> picture = pictureOf(mesh, info.value);
            expectClosed(picture, info.stitch, false, "columns");
            if (ring) {
                expectClosed(picture, info.stitch, true, "rows");
            }
        }
    }
}

// The measure finds a crack where there is one: the same ring built as a sheet ends a step
// short of its first line and column, and read as a torus it gapes.
TEST(WrappedSeams, ARingBuiltAsASheetGapesWhenWrapped) {
    SPMesh mesh;
    makeRing(mesh, 8, 10, false);
    const std::vector<uint32_t> picture = pictureOf(mesh, DIM_SHEET_BSPLINE);
    LodGrid full;
    ASSERT_TRUE(buildLodGrid(picture, kMapSide, kMapSide, kStitchTorus, kMapSide, full));
    for (bool acrossRows : {false, true}) {
        for (int faces : {64, 32, 16, 8, 6}) {
            const Steps steps = stepsOf(full, faces, acrossRows);
            EXPECT_GT(steps.seam, steps.neighbours + kCodeSlack) << acrossRows << " at " << faces;
        }
    }
}

// A tube's lines stay open: the map's first and last rows are its first and last used lines,
// each at its own height, the whole height apart.
TEST(WrappedSeams, ATubeEndsAtItsFirstAndLastUsedLines) {
    for (int32_t type : {DIM_CYLINDER_LINEAR, DIM_CYLINDER_BSPLINE}) {
        SPMesh mesh;
        makeTube(mesh, 8, 10);
        RecordingMessages messages;
        ASSERT_TRUE(BuildSurface(mesh, type, messages));
        float lowest = 1e9f;
        float highest = -1e9f;
        for (const Point3& p : mesh.grid) {
            lowest = std::min(lowest, p.z);
            highest = std::max(highest, p.z);
        }
        for (int c = 0; c < kMapSide; ++c) {
            EXPECT_NEAR(mesh.grid[static_cast<size_t>(c)].z, lowest, 1e-4f) << type << " " << c;
            EXPECT_NEAR(mesh.grid[static_cast<size_t>(63 * kMapSide + c)].z, highest, 1e-4f)
                << type << " " << c;
        }
    }
}

// The map check sees what the level grids show: tubes and rings close, the ring built as a
// sheet is a loop viewers leave unjoined, and a ring whose rows do not close is caught.
TEST(WrappedSeams, TheMapCheckAgrees) {
    const auto seamOf = [](const SculptMapCheck& check) {
        for (const CheckFinding& finding : check.findings) {
            if (finding.name == std::string("seam")) {
                return finding.severity;
            }
        }
        ADD_FAILURE() << "no seam finding";
        return CheckSeverity::Error;
    };
    SPMesh tube;
    makeTube(tube, 12, 10);
    EXPECT_EQ(seamOf(checkSculptMap(pictureOf(tube, DIM_CYLINDER_BSPLINE), kStitchCylinder)),
              CheckSeverity::Ok);

    SPMesh ring;
    makeRing(ring, 8, 10, false);
    std::vector<uint32_t> picture = pictureOf(ring, DIM_TORUS_BSPLINE);
    const SculptMapCheck closed = checkSculptMap(picture, kStitchTorus);
    EXPECT_EQ(seamOf(closed), CheckSeverity::Ok) << closed.findings[1].text;
    // Rows 0 and 63 a regular step apart, not one point: the wrap continues the surface.
    EXPECT_GT(closed.seamGap, kSameVertexCodes);
    std::copy_n(picture.begin() + 32 * kMapSide, kMapSide, picture.begin());
    const SculptMapCheck broken = checkSculptMap(picture, kStitchTorus);
    EXPECT_EQ(seamOf(broken), CheckSeverity::Warning);
    EXPECT_EQ(broken.seamColumns, kMapSide);
    EXPECT_EQ(seamOf(checkSculptMap(picture, kStitchCylinder)), CheckSeverity::Ok);

    // The ring as examples/ring.tsk builds it: each line repeats its first point at its end
    // and the last used line repeats the first, so as a sheet its edges meet.
    SPMesh sheet;
    makeRing(sheet, 9, 11, true);
    const SculptMapCheck asSheet =
        checkSculptMap(pictureOf(sheet, DIM_SHEET_BSPLINE), kStitchPlane);
    EXPECT_EQ(seamOf(asSheet), CheckSeverity::Warning);
    EXPECT_NE(asSheet.findings[1].text.find("first and last columns and rows meet"),
              std::string::npos)
        << asSheet.findings[1].text;
    // An open sheet is not taken for a loop.
    SPMesh open;
    testing::makeSheet(open, 10, 12);
    EXPECT_EQ(seamOf(checkSculptMap(pictureOf(open, DIM_SHEET_BSPLINE), kStitchPlane)),
              CheckSeverity::Ok);
}

} // namespace
} // namespace tesk
