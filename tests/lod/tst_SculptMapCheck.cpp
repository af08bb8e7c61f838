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
        const SculptMapCheck check = checkSculptMap(defaultPicture(info.value), info.stitch);
        ASSERT_EQ(check.findings.size(), 5u);
        for (const CheckFinding& finding : check.findings) {
            EXPECT_EQ(finding.severity, CheckSeverity::Ok)
                << info.caption << " " << finding.name << ": " << finding.text;
        }
        EXPECT_GT(check.areas[0], 1.0f) << info.caption;
    }
}

TEST(SculptMapCheck, AFlatMapOrATinyOneIsReplacedByASphere) {
    const std::vector<uint32_t> flat(kMapPixels, 0x808080u);
    SculptMapCheck check = checkSculptMap(flat, kStitchSphere);
    EXPECT_EQ(check.worst(), CheckSeverity::Error);
    EXPECT_EQ(severityOf(check, "area"), CheckSeverity::Error);
    EXPECT_EQ(check.areas[0], 0.0f);
    // All three channels flat: no precision warning, the area error says it all.
    EXPECT_EQ(severityOf(check, "precision"), CheckSeverity::Ok);

    // A sheet one code wide and one code high: area 1/255² ≈ 0.0000154 at every level.
    std::vector<uint32_t> tiny(kMapPixels, 0x808080u);
    for (int r = 32; r < kMapSide; ++r) {
        for (int c = 32; c < kMapSide; ++c) {
            pixel(tiny, r, c) = 0x808181u;
        }
    }
    check = checkSculptMap(tiny, kStitchPlane);
    EXPECT_EQ(severityOf(check, "area"), CheckSeverity::Error) << check.findings[0].text;
    EXPECT_LT(check.areas[0], kMinSculptArea);
}

TEST(SculptMapCheck, OnlyTheCoarsestLevelMayFallOutsideTheAreaWindow) {
    // A fold along column 8, which level 6 does not read: there the map is a line without
    // area, while the finer levels see the fold.
    std::vector<uint32_t> picture(kMapPixels);
    for (int r = 0; r < kMapSide; ++r) {
        for (int c = 0; c < kMapSide; ++c) {
            pixel(picture, r, c) = (c == 8 ? 0x8000FFu : 0x800080u) | static_cast<uint32_t>(r * 4)
                                                                          << 8;
        }
    }
    const SculptMapCheck check = checkSculptMap(picture, kStitchPlane);
    EXPECT_EQ(check.areas[3], 0.0f);
    EXPECT_GT(check.areas[0], kMinSculptArea);
    EXPECT_EQ(severityOf(check, "area"), CheckSeverity::Ok) << check.findings[0].text;
}

TEST(SculptMapCheck, ABrokenSeamIsCaughtButClosedLoopsOfEitherKindPass) {
    std::vector<uint32_t> picture = defaultPicture(DIM_POLES_LINEAR);
    EXPECT_EQ(severityOf(checkSculptMap(picture, kStitchSphere), "seam"), CheckSeverity::Ok);
    for (int r = 1; r < kMapSide - 1; ++r) {
        pixel(picture, r, 0) = pixel(picture, r, 32);
    }
    const SculptMapCheck broken = checkSculptMap(picture, kStitchSphere);
    EXPECT_EQ(severityOf(broken, "seam"), CheckSeverity::Warning);
    EXPECT_EQ(broken.seamRows, kMapSide - 2);
    EXPECT_EQ(broken.worst(), CheckSeverity::Warning);
    // A sheet has no seam to break.
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
        EXPECT_EQ(severityOf(check, "seam"), CheckSeverity::Ok)
            << distinct << check.findings[1].text;
        if (distinct == 63) {
            EXPECT_LE(check.seamGap, kSameVertexCodes);
        } else {
            EXPECT_GT(check.seamGap, kSameVertexCodes); // first and last really differ
            EXPECT_LE(check.seamGap, check.seamStep + kSameVertexCodes);
        }
    }
}

TEST(SculptMapCheck, PolesThatDoNotCollapseAreWarnedOfForSpheresOnly) {
    std::vector<uint32_t> picture = defaultPicture(DIM_POLES_LINEAR);
    pixel(picture, 0, 5) ^= 0x000040u;
    const SculptMapCheck sphere = checkSculptMap(picture, kStitchSphere);
    EXPECT_EQ(severityOf(sphere, "poles"), CheckSeverity::Warning);
    EXPECT_EQ(sphere.poleSpread[0], 0x40);
    EXPECT_EQ(sphere.poleSpread[1], 0);
    EXPECT_EQ(severityOf(checkSculptMap(picture, kStitchCylinder), "poles"), CheckSeverity::Ok);
    // One code is rounding, not an open pole.
    picture = defaultPicture(DIM_POLES_LINEAR);
    pixel(picture, kMapSide - 1, 9) ^= 0x000001u;
    EXPECT_EQ(severityOf(checkSculptMap(picture, kStitchSphere), "poles"), CheckSeverity::Ok);
}

TEST(SculptMapCheck, DetailBetweenThePixelsLevelThirtyTwoReadsIsMeasured) {
    SPMesh mesh;
    testing::makeSheet(mesh, 8, 8);
    std::vector<uint32_t> picture = builtPicture(mesh, DIM_SHEET_BSPLINE);
    const SculptMapCheck smooth = checkSculptMap(picture, kStitchPlane);
    EXPECT_EQ(severityOf(smooth, "detail"), CheckSeverity::Ok) << smooth.findings[3].text;
    EXPECT_LT(smooth.detail, 0.01f);

    // A ridge along one odd column (of the picture and of the viewer) is read by no level.
    for (int r = 0; r < kMapSide; ++r) {
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
    SculptMapCheck check = checkSculptMap(picture, kStitchPlane);
    EXPECT_EQ(severityOf(check, "precision"), CheckSeverity::Ok) << check.findings[4].text;
    EXPECT_EQ(check.channelSpan[2], 0);
    pixel(picture, 10, 10) |= 0x030000u;
    check = checkSculptMap(picture, kStitchPlane);
    EXPECT_EQ(severityOf(check, "precision"), CheckSeverity::Warning);
    EXPECT_EQ(check.channelSpan[2], 3);
    EXPECT_NE(check.findings[4].text.find("Z (blue) spans only 3 codes"), std::string::npos);
}

TEST(SculptMapCheck, PicturesOfAnotherSizeGetNoFindings) {
    const std::vector<uint32_t> small(32 * 32, 0x123456u);
    EXPECT_TRUE(checkSculptMap(small, kStitchSphere).findings.empty());
    EXPECT_STREQ(stitchName(kStitchCylinder), "cylinder");
    EXPECT_STREQ(stitchName(99), "sphere");
}

} // namespace
} // namespace tesk
