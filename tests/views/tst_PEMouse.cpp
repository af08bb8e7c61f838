#include "CellFlags.h"
#include "Ctesk001Doc.h"
#include "Messages.h"
#include "PEMouse.h"
#include "PENet.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

using namespace tesk;

namespace {

using Cells = std::vector<uint32_t>;

// An empty spot of the 400 x 460 view: left of every point and segment.
constexpr NetPoint kEmpty{2, 150};

class MouseTest : public ::testing::Test, public DocumentListener {
protected:
    MouseTest() : doc(messages, "/opt/tesk/"), mouse(doc, net) {
        doc.addListener(this, ListenerRank::PointEditor);
        net.layout(400, 460);
        doc.newShape();
    }
    ~MouseTest() override { doc.removeListener(this); }
    void shapeRebuilt() override { net.update(doc.mesh()); } // as the view does

    static NetPoint centre(const NetRect& r) { return {r.centreX(), r.centreY()}; }
    NetPoint cell(size_t k) const { return centre(net.cells.at(k).rect); }
    NetPoint badge(size_t m) const { return centre(net.markers.at(m).rect); }
    bool move(NetPoint p) { return mouse.move(p.x, p.y); }
    bool press(NetPoint p) {
        mouse.move(p.x, p.y);
        return mouse.leftDown(p.x, p.y);
    }
    void click(NetPoint p) {
        press(p);
        mouse.leftUp();
    }
    /// Presses on the middle of a segment, which must be the one the pointer lights.
    void pressSegment(size_t segment) {
        move(net.midpoint(segment));
        ASSERT_EQ(net.hoveredSegment(), static_cast<int>(segment));
        EXPECT_TRUE(mouse.leftDown(net.midpoint(segment).x, net.midpoint(segment).y));
        mouse.leftUp();
    }
    Cells with(uint32_t bit) const {
        Cells found;
        for (uint32_t k = 0; k < doc.handleCount(); ++k) {
            if ((doc.handles()[k] & bit) != 0) {
                found.push_back(k);
            }
        }
        return found;
    }
    Cells selected() const { return with(CELL_SELECTED); }
    void select(Cells cells) {
        Cells f(doc.handleCount(), 0);
        for (uint32_t k : cells) {
            f[k] = CELL_SELECTED;
        }
        doc.setHandles(f);
    }
    Point3 point(int index, int line) const {
        Point3 p;
        EXPECT_TRUE(doc.mesh().getPoint(index, line, p));
        return p;
    }

    RecordingMessages messages;
    Ctesk001Doc doc;
    PENet net;
    PEMouse mouse;
};

} // namespace

TEST_F(MouseTest, ClicksToggleLitPointsAndTheEndsOfALitSegmentButNoPole) {
    mouse.leftDown(cell(5).x, cell(5).y);
    mouse.leftUp();
    EXPECT_EQ(selected(), Cells{}) << "no move, nothing lit, no toggle";
    EXPECT_TRUE(move(cell(5)));
    EXPECT_EQ(with(CELL_HOVER), Cells{5});
    EXPECT_EQ(net.hoveredSegment(), -1) << "a lit point keeps the segments dark";
    EXPECT_FALSE(move(cell(5))) << "nothing changed, no repaint";
    click(cell(5));
    EXPECT_EQ(selected(), Cells{5});
    EXPECT_EQ(doc.pivot(), point(1, 2));
    click(cell(5));
    EXPECT_EQ(selected(), Cells{});

    pressSegment(0);
    EXPECT_EQ(selected(), (Cells{0, 1}));
    pressSegment(8); // top pole to point 0
    EXPECT_EQ(selected(), Cells{1});
}

