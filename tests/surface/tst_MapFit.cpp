// Importing sculpt maps: round trips of the examples under every type, maps made elsewhere,
// and the maps that hold no shape.
#include "MapFit.h"

#include "MapSide.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "SPMesh.h"
#include "ShapeTypes.h"
#include "SurfaceBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

namespace tesk {
namespace {

std::string example(const char* name) {
    return (std::filesystem::path(TESK_SOURCE_DIR) / "examples" / name).string();
}

/// The map an example rebuilds to under `type`.
std::vector<uint32_t> exampleMap(const char* name, int32_t type, SPMesh& mesh) {
    RecordingMessages messages;
    EXPECT_TRUE(loadProjectFile(example(name), mesh, messages)) << name;
    EXPECT_TRUE(BuildSurface(mesh, type, messages)) << name;
    EXPECT_TRUE(messages.texts.empty()) << name;
    return mesh.map;
}

uint32_t pixelOf(double x, double y, double z) {
    auto c = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5); };
    return c(x) | c(y) << 8 | c(z) << 16;
}

/// A map as a mesh tool writes it: one vertex per pixel, rows from pole to pole, the last
/// column repeating the first.
std::vector<uint32_t> madeElsewhere(double (*fx)(double, double), double (*fy)(double, double),
                                    double (*fz)(double, double)) {
    std::vector<uint32_t> map(kMapPixels);
    for (int r = 0; r < kMapSide; ++r) {
        for (int c = 0; c < kMapSide; ++c) {
            const double u = c / 63.0;
            const double v = r / 63.0;
            map[static_cast<size_t>(r * kMapSide + c)] = pixelOf(fx(u, v), fy(u, v), fz(u, v));
        }
    }
    return map;
}

bool allFinite(const SPMesh& mesh) {
    for (int i = 0; i < mesh.lineCount(); ++i) {
        for (int j = 0; j < mesh.pointsPerLine(); ++j) {
            Point3 p;
            mesh.getPoint(j, i, p);
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
                return false;
            }
        }
    }
    return true;
}

struct Example {
    const char* name;
    MapFamily family; ///< of its map under its own type
};
constexpr Example kExamples[] = {
    {"default.tsk", MapFamily::Poles}, {"sphere.tsk", MapFamily::Poles},
    {"vase.tsk", MapFamily::Poles},    {"ring.tsk", MapFamily::ClosedRows},
    {"sheet.tsk", MapFamily::Sheet},
};

/// The request of `--like`: the example's type, net size and levels.
MapFitRequest likeOf(const SPMesh& mesh) {
    MapFitRequest like;
    like.type = mesh.SPDimType;
    like.lines = mesh.lineCount();
    like.points = mesh.pointsPerLine();
    like.hlevel = mesh.hlevel;
    like.vlevel = mesh.vlevel;
    return like;
}

TEST(MapFit, ExampleMapsComeBackIntoTheirOwnNetWithinTwoCodes) {
    // sheet.tsk is left out: its symmetric columns tie in the bends that choose its keys, and
    // the fit settles on other keys (largest error 68 codes); its default net is checked below.
    for (const char* name : {"default.tsk", "sphere.tsk", "vase.tsk", "ring.tsk"}) {
        SPMesh original;
        RecordingMessages messages;
        ASSERT_TRUE(loadProjectFile(example(name), original, messages));
        const std::vector<uint32_t> map = exampleMap(name, original.SPDimType, original);
        SPMesh imported;
        const MapFitResult result = FitSculptMap(map.data(), likeOf(original), imported);
        ASSERT_TRUE(result.ok) << name << " " << result.problem;
        EXPECT_LE(result.largestError(), 2) << name;
        EXPECT_EQ(imported.SPDimType, original.SPDimType);
        EXPECT_EQ(imported.lineCount(), original.lineCount());
        EXPECT_EQ(imported.hlevel, original.hlevel);
        EXPECT_EQ(imported.vlevel, original.vlevel);
        // The report is the truth of the imported shape's own rebuild.
        BuildSurface(imported, original.SPDimType, messages);
        const auto error = CompareMaps(imported.map.data(), map.data(), kMapPixels);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_EQ(error[axis].largest, result.error[axis].largest);
            EXPECT_DOUBLE_EQ(error[axis].mean, result.error[axis].mean);
        }
    }
}

