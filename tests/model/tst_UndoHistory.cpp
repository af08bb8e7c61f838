#include "Messages.h"
#include "ProjectFile.h"
#include "SPMesh.h"
#include "UndoHistory.h"

#include <gtest/gtest.h>

using namespace tesk;

namespace {
/// Confirms a state: pushes a slot and writes a one-byte marker into it.
void confirm(UndoHistories& histories, const std::string& name, uint8_t marker) {
    RecordingMessages messages;
    Snapshot* slot = histories.pushSnapshot(name, messages);
    ASSERT_NE(slot, nullptr);
    *slot = {marker};
    EXPECT_TRUE(messages.texts.empty());
}

int markerOf(const Snapshot* snapshot) {
    return snapshot != nullptr && snapshot->size() == 1 ? (*snapshot)[0] : -1;
}
} // namespace

TEST(UndoHistory, UndoStepsBackFromThePresentStateAndRedoReturns) {
    UndoHistories histories;
    confirm(histories, "a.tsk", 1); // the base: the state at load
    confirm(histories, "a.tsk", 2);
    confirm(histories, "a.tsk", 3);
    EXPECT_EQ(markerOf(histories.current("a.tsk")), 3);
    EXPECT_EQ(markerOf(histories.undo("a.tsk")), 2) << "the first undo goes back one state";
    EXPECT_EQ(markerOf(histories.undo("a.tsk")), 1) << "and the next one reaches the base";
    EXPECT_EQ(histories.undo("a.tsk"), nullptr) << "nothing lies before the base";
    EXPECT_EQ(markerOf(histories.current("a.tsk")), 1);
    EXPECT_EQ(markerOf(histories.redo("a.tsk")), 2);
    EXPECT_EQ(markerOf(histories.redo("a.tsk")), 3);
    EXPECT_EQ(histories.redo("a.tsk"), nullptr);
    EXPECT_EQ(markerOf(histories.current("a.tsk")), 3);
    EXPECT_EQ(histories.undo("never.tsk"), nullptr);
    EXPECT_EQ(histories.redo("never.tsk"), nullptr);
    EXPECT_EQ(histories.current("never.tsk"), nullptr);
    EXPECT_EQ(histories.size(), 1u) << "undo and redo create no history";

    histories.clear("a.tsk");
    EXPECT_EQ(histories.current("a.tsk"), nullptr);
    EXPECT_EQ(histories.redo("a.tsk"), nullptr);
    EXPECT_EQ(histories.find("a.tsk")->freeCount(), 40u) << "a cleared history frees its slots";
}

TEST(UndoHistory, KeepsTheLastFortySnapshots) {
    UndoHistories histories;
    for (int i = 1; i <= 41; ++i) {
        confirm(histories, "a.tsk", static_cast<uint8_t>(i));
    }
    UndoHistory* history = histories.find("a.tsk");
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->undoDepth(), 40u);
    EXPECT_EQ(history->freeCount(), 0u);
    for (int expected = 40; expected >= 2; --expected) {
        EXPECT_EQ(markerOf(histories.undo("a.tsk")), expected);
    }
    EXPECT_EQ(histories.undo("a.tsk"), nullptr) << "the first snapshot is gone";
}

TEST(UndoHistory, PushAfterUndoDropsEveryRedoSnapshot) {
    UndoHistories histories;
    for (uint8_t i = 1; i <= 4; ++i) {
        confirm(histories, "a.tsk", i);
    }
    histories.undo("a.tsk");
    histories.undo("a.tsk");
    confirm(histories, "a.tsk", 9);
    EXPECT_EQ(histories.redo("a.tsk"), nullptr);
    const UndoHistory* history = histories.find("a.tsk");
    EXPECT_EQ(history->undoDepth(), 3u);
    EXPECT_EQ(history->redoDepth(), 0u);
    EXPECT_EQ(history->freeCount(), 37u) << "the dropped slots are free again";
    EXPECT_EQ(markerOf(histories.undo("a.tsk")), 2);
    EXPECT_EQ(markerOf(histories.undo("a.tsk")), 1);
}

