// The preview's pointer rules on a document and its scene, fed with hand-made pick images: the
// cases a real window cannot set up at will.
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "Messages.h"
#include "PreviewInteraction.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

constexpr int W = 200;
constexpr int H = 150;
constexpr int PER_MARKER = GLMesh::MARKER_INDICES / 3;

class PreviewInteractionTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.newShape(); // 8 cells
        interaction.setViewSize(W, H);
    }
    int meshNumber() const { return scene.objectPosition(preview.previewObjectId) + 1; }
    int markerNumber() const { return scene.objectPosition(preview.markerObjectId) + 1; }

    /// What the view does before a press: a new pick image, empty but for `marks`.
    void showPickImage(std::initializer_list<std::array<int, 4>> marks) {
        PickImage& image = interaction.pickImage();
        image.width = W;
        image.height = H;
        image.pixels.assign(W * H, 0u);
        for (const auto& [x, y, object, triangle] : marks) {
            image.pixels[static_cast<size_t>((H - 1 - y) * W + x)] =
                static_cast<uint32_t>(object) | static_cast<uint32_t>(triangle) << 8;
        }
    }
    uint32_t selected(uint32_t cell) const { return doc.handles()[cell] & CELL_SELECTED; }

    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    GLScene scene;
    DocumentPreview preview{doc, scene};
    PreviewInteraction interaction{doc, preview};
};

} // namespace

TEST_F(PreviewInteractionTest, AMarkerNumberBeyondTheCellsChangesNothing) {
    showPickImage({{40, 30, markerNumber(), 8 * PER_MARKER}});
    EXPECT_FALSE(interaction.press(40, 30));
    showPickImage({{40, 30, markerNumber(), 7 * PER_MARKER + 19}});
    EXPECT_TRUE(interaction.press(40, 30));
    EXPECT_EQ(std::count(doc.handles().begin(), doc.handles().end(), CELL_SELECTED), 1);
    EXPECT_TRUE(selected(7));
}

TEST_F(PreviewInteractionTest, ALassoCatchesWhatThePickImageShowedAtItsStart) {
    const int markers = markerNumber();
    showPickImage({{100, 75, meshNumber(), 300},
                   {60, 60, markers, 1 * PER_MARKER},
                   {120, 90, markers, 2 * PER_MARKER + 4},
                   {150, 60, markers, 6 * PER_MARKER}}); // outside the lasso
    scene.objectAt(meshNumber() - 1)->selection = 0;
    ASSERT_TRUE(interaction.press(100, 75));
    EXPECT_TRUE(scene.objectAt(meshNumber() - 1)->isSelected());
    showPickImage({}); // a later pick image must not count
    EXPECT_FALSE(interaction.press(60, 60)) << "no second press while one runs";
    for (const auto& [x, y] : {std::pair{50, 50}, {130, 50}, {130, 100}, {50, 100}}) {
        EXPECT_TRUE(interaction.move(x, y));
    }
    EXPECT_FALSE(interaction.move(51, 101)) << "too close to the last point";
    EXPECT_TRUE(interaction.release(50, 100));
    EXPECT_TRUE(selected(1) && selected(2) && !selected(6));
    EXPECT_EQ(preview.cameras[0].rotation, GLCamera::IDENTITY_ROTATION) << "a lasso does not turn";

    // Two points enclose nothing.
    showPickImage({{100, 75, meshNumber(), 0}, {5, 5, markers, 4 * PER_MARKER}});
    interaction.press(100, 75);
    interaction.move(0, 0);
    interaction.move(W, H);
    interaction.release(W, H);
    EXPECT_FALSE(selected(4));
}

TEST_F(PreviewInteractionTest, WithoutAViewNothingTurnsAndNothingIsPicked) {
    interaction.setViewSize(0, 0);
    interaction.pickImage().clear();
    interaction.press(3, 3);
    EXPECT_EQ(interaction.gesture(), PreviewInteraction::Gesture::CameraDrag);
    interaction.move(40, 40);
    interaction.release(40, 40);
    EXPECT_EQ(preview.cameras[0].rotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(interaction.pickId(), -1);
}

TEST_F(PreviewInteractionTest, ClearingDeselectsAndKeepsTheOtherMarks) {
    std::vector<uint32_t> flags(8, CELL_SELECTED);
    flags[3] |= CELL_HOVER;
    flags[6] = CELL_IN_BAND;
    doc.setHandles(flags);
    interaction.clearSelection();
    flags.assign(8, 0);
    flags[3] = CELL_HOVER;
    flags[6] = CELL_IN_BAND;
    EXPECT_TRUE(std::equal(flags.begin(), flags.end(), doc.handles().begin()));
}