TEST(MapFit, TheOtherTypesOfAnExamplesFamilyComeBackIntoItsNet) {
    // Measured: every pole type on the pole examples within 2 codes except on the 4 x 4 cube,
    // whose equal segments tie in the grow steps ("S [1]", "S [3]" up to 7 codes off).
    for (const char* name : {"sphere.tsk", "vase.tsk"}) {
        for (const ShapeTypeInfo& info : kShapeTypes) {
            SPMesh original;
            RecordingMessages messages;
            ASSERT_TRUE(loadProjectFile(example(name), original, messages));
            if (!info.poles || (info.value == DIM_POLES_FIXED && original.pointsPerLine() > 8)) {
                continue;
            }
            const std::vector<uint32_t> map = exampleMap(name, info.value, original);
            MapFitRequest like = likeOf(original);
            like.type = info.value;
            SPMesh imported;
            const MapFitResult result = FitSculptMap(map.data(), like, imported);
            ASSERT_TRUE(result.ok) << name << " " << info.caption;
            EXPECT_LE(result.largestError(), 2) << name << " " << info.caption;
        }
    }
}

TEST(MapFit, TheDefaultNetComesWithinOneAndAHalfCodesOnAverage) {
    for (const Example& ex : kExamples) {
        for (const ShapeTypeInfo& info : kShapeTypes) {
            // Tubes and rings wrap their lines in ways the fit does not model yet.
            if (info.value == DIM_POLES_FIXED ||
                (info.stitch != kStitchSphere && info.stitch != kStitchPlane)) {
                continue;
            }
            SPMesh original;
            const std::vector<uint32_t> map = exampleMap(ex.name, info.value, original);
            MapFitRequest request;
            request.type = info.value;
            SPMesh imported;
            const MapFitResult result = FitSculptMap(map.data(), request, imported);
            ASSERT_TRUE(result.ok) << result.problem;
            EXPECT_EQ(imported.lineCount(), kMaxEditLines);
            EXPECT_EQ(imported.pointsPerLine(), kMaxEditPoints);
            EXPECT_LE(result.meanError(), 1.5) << ex.name << " " << info.caption;
            for (const ChannelError& e : result.error) {
                EXPECT_LE(e.mean, 3.5) << ex.name << " " << info.caption;
            }
        }
    }
}

TEST(MapFit, TheDetectedFamilyDecidesTheTypesTried) {
    for (const Example& ex : kExamples) {
        SPMesh original;
        RecordingMessages messages;
        ASSERT_TRUE(loadProjectFile(example(ex.name), original, messages));
        const std::vector<uint32_t> map = exampleMap(ex.name, original.SPDimType, original);
        EXPECT_EQ(detectMapFamily(map.data()), ex.family) << ex.name;
        SPMesh imported;
        const MapFitResult result = FitSculptMap(map.data(), {}, imported);
        ASSERT_TRUE(result.ok);
        if (ex.family != MapFamily::ClosedRows) {
            EXPECT_EQ(hasPoles(result.type), ex.family == MapFamily::Poles) << ex.name;
        }
        EXPECT_EQ(imported.SPDimType, result.type);
        EXPECT_LE(result.meanError(), 1.5) << ex.name;
        // The shape spans about -1 .. 1, as the editor's own shapes do.
        float low = 0;
        float high = 0;
        for (int i = 0; i < imported.lineCount(); ++i) {
            for (int j = 0; j < imported.pointsPerLine(); ++j) {
                low = std::min(low, imported.workPoint(j, i).x);
                high = std::max(high, imported.workPoint(j, i).x);
            }
        }
        EXPECT_LT(low, -0.8f) << ex.name;
        EXPECT_GT(high, 0.8f) << ex.name;
        EXPECT_LT(high - low, 3.0f) << ex.name;
    }
}