TEST_F(MouseTest, ABandTogglesWhatItCoversOnReleaseWhereverThatIs) {
    select({0, 1});
    press(kEmpty);
    EXPECT_TRUE(mouse.captured() && mouse.banding());
    EXPECT_EQ(selected(), (Cells{0, 1})) << "an empty press changes nothing";
    move({390, 200});
    EXPECT_EQ(with(CELL_IN_BAND), (Cells{0, 1, 2, 3}));
    move({390, 120});
    EXPECT_EQ(with(CELL_IN_BAND), Cells{}) << "the band left the first ring";
    move({390, 200});
    mouse.leftUp();
    EXPECT_EQ(selected(), (Cells{2, 3}));
    EXPECT_EQ(with(CELL_IN_BAND), Cells{});
    EXPECT_FALSE(mouse.captured() || mouse.banding());

    press({390, 450});
    move({-50, -50}); // outside the window: the view still hears the pointer
    mouse.leftUp();
    EXPECT_EQ(selected(), (Cells{0, 1, 4, 5, 6, 7}));
}

TEST_F(MouseTest, PressingOnAPointThenBandingOverItTogglesItTwice) {
    press(cell(0));
    EXPECT_EQ(selected(), Cells{0});
    move({120, 190});
    EXPECT_EQ(with(CELL_IN_BAND), (Cells{0, 1}));
    mouse.leftUp();
    EXPECT_EQ(selected(), Cells{1});
}

TEST_F(MouseTest, ARightClickEndsABandUntouchedAndOtherwiseClearsEverything) {
    select({4});
    press(kEmpty);
    move({390, 200});
    EXPECT_TRUE(mouse.rightDown());
    EXPECT_FALSE(mouse.captured() || mouse.banding());
    EXPECT_EQ(with(CELL_IN_BAND), Cells{});
    mouse.leftUp();
    EXPECT_EQ(selected(), Cells{4});

    move(cell(6));
    mouse.rightDown();
    EXPECT_EQ(Cells(doc.handles().begin(), doc.handles().end()), Cells(8, 0));
}

TEST_F(MouseTest, InDivideModeOnlySegmentsReactToThePointer) {
    const NetPoint offSegments{103, 301}; // inside point 5's square, off every segment
    move(offSegments);
    EXPECT_EQ(with(CELL_HOVER), Cells{5});
    mouse.chooseDivide(true, false);
    EXPECT_EQ(mouse.mode(), MODE_DIVIDE_ADD);
    EXPECT_TRUE(move(offSegments));
    EXPECT_EQ(with(CELL_HOVER), Cells{});

    move(net.midpoint(13)); // point 1 down to point 5
    EXPECT_EQ(net.hoveredSegment(), 13);
    EXPECT_EQ(with(CELL_HOVER), (Cells{1, 5}));
    EXPECT_TRUE(move(kEmpty));
    EXPECT_EQ(net.hoveredSegment(), -1);
    EXPECT_EQ(with(CELL_HOVER), Cells{}) << "the end points go dark with the segment";
}

TEST_F(MouseTest, AddModeInsertsAColumnAfterTheClosingSegmentAndALineBelowAPole) {
    const Point3 between = midpoint(point(3, 1), point(0, 1));
    select({2});
    mouse.chooseAdd();
    pressSegment(3);
    ASSERT_EQ(doc.mesh().pointsPerLine(), 5);
    EXPECT_EQ(point(4, 1), between);
    EXPECT_EQ(net.cells.size(), 10u);
    EXPECT_EQ(selected(), Cells{}) << "new dimensions, new cells";

    const Point3 below = midpoint(point(1, 0), point(1, 1));
    pressSegment(11); // top pole to point 1
    ASSERT_EQ(doc.mesh().lineCount(), 5);
    EXPECT_EQ(point(1, 1), below);
    EXPECT_EQ(net.cells.size(), 15u);
}

TEST_F(MouseTest, RefusedDividesChangeNothingButTheNetIsStillRefreshed) {
    mouse.chooseDelete();
    pressSegment(0);
    EXPECT_EQ(doc.mesh().lineCount(), 4) << "four lines always remain";

    ASSERT_TRUE(doc.insertColumn(0));
    pressSegment(10); // the vertical segment of column 0
    EXPECT_EQ(doc.mesh().pointsPerLine(), 5) << "column 0 is never deleted";
    EXPECT_EQ(net.cells.size(), doc.handleCount());
    pressSegment(12); // column 2
    EXPECT_EQ(doc.mesh().pointsPerLine(), 4);
    EXPECT_EQ(net.cells.size(), 8u);

    ASSERT_TRUE(doc.insertLine(1));
    const Point3 kept = point(0, 3);
    pressSegment(4); // a ring segment of line 2
    ASSERT_EQ(doc.mesh().lineCount(), 4);
    EXPECT_EQ(point(0, 2), kept);

    while (doc.mesh().pointsPerLine() < kMaxEditPoints) {
        ASSERT_TRUE(doc.insertColumn(0));
    }
    mouse.chooseAdd();
    pressSegment(0);
    EXPECT_EQ(doc.mesh().pointsPerLine(), kMaxEditPoints);
}

