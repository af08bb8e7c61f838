#include "CellFlags.h"
#include "GLMesh.h"
#include "ImageBuffer.h"
#include "LodGrid.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}

/// Pixel (row y of the array, column x) = (4x + 1, 4y + 2, 200): every sample names its pixel.
void fillCoded(ImageBuffer& image, int width, int height) {
    image.allocate(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.pixels[static_cast<size_t>(y * width + x)] =
                rgb(static_cast<uint32_t>(4 * x + 1) & 0xFF,
                    static_cast<uint32_t>(4 * y + 2) & 0xFF, 200);
        }
    }
}

Point3 vertex(const GLMesh& mesh, int row, int column) {
    const float* p = mesh.positions.data() + 3 * static_cast<size_t>(row * mesh.gridSize + column);
    return {p[0], p[1], p[2]};
}

Point3 normalAt(const GLMesh& mesh, size_t index) {
    const float* n = mesh.normals.data() + 3 * index;
    return {n[0], n[1], n[2]};
}

/// The (array row, column) a vertex was read from, decoded from fillCoded's bytes.
struct Sample {
    int row;
    int column;
    friend bool operator==(Sample, Sample) = default;
};

Sample sampleOf(const GLMesh& mesh, int row, int column) {
    const Point3 p = vertex(mesh, row, column);
    const int r = static_cast<int>(std::lround((p.x + 0.5f) * 256.0f));
    const int g = static_cast<int>(std::lround((p.y + 0.5f) * 256.0f));
    return {(g - 2) / 4, (r - 1) / 4};
}

GLMesh built(int stitch, int width, int height, int n) {
    ImageBuffer image;
    fillCoded(image, width, height);
    GLMesh mesh;
    mesh.stitchType = stitch;
    EXPECT_TRUE(mesh.BuildFromSculptMap(image, n));
    return mesh;
}

} // namespace

TEST(GLMeshBuild, DecodesPositionsFromTheBottomRowUp) {
    ImageBuffer image;
    fillCoded(image, 64, 64);
    GLMesh mesh;
    mesh.stitchType = STITCH_PLANE;
    ASSERT_TRUE(mesh.BuildFromSculptMap(image, 64));

    EXPECT_EQ(mesh.kind, KIND_MESH);
    EXPECT_EQ(mesh.gridSize, 64);
    EXPECT_EQ(mesh.sourceImageId, image.id);
    EXPECT_EQ(mesh.vertexCount(), 4096u);
    EXPECT_EQ(mesh.normals.size(), 3 * 4096u);
    EXPECT_EQ(mesh.texCoords.size(), 2 * 4096u);

    // Vertex (0, 0) reads pixel (row 63, column 0): bytes (1, 254, 200).
    const Point3 first = vertex(mesh, 0, 0);
    EXPECT_FLOAT_EQ(first.x, 1.0f / 256 - 0.5f);
    EXPECT_FLOAT_EQ(first.y, 254.0f / 256 - 0.5f);
    EXPECT_FLOAT_EQ(first.z, 200.0f / 256 - 0.5f);
    // Row 32 reads h = trunc(32 * 64 / 63) = 32, column 40 reads l = trunc(40 * 64 / 63) = 40.
    EXPECT_EQ(sampleOf(mesh, 32, 40), (Sample{63 - 32, 40}));
    EXPECT_EQ(sampleOf(mesh, 1, 1), (Sample{62, 1}));
    // Row 62 reads h = trunc(62 * 64 / 63) = 62; row and column 63 clamp to the last pixel.
    EXPECT_EQ(sampleOf(mesh, 62, 62), (Sample{1, 62}));
    EXPECT_EQ(sampleOf(mesh, 63, 63), (Sample{0, 63}));
}

