// The preview's pointer rules on the document and its scene, fed with pick images made by hand:
// what a press on a marker, the mesh or the background does, and the lasso's outcome.
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "Messages.h"
#include "PreviewInteraction.h"

#include <gtest/gtest.h>

using namespace tesk;

namespace {

constexpr int W = 200;
constexpr int H = 150;
constexpr int TRIANGLES_PER_MARKER = GLMesh::MARKER_INDICES / 3;

struct SelectionCounter : DocumentListener {
    void selectionChanged() override { ++changes; }
    int changes = 0;
};

class PreviewInteractionTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.newShape(); // 8 cells
        doc.addListener(&counter);
        interaction.setViewSize(W, H);
    }
    void TearDown() override { doc.removeListener(&counter); }

    int meshNumber() const { return scene.objectPosition(preview.previewObjectId) + 1; }
    int markerNumber() const { return scene.objectPosition(preview.markerObjectId) + 1; }

    /// What the view does before a press: a new pick image, here empty but for `marks`.
    struct Mark {
        int x, y, object, triangle;
    };
    void showPickImage(std::initializer_list<Mark> marks) {
        PickImage& image = interaction.pickImage();
        image.width = W;
        image.height = H;
        image.pixels.assign(W * H, 0u);
        for (const Mark& m : marks) {
            image.pixels[static_cast<size_t>((H - 1 - m.y) * W + m.x)] =
                static_cast<uint32_t>(m.object) | static_cast<uint32_t>(m.triangle) << 8;
        }
    }

    std::vector<uint32_t> selectedCells() const {
        std::vector<uint32_t> cells;
        for (uint32_t k = 0; k < doc.handleCount(); ++k) {
            if ((doc.handles()[k] & CELL_SELECTED) != 0) {
                cells.push_back(k);
            }
        }
        return cells;
    }

    GLCamera& camera() { return preview.cameras[0]; }

    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    GLScene scene;
    DocumentPreview preview{doc, scene};
    PreviewInteraction interaction{doc, preview};
    SelectionCounter counter;
};

} // namespace

TEST_F(PreviewInteractionTest, APressOnAMarkerTogglesItsCell) {
    ASSERT_EQ(doc.handleCount(), 8u);
    showPickImage({{40, 30, markerNumber(), 5 * TRIANGLES_PER_MARKER + 13}});
    EXPECT_TRUE(interaction.press(40, 30));
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{5}));
    EXPECT_EQ(interaction.pickId(), markerNumber());
    EXPECT_EQ(interaction.pickElement(), 5 * TRIANGLES_PER_MARKER + 13);
    EXPECT_EQ(interaction.gesture(), PreviewInteraction::Gesture::None);
    EXPECT_FALSE(interaction.release(40, 30));
    EXPECT_EQ(counter.changes, 1);

    showPickImage({{40, 30, markerNumber(), 5 * TRIANGLES_PER_MARKER}});
    interaction.press(40, 30);
    EXPECT_TRUE(selectedCells().empty());

    // A marker number at or above the cell count changes nothing.
    showPickImage({{40, 30, markerNumber(), 8 * TRIANGLES_PER_MARKER}});
    EXPECT_FALSE(interaction.press(40, 30));
    EXPECT_TRUE(selectedCells().empty());
    EXPECT_EQ(counter.changes, 2);
}

