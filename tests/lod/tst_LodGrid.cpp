#include "LodGrid.h"

#include "MapSide.h"
#include "Messages.h"
#include "SculptImageWriter.h"
#include "ShapeTypes.h"
#include "SurfaceBuilder.h"
#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace tesk {
namespace {

std::vector<int> samples(int faces) {
    std::vector<int> read;
    for (int t = 0; t <= faces; ++t) {
        read.push_back(lodSample(t, faces, kMapSide));
    }
    return read;
}

std::vector<int> everyNth(int step) {
    std::vector<int> read;
    for (int x = 0; x < kMapSide; x += step) {
        read.push_back(x);
    }
    read.push_back(kMapSide);
    return read;
}

TEST(LodGrid, EachLevelReadsTheViewersPixelsOfASixtyFourPixelSide) {
    EXPECT_EQ(samples(32), everyNth(2));
    EXPECT_EQ(samples(16), everyNth(4));
    EXPECT_EQ(samples(8), everyNth(8));
    EXPECT_EQ(samples(6), (std::vector<int>{0, 10, 21, 32, 42, 53, 64}));
}

TEST(LodGrid, PositionSixtyFourWrapsOrClampsPerStitching) {
    const int mid = 8;
    // Along the columns: closed stitchings wrap, the plane clamps.
    EXPECT_EQ(lodPixel(mid, 16, 16, 64, 64, kStitchSphere), (LodPixel{0, 32}));
    EXPECT_EQ(lodPixel(mid, 16, 16, 64, 64, kStitchTorus), (LodPixel{0, 32}));
    EXPECT_EQ(lodPixel(mid, 16, 16, 64, 64, kStitchCylinder), (LodPixel{0, 32}));
    EXPECT_EQ(lodPixel(mid, 16, 16, 64, 64, kStitchPlane), (LodPixel{63, 32}));
    // Along the rows only the torus wraps.
    EXPECT_EQ(lodPixel(16, 4, 16, 64, 64, kStitchTorus), (LodPixel{16, 0}));
    EXPECT_EQ(lodPixel(16, 4, 16, 64, 64, kStitchCylinder), (LodPixel{16, 63}));
    EXPECT_EQ(lodPixel(16, 4, 16, 64, 64, kStitchPlane), (LodPixel{16, 63}));
    // Sphere poles: every sample of the first and last rows reads the middle column.
    for (int t = 0; t <= 6; ++t) {
        EXPECT_EQ(lodPixel(0, t, 6, 64, 64, kStitchSphere), (LodPixel{32, 0})) << t;
        EXPECT_EQ(lodPixel(6, t, 6, 64, 64, kStitchSphere), (LodPixel{32, 63})) << t;
        EXPECT_EQ(lodPixel(0, t, 6, 64, 64, kStitchCylinder).column, lodSample(t, 6, 64) % 64);
    }
}

TEST(LodGrid, CodesAndPositionsRoundTrip) {
    for (uint32_t code = 0; code < 256; ++code) {
        const uint32_t colour = code | (255 - code) << 8 | (code ^ 0x55u) << 16;
        EXPECT_EQ(lodColour(lodPosition(colour)), colour);
    }
    EXPECT_EQ(lodPosition(0x00FF00u).x, -0.5f);
    EXPECT_EQ(lodPosition(0x00FF00u).y, 0.5f);
    EXPECT_EQ(lodColour({-3.0f, 3.0f, 0.0f}), 0x80FF00u); // clamped, rounded
}

/// Decodes a 24-bit bottom-up BMP as a viewer holds it: row 0 at the bottom, red first.
Point3 bmpPosition(const std::vector<uint8_t>& file, int row, int column) {
    const size_t at = 54 + (static_cast<size_t>(row) * 64 + static_cast<size_t>(column)) * 3;
    return {file[at + 2] / 255.0f - 0.5f, file[at + 1] / 255.0f - 0.5f, file[at] / 255.0f - 0.5f};
}

TEST(LodGrid, LevelThirtyTwoOfAnExportedMapIsItsEvenPixels) {
    SPMesh mesh;
    testing::makeSphere(mesh, 12, 9);
    RecordingMessages messages;
    ASSERT_TRUE(BuildSurface(mesh, DIM_POLES_CR, messages));
    const std::vector<uint8_t> bmp = EncodeSculptBmp(mesh.map.data(), kMapSide, kMapSide);

    for (const int stitch : {kStitchSphere, kStitchPlane}) {
        LodGrid grid;
        ASSERT_TRUE(buildLodGrid(pictureOfMap(mesh.map), kMapSide, kMapSide, stitch, 32, grid));
        ASSERT_EQ(grid.vertices.size(), 33u * 33u);
        const int firstRow = stitch == kStitchSphere ? 1 : 0; // row 0 is the sphere's pole
        for (int s = firstRow; s < 32; ++s) {
            for (int t = 0; t < 32; ++t) {
                ASSERT_EQ(grid.at(s, t), bmpPosition(bmp, 2 * s, 2 * t)) << s << "," << t;
            }
        }
    }
}

/// A plane picture whose red and green grow by `step` codes a pixel across the columns and up
/// the rows (viewer rows), up to 255.
std::vector<uint32_t> rampPicture(uint32_t blue, double step = 255.0 / 63.0) {
    std::vector<uint32_t> picture(kMapPixels);
    const auto code = [step](int i) { return static_cast<uint32_t>(std::lround(i * step)); };
    for (int r = 0; r < kMapSide; ++r) {
        for (int c = 0; c < kMapSide; ++c) {
            picture[static_cast<size_t>(r) * kMapSide + c] =
                code(c) | code(kMapSide - 1 - r) << 8 | blue << 16;
        }
    }
    return picture;
}

TEST(LodGrid, AreaOfAUnitSquareIsOneAtEveryLevel) {
    for (const int faces : kViewerFaces) {
        LodGrid grid;
        ASSERT_TRUE(buildLodGrid(rampPicture(128), kMapSide, kMapSide, kStitchPlane, faces, grid));
        EXPECT_NEAR(lodSurfaceArea(grid), 1.0f, 1e-3f) << faces;
        EXPECT_EQ(grid.at(0, 0), (Point3{-0.5f, -0.5f, 128 / 255.0f - 0.5f}));
        EXPECT_EQ(grid.at(faces, faces), (Point3{0.5f, 0.5f, 128 / 255.0f - 0.5f}));
    }
}

TEST(LodGrid, AResampledLevelReadsBackAsTheSameVertices) {
    SPMesh mesh;
    testing::makeSphere(mesh, 12, 9);
    RecordingMessages messages;
    ASSERT_TRUE(BuildSurface(mesh, DIM_POLES_CR, messages));
    const std::vector<uint32_t> picture = pictureOfMap(mesh.map);
    std::vector<uint32_t> back(kMapPixels);
    LodGrid grid;
    LodGrid again;
    for (const int stitch : {kStitchSphere, kStitchTorus, kStitchPlane, kStitchCylinder}) {
        for (const int faces : {32, 16, 8}) {
            ASSERT_TRUE(buildLodGrid(picture, kMapSide, kMapSide, stitch, faces, grid));
            resampleLodGrid(grid, kMapSide, kMapSide, back);
            ASSERT_TRUE(buildLodGrid(back, kMapSide, kMapSide, stitch, faces, again));
            EXPECT_EQ(again.vertices, grid.vertices) << stitch << " " << faces;
        }
    }
    // The sphere's bottom row is its pole: one point everywhere.
    ASSERT_TRUE(buildLodGrid(picture, kMapSide, kMapSide, kStitchSphere, 6, grid));
    resampleLodGrid(grid, kMapSide, kMapSide, back);
    const size_t bottom = static_cast<size_t>(kMapSide - 1) * kMapSide;
    for (int x = 0; x < kMapSide; ++x) {
        EXPECT_EQ(back[bottom + x], picture[bottom + 32]);
        EXPECT_EQ(back[x], picture[32]);
    }
    // Between vertices the picture lies on the flat quads: a linear ramp survives level 8
    // wherever it is not bent by the clamp of position 64 to pixel 63.
    const std::vector<uint32_t> ramp = rampPicture(7, 4);
    ASSERT_TRUE(buildLodGrid(ramp, kMapSide, kMapSide, kStitchPlane, 8, grid));
    resampleLodGrid(grid, kMapSide, kMapSide, back);
    for (int y = 0; y < 56; ++y) {
        const size_t row = static_cast<size_t>(kMapSide - 1 - y) * kMapSide;
        for (int x = 0; x < 56; ++x) {
            ASSERT_EQ(back[row + x], ramp[row + x]) << x << "," << y;
        }
    }
}

TEST(LodGrid, RefusesPicturesThatDoNotMatchTheirSize) {
    LodGrid grid;
    const std::vector<uint32_t> few(10);
    EXPECT_FALSE(buildLodGrid(few, kMapSide, kMapSide, kStitchSphere, 32, grid));
    EXPECT_FALSE(buildLodGrid(rampPicture(0), kMapSide, kMapSide, kStitchSphere, 0, grid));
    EXPECT_EQ(lodLevelOfFaces(16), 2);
    EXPECT_EQ(lodLevelOfFaces(12), -1);
}

} // namespace
} // namespace tesk