TEST(GLMeshBuild, SamplesEachStitchTypeAtEdgesAndPoles) {
    // Sphere: the first vertex row collapses to the centre column of the array's last row,
    // the last vertex row to the centre column of its first row; columns wrap.
    const GLMesh sphere = built(STITCH_SPHERE, 64, 64, 64);
    for (const int j : {0, 17, 63}) {
        EXPECT_EQ(sampleOf(sphere, 0, j), (Sample{63, 32})) << j;
        EXPECT_EQ(sampleOf(sphere, 63, j), (Sample{0, 32})) << j;
    }
    EXPECT_EQ(sampleOf(sphere, 10, 63), (Sample{53, 0}));
    EXPECT_EQ(sampleOf(sphere, 10, 62), (Sample{53, 62}));

    // Torus: rows and columns both wrap.
    const GLMesh torus = built(STITCH_TORUS, 64, 64, 64);
    EXPECT_EQ(sampleOf(torus, 0, 5), (Sample{63, 5}));
    EXPECT_EQ(sampleOf(torus, 63, 5), (Sample{63, 5}));
    EXPECT_EQ(sampleOf(torus, 63, 63), (Sample{63, 0}));

    // Plane: both clamp.
    const GLMesh plane = built(STITCH_PLANE, 64, 64, 64);
    EXPECT_EQ(sampleOf(plane, 0, 0), (Sample{63, 0}));
    EXPECT_EQ(sampleOf(plane, 63, 63), (Sample{0, 63}));

    // Cylinder: rows clamp, columns wrap, no pole collapse.
    const GLMesh cylinder = built(STITCH_CYLINDER, 64, 64, 64);
    EXPECT_EQ(sampleOf(cylinder, 0, 7), (Sample{63, 7}));
    EXPECT_EQ(sampleOf(cylinder, 63, 7), (Sample{0, 7}));
    EXPECT_EQ(sampleOf(cylinder, 63, 63), (Sample{0, 0}));

    // Any other type clamps like the plane.
    const GLMesh other = built(0, 64, 64, 64);
    EXPECT_EQ(sampleOf(other, 0, 0), (Sample{63, 0}));
    EXPECT_EQ(sampleOf(other, 63, 63), (Sample{0, 63}));
}

TEST(GLMeshBuild, SamplesOtherImageSizesWithExactIntegerSteps) {
    // 32 x 16 into 64 x 64: h = trunc(10 * 16 / 63) = 2, l = trunc(50 * 32 / 63) = 25.
    const GLMesh small = built(STITCH_PLANE, 32, 16, 64);
    EXPECT_EQ(sampleOf(small, 10, 50), (Sample{15 - 2, 25}));
    // Width 126 = 2 x 63: column j must read exactly 2j, not 2j - 1 from a rounded quotient.
    const GLMesh wide = built(STITCH_PLANE, 126, 4, 64);
    for (int j = 0; j < 63; ++j) {
        ASSERT_EQ(sampleOf(wide, 5, j).column % 64, (2 * j) % 64) << j; // the code wraps at 64
    }
    // The sphere's centre column is W / 2 for an odd width too.
    const GLMesh odd = built(STITCH_SPHERE, 7, 5, 8);
    EXPECT_EQ(sampleOf(odd, 0, 6), (Sample{4, 3}));
}

TEST(GLMeshBuild, TexturePlacesAreTheLevelGridsWithGLsRowsFromTheTop) {
    // Level 6 of a sphere: the seam column wraps to pixel 0 but ends the texture at s = 1.
    const GLMesh mesh = built(STITCH_SPHERE, 64, 64, 7);
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 7; ++column) {
            const LodTexCoord place = lodTexCoord(row, column, 6);
            const float* t = mesh.texCoords.data() + 2 * static_cast<size_t>(row * 7 + column);
            ASSERT_EQ(t[0], place.s) << row << " " << column;
            ASSERT_EQ(t[1], 1.0f - place.t) << row << " " << column;
        }
        EXPECT_EQ(sampleOf(mesh, row, 6).column, sampleOf(mesh, row, 0).column);
    }
}

