#include "LodGrid.h"

#include "MapSide.h"
#include "Messages.h"
#include "SculptImageWriter.h"
#include "ShapeTypes.h"
#include "SurfaceBuilder.h"
#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

#include <cmath>
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

std::vector<uint32_t> spherePicture() {
    SPMesh mesh;
    testing::makeSphere(mesh, 12, 9);
    RecordingMessages messages;
    EXPECT_TRUE(BuildSurface(mesh, DIM_POLES_CR, messages));
    return pictureOfMap(mesh.map);
}

TEST(LodGrid, EachLevelReadsTheViewersPixelsOfASixtyFourPixelSide) {
    EXPECT_EQ(samples(32), everyNth(2));
    EXPECT_EQ(samples(16), everyNth(4));
    EXPECT_EQ(samples(8), everyNth(8));
    EXPECT_EQ(samples(6), (std::vector<int>{0, 10, 21, 32, 42, 53, 64}));
}

TEST(LodGrid, PositionSixtyFourWrapsOrClampsPerStitching) {
    // Along the columns closed stitchings wrap and the plane clamps; along the rows only the
    // torus wraps.
    const int stitches[] = {kStitchSphere, kStitchTorus, kStitchPlane, kStitchCylinder};
    const int lastColumn[] = {0, 0, 63, 0};
    const int lastRow[] = {63, 0, 63, 63};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lodPixel(8, 16, 16, 64, 64, stitches[i]), (LodPixel{lastColumn[i], 32})) << i;
        EXPECT_EQ(lodPixel(16, 4, 16, 64, 64, stitches[i]).row, lastRow[i]) << i;
    }
    // Sphere poles: every sample of the first and last rows reads the middle column.
    for (int t = 0; t <= 6; ++t) {
        EXPECT_EQ(lodPixel(0, t, 6, 64, 64, kStitchSphere), (LodPixel{32, 0})) << t;
        EXPECT_EQ(lodPixel(6, t, 6, 64, 64, kStitchSphere), (LodPixel{32, 63})) << t;
        EXPECT_EQ(lodPixel(0, t, 6, 64, 64, kStitchCylinder).column, lodSample(t, 6, 64) % 64);
    }
}

/// A picture (top row first) whose pixel at column x of row y from the bottom codes x in red
/// and y in green, so that a vertex's position tells the pixel it read.
std::vector<uint32_t> placePicture() {
    std::vector<uint32_t> picture(static_cast<size_t>(kMapSide) * kMapSide);
    for (int y = 0; y < kMapSide; ++y) {
        for (int x = 0; x < kMapSide; ++x) {
            picture[static_cast<size_t>(kMapSide - 1 - y) * kMapSide + static_cast<size_t>(x)] =
                static_cast<uint32_t>(4 * x) | static_cast<uint32_t>(4 * y) << 8;
        }
    }
    return picture;
}

TEST(LodGrid, TexturePlacesFollowTheReadPixelsAndCloseTheSeam) {
    const std::vector<uint32_t> picture = placePicture();
    const int stitches[] = {kStitchSphere, kStitchTorus, kStitchPlane, kStitchCylinder};
    std::vector<int> levels(kViewerFaces.begin(), kViewerFaces.end());
    levels.push_back(kMapSide - 1); // the map as the editor shows it
    for (const int stitch : stitches) {
        for (const int faces : levels) {
            LodGrid grid;
            ASSERT_TRUE(buildLodGrid(picture, kMapSide, kMapSide, stitch, faces, grid));
            ASSERT_EQ(grid.texCoords.size(), grid.vertices.size());
            const auto uv = [&grid](int row, int column) {
                return grid.texCoords[static_cast<size_t>(row) * grid.side() +
                                      static_cast<size_t>(column)];
            };
            EXPECT_EQ(uv(0, 0), (LodTexCoord{0.0f, 0.0f}));
            for (int r = 0; r <= faces; ++r) {
                // The seam column reads column 0 again on closed shapes, yet ends the texture.
                ASSERT_EQ(uv(r, faces).s, 1.0f) << stitch << " " << faces;
                ASSERT_EQ(uv(faces, r).t, 1.0f) << stitch << " " << faces;
                for (int c = 0; c <= faces; ++c) {
                    const LodTexCoord here = uv(r, c);
                    if (c > 0) {
                        ASSERT_GT(here.s, uv(r, c - 1).s);
                    }
                    if (r > 0) {
                        ASSERT_GT(here.t, uv(r - 1, c).t);
                    }
                    // Rows: t grows with the picture row the vertex read, counted from the
                    // bottom, except where a torus wraps its last row back to the first.
                    const int readRow =
                        static_cast<int>(std::lround((grid.at(r, c).y + 0.5f) * 255.0f) / 4);
                    if (stitch != kStitchTorus || r < faces) {
                        ASSERT_LE(here.t * kMapSide - 1.0f, static_cast<float>(readRow) + 1e-3f);
                        ASSERT_GE(here.t * kMapSide + 1e-3f, static_cast<float>(readRow));
                    } else {
                        ASSERT_EQ(readRow, 0);
                    }
                }
            }
        }
    }
}