TEST(UndoHistory, FullPoolTakesTheOldestUndoSlotBeforeFreeingRedo) {
    UndoHistories histories(3);
    confirm(histories, "a.tsk", 1);
    confirm(histories, "a.tsk", 2);
    confirm(histories, "a.tsk", 3);
    histories.undo("a.tsk");
    confirm(histories, "a.tsk", 4);
    EXPECT_EQ(histories.find("a.tsk")->freeCount(), 1u);
    EXPECT_EQ(markerOf(histories.current("a.tsk")), 4);
    EXPECT_EQ(markerOf(histories.undo("a.tsk")), 2);
    EXPECT_EQ(histories.undo("a.tsk"), nullptr) << "the oldest state gave its slot";
}

TEST(UndoHistory, NamesDifferingOnlyInCaseAreTwoFiles) {
    UndoHistories histories;
    confirm(histories, "/home/u/Case.tsk", 1);
    confirm(histories, "/home/u/Case.tsk", 2);
    confirm(histories, "/home/u/case.tsk", 7);
    EXPECT_EQ(histories.size(), 2u);
    EXPECT_EQ(markerOf(histories.undo("/home/u/Case.tsk")), 1);
    EXPECT_EQ(histories.undo("/home/u/case.tsk"), nullptr) << "case.tsk has only its base";
    EXPECT_EQ(markerOf(histories.current("/home/u/case.tsk")), 7);
    EXPECT_EQ(histories.find("/home/u/CASE.tsk"), nullptr);
}

TEST(UndoHistory, LongNamesAreKeptWhole) {
    UndoHistories histories;
    const std::string stem(300, 'x');
    confirm(histories, stem + "A.tsk", 1);
    confirm(histories, stem + "B.tsk", 2);
    EXPECT_EQ(histories.size(), 2u) << "names equal in their first 255 characters stay apart";
    EXPECT_EQ(histories.find(stem + "A.tsk")->fileName(), stem + "A.tsk");
    EXPECT_EQ(markerOf(histories.current(stem + "A.tsk")), 1);
}

TEST(UndoHistory, NoSlotIsReported) {
    UndoHistories histories(0);
    RecordingMessages messages;
    EXPECT_EQ(histories.pushSnapshot("a.tsk", messages), nullptr);
    EXPECT_EQ(messages.texts, std::vector<std::string>{kUndoBufferErrorMessage});
    EXPECT_EQ(histories.undo("a.tsk"), nullptr);
}

TEST(UndoHistory, AReusedSlotNeverPassesForTheNewState) {
    UndoHistories histories(1);
    confirm(histories, "a.tsk", 1);
    RecordingMessages messages;
    Snapshot* slot = histories.pushSnapshot("a.tsk", messages);
    ASSERT_NE(slot, nullptr);
    EXPECT_TRUE(slot->empty()) << "the old image is gone before anything is written";

    SPMesh mesh;
    mesh.makeDefault();
    const Snapshot* unwritten = histories.current("a.tsk");
    ASSERT_NE(unwritten, nullptr);
    EXPECT_FALSE(loadProjectImage(*unwritten, mesh, messages));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kBadFileContentMessage});
    EXPECT_EQ(mesh.lineCount(), 4);
}

TEST(UndoHistory, SnapshotsHoldEveryLoadableShape) {
    // 63 lines of 64 points make an image far above the old 5,120-byte slots.
    SPMesh large;
    large.reset(64, 63);
    large.setPoint(63, 62, {1, 2, 3});
    large.SPDimType = DIM_SHEET_LINEAR;
    UndoHistories histories;
    RecordingMessages messages;
    saveProjectImage(large, *histories.pushSnapshot("big.tsk", messages));
    SPMesh small;
    small.makeDefault();
    saveProjectImage(small, *histories.pushSnapshot("big.tsk", messages));

    SPMesh mesh;
    ASSERT_TRUE(loadProjectImage(*histories.current("big.tsk"), mesh, messages));
    EXPECT_EQ(mesh.lineCount(), 4);
    ASSERT_TRUE(loadProjectImage(*histories.undo("big.tsk"), mesh, messages));
    EXPECT_EQ(mesh.lineCount(), 63);
    EXPECT_EQ(mesh.line(62).points[63], (Point3{1, 2, 3}));
    EXPECT_EQ(mesh.SPDimType, DIM_SHEET_LINEAR);
    EXPECT_TRUE(messages.texts.empty());
}