TEST(GLMeshBuild, TextureCoordinatesAndIndices) {
    const GLMesh mesh = built(STITCH_PLANE, 64, 64, 64);
    const auto uv = [&mesh](int row, int column) {
        const float* t = mesh.texCoords.data() + 2 * static_cast<size_t>(row * 64 + column);
        return std::pair{t[0], t[1]};
    };
    EXPECT_EQ(uv(0, 0), (std::pair{0.0f, 1.0f}));
    EXPECT_EQ(uv(63, 63), (std::pair{1.0f, 0.0f}));
    EXPECT_FLOAT_EQ(uv(21, 42).first, 42.0f / 63);
    EXPECT_FLOAT_EQ(uv(21, 42).second, 42.0f / 63);
    for (const float t : mesh.texCoords) {
        ASSERT_LE(t, 1.0f);
        ASSERT_GE(t, 0.0f);
    }

    ASSERT_EQ(mesh.indexCount(), 6u * 63 * 63);
    const std::vector<uint32_t> firstQuad(mesh.indices.begin(), mesh.indices.begin() + 6);
    EXPECT_EQ(firstQuad, (std::vector<uint32_t>{0, 1, 65, 0, 65, 64}));
    const std::vector<uint32_t> lastQuad(mesh.indices.end() - 6, mesh.indices.end());
    const uint32_t f = 62 * 64 + 62;
    EXPECT_EQ(lastQuad, (std::vector<uint32_t>{f, f + 1, f + 65, f, f + 65, f + 64}));
}

TEST(GLMeshBuild, NormalsOfAFlatMapPointAlongTheFaceNormal) {
    // y = 0 everywhere, x grows with the column, z with the vertex row.
    ImageBuffer image;
    image.allocate(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            image.pixels[static_cast<size_t>(y * 64 + x)] =
                rgb(static_cast<uint32_t>(4 * x), 128, static_cast<uint32_t>(4 * (63 - y)));
        }
    }
    GLMesh mesh;
    mesh.stitchType = STITCH_PLANE;
    ASSERT_TRUE(mesh.BuildFromSculptMap(image, 64));
    // (P1 - P0) x (P0 - P2) for (f, f + 1, f + n + 1) is (dx, 0, 0) x (-dx, 0, -dz) = +Y.
    for (size_t v = 0; v < mesh.vertexCount(); ++v) {
        const Point3 n = normalAt(mesh, v);
        ASSERT_NEAR(n.x, 0.0f, 1e-6f) << v;
        ASSERT_NEAR(n.y, 1.0f, 1e-6f) << v;
        ASSERT_NEAR(n.z, 0.0f, 1e-6f) << v;
    }
}

TEST(GLMeshBuild, OppositeFacesOfAFlatFoldCancelExactly) {
    // A flat map folded back along its middle column: the left cells are 41 codes wide, the
    // right ones 40 wide and face the other way. The middle vertex has three faces on each side,
    // so its normal is zero; ones along a single side are exactly +-Z.
    ImageBuffer fold;
    fold.allocate(3, 3);
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 3; ++x) {
            fold.pixels[y * 3 + x] = rgb(x == 0 ? 100 : x == 1 ? 141 : 101, 100 + y, 60);
        }
    }
    GLMesh mesh;
    mesh.stitchType = STITCH_PLANE;
    ASSERT_TRUE(mesh.BuildFromSculptMap(fold, 3));
    EXPECT_EQ(normalAt(mesh, 4), (Point3{}));
    for (const size_t v : {0u, 3u, 6u, 2u, 5u, 8u}) {
        const Point3 n = normalAt(mesh, v);
        EXPECT_EQ(std::fabs(n.z), 1.0f) << v;
        EXPECT_EQ(n.x, 0.0f) << v;
        EXPECT_EQ(n.y, 0.0f) << v;
    }
}

