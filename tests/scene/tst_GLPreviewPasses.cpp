#include "CellFlags.h"
#include "GLPreviewPasses.h"
#include "GlxContext.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

using namespace tesk;

namespace {

constexpr int SIZE = 512;

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}

/// A flat 64 x 64 map in y = 0: x grows with the column, z with the vertex row, so the
/// normals point to +Y; `flipped` runs z the other way and turns them to -Y.
void fillFlatMap(ImageBuffer& image, bool flipped) {
    image.allocate(64, 64);
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 64; ++x) {
            image.pixels[y * 64 + x] = rgb(4 * x, 128, 4 * (flipped ? y : 63 - y));
        }
    }
}

struct Pixel {
    int r, g, b;
};

class PreviewPasses : public ::testing::Test {
protected:
    // One connection per program: Xvfb dislikes connections opened and closed in quick turns.
    static void SetUpTestSuite() { context = std::make_unique<test::GlxContext>(SIZE, SIZE); }
    static void TearDownTestSuite() { context.reset(); }

    void SetUp() override {
        if (!context->hasDisplay()) {
            GTEST_SKIP() << "no X display: " << context->error();
        }
        ASSERT_TRUE(context->isCurrent()) << context->error();
    }

    /// Adds a selected preview mesh built from a flat map and returns it.
    GLMesh& addPlane(bool flipped, float scale) {
        const int imageId = scene.createImage();
        fillFlatMap(*scene.findImage(imageId), flipped);
        GLMesh& mesh = *scene.findObject(scene.createMesh());
        mesh.stitchType = STITCH_PLANE;
        EXPECT_TRUE(mesh.BuildFromSculptMap(*scene.findImage(imageId), 64));
        mesh.selection = GLMesh::SELECTED;
        mesh.scale = {scale, scale, scale};
        return mesh;
    }

    GLMesh& addMarkers(const std::vector<Point3>& points, const std::vector<uint32_t>& flags) {
        GLMesh& markers = *scene.findObject(scene.createMesh());
        EXPECT_TRUE(markers.BuildPointMarkers(points, flags));
        return markers;
    }

