// The preview's scene objects follow the document: one preview mesh from the rebuilt map, the
// point markers from the document's marker points.
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "Messages.h"

#include <gtest/gtest.h>

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