TEST(GLMeshBuild, DegenerateTrianglesAddNothingToTheNormals) {
    // All pixels (128, 128, 128): every vertex at the origin, every normal stays zero.
    ImageBuffer grey;
    grey.allocate(64, 64);
    std::fill(grey.pixels.begin(), grey.pixels.end(), rgb(128, 128, 128));
    GLMesh flat;
    ASSERT_TRUE(flat.BuildFromSculptMap(grey, 64));
    for (const float c : flat.positions) {
        ASSERT_EQ(c, 0.0f);
    }
    for (const float c : flat.normals) {
        ASSERT_EQ(c, 0.0f);
    }

    // One quad (2 x 2 image, plane): v0 = array (1, 0), v1 = (1, 1), v2 = (0, 0), v3 = (0, 1).
    // Triangle (0, 1, 3) is collinear; only triangle (0, 3, 2) counts, and v1 keeps zero.
    ImageBuffer quad;
    quad.allocate(2, 2);
    quad.pixels = {rgb(128, 160, 128), rgb(192, 128, 160), rgb(128, 128, 128), rgb(160, 128, 144)};
    GLMesh mesh;
    mesh.stitchType = STITCH_PLANE;
    ASSERT_TRUE(mesh.BuildFromSculptMap(quad, 2));
    const Point3 p0{0, 0, 0};
    const Point3 p2{0, 0.125f, 0};
    const Point3 p3{0.25f, 0, 0.125f};
    const Point3 expected = normalize(cross(p3 - p0, p0 - p2));
    EXPECT_EQ(normalAt(mesh, 1), (Point3{}));
    for (const size_t v : {0u, 2u, 3u}) {
        const Point3 n = normalAt(mesh, v);
        EXPECT_NEAR(n.x, expected.x, 1e-6f) << v;
        EXPECT_NEAR(n.y, expected.y, 1e-6f) << v;
        EXPECT_NEAR(n.z, expected.z, 1e-6f) << v;
    }
}

// The mesh works its normals out from the grid; they must be the very bits the triangle list
// gives, since flat maps rely on exact cancellation. Bytes from a few close values make flat,
// folded and degenerate faces everywhere, at every grid size the levels of detail use.
TEST(GLMeshBuild, GridNormalsAreBitForBitThoseOfTheTriangleList) {
    const uint32_t levels[] = {100, 128, 129, 131, 200};
    uint32_t seed = 12345;
    const auto next = [&seed, &levels] {
        seed = seed * 1664525u + 1013904223u;
        return levels[(seed >> 16) % 5];
    };
    ImageBuffer image;
    for (const int side : {64, 5}) {
        image.allocate(side, side);
        for (uint32_t& p : image.pixels) {
            p = rgb(next(), next(), next());
        }
        for (const int stitch : {STITCH_SPHERE, STITCH_TORUS, STITCH_PLANE, STITCH_CYLINDER}) {
            for (const int n : {64, 33, 17, 9, 7, 3, 2, 100}) {
                GLMesh mesh;
                mesh.stitchType = stitch;
                ASSERT_TRUE(mesh.BuildFromSculptMap(image, n));
                std::vector<float> expected;
                computeVertexNormals(mesh.positions, mesh.indices, expected);
                ASSERT_EQ(mesh.normals.size(), expected.size());
                ASSERT_EQ(std::memcmp(mesh.normals.data(), expected.data(),
                                      expected.size() * sizeof(float)),
                          0)
                    << "side " << side << ", stitch " << stitch << ", n " << n;
            }
        }
    }
    // The same mesh rebuilt at another size and back keeps nothing of the earlier build.
    GLMesh mesh;
    fillCoded(image, 64, 64);
    ASSERT_TRUE(mesh.BuildFromSculptMap(image, 64));
    const std::vector<float> first = mesh.normals;
    ASSERT_TRUE(mesh.BuildFromSculptMap(image, 7));
    ASSERT_TRUE(mesh.BuildFromSculptMap(image, 64));
    EXPECT_EQ(mesh.normals, first);
}

