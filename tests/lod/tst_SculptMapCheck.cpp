#include "SculptMapCheck.h"

#include "MapSide.h"
#include "Messages.h"
#include "SPMesh.h"
#include "ShapeTypes.h"
#include "SurfaceBuilder.h"
#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tesk {
namespace {

CheckSeverity severityOf(const SculptMapCheck& check, const std::string& name) {
    for (const CheckFinding& finding : check.findings) {
        if (finding.name == name) {
            return finding.severity;
        }
    }
    ADD_FAILURE() << "no finding " << name;
    return CheckSeverity::Ok;
}

std::vector<uint32_t> builtPicture(SPMesh& mesh, int32_t type) {
    RecordingMessages messages;
    EXPECT_TRUE(BuildSurface(mesh, type, messages));
    return pictureOfMap(mesh.map);
}

std::vector<uint32_t> defaultPicture(int32_t type) {
    SPMesh mesh;
    mesh.makeDefault();
    return builtPicture(mesh, type);
}

uint32_t& pixel(std::vector<uint32_t>& picture, int row, int column) {
    return picture[static_cast<size_t>(row) * kMapSide + static_cast<size_t>(column)];
}

TEST(SculptMapCheck, TheDefaultShapePassesForEveryType) {
    for (const ShapeTypeInfo& info : kShapeTypes) {
        // The default shape is a ball: joined as a ring, its end lines fold it through itself.
        if (info.stitch == kStitchTorus) {
            continue;
        }
        const SculptMapCheck check = checkSculptMap(defaultPicture(info.value), info.stitch);
        ASSERT_EQ(check.findings.size(), 5u);
        for (const CheckFinding& finding : check.findings) {
            EXPECT_EQ(finding.severity, CheckSeverity::Ok)
                << info.caption << " " << finding.name << ": " << finding.text;
        }
        EXPECT_GT(check.areas[0], 1.0f) << info.caption;
    }
}

TEST(SculptMapCheck, AFlatMapIsReplacedByASphere) {
    const SculptMapCheck check = checkSculptMap(std::vector<uint32_t>(kMapPixels, 0x808080u), 1);
    EXPECT_EQ(check.worst(), CheckSeverity::Error);
    EXPECT_EQ(severityOf(check, "area"), CheckSeverity::Error);
    EXPECT_EQ(check.areas[0], 0.0f);
}

TEST(SculptMapCheck, ABrokenSeamIsCaughtButClosedLoopsOfEitherKindPass) {
    std::vector<uint32_t> picture = defaultPicture(DIM_POLES_LINEAR);
    for (int r = 1; r < kMapSide - 1; ++r) {
        pixel(picture, r, 0) = pixel(picture, r, 32);
    }
    const SculptMapCheck broken = checkSculptMap(picture, kStitchSphere);
    EXPECT_EQ(severityOf(broken, "seam"), CheckSeverity::Warning);
    EXPECT_EQ(broken.seamRows, kMapSide - 2);
    EXPECT_EQ(severityOf(checkSculptMap(picture, kStitchPlane), "seam"), CheckSeverity::Ok);

    // A loop of 64 distinct columns, the last a regular step before the first (what the
    // surface builder makes from key columns), closes as well as one that repeats its first.
    for (const int distinct : {64, 63}) {
        std::vector<uint32_t> ring(kMapPixels);
        for (int r = 0; r < kMapSide; ++r) {
            for (int c = 0; c < kMapSide; ++c) {
                const double a = 2.0 * M_PI * c / distinct;
                const auto code = [](double v) {
                    return static_cast<uint32_t>(std::lround(127.5 + 127.5 * v));
                };
                pixel(ring, r, c) =
                    code(std::cos(a)) | code(std::sin(a)) << 8 | static_cast<uint32_t>(r * 4) << 16;
            }
        }
        const SculptMapCheck check = checkSculptMap(ring, kStitchCylinder);
        EXPECT_EQ(severityOf(check, "seam"), CheckSeverity::Ok) << distinct;
        EXPECT_EQ(check.seamGap > kSameVertexCodes, distinct == 64); // they really differ
    }
}

TEST(SculptMapCheck, PolesThatDoNotCollapseAreWarnedOfForSpheresOnly) {
    std::vector<uint32_t> picture = defaultPicture(DIM_POLES_LINEAR);
    pixel(picture, kMapSide - 1, 9) ^= 0x000001u; // one code is rounding
    EXPECT_EQ(severityOf(checkSculptMap(picture, kStitchSphere), "poles"), CheckSeverity::Ok);
    pixel(picture, 0, 5) ^= 0x000040u;
    const SculptMapCheck sphere = checkSculptMap(picture, kStitchSphere);
    EXPECT_EQ(severityOf(sphere, "poles"), CheckSeverity::Warning);
    EXPECT_EQ(sphere.poleSpread, (std::array<int, 2>{0x40, 1}));
    EXPECT_EQ(severityOf(checkSculptMap(picture, kStitchCylinder), "poles"), CheckSeverity::Ok);
}

TEST(SculptMapCheck, DetailBetweenThePixelsLevelThirtyTwoReadsIsLost) {
    SPMesh mesh;
    testing::makeSheet(mesh, 8, 8);
    std::vector<uint32_t> picture = builtPicture(mesh, DIM_SHEET_BSPLINE);
    const SculptMapCheck smooth = checkSculptMap(picture, kStitchPlane);
    EXPECT_EQ(severityOf(smooth, "detail"), CheckSeverity::Ok);
    EXPECT_LT(smooth.detail, 0.015f);
    for (int r = 0; r < kMapSide; ++r) { // a ridge along an odd column
        pixel(picture, r, 31) = (pixel(picture, r, 31) & 0x00FFFFu) | 0xFF0000u;
    }
    const SculptMapCheck ridged = checkSculptMap(picture, kStitchPlane);
    EXPECT_EQ(severityOf(ridged, "detail"), CheckSeverity::Warning);
    EXPECT_GT(ridged.detail, 0.2f);
}

TEST(SculptMapCheck, ANarrowChannelLosesPrecisionButAFlatOneIsAFlatShape) {
    std::vector<uint32_t> picture = defaultPicture(DIM_SHEET_LINEAR);
    for (uint32_t& p : picture) {
        p &= 0x00FFFFu; // Z flat
    }
    EXPECT_EQ(severityOf(checkSculptMap(picture, kStitchPlane), "precision"), CheckSeverity::Ok);
    pixel(picture, 10, 10) |= 0x030000u;
    const SculptMapCheck check = checkSculptMap(picture, kStitchPlane);
    EXPECT_EQ(severityOf(check, "precision"), CheckSeverity::Warning);
    EXPECT_EQ(check.channelSpan, (std::array<int, 3>{255, 255, 3}));
}

} // namespace
} // namespace tesk
