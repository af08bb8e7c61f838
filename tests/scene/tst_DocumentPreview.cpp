// The preview's scene objects follow the document: one preview mesh from the rebuilt map, the
// point markers from the document's marker points.
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "LodGrid.h"
#include "MapSide.h"
#include "Messages.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tesk;

namespace {

class DocumentPreviewTest : public ::testing::Test {
protected:
    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    GLScene scene;
    DocumentPreview preview{doc, scene};
};

} // namespace

TEST_F(DocumentPreviewTest, ThePreviewImageIsTheRebuiltMap) {
    EXPECT_EQ(scene.objectCount(), 0);
    doc.newShape();
    const ImageBuffer* image = scene.firstSculptImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels, doc.mesh().map);
}

TEST_F(DocumentPreviewTest, SheetTypesStitchAsPlanesAndPoleTypesAsSpheres) {
    doc.newShape();
    doc.setType(DIM_SHEET_BSPLINE_ALONG);
    EXPECT_EQ(scene.findObject(preview.previewObjectId)->stitchType, STITCH_PLANE);
    EXPECT_EQ(doc.mesh().SPDimType, DIM_SHEET_BSPLINE_ALONG);

    const int previous = preview.previewObjectId;
    doc.setType(DIM_POLES_BSPLINE);
    const GLMesh* mesh = scene.findObject(preview.previewObjectId);
    EXPECT_EQ(mesh->stitchType, STITCH_SPHERE);
    EXPECT_TRUE(mesh->isSelected());
    EXPECT_EQ(mesh->scale, doc.mesh().halfExtent);
    // The old preview and its image are gone: the preview and the markers, one image.
    EXPECT_EQ(scene.findObject(previous), nullptr);
    EXPECT_EQ(scene.objectCount(), 2);
    EXPECT_EQ(scene.imageCount(), 1);
}

TEST_F(DocumentPreviewTest, MarkersStandOnTheDocumentsMarkerPoints) {
    doc.newShape();
    std::vector<uint32_t> flags(8, 0);
    flags[6] = CELL_SELECTED;
    doc.setHandles(flags);
    doc.updateMarkers();
    const GLMesh* markers = scene.findObject(preview.markerObjectId);
    ASSERT_NE(markers, nullptr);
    ASSERT_EQ(markers->vertexCount(), 8u * GLMesh::MARKER_VERTICES);
    EXPECT_EQ(markers->pointFlags[6], CELL_SELECTED);
    EXPECT_EQ(markers->scale, doc.mesh().halfExtent);

    const Point3 h = doc.mesh().halfExtent;
    float minX = 1e9f, maxX = -1e9f, maxZ = -1e9f;
    for (size_t v = 0; v < markers->vertexCount(); ++v) {
        minX = std::min(minX, markers->positions[v * 3]);
        maxX = std::max(maxX, markers->positions[v * 3]);
        maxZ = std::max(maxZ, markers->positions[v * 3 + 2]);
    }
    EXPECT_NEAR(minX, -0.5f * h.x - GLMesh::MARKER_SIZE, 0.02f);
    EXPECT_NEAR(maxX, 0.5f * h.x + GLMesh::MARKER_SIZE, 0.02f);
    EXPECT_NEAR(maxZ, 0.5f * h.z, 0.02f);

    // A new marker update replaces the object rather than adding one.
    doc.updateMarkers();
    EXPECT_EQ(scene.objectCount(), 2);
}

TEST_F(DocumentPreviewTest, EachLevelOfDetailBuildsAMeshOfItsOwnSize) {
    preview.setLodLevel(2); // before any map: kept for the first one
    doc.newShape();
    EXPECT_EQ(scene.findObject(preview.previewObjectId)->vertexCount(), 17u * 17u);
    const size_t expected[] = {64 * 64, 33 * 33, 17 * 17, 9 * 9, 7 * 7};
    for (const int level : {1, 3, 4, 0, -1, 5}) { // the last two are ignored
        preview.setLodLevel(level);
        const GLMesh* mesh = scene.findObject(preview.previewObjectId);
        EXPECT_EQ(mesh->vertexCount(), expected[preview.lodLevel()]) << level;
        EXPECT_TRUE(mesh->isSelected());
        EXPECT_EQ(scene.objectCount(), 2); // replaced, not added
    }
    EXPECT_EQ(preview.lodLevel(), 0);
    preview.setLodLevel(4);
    doc.setType(DIM_SHEET_LINEAR); // the level stays through rebuilds
    EXPECT_EQ(scene.findObject(preview.previewObjectId)->vertexCount(), 7u * 7u);
}