TEST(GLMeshBuild, VertexNormalsAverageUnitFaceNormalsNotAreas) {
    // v0 = origin, v1 = (0.25, 0, 0), v3 = (0.25, 0, 0.25) (a large face in y = 0), and
    // v2 = (0, 0.0078125, 0.0078125) (a small tilted face): v0 gets the bisector.
    ImageBuffer quad;
    quad.allocate(2, 2);
    quad.pixels = {rgb(128, 130, 130), rgb(192, 128, 192), rgb(128, 128, 128), rgb(192, 128, 128)};
    GLMesh mesh;
    mesh.stitchType = STITCH_PLANE;
    ASSERT_TRUE(mesh.BuildFromSculptMap(quad, 2));
    const Point3 p0{}, p1{0.25f, 0, 0}, p2{0, 0.0078125f, 0.0078125f}, p3{0.25f, 0, 0.25f};
    const Point3 big = normalize(cross(p1 - p0, p0 - p3));
    const Point3 small = normalize(cross(p3 - p0, p0 - p2));
    const Point3 expected = normalize(big + small);
    const Point3 n = normalAt(mesh, 0);
    EXPECT_NEAR(n.x, expected.x, 1e-6f);
    EXPECT_NEAR(n.y, expected.y, 1e-6f);
    EXPECT_NEAR(n.z, expected.z, 1e-6f);
    EXPECT_GT(std::fabs(expected.y - big.y), 0.05f); // an area-weighted sum would stay near big
}

TEST(GLMeshBuild, RefusesUnusableInputAndKeepsTheMesh) {
    ImageBuffer empty;
    GLMesh mesh;
    EXPECT_FALSE(mesh.BuildFromSculptMap(empty, 64));
    ImageBuffer image;
    fillCoded(image, 4, 4);
    EXPECT_FALSE(mesh.BuildFromSculptMap(image, 1));
    EXPECT_FALSE(mesh.BuildFromSculptMap(image, GLMesh::MAX_GRID_SIZE + 1));
    image.pixels.resize(3); // size fields claim more than the pixels hold
    EXPECT_FALSE(mesh.BuildFromSculptMap(image, 4));
    EXPECT_EQ(mesh.kind, KIND_UNBUILT);
    EXPECT_TRUE(mesh.positions.empty());
    EXPECT_EQ(mesh.sourceImageId, -1);
}

TEST(GLMeshMarkers, CopiesTheTemplateOncePerPoint) {
    const std::vector<Point3> points = {{0.1f, 0.2f, 0.3f}, {-0.4f, 0, 0}, {0, 0, 0.25f}};
    const std::vector<uint32_t> cellFlags = {0, CELL_SELECTED, CELL_HOVER};
    GLMesh markers;
    ASSERT_TRUE(markers.BuildPointMarkers(points, cellFlags));

    EXPECT_EQ(markers.kind, KIND_POINTS);
    EXPECT_EQ(markers.vertexCount(), 36u);
    EXPECT_EQ(markers.indexCount(), 180u);
    EXPECT_EQ(markers.normals.size(), markers.positions.size());
    EXPECT_EQ(markers.indicesPerMarker, 60);
    EXPECT_EQ(markers.verticesPerMarker, 12);
    EXPECT_EQ(markers.pointFlags, cellFlags);
    EXPECT_NE(markers.flags & GLMesh::NO_TEXTURE, 0u);

    for (size_t i = 0; i < points.size(); ++i) {
        for (size_t k = 0; k < 12; ++k) {
            const size_t v = 12 * i + k;
            const Point3 p{markers.positions[3 * v], markers.positions[3 * v + 1],
                           markers.positions[3 * v + 2]};
            const Point3 local = p - points[i];
            ASSERT_NEAR(length(local), GLMesh::MARKER_SIZE, 1e-6f) << v;
            const Point3 n = normalAt(markers, v);
            ASSERT_NEAR(length(n), 1.0f, 1e-5f) << v;
            ASSERT_GT(dot(n, local), 0.0f) << v; // normals point outwards
        }
        for (size_t k = 0; k < 60; ++k) {
            ASSERT_EQ(markers.indices[60 * i + k], markers.indices[k] + 12 * i);
        }
    }
    // The poles sit on the Y axis of each point; 4 of the 20 triangles close the rings and
    // have no area.
    EXPECT_NEAR(markers.positions[1], 0.2f + GLMesh::MARKER_SIZE, 1e-6f);
    EXPECT_NEAR(markers.positions[3 * 11 + 1], 0.2f - GLMesh::MARKER_SIZE, 1e-6f);
    int flat = 0;
    for (size_t t = 0; t < 60; t += 3) {
        const Point3 a = vertex(markers, 0, static_cast<int>(markers.indices[t]));
        const Point3 b = vertex(markers, 0, static_cast<int>(markers.indices[t + 1]));
        const Point3 c = vertex(markers, 0, static_cast<int>(markers.indices[t + 2]));
        flat += length(cross(b - a, c - a)) < 1e-9f;
    }
    EXPECT_EQ(flat, 4);
}

