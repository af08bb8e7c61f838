#include "CellFlags.h"
#include "Ctesk001Doc.h"
#include "Messages.h"
#include "PEMouse.h"
#include "PENet.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

using namespace tesk;

namespace {

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

    // What the view does on every rebuild.
    void shapeRebuilt() override { net.update(doc.mesh()); }

    NetPoint centre(size_t cell) const {
        const NetRect& r = net.cells.at(cell).rect;
        return {r.centreX(), r.centreY()};
    }
    NetPoint badge(size_t marker) const {
        const NetRect& r = net.markers.at(marker).rect;
        return {r.centreX(), r.centreY()};
    }
    bool move(NetPoint p) { return mouse.move(p.x, p.y); }
    void press(NetPoint p) {
        mouse.move(p.x, p.y);
        mouse.leftDown(p.x, p.y);
    }
    void click(NetPoint p) {
        press(p);
        mouse.leftUp();
    }
    /// Moves onto the middle of a segment, which must then be the hovered one.
    void hoverSegment(size_t segment) {
        move(net.midpoint(segment));
        ASSERT_EQ(net.hoveredSegment(), static_cast<int>(segment));
    }
    uint32_t flags(size_t cell) const { return doc.handles()[cell]; }
    std::vector<uint32_t> cellsWith(uint32_t bit) const {
        std::vector<uint32_t> found;
        for (uint32_t k = 0; k < doc.handleCount(); ++k) {
            if ((doc.handles()[k] & bit) != 0) {
                found.push_back(k);
            }
        }
        return found;
    }
    std::vector<uint32_t> selected() const { return cellsWith(CELL_SELECTED); }
    void select(std::initializer_list<uint32_t> cells) {
        std::vector<uint32_t> f(doc.handleCount(), 0);
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

using Cells = std::vector<uint32_t>;

} // namespace

TEST_F(MouseTest, AClickTogglesAPointOnlyOnceThePointerHasLitIt) {
    const NetPoint p = centre(5);
    mouse.leftDown(p.x, p.y);
    mouse.leftUp();
    EXPECT_EQ(selected(), Cells{}) << "no move, no hover, no toggle";

    EXPECT_TRUE(move(p));
    EXPECT_EQ(cellsWith(CELL_HOVER), Cells{5});
    EXPECT_EQ(net.hoveredSegment(), -1) << "a lit point keeps the segments dark";
    EXPECT_FALSE(move(p)) << "nothing changed, no repaint";
    EXPECT_TRUE(mouse.leftDown(p.x, p.y));
    mouse.leftUp();
    EXPECT_EQ(selected(), Cells{5});
    EXPECT_EQ(doc.pivot(), point(1, 2));

    click(p);
    EXPECT_EQ(selected(), Cells{});
    EXPECT_TRUE(move(kEmpty));
    EXPECT_EQ(cellsWith(CELL_HOVER), Cells{});
}

TEST_F(MouseTest, ASegmentClickTogglesItsEndPointsButNeverAPole) {
    hoverSegment(0);
    EXPECT_EQ(cellsWith(CELL_HOVER), (Cells{0, 1}));
    mouse.leftDown(net.midpoint(0).x, net.midpoint(0).y);
    mouse.leftUp();
    EXPECT_EQ(selected(), (Cells{0, 1}));

    hoverSegment(8); // top pole to point 0
    EXPECT_EQ(cellsWith(CELL_HOVER), Cells{0});
    mouse.leftDown(net.midpoint(8).x, net.midpoint(8).y);
    mouse.leftUp();
    EXPECT_EQ(selected(), Cells{1});
}

TEST_F(MouseTest, ABandTogglesThePointsItCoversInsteadOfReplacingTheSelection) {
    select({0, 1});
    press(kEmpty);
    EXPECT_TRUE(mouse.captured());
    EXPECT_TRUE(mouse.banding());
    EXPECT_EQ(selected(), (Cells{0, 1})) << "an empty press changes nothing";
    EXPECT_TRUE(move({390, 200}));
    EXPECT_EQ(cellsWith(CELL_IN_BAND), (Cells{0, 1, 2, 3}));
    move({390, 120});
    EXPECT_EQ(cellsWith(CELL_IN_BAND), Cells{}) << "the band left the first ring";
    move({390, 200});
    EXPECT_EQ(selected(), (Cells{0, 1})) << "nothing toggles before the release";
    mouse.leftUp();
    EXPECT_EQ(selected(), (Cells{2, 3}));
    EXPECT_EQ(cellsWith(CELL_IN_BAND), Cells{});
    EXPECT_FALSE(mouse.banding());
    EXPECT_FALSE(mouse.captured());
}

TEST_F(MouseTest, PressingOnAPointThenBandingOverItTogglesItTwice) {
    press(centre(0));
    EXPECT_EQ(selected(), Cells{0});
    move({120, 190});
    EXPECT_EQ(cellsWith(CELL_IN_BAND), (Cells{0, 1}));
    mouse.leftUp();
    EXPECT_EQ(selected(), Cells{1});
}

TEST_F(MouseTest, ARightClickEndsABandUntouchedAndOtherwiseClearsEverything) {
    select({4});
    press(kEmpty);
    move({390, 200});
    EXPECT_TRUE(mouse.rightDown());
    EXPECT_FALSE(mouse.banding());
    EXPECT_FALSE(mouse.captured());
    EXPECT_EQ(selected(), Cells{4});
    EXPECT_EQ(cellsWith(CELL_IN_BAND), Cells{});
    mouse.leftUp();
    EXPECT_EQ(selected(), Cells{4}) << "the release after the right click toggles nothing";

    move(centre(6));
    ASSERT_EQ(cellsWith(CELL_HOVER), Cells{6});
    EXPECT_TRUE(mouse.rightDown());
    for (uint32_t f : doc.handles()) {
        EXPECT_EQ(f, 0u);
    }
}

TEST_F(MouseTest, ABandEndsWhereverTheButtonIsReleased) {
    press({390, 450});
    move({-50, -50}); // outside the window: the view still hears the pointer
    EXPECT_EQ(cellsWith(CELL_IN_BAND).size(), 8u);
    mouse.leftUp();
    EXPECT_EQ(selected().size(), 8u);

    // A press while the band still holds the pointer only lets go; the release ends the band.
    press(kEmpty);
    move({390, 200});
    EXPECT_FALSE(mouse.leftDown(390, 200));
    EXPECT_FALSE(mouse.captured());
    mouse.leftUp();
    EXPECT_EQ(selected(), (Cells{4, 5, 6, 7}));
}

TEST_F(MouseTest, InDivideModeOnlySegmentsReactToThePointer) {
    const NetPoint offSegments{103, 301}; // inside point 5's square, off every segment
    move(offSegments);
    EXPECT_EQ(cellsWith(CELL_HOVER), Cells{5});

    mouse.chooseDivide(true, false);
    EXPECT_EQ(mouse.mode(), MODE_DIVIDE_ADD);
    EXPECT_TRUE(move(offSegments));
    EXPECT_EQ(cellsWith(CELL_HOVER), Cells{});
    EXPECT_EQ(net.hoveredSegment(), -1);

    hoverSegment(13); // point 1 down to point 5
    EXPECT_EQ(cellsWith(CELL_HOVER), (Cells{1, 5}));
    EXPECT_TRUE(move(kEmpty));
    EXPECT_EQ(net.hoveredSegment(), -1);
    EXPECT_EQ(cellsWith(CELL_HOVER), Cells{}) << "the end points go dark with the segment";
    hoverSegment(14);
}

TEST_F(MouseTest, AddModeInsertsAColumnAfterTheClosingSegmentAndALineBelowAPole) {
    const Point3 last = point(3, 1);
    const Point3 first = point(0, 1);
    select({2});
    mouse.chooseAdd();
    hoverSegment(3);
    EXPECT_TRUE(mouse.leftDown(net.midpoint(3).x, net.midpoint(3).y));
    mouse.leftUp();
    ASSERT_EQ(doc.mesh().pointsPerLine(), 5);
    const Point3 fresh = point(4, 1);
    EXPECT_EQ(fresh, midpoint(last, first));
    EXPECT_EQ(net.cells.size(), 10u);
    EXPECT_EQ(net.markers.size(), 7u);
    EXPECT_EQ(selected(), Cells{}) << "new dimensions, new cells";

    const Point3 pole = point(1, 0);
    const Point3 ring = point(1, 1);
    hoverSegment(11); // top pole to point 1
    mouse.leftDown(net.midpoint(11).x, net.midpoint(11).y);
    ASSERT_EQ(doc.mesh().lineCount(), 5);
    EXPECT_EQ(point(1, 1), midpoint(pole, ring));
    EXPECT_EQ(net.cells.size(), 15u);
    EXPECT_FALSE(mouse.banding()) << "divide clicks start no band";
}

TEST_F(MouseTest, RefusedDividesChangeNothingButTheNetIsStillRefreshed) {
    mouse.chooseDelete();
    hoverSegment(0);
    EXPECT_TRUE(mouse.leftDown(net.midpoint(0).x, net.midpoint(0).y));
    EXPECT_EQ(doc.mesh().lineCount(), 4) << "four lines always remain";

    ASSERT_TRUE(doc.insertColumn(0));
    hoverSegment(10); // the vertical segment of column 0
    EXPECT_TRUE(mouse.leftDown(net.midpoint(10).x, net.midpoint(10).y));
    EXPECT_EQ(doc.mesh().pointsPerLine(), 5) << "column 0 is never deleted";
    EXPECT_EQ(net.points(), 5);
    EXPECT_EQ(net.cells.size(), doc.handleCount());

    hoverSegment(12); // column 2
    mouse.leftDown(net.midpoint(12).x, net.midpoint(12).y);
    EXPECT_EQ(doc.mesh().pointsPerLine(), 4);
    EXPECT_EQ(net.cells.size(), 8u);

    ASSERT_TRUE(doc.insertLine(1));
    const Point3 kept = point(0, 3);
    hoverSegment(4); // a ring segment of line 2
    mouse.leftDown(net.midpoint(4).x, net.midpoint(4).y);
    ASSERT_EQ(doc.mesh().lineCount(), 4);
    EXPECT_EQ(point(0, 2), kept);

    while (doc.mesh().pointsPerLine() < kMaxEditPoints) {
        ASSERT_TRUE(doc.insertColumn(0));
    }
    mouse.chooseAdd();
    hoverSegment(0);
    EXPECT_TRUE(mouse.leftDown(net.midpoint(0).x, net.midpoint(0).y));
    EXPECT_EQ(doc.mesh().pointsPerLine(), kMaxEditPoints);
    EXPECT_EQ(net.cells.size(), doc.handleCount());
}

TEST_F(MouseTest, BadgesToggleLevelsAndEachGroupHoldsFiveImportantOnes) {
    ASSERT_TRUE(doc.insertColumn(0));
    ASSERT_TRUE(doc.insertColumn(0));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(doc.insertLine(0));
    }
    ASSERT_EQ(net.markers.size(), 6u + 6u);

