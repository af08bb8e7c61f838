#include "Ctesk001Doc.h"

#include "EffectRecord.h"
#include "GLScene.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "SurfaceBuilder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

struct Watcher : DocumentObserver {
    void fileNameChanged(const std::string& name) override { names.push_back(name); }
    void projectStored(const std::string&, bool) override { ++stored; }
    void shapeRebuilt() override { ++rebuilt; }
    std::vector<std::string> names;
    int stored = 0;
    int rebuilt = 0;
};

class DocTest : public ::testing::Test {
protected:
    DocTest() : doc(messages, scene, "/opt/tesk/") { doc.setObserver(&watcher); }

    RecordingMessages messages;
    GLScene scene;
    Ctesk001Doc doc;
    Watcher watcher;
};

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

} // namespace

TEST_F(DocTest, StartsEmptyWithTheDefaultNamesAndRefusesToRebuild) {
    EXPECT_EQ(doc.getFileName(), "tesk.tsk");
    EXPECT_EQ(doc.getBitmapFileName(), "tesk.bmp");
    EXPECT_EQ(captionFor(doc.getFileName()), "TESK ( Brenmold ) version 0.0.5.1 << tesk.tsk >>");
    EXPECT_FALSE(doc.rebuild());
    EXPECT_EQ(watcher.rebuilt, 0);
    EXPECT_EQ(scene.objectCount(), 0);
}

TEST_F(DocTest, WithoutEffectsTheMapIsTheEncodersMap) {
    doc.newShape();
    SPMesh reference;
    reference.makeDefault();
    ASSERT_TRUE(BuildSurface(reference, doc.selectedType, messages));
    EXPECT_EQ(doc.mesh.map, reference.map);
    EXPECT_EQ(watcher.rebuilt, 1);

    // The preview image holds the map the rebuild produced.
    const ImageBuffer* image = scene.firstSculptImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels, doc.mesh.map);
}

TEST_F(DocTest, EnabledEffectsChangeTheMapAndDisabledOnesDoNot) {
    doc.newShape();
    const std::vector<uint32_t> plain = doc.mesh.map;

    auto effect = std::make_unique<EffectRecord>();
    effect->allocate(64, 64);
    for (size_t i = 0; i < effect->pixels.size(); ++i) {
        effect->pixels[i] = (i % 7 == 0) ? 0xFFFFFFu : 0x000000u;
    }
    effect->setTypeCode(EFFECT_NORMAL);
    effect->strength = 50.0f;
    effect->enabled = 0;
    doc.mesh.effects.append(std::move(effect));
    doc.rebuild();
    EXPECT_EQ(doc.mesh.map, plain);

    doc.mesh.effects.at(0)->enabled = 1;
    doc.rebuild();
    EXPECT_NE(doc.mesh.map, plain);
}

TEST_F(DocTest, SheetTypesStitchAsPlanesAndPoleTypesAsSpheres) {
    doc.newShape();
    doc.selectedType = DIM_SHEET_BSPLINE_ALONG;
    ASSERT_TRUE(doc.rebuild());
    EXPECT_EQ(scene.findObject(doc.previewObjectId)->stitchType, STITCH_PLANE);
    EXPECT_EQ(doc.mesh.SPDimType, DIM_SHEET_BSPLINE_ALONG);

    const int previous = doc.previewObjectId;
    doc.selectedType = DIM_POLES_BSPLINE;
    ASSERT_TRUE(doc.rebuild());
    const GLMesh* preview = scene.findObject(doc.previewObjectId);
    EXPECT_EQ(preview->stitchType, STITCH_SPHERE);
    EXPECT_TRUE(preview->isSelected());
    EXPECT_EQ(preview->scale, doc.mesh.halfExtent);
    // The old preview and its image are gone: one object, one image.
    EXPECT_EQ(scene.findObject(previous), nullptr);
    EXPECT_EQ(scene.objectCount(), 1);
    EXPECT_EQ(scene.imageCount(), 1);
}