TEST(GLMeshMarkers, FlagsAreOptionalButMustMatchThePoints) {
    const std::vector<Point3> points(2);
    const std::vector<uint32_t> oneFlag = {0};
    GLMesh markers;
    EXPECT_FALSE(markers.BuildPointMarkers(points, oneFlag));
    EXPECT_EQ(markers.kind, KIND_UNBUILT);
    EXPECT_TRUE(markers.positions.empty());
    EXPECT_TRUE(markers.BuildPointMarkers(points, {}));
    EXPECT_EQ(markers.vertexCount(), 24u);
    EXPECT_TRUE(markers.pointFlags.empty());
}

TEST(GLMeshTransform, PositionSnapsDownToHundredthsAndStays) {
    GLMesh mesh;
    EXPECT_EQ(mesh.flags, 0x10000004u);
    mesh.position = {0.123456f, 0.0f, -0.123f};
    mesh.snapPosition();
    EXPECT_FLOAT_EQ(mesh.position.x, 0.12f);
    EXPECT_FLOAT_EQ(mesh.position.y, 0.0f);
    EXPECT_FLOAT_EQ(mesh.position.z, -0.13f); // floor, not truncation
    // Values already on a hundredth stay there although v x 100 falls short of the integer
    // in float (0.05, 2.67, ...); a snapped value snaps to itself.
    for (int k = -100000; k <= 100000; k += 7) {
        const float v = static_cast<float>(k / 100.0);
        mesh.position = {v, static_cast<float>(k) * 0.01f, 0.0f};
        mesh.snapPosition();
        ASSERT_EQ(mesh.position.x, v) << k;
        ASSERT_EQ(mesh.position.y, v) << k;
    }
}

TEST(GLMeshTransform, AnchorPointFollowsTheDrawnTransform) {
    GLMesh mesh;
    mesh.position = {0.5f, -0.25f, 1.0f};
    EXPECT_EQ(mesh.anchorPoint(), mesh.position); // the anchor is the origin

    // Scale, then rotate about Z, then Y, then X, then translate, as glTranslate, glRotate
    // (X, Y, Z) and glScale compose.
    mesh.anchor = {1.0f, 0.0f, 0.0f};
    mesh.scale = {2.0f, 1.0f, 1.0f};
    mesh.angles = {90.0f, 0.0f, 90.0f};
    const Point3 p = mesh.anchorPoint();
    EXPECT_NEAR(p.x, 0.5f, 1e-5f);
    EXPECT_NEAR(p.y, -0.25f, 1e-5f);
    EXPECT_NEAR(p.z, 3.0f, 1e-5f);
}