    click(badge(0));
    EXPECT_EQ(doc.mesh().columnLevel(0), LEVEL_IMPORTANT);
    EXPECT_EQ(net.markers[0].level, LEVEL_IMPORTANT);
    click(badge(0));
    EXPECT_EQ(doc.mesh().columnLevel(0), LEVEL_NORMAL);

    for (size_t c = 0; c < 5; ++c) {
        click(badge(c));
    }
    EXPECT_TRUE(messages.texts.empty());
    click(badge(5));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], kTooManyImportantMessage);
    EXPECT_EQ(doc.mesh().columnLevel(5), LEVEL_NORMAL);
    EXPECT_EQ(net.markers[5].level, LEVEL_NORMAL);

    // Lines count on their own: five more go through, the sixth is refused.
    for (int line = 1; line <= 5; ++line) {
        click(badge(6 + static_cast<size_t>(line) - 1));
        EXPECT_EQ(doc.mesh().lineLevel(line), LEVEL_IMPORTANT) << line;
    }
    EXPECT_EQ(messages.texts.size(), 1u);
    click(badge(11));
    EXPECT_EQ(messages.texts.size(), 2u);
    EXPECT_EQ(doc.mesh().lineLevel(6), LEVEL_NORMAL);

    // Hovering a badge lights its whole column.
    move(badge(2));
    EXPECT_EQ(net.markers[2].flags, CELL_HOVER);
    const std::vector<uint32_t> lit = cellsWith(CELL_HOVER);
    ASSERT_EQ(lit.size(), 6u);
    for (uint32_t k : lit) {
        EXPECT_EQ(k % 6, 2u);
    }
}