TEST_F(PreviewInteractionTest, ABackgroundPressTurnsTheCameraAndAStillClickChangesNothing) {
    showPickImage({});
    interaction.press(10, 10);
    EXPECT_EQ(interaction.gesture(), PreviewInteraction::Gesture::CameraDrag);
    EXPECT_TRUE(interaction.release(10, 10));
    EXPECT_EQ(camera().rotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(camera().baseRotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(camera().rotationMatrix, GLCamera{}.rotationMatrix);
    EXPECT_EQ(counter.changes, 0);

    showPickImage({});
    interaction.press(0, 10);
    EXPECT_FALSE(interaction.press(50, 50)) << "no second press while one runs";
    EXPECT_TRUE(interaction.move(W / 2, 10));
    EXPECT_NEAR(camera().rotation[2], std::sin(0.25f), 1e-6f);
    EXPECT_EQ(camera().baseRotation, GLCamera::IDENTITY_ROTATION);
    interaction.release(W, 10);
    EXPECT_NEAR(camera().baseRotation[2], std::sin(0.5f), 1e-6f);
    EXPECT_EQ(interaction.pickId(), -1);
    EXPECT_EQ(interaction.gesture(), PreviewInteraction::Gesture::None);
    EXPECT_FALSE(interaction.move(0, 0)) << "no drag after the release";
}

TEST_F(PreviewInteractionTest, ALassoOverTheMeshTogglesTheMarkersItCaughtInItsPickImage) {
    doc.toggleSelected(std::vector<uint32_t>{2});
    scene.objectAt(meshNumber() - 1)->selection = 0;
    counter.changes = 0;
    const int markers = markerNumber();
    showPickImage({{100, 75, meshNumber(), 300},
                   {60, 60, markers, 1 * TRIANGLES_PER_MARKER},
                   {61, 60, markers, 1 * TRIANGLES_PER_MARKER + 4},
                   {120, 90, markers, 2 * TRIANGLES_PER_MARKER},
                   {150, 60, markers, 6 * TRIANGLES_PER_MARKER},  // outside the lasso
                   {90, 80, markers, 8 * TRIANGLES_PER_MARKER}}); // no such cell
    EXPECT_TRUE(interaction.press(100, 75));
    EXPECT_EQ(interaction.gesture(), PreviewInteraction::Gesture::Lasso);
    EXPECT_TRUE(scene.objectAt(meshNumber() - 1)->isSelected());

    EXPECT_TRUE(interaction.move(50, 50));
    EXPECT_FALSE(interaction.move(51, 51)) << "too close to the last point";
    interaction.move(130, 50);
    interaction.move(130, 100);
    interaction.move(50, 100);
    EXPECT_EQ(interaction.lasso().size(), 4u);
    EXPECT_EQ(camera().rotation, GLCamera::IDENTITY_ROTATION) << "a lasso does not turn";

    // Pick images read later do not change what the lasso catches.
    showPickImage({});
    EXPECT_TRUE(interaction.release(50, 100));
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{1}));
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(interaction.lasso().size(), 0u);
    EXPECT_EQ(interaction.pickId(), -1);
}

TEST_F(PreviewInteractionTest, ALassoOfTwoPointsOrOffTheWindowCatchesOnlyWhatItShould) {
    const int markers = markerNumber();
    showPickImage({{100, 75, meshNumber(), 0}, {5, 5, markers, 4 * TRIANGLES_PER_MARKER}});
    interaction.press(100, 75);
    interaction.move(0, 0);
    interaction.move(W, H);
    interaction.release(W, H);
    EXPECT_TRUE(selectedCells().empty());
    EXPECT_EQ(counter.changes, 0);

    // Round the whole window and beyond it.
    showPickImage({{100, 75, meshNumber(), 0},
                   {0, 0, markers, 4 * TRIANGLES_PER_MARKER},
                   {W - 1, H - 1, markers, 7 * TRIANGLES_PER_MARKER}});
    interaction.press(100, 75);
    for (const LassoPoint p :
         {LassoPoint{-300, -300}, {W + 300, -300}, {W + 300, H + 300}, {-300, H + 300}}) {
        interaction.move(p.x, p.y);
    }
    interaction.release(-300, H + 300);
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{4, 7}));
}

TEST_F(PreviewInteractionTest, WithoutAViewNothingTurnsAndNothingIsPicked) {
    interaction.setViewSize(0, 0);
    interaction.pickImage().clear();
    interaction.press(3, 3);
    interaction.move(40, 40);
    interaction.release(40, 40);
    EXPECT_EQ(camera().rotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_TRUE(selectedCells().empty());
}

TEST_F(PreviewInteractionTest, TheWheelZoomsAndTheRightButtonDeselectsEverything) {
    for (int notch = 0; notch < 3; ++notch) {
        EXPECT_TRUE(interaction.wheel(120));
    }
    EXPECT_NEAR(camera().distance, 4.28f, 1e-5f);

    std::vector<uint32_t> flags(8, 0);
    flags[1] = CELL_SELECTED;
    flags[3] = CELL_SELECTED | CELL_HOVER;
    flags[6] = CELL_IN_BAND;
    doc.setHandles(flags);
    counter.changes = 0;
    interaction.clearSelection();
    EXPECT_TRUE(selectedCells().empty());
    EXPECT_EQ(doc.handles()[3], CELL_HOVER);
    EXPECT_EQ(doc.handles()[6], CELL_IN_BAND);
    EXPECT_EQ(counter.changes, 1);
}