    void drawVisible(const PreviewSettings& settings = {}) {
        drawVisiblePass(scene, camera, SIZE, SIZE, settings);
        readPickImage(SIZE, SIZE, image);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    void drawPick(const PreviewSettings& settings = {}) {
        drawPickPass(scene, camera, SIZE, SIZE, settings);
        readPickImage(SIZE, SIZE, image);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    /// Window pixel (x, y from the bottom) that a world point projects to under the camera the
    /// last pass set up.
    std::array<int, 2> project(Point3 p) const {
        std::array<GLdouble, 16> projection{};
        glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
        const std::array<GLdouble, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const std::array<GLint, 4> viewport = {0, 0, SIZE, SIZE};
        GLdouble x = 0, y = 0, z = 0;
        gluProject(p.x, p.y, p.z, identity.data(), projection.data(), viewport.data(), &x, &y, &z);
        return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
    }

    uint32_t rawAt(Point3 world) const {
        const auto [x, y] = project(world);
        return image[static_cast<size_t>(y * SIZE + x)];
    }

    Pixel colourAt(Point3 world) const {
        const uint32_t p = rawAt(world);
        return {static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                static_cast<int>((p >> 16) & 0xFF)};
    }

    PickHit pickAtWorld(Point3 world) const {
        const auto [x, y] = project(world);
        return pickAt(image, SIZE, SIZE, x, SIZE - 1 - y);
    }

    static Point3 triangleCentre(const GLMesh& mesh, size_t j) {
        Point3 sum;
        for (size_t k = 0; k < 3; ++k) {
            const float* v =
                mesh.positions.data() + 3 * static_cast<size_t>(mesh.indices[3 * j + k]);
            sum += Point3{v[0] * mesh.scale.x, v[1] * mesh.scale.y, v[2] * mesh.scale.z};
        }
        return sum * (1.0f / 3.0f) + mesh.position;
    }

    static inline std::unique_ptr<test::GlxContext> context;
    GLScene scene;
    GLCamera camera;
    std::vector<uint32_t> image;
};

// Emission 0.4 + ambient 0.2 x 0.01 + 0.01 x 0.01 + diffuse 0.9 x 0.3 x cos: 171 facing the
// light, 103 turned away from it; the background is 0.25 (64).
constexpr int LIT = 171;
constexpr int UNLIT = 103;
constexpr int BACKGROUND = 64;
constexpr int TOLERANCE = 2;

// A point of the lower left quadrant, clear of the axes.
const Point3 PROBE{-0.7f, 0.0f, -0.6f};

} // namespace

TEST_F(PreviewPasses, LightsTheFacesTurnedToTheLightWhateverTheScale) {
    GLMesh& plane = addPlane(false, 3.5f);
    drawVisible();
    EXPECT_NEAR(colourAt(PROBE).g, LIT, TOLERANCE);
    EXPECT_NEAR(colourAt(PROBE).r, colourAt(PROBE).b, 1);
    EXPECT_NEAR(colourAt({-2.0f, 0.0f, 2.0f}).g, BACKGROUND, 1); // outside the plane

    // Scales stretch the normals; the shade must not follow.
    plane.scale = {3.5f, 0.8f, 3.5f};
    drawVisible();
    EXPECT_NEAR(colourAt(PROBE).g, LIT, TOLERANCE);
    plane.scale = {0.5f, 0.5f, 0.5f};
    drawVisible();
    EXPECT_NEAR(colourAt({-0.1f, 0.0f, -0.1f}).g, LIT, TOLERANCE);

    scene.removeObject(plane.id);
    addPlane(true, 3.5f);
    drawVisible();
    EXPECT_NEAR(colourAt(PROBE).g, UNLIT, TOLERANCE);

    // Half a turn about Z: the camera looks at the other side, and the light, fixed to the
    // viewer, now shines on the faces whose normals point to -Y.
    camera.rotationMatrix = {-1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    drawVisible();
    EXPECT_NEAR(colourAt(PROBE).g, LIT, TOLERANCE);
}

TEST_F(PreviewPasses, LightFollowsTheInverseOfALopsidedCameraTurn) {
    // The mesh turned to face +Z, the camera tipped 30 degrees about X: the light, (0, 1000, 0)
    // through the inverse turn, lies at (0, cos, -sin), so only a tip the other way lights it.
    // A turn that is its own transpose could not tell the inverse from the turn itself.
    GLMesh& plane = addPlane(false, 3.5f);
    plane.angles = {90.0f, 0.0f, 0.0f};
    const float c = std::cos(0.5235988f);
    const float s = std::sin(0.5235988f);
    const Point3 probe{-0.7f, -0.6f, 0.0f};
    camera.rotationMatrix = {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
    drawVisible();
    EXPECT_NEAR(colourAt(probe).g, UNLIT, TOLERANCE);
    camera.rotationMatrix = {1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1};
    drawVisible();
    EXPECT_NEAR(colourAt(probe).g, (LIT + UNLIT) / 2, TOLERANCE);
}

TEST_F(PreviewPasses, WireframeDrawsTheIndexListAsLines) {
    addPlane(false, 3.5f);
    const auto coveredPixels = [this] {
        int covered = 0;
        for (int y = 140; y < 240; ++y) {
            for (int x = 140; x < 240; ++x) {
                covered += (image[static_cast<size_t>(y * SIZE + x)] & 0xFF) > BACKGROUND + 10;
            }
        }
        return covered;
    };
    drawVisible();
    EXPECT_EQ(coveredPixels(), 100 * 100);
    drawVisible({GLMesh::DRAW_LINE_STRIP, false});
    EXPECT_EQ(scene.objectAt(0)->drawMode(), GLMesh::DRAW_LINE_STRIP);
    const int lines = coveredPixels();
    EXPECT_GT(lines, 500);
    EXPECT_LT(lines, 100 * 100 * 3 / 4);
}

TEST_F(PreviewPasses, TextureModulatesTheLitMesh) {
    GLMesh& plane = addPlane(false, 3.5f);
    plane.flags |= GLMesh::NO_TEXTURE; // the visible pass clears it for meshes
    const int textureId = scene.createImage();
    ImageBuffer& red = *scene.findImage(textureId);
    red.allocate(8, 8);
    std::fill(red.pixels.begin(), red.pixels.end(), rgb(255, 0, 0));
    plane.textureImageId = textureId;
    drawVisible();
    const Pixel p = colourAt(PROBE);
    EXPECT_NEAR(p.r, LIT, TOLERANCE);
    EXPECT_LE(p.g, 1);
    EXPECT_LE(p.b, 1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(PreviewPasses, MarkersShowTheirStateAndOptionallyHideBehindTheMesh) {
    camera.distance = 1.5f; // markers are 0.011 in radius: come close
    addPlane(false, 3.5f);
    const std::vector<Point3> points = {
        {-0.1f, -0.1f, -0.1f}, {0.1f, -0.1f, -0.1f}, {-0.1f, -0.1f, 0.1f}, {0.1f, 0.1f, 0.1f}};
    addMarkers(points, {0, CELL_SELECTED, CELL_IN_BAND, CELL_HOVER});

    drawVisible();
    const auto expectColour = [this](Point3 at, int r, int g, int b) {
        const Pixel p = colourAt(at);
        EXPECT_NEAR(p.r, r, TOLERANCE);
        EXPECT_NEAR(p.g, g, TOLERANCE);
        EXPECT_NEAR(p.b, b, TOLERANCE);
    };
    expectColour(points[0], 230, 230, 0);
    expectColour(points[1], 255, 77, 77);
    expectColour(points[2], 128, 255, 128);
    expectColour(points[3], 128, 255, 128); // behind the plane, shown through it

    drawVisible({GLMesh::DRAW_TRIANGLES, true});
    expectColour(points[0], 230, 230, 0);
    EXPECT_NEAR(colourAt(points[3]).g, LIT, TOLERANCE);

    // Markers are drawn unscaled around the selected mesh's position; without flags they
    // all take one colour.
    GLMesh& plane = *scene.objectAt(0);
    plane.position = {0.2f, 0.0f, 0.1f};
    GLMesh& markers = *scene.objectAt(1);
    markers.scale = {3.0f, 3.0f, 3.0f};
    ASSERT_TRUE(markers.BuildPointMarkers(points, {}));
    drawVisible();
    EXPECT_EQ(markers.position, plane.position);
    EXPECT_EQ(markers.scale, (Point3{1, 1, 1}));
    expectColour(points[1] + plane.position, 255, 204, 77);
}

TEST_F(PreviewPasses, PickImageNamesObjectAndTriangle) {
    GLMesh& hidden = addPlane(false, 3.5f); // object 1, in front but not visible
    hidden.position = {0.0f, -1.0f, 0.0f};
    hidden.flags &= ~GLMesh::VISIBLE;
    hidden.selection = 0;
    GLMesh& plane = addPlane(false, 3.5f); // object 2
    ASSERT_EQ(plane.indexCount() / 3, 7938u);
    drawPick();

    for (const size_t j : {0u, 255u, 256u, 300u, 4001u, 7937u}) {
        const PickHit hit = pickAtWorld(triangleCentre(plane, j));
        EXPECT_EQ(hit.objectNumber, 2) << j;
        EXPECT_EQ(hit.element, static_cast<int>(j)) << j;
    }
    EXPECT_EQ(pickAtWorld({-2.0f, 0.0f, 2.0f}).objectNumber, -1);
    EXPECT_EQ(rawAt({-2.0f, 0.0f, 2.0f}) & 0xFFFFFFu, 0u);
}

TEST_F(PreviewPasses, PickImageNamesMarkersInFrontOrThroughTheMesh) {
    camera.distance = 1.5f;
    addPlane(false, 3.5f);
    const std::vector<Point3> points = {{-0.1f, -0.1f, -0.1f}, {0.1f, 0.1f, 0.1f}};
    addMarkers(points, {0, 0});

    drawPick();
    for (size_t i = 0; i < points.size(); ++i) {
        const PickHit hit = pickAtWorld(points[i]);
        EXPECT_EQ(hit.objectNumber, 2) << i;
        EXPECT_EQ(hit.element / (GLMesh::MARKER_INDICES / 3), static_cast<int>(i)) << i;
    }

    drawPick({GLMesh::DRAW_TRIANGLES, true});
    EXPECT_EQ(pickAtWorld(points[0]).objectNumber, 2);
    EXPECT_EQ(pickAtWorld(points[1]).objectNumber, 1); // the mesh hides the marker behind it
}