TEST_F(MouseTest, ALoadOfTheSameDimensionsKeepsTheSelectionAndShowsTheLoadedLevels) {
    tesk::testing::ScratchDir scratch{"tesk_pemouse"};
    const std::string same = scratch.file("same.tsk");
    const std::string wider = scratch.file("wider.tsk");
    ASSERT_TRUE(doc.toggleColumnLevel(2));
    ASSERT_TRUE(doc.toggleLineLevel(2));
    ASSERT_TRUE(doc.saveProject(same));
    ASSERT_TRUE(doc.insertColumn(0));
    ASSERT_TRUE(doc.saveProject(wider));

    doc.newShape();
    click(centre(3));
    click(centre(6));
    ASSERT_TRUE(doc.loadProject(same));
    EXPECT_EQ(selected(), (Cells{3, 6}));
    EXPECT_EQ(net.markers[2].level, LEVEL_IMPORTANT);
    EXPECT_EQ(net.markers[5].level, LEVEL_IMPORTANT);
    EXPECT_EQ(net.markers[1].level, LEVEL_NORMAL);

    ASSERT_TRUE(doc.loadProject(wider));
    EXPECT_EQ(selected(), Cells{});
    EXPECT_EQ(net.cells.size(), 10u);
}

TEST_F(MouseTest, TheModeBarKeepsTheDivideOperationAcrossSelectMode) {
    mouse.chooseDivide(false, true);
    EXPECT_EQ(mouse.mode(), MODE_DIVIDE_DELETE);
    mouse.chooseSelect();
    EXPECT_EQ(mouse.mode(), 0x21);
    EXPECT_TRUE(mouse.selecting());

    // 0x21 is select mode: a segment click picks its ends and deletes nothing.
    ASSERT_TRUE(doc.insertColumn(0));
    hoverSegment(10);
    mouse.leftDown(net.midpoint(10).x, net.midpoint(10).y);
    mouse.leftUp();
    EXPECT_EQ(doc.mesh().pointsPerLine(), 5);
    EXPECT_EQ(selected(), Cells{0});

    // Changing mode ends a band without toggling what it covered.
    press(kEmpty);
    move({390, 200});
    mouse.chooseDivide(true, true);
    EXPECT_EQ(mouse.mode(), MODE_DIVIDE_ADD);
    EXPECT_FALSE(mouse.banding());
    EXPECT_EQ(cellsWith(CELL_IN_BAND), Cells{});
    EXPECT_EQ(selected(), Cells{0});
    mouse.chooseDelete();
    EXPECT_EQ(mouse.mode(), MODE_DIVIDE_DELETE);
    mouse.chooseAdd();
    EXPECT_EQ(mouse.mode(), MODE_DIVIDE_ADD);
}