TEST(MapFit, MapsMadeElsewhereReportHonestlyAndTheSphereComesClose) {
    using std::numbers::pi;
    const auto sphere = madeElsewhere(
        [](double u, double v) { return 0.5 + 0.5 * std::sin(pi * v) * std::cos(2 * pi * u); },
        [](double u, double v) { return 0.5 + 0.5 * std::sin(pi * v) * std::sin(2 * pi * u); },
        [](double, double v) { return 0.5 + 0.5 * std::cos(pi * v); });
    EXPECT_EQ(detectMapFamily(sphere.data()), MapFamily::Poles);
    SPMesh mesh;
    const MapFitResult fit = FitSculptMap(sphere.data(), {}, mesh);
    ASSERT_TRUE(fit.ok);
    EXPECT_TRUE(hasPoles(fit.type));
    EXPECT_LE(fit.meanError(), 2.0);

    const auto ring = madeElsewhere(
        [](double u, double v) {
            return 0.5 + (0.35 + 0.15 * std::cos(2 * pi * v)) * std::cos(2 * pi * u);
        },
        [](double u, double v) {
            return 0.5 + (0.35 + 0.15 * std::cos(2 * pi * v)) * std::sin(2 * pi * u);
        },
        [](double, double v) { return 0.5 + 0.5 * std::sin(2 * pi * v); });
    const auto field = madeElsewhere(
        [](double u, double) { return u; }, [](double, double v) { return v; },
        [](double u, double v) { return 0.5 + 0.4 * std::sin(3 * u) * std::cos(4 * v); });
    EXPECT_EQ(detectMapFamily(field.data()), MapFamily::Sheet);
    for (const auto* map : {&ring, &field}) {
        SPMesh out;
        const MapFitResult result = FitSculptMap(map->data(), {}, out);
        ASSERT_TRUE(result.ok);
        RecordingMessages messages;
        BuildSurface(out, result.type, messages);
        const auto error = CompareMaps(out.map.data(), map->data(), kMapPixels);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_EQ(error[axis].largest, result.error[axis].largest);
            EXPECT_DOUBLE_EQ(error[axis].mean, result.error[axis].mean);
        }
    }
}

TEST(MapFit, MapsWithoutAShapeAreRefusedOrComeBackFlatAndNeverNaN) {
    SPMesh mesh;
    mesh.makeDefault();
    const std::vector<uint32_t> grey(kMapPixels, pixelOf(0.5, 0.5, 0.5));
    const MapFitResult refused = FitSculptMap(grey.data(), {}, mesh);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.problem, kOneColourMapMessage);
    EXPECT_EQ(mesh.lineCount(), 4) << "a refusal leaves the shape alone";

    // Flat in Z, and a line (only X varies).
    const auto flat =
        madeElsewhere([](double u, double) { return u; }, [](double, double v) { return v; },
                      [](double, double) { return 0.0; });
    const auto line =
        madeElsewhere([](double u, double v) { return (u + v) / 2; },
                      [](double, double) { return 0.0; }, [](double, double) { return 0.0; });
    for (const auto* map : {&flat, &line}) {
        SPMesh out;
        const MapFitResult result = FitSculptMap(map->data(), {}, out);
        ASSERT_TRUE(result.ok);
        EXPECT_TRUE(allFinite(out));
        EXPECT_EQ(result.error[2].largest, 0) << "the flat axis stays flat";
        EXPECT_LE(result.error[0].mean, 1.5);
    }
}

TEST(MapFit, NetsTheTypeCannotBuildAreRefused) {
    const std::vector<uint32_t> map =
        madeElsewhere([](double u, double) { return u; }, [](double, double v) { return v; },
                      [](double u, double) { return u * u; });
    SPMesh mesh;
    MapFitRequest fixedTooLarge;
    fixedTooLarge.type = DIM_POLES_FIXED;
    fixedTooLarge.points = 12;
    EXPECT_EQ(FitSculptMap(map.data(), fixedTooLarge, mesh).problem, kNetSizeMessage);
    MapFitRequest unknown;
    unknown.type = 7;
    EXPECT_FALSE(FitSculptMap(map.data(), unknown, mesh).ok);
    MapFitRequest wide;
    wide.points = 64;
    wide.lines = 9;
    wide.type = DIM_SHEET_LINEAR;
    const MapFitResult full = FitSculptMap(map.data(), wide, mesh);
    ASSERT_TRUE(full.ok) << full.problem;
    EXPECT_EQ(mesh.pointsPerLine(), 64);
    EXPECT_EQ(mesh.lineCount(), 0 + 9);
}

} // namespace
} // namespace tesk