// The scene's mesh decoder and the level-of-detail grid read the map separately; they must
// read the same pixels. The scene keeps the map's codes (X/256 - 0.5), the grid the picture's
// colours (red/255 - 0.5, red = 255 - X), so both are compared as map codes.
TEST_F(DocumentPreviewTest, APreviewLevelReadsTheSamePixelsAsViewers) {
    doc.newShape();
    for (const int32_t type : {DIM_POLES_CR, DIM_SHEET_BSPLINE}) {
        doc.setType(type);
        for (int level = 1; level < static_cast<int>(kLodLevels.size()); ++level) {
            preview.setLodLevel(level);
            const GLMesh* mesh = scene.findObject(preview.previewObjectId);
            LodGrid grid;
            ASSERT_TRUE(buildLodGrid(pictureOfMap(doc.mesh().map), kMapSide, kMapSide,
                                     previewStitch(type), kLodLevels[level].faces, grid));
            ASSERT_EQ(mesh->vertexCount(), grid.vertices.size());
            for (size_t v = 0; v < grid.vertices.size(); ++v) {
                const float* p = &mesh->positions[v * 3];
                const Point3 g = grid.vertices[v];
                ASSERT_EQ(std::lround((p[0] + 0.5f) * 256.0f), std::lround((0.5f - g.x) * 255.0f))
                    << type << " level " << level << " vertex " << v;
                ASSERT_EQ(std::lround((p[1] + 0.5f) * 256.0f), std::lround((0.5f - g.y) * 255.0f));
                ASSERT_EQ(std::lround((p[2] + 0.5f) * 256.0f), std::lround((g.z + 0.5f) * 255.0f));
            }
        }
    }
}

TEST(PreviewTexture, TheCheckerAlternatesItsCellsAndNumbersEachOne) {
    ImageBuffer checker;
    makeCheckerPicture(checker);
    ASSERT_TRUE(checker.hasWholePicture());
    ASSERT_EQ(checker.width, kTextureSide);
    constexpr int cell = kTextureSide / kCheckerCells;
    for (int row = 0; row < kCheckerCells; ++row) {
        for (int column = 0; column < kCheckerCells; ++column) {
            const auto at = [&](int x, int y) {
                return checker.pixels[static_cast<size_t>(row * cell + y) * kTextureSide +
                                      static_cast<size_t>(column * cell + x)];
            };
            const uint32_t ground = (row + column) % 2 == 0 ? kCheckerLight : kCheckerDark;
            EXPECT_EQ(at(1, 1), ground) << row << " " << column;
            EXPECT_EQ(at(cell - 2, cell - 2), ground) << row << " " << column;
            // The number stands in the middle, clear of the cell's edges.
            int digitPixels = 0;
            for (int y = 0; y < cell; ++y) {
                for (int x = 0; x < cell; ++x) {
                    const bool digit = at(x, y) == kCheckerDigit;
                    digitPixels += digit;
                    ASSERT_TRUE(!digit || (x > 2 && x < cell - 3 && y > 2 && y < cell - 3));
                }
            }
            EXPECT_GT(digitPixels, 100) << row << " " << column;
        }
    }
}

TEST_F(DocumentPreviewTest, TheShownTextureStaysThroughRebuildsAndLevelsWithoutPilingUp) {
    doc.newShape();
    const int images = scene.imageCount();
    const int meshPosition = scene.objectPosition(preview.previewObjectId);
    preview.showTexture(PreviewTextureKind::Picture); // none chosen: ignored
    EXPECT_EQ(preview.texture(), PreviewTextureKind::None);
    EXPECT_EQ(scene.findObject(preview.previewObjectId)->textureImageId, -1);

    preview.showTexture(PreviewTextureKind::Checker);
    EXPECT_EQ(scene.objectPosition(preview.previewObjectId), meshPosition) << "same pick number";
    for (const int level : {3, 0}) {
        preview.setLodLevel(level);
        doc.setType(DIM_SHEET_LINEAR);
        const GLMesh* mesh = scene.findObject(preview.previewObjectId);
        const ImageBuffer* texture = scene.findImage(mesh->textureImageId);
        ASSERT_NE(texture, nullptr) << level;
        EXPECT_EQ(texture->width, kTextureSide);
        EXPECT_EQ(scene.imageCount(), images + 1) << "one copy, for the one mesh";
        EXPECT_EQ(scene.firstSculptImage()->pixels, doc.mesh().map);
    }
    preview.showTexture(PreviewTextureKind::None);
    EXPECT_EQ(scene.findObject(preview.previewObjectId)->textureImageId, -1);
    EXPECT_EQ(scene.imageCount(), images);
}
