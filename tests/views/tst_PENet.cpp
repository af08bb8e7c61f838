#include "CellFlags.h"
#include "Messages.h"
#include "PENet.h"
#include "SPMesh.h"

#include <gtest/gtest.h>

using namespace tesk;

namespace {

// A 400 x 460 client gives a 360 x 400 net area: column pitch (360 - 16) / 4 = 86 and row
// pitch (400 - 16) / 3 = 128 for the 4 x 4 shape.
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 460;

bool sameRect(const NetRect& r, NetRect expected) {
    return r.left == expected.left && r.top == expected.top && r.right == expected.right &&
           r.bottom == expected.bottom;
}

struct Ends {
    int x1, y1, x2, y2;
};

void expectEnds(const NetSegment& s, Ends e) {
    EXPECT_EQ(s.x1, e.x1);
    EXPECT_EQ(s.y1, e.y1);
    EXPECT_EQ(s.x2, e.x2);
    EXPECT_EQ(s.y2, e.y2);
}

class NetTest : public ::testing::Test {
protected:
    NetTest() {
        mesh.makeDefault();
        net.layout(kClientWidth, kClientHeight);
        net.update(mesh);
    }
    SPMesh mesh;
    PENet net;
    RecordingMessages messages;
};

} // namespace

TEST_F(NetTest, TheDefaultShapeHasTwoRingsBetweenTwoPoles) {
    ASSERT_EQ(net.cells.size(), 8u);
    ASSERT_EQ(net.segments.size(), 20u);
    ASSERT_EQ(net.ringSegmentCount(), 8u);
    ASSERT_EQ(net.markers.size(), 6u);
    EXPECT_TRUE(net.drawn());

    // Rings: each joins a point to the next of its row, the last back to the first.
    EXPECT_EQ(net.segments[0].cell1, 0);
    EXPECT_EQ(net.segments[0].cell2, 1);
    EXPECT_EQ(net.segments[3].cell1, 3);
    EXPECT_EQ(net.segments[3].cell2, 0);
    EXPECT_EQ(net.segments[7].cell1, 7);
    EXPECT_EQ(net.segments[7].cell2, 4);
    // Verticals: pole to the first ring, ring to ring, last ring to the other pole.
    int top = 0;
    int bottom = 0;
    for (size_t c = 0; c < 4; ++c) {
        EXPECT_EQ(net.segments[8 + c].cell1, kTopPole);
        EXPECT_EQ(net.segments[8 + c].cell2, static_cast<int32_t>(c));
        EXPECT_EQ(net.segments[12 + c].cell1, static_cast<int32_t>(c));
        EXPECT_EQ(net.segments[12 + c].cell2, static_cast<int32_t>(c + 4));
        EXPECT_EQ(net.segments[16 + c].cell1, static_cast<int32_t>(c + 4));
        EXPECT_EQ(net.segments[16 + c].cell2, kBottomPole);
    }
    for (const NetSegment& s : net.segments) {
        top += s.cell1 == kTopPole ? 1 : 0;
        bottom += s.cell2 == kBottomPole ? 1 : 0;
    }
    EXPECT_EQ(top, 4);
    EXPECT_EQ(bottom, 4);
}

TEST_F(NetTest, NodesSegmentsAndBadgesSitOnThePitches) {
    EXPECT_TRUE(sameRect(net.cells[0].rect, {16, 172, 32, 188}));
    EXPECT_TRUE(sameRect(net.cells[5].rect, {102, 300, 118, 316}));
    expectEnds(net.segments[0], {24, 180, 110, 180});
    expectEnds(net.segments[3], {282, 180, 368, 180}); // the closing one runs to the row's end
    expectEnds(net.segments[8], {204, 52, 24, 180});
    expectEnds(net.segments[13], {110, 180, 110, 308});
    expectEnds(net.segments[19], {282, 308, 204, 436});
    EXPECT_TRUE(sameRect(net.markers[0].rect, {12, 20, 36, 44}));
    EXPECT_TRUE(sameRect(net.markers[2].rect, {184, 20, 208, 44}));
    EXPECT_TRUE(sameRect(net.markers[4].rect, {376, 168, 400, 192})) << "line 1";
    EXPECT_TRUE(sameRect(net.markers[5].rect, {376, 296, 400, 320})) << "line 2";

    // Fractional pitches are cut toward zero, the pole's centre by integer halving.
    net.layout(401, 461);
    EXPECT_EQ(net.columnPitch(), 86.25);
    EXPECT_EQ(net.node(2, 3).x, 266);
    EXPECT_EQ(net.node(2, 3).y, 264);
    EXPECT_EQ(net.segments[3].x2, 16 + 345 + 8);
    EXPECT_EQ(net.topPole().x, 188);
    net.layout(50, 100); // column pitch -1.5
    EXPECT_EQ(net.node(1, 3).x, 4);
}