TEST_F(DocTest, MarkersSpanHalfTheExtentAndPivotIsTheSelectedMean) {
    doc.newShape();
    std::vector<NetCell> cells(8);
    cells[0].flags = CELL_SELECTED;
    cells[1].flags = CELL_SELECTED;
    cells[6].flags = CELL_SELECTED;
    // A table that does not match the shape is ignored.
    doc.handles = cells.data();
    doc.handleCount = 7;
    doc.updateMarkers();
    EXPECT_EQ(doc.markerObjectId, -1);

    doc.handleCount = 8;
    doc.updateMarkers();
    const GLMesh* markers = scene.findObject(doc.markerObjectId);
    ASSERT_NE(markers, nullptr);
    ASSERT_EQ(markers->vertexCount(), 8u * GLMesh::MARKER_VERTICES);
    EXPECT_EQ(markers->pointFlags[6], CELL_SELECTED);

    // Marker k is centred on its point; line 1 is the top (z = 1) of the default cube.
    const Point3 h = doc.mesh.halfExtent;
    float minX = 1e9f, maxX = -1e9f, maxZ = -1e9f;
    for (size_t v = 0; v < markers->vertexCount(); ++v) {
        minX = std::min(minX, markers->positions[v * 3]);
        maxX = std::max(maxX, markers->positions[v * 3]);
        maxZ = std::max(maxZ, markers->positions[v * 3 + 2]);
    }
    EXPECT_NEAR(minX, -0.5f * h.x - GLMesh::MARKER_SIZE, 0.02f);
    EXPECT_NEAR(maxX, 0.5f * h.x + GLMesh::MARKER_SIZE, 0.02f);
    EXPECT_NEAR(maxZ, 0.5f * h.z, 0.02f);

    doc.computeSelectionCentroid();
    // Cells 0 and 1: (-1,-1,1), (1,-1,1) of line 1; cell 6: (1,1,-1) of line 2.
    EXPECT_FLOAT_EQ(doc.pivot.x, 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(doc.pivot.y, -1.0f / 3.0f);
    EXPECT_FLOAT_EQ(doc.pivot.z, 1.0f / 3.0f);
}

TEST_F(DocTest, SaveAndLoadRecordTheNameAndTheStoredType) {
    doc.newShape();
    doc.selectedType = DIM_POLES_CR;
    doc.rebuild();
    const std::string path = tempPath("tesk_doc_roundtrip.tsk");
    ASSERT_TRUE(doc.saveProject(path));
    EXPECT_EQ(doc.getFileName(), path);
    EXPECT_EQ(watcher.stored, 1);

    doc.newShape();
    doc.selectedType = DIM_POLES_LINEAR;
    ASSERT_TRUE(doc.loadProject(path));
    EXPECT_EQ(doc.selectedType, DIM_POLES_CR);
    EXPECT_EQ(doc.getFileName(), path);
    EXPECT_EQ(watcher.names.back(), path);
    EXPECT_EQ(watcher.stored, 2);

    // Memory mode: the snapshot loads back the same shape under the given name.
    std::vector<uint8_t> snapshot;
    ASSERT_TRUE(doc.saveProject("snap.tsk", &snapshot));
    doc.mesh.setPoint(0, 1, {5, 5, 5});
    ASSERT_TRUE(doc.loadProject("snap.tsk", &snapshot));
    Point3 p;
    ASSERT_TRUE(doc.mesh.getPoint(0, 1, p));
    EXPECT_EQ(p, (Point3{-1, -1, 1}));
}

TEST_F(DocTest, FailedLoadsAndSavesChangeNothing) {
    doc.newShape();
    doc.selectedType = DIM_SHEET_LINEAR;
    doc.rebuild();
    const std::vector<uint32_t> map = doc.mesh.map;
    const int stored = watcher.stored;

    EXPECT_FALSE(doc.loadProject(tempPath("tesk_doc_missing_dir/none.tsk")));
    EXPECT_FALSE(doc.loadProject(""));
    EXPECT_FALSE(doc.saveProject(tempPath("tesk_doc_missing_dir/x.tsk")));
    EXPECT_FALSE(doc.saveProject(""));
    std::vector<uint8_t> garbage = {1, 2, 3};
    EXPECT_FALSE(doc.loadProject("bad.tsk", &garbage));

    EXPECT_EQ(doc.getFileName(), "tesk.tsk");
    EXPECT_EQ(doc.selectedType, DIM_SHEET_LINEAR);
    EXPECT_EQ(doc.mesh.map, map);
    EXPECT_EQ(doc.mesh.lineCount(), 4);
    EXPECT_EQ(watcher.stored, stored);
    EXPECT_GE(messages.texts.size(), 3u); // every failure that reached a file was reported
}