/// A 24-bit bottom-up BMP read as viewers hold it: row 0 at the bottom, red first.
Point3 bmpPosition(const std::vector<uint8_t>& file, int row, int column) {
    const size_t at = 54 + (static_cast<size_t>(row) * 64 + static_cast<size_t>(column)) * 3;
    return {file[at + 2] / 255.0f - 0.5f, file[at + 1] / 255.0f - 0.5f, file[at] / 255.0f - 0.5f};
}

TEST(LodGrid, LevelThirtyTwoOfAnExportedMapIsItsEvenPixels) {
    const std::vector<uint32_t> picture = spherePicture();
    const std::vector<uint32_t> map = mapOfPicture(picture);
    const std::vector<uint8_t> bmp = EncodeSculptBmp(map.data(), kMapSide, kMapSide);
    for (const int stitch : {kStitchSphere, kStitchPlane}) {
        LodGrid grid;
        ASSERT_TRUE(buildLodGrid(picture, kMapSide, kMapSide, stitch, 32, grid));
        ASSERT_EQ(grid.vertices.size(), 33u * 33u);
        const int firstRow = stitch == kStitchSphere ? 1 : 0; // row 0 is the sphere's pole
        for (int s = firstRow; s < 32; ++s) {
            for (int t = 0; t < 32; ++t) {
                ASSERT_EQ(grid.at(s, t), bmpPosition(bmp, 2 * s, 2 * t)) << s << "," << t;
            }
        }
    }
}

TEST(LodGrid, AreaOfAUnitSquareIsOneAtEveryLevel) {
    std::vector<uint32_t> square(kMapPixels);
    for (int r = 0; r < kMapSide; ++r) {
        for (int c = 0; c < kMapSide; ++c) {
            const auto code = [](int i) {
                return static_cast<uint32_t>(std::lround(i * 255.0 / 63));
            };
            square[static_cast<size_t>(r) * kMapSide + c] = code(c) | code(63 - r) << 8 | 0x800000u;
        }
    }
    for (const int faces : kViewerFaces) {
        LodGrid grid;
        ASSERT_TRUE(buildLodGrid(square, kMapSide, kMapSide, kStitchPlane, faces, grid));
        EXPECT_NEAR(lodSurfaceArea(grid), 1.0f, 1e-3f) << faces;
        EXPECT_EQ(grid.at(0, 0), (Point3{-0.5f, -0.5f, 128 / 255.0f - 0.5f}));
        EXPECT_EQ(grid.at(faces, faces), (Point3{0.5f, 0.5f, 128 / 255.0f - 0.5f}));
    }
}

TEST(LodGrid, AResampledLevelReadsBackAsTheSameVertices) {
    const std::vector<uint32_t> picture = spherePicture();
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
    // A sphere's top and bottom rows are its poles: one point each.
    ASSERT_TRUE(buildLodGrid(picture, kMapSide, kMapSide, kStitchSphere, 6, grid));
    resampleLodGrid(grid, kMapSide, kMapSide, back);
    const size_t bottom = static_cast<size_t>(kMapSide - 1) * kMapSide;
    for (int x = 0; x < kMapSide; ++x) {
        EXPECT_EQ(back[bottom + x], picture[bottom + 32]);
        EXPECT_EQ(back[x], picture[32]);
    }
}

} // namespace
} // namespace tesk