TEST_F(MouseTest, BadgesToggleLevelsAndEachGroupHoldsFiveImportantOnes) {
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(doc.insertColumn(0));
    }
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(doc.insertLine(0));
    }
    ASSERT_EQ(net.markers.size(), 6u + 6u);
    click(badge(0));
    EXPECT_EQ(net.markers[0].level, LEVEL_IMPORTANT);
    click(badge(0));
    EXPECT_EQ(doc.mesh().columnLevel(0), LEVEL_NORMAL);

    for (size_t i = 0; i < 12; ++i) {
        click(badge(i));
    }
    // The sixth column and the sixth line are refused, each counted in its own group.
    EXPECT_EQ(messages.texts, std::vector<std::string>(2, kTooManyImportantMessage));
    EXPECT_EQ(doc.mesh().columnLevel(4), LEVEL_IMPORTANT);
    EXPECT_EQ(doc.mesh().columnLevel(5), LEVEL_NORMAL);
    EXPECT_EQ(doc.mesh().lineLevel(5), LEVEL_IMPORTANT);
    EXPECT_EQ(doc.mesh().lineLevel(6), LEVEL_NORMAL);
    EXPECT_EQ(net.markers[11].level, LEVEL_NORMAL);

    move(badge(2)); // a badge lights its whole column
    EXPECT_EQ(net.markers[2].flags, CELL_HOVER);
    EXPECT_EQ(with(CELL_HOVER), (Cells{2, 8, 14, 20, 26, 32}));
}

TEST_F(MouseTest, ALoadOfTheSameDimensionsKeepsTheSelectionAndShowsTheLoadedLevels) {
    tesk::testing::ScratchDir scratch{"tesk_pemouse"};
    ASSERT_TRUE(doc.toggleColumnLevel(2));
    ASSERT_TRUE(doc.toggleLineLevel(2));
    ASSERT_TRUE(doc.saveProject(scratch.file("same.tsk")));
    ASSERT_TRUE(doc.insertColumn(0));
    ASSERT_TRUE(doc.saveProject(scratch.file("wider.tsk")));

    doc.newShape();
    click(cell(3));
    click(cell(6));
    ASSERT_TRUE(doc.loadProject(scratch.file("same.tsk")));
    EXPECT_EQ(selected(), (Cells{3, 6}));
    EXPECT_EQ(net.markers[2].level, LEVEL_IMPORTANT);
    EXPECT_EQ(net.markers[5].level, LEVEL_IMPORTANT);
    EXPECT_EQ(net.markers[1].level, LEVEL_NORMAL);
    ASSERT_TRUE(doc.loadProject(scratch.file("wider.tsk")));
    EXPECT_EQ(selected(), Cells{});
}

TEST_F(MouseTest, SelectModeKeepsTheDivideOperationAndAModeChangeEndsTheBand) {
    mouse.chooseDivide(false, true);
    mouse.chooseSelect();
    EXPECT_EQ(mouse.mode(), 0x21);
    ASSERT_TRUE(doc.insertColumn(0));
    pressSegment(10); // select mode after all: picks the ends, deletes nothing
    EXPECT_EQ(doc.mesh().pointsPerLine(), 5);
    EXPECT_EQ(selected(), Cells{0});

    press(kEmpty);
    move({390, 200});
    mouse.chooseDivide(true, true);
    EXPECT_EQ(mouse.mode(), MODE_DIVIDE_ADD);
    EXPECT_FALSE(mouse.banding());
    EXPECT_EQ(with(CELL_IN_BAND), Cells{});
    EXPECT_EQ(selected(), Cells{0});
}