TEST_F(NetTest, APaneTooSmallOrAnEmptyShapeDrawsAndHitsNothing) {
    for (const auto& [w, h] : {std::pair{39, 300}, std::pair{300, 59}, std::pair{0, 0}}) {
        net.layout(w, h);
        EXPECT_FALSE(net.drawn()) << w << " x " << h;
        EXPECT_EQ(net.segmentAt(0, 0), -1);
        EXPECT_EQ(net.segmentAt(10, 40), -1);
        for (const NetCell& cell : net.cells) {
            EXPECT_FALSE(cell.rect.contains(cell.rect.left, cell.rect.top));
        }
        for (const LevelMarker& marker : net.markers) {
            EXPECT_FALSE(marker.rect.contains(marker.rect.left, marker.rect.top));
        }
    }
    net.layout(40, 60);
    EXPECT_TRUE(net.drawn()) << "a net area of no size still lays out";

    net.layout(kClientWidth, kClientHeight);
    SPMesh empty;
    net.update(empty);
    EXPECT_FALSE(net.drawn());
    EXPECT_TRUE(net.cells.empty());
    EXPECT_TRUE(net.segments.empty());
    EXPECT_TRUE(net.markers.empty());
    EXPECT_EQ(net.segmentAt(204, 52), -1);

    SPMesh single;
    single.reset(4, 1);
    net.update(single);
    EXPECT_FALSE(net.drawn()) << "one line has no row pitch";

    // Two lines: no ring, one segment per column from pole to pole.
    SPMesh poles;
    poles.reset(4, 2);
    net.update(poles);
    EXPECT_TRUE(net.drawn());
    EXPECT_TRUE(net.cells.empty());
    ASSERT_EQ(net.segments.size(), 4u);
    EXPECT_EQ(net.segments[2].cell1, kTopPole);
    EXPECT_EQ(net.segments[2].cell2, kBottomPole);
    EXPECT_EQ(net.markers.size(), 4u);
}

TEST_F(NetTest, AnUpdateKeepsFlagsWhileTheCountsStayAndCopiesTheLevels) {
    net.segments[3].flags = CELL_HOVER;
    net.markers[1].flags = CELL_HOVER;
    ASSERT_TRUE(mesh.toggleColumnLevel(1, messages));
    ASSERT_TRUE(mesh.toggleLineLevel(2, messages));
    mesh.vlevel[3] = 2;
    net.update(mesh);
    EXPECT_EQ(net.segments[3].flags, CELL_HOVER);
    EXPECT_EQ(net.markers[1].flags, CELL_HOVER);
    const int32_t expected[] = {3, 1, 3, 2, 3, 1};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(net.markers[i].level, expected[i]) << i;
    }

    ASSERT_GT(mesh.insertColumn(3), 0);
    net.update(mesh);
    EXPECT_EQ(net.cells.size(), 10u);
    EXPECT_EQ(net.segments.size(), 25u);
    EXPECT_EQ(net.markers.size(), 7u);
    for (const NetSegment& s : net.segments) {
        EXPECT_EQ(s.flags, 0u);
    }
    EXPECT_EQ(net.markers[4].level, LEVEL_NORMAL) << "the new column";
    EXPECT_EQ(net.segments[4].cell2, 0) << "new closing segment of the first ring";
    EXPECT_EQ(net.segments[10].cell1, kTopPole);
    EXPECT_EQ(net.segments[10].cell2, 0);
    EXPECT_EQ(net.segments[15].cell1, 0);
    EXPECT_EQ(net.segments[15].cell2, 5);
}

TEST(SegmentHit, WithinSixPixelsOrPastTheEndsInsideTheGrownBox) {
    const NetSegment flat{0, 0, 0, 100, 0, 0, 1};
    EXPECT_TRUE(segmentHit(flat, 50, 5));
    EXPECT_TRUE(segmentHit(flat, 50, -5));
    EXPECT_FALSE(segmentHit(flat, 50, -6)) << "in the box, but six away";
    EXPECT_FALSE(segmentHit(flat, 50, 6)) << "the box excludes its bottom edge";
    EXPECT_TRUE(segmentHit(flat, 105, 5)) << "past the end, inside the box";
    EXPECT_FALSE(segmentHit(flat, 106, 0));
    EXPECT_TRUE(segmentHit(flat, -6, -6));

    // A 60 x 80 diagonal, length 100.
    const NetSegment slope{0, 0, 0, 60, 80, 0, 1};
    EXPECT_TRUE(segmentHit(slope, 30, 40));
    EXPECT_TRUE(segmentHit(slope, 34, 37)) << "distance 5";
    EXPECT_FALSE(segmentHit(slope, 60, 0)) << "distance 48";
    EXPECT_TRUE(segmentHit(slope, 3, -4)) << "before the start";

    const NetSegment dot{0, 5, 5, 5, 5, 0, 0};
    EXPECT_TRUE(segmentHit(dot, 0, 0));
    EXPECT_FALSE(segmentHit(dot, 11, 5));
}
