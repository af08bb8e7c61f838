#include "CellFlags.h"
#include "Messages.h"
#include "PENet.h"
#include "SPMesh.h"

#include <array>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

using Four = std::array<int, 4>;
using Ends = std::pair<int, int>;

Four box(const NetRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
Four line(const NetSegment& s) {
    return {s.x1, s.y1, s.x2, s.y2};
}
Ends ends(const NetSegment& s) {
    return {s.cell1, s.cell2};
}

// A 400 x 460 client gives a 360 x 400 net area: for the 4 x 4 shape the column pitch is
// (360 - 16) / 4 = 86 and the row pitch (400 - 16) / 3 = 128.
class NetTest : public ::testing::Test {
protected:
    NetTest() {
        mesh.makeDefault();
        net.layout(400, 460);
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
    ASSERT_EQ(net.markers.size(), 6u) << "4 column and 2 line badges";
    // Rings join each point to the next of its row, the last one back to the first; the
    // verticals run pole to ring, ring to ring, ring to pole.
    EXPECT_EQ(ends(net.segments[0]), Ends(0, 1));
    EXPECT_EQ(ends(net.segments[3]), Ends(3, 0));
    EXPECT_EQ(ends(net.segments[7]), Ends(7, 4));
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(ends(net.segments[8 + c]), Ends(kTopPole, c));
        EXPECT_EQ(ends(net.segments[12 + c]), Ends(c, c + 4));
        EXPECT_EQ(ends(net.segments[16 + c]), Ends(c + 4, kBottomPole));
    }
}

TEST_F(NetTest, NodesSegmentsAndBadgesSitOnThePitches) {
    EXPECT_EQ(box(net.cells[0].rect), (Four{16, 172, 32, 188}));
    EXPECT_EQ(box(net.cells[5].rect), (Four{102, 300, 118, 316}));
    EXPECT_EQ(line(net.segments[0]), (Four{24, 180, 110, 180}));
    EXPECT_EQ(line(net.segments[3]), (Four{282, 180, 368, 180})) << "closing: to the row's end";
    EXPECT_EQ(line(net.segments[8]), (Four{204, 52, 24, 180}));
    EXPECT_EQ(line(net.segments[13]), (Four{110, 180, 110, 308}));
    EXPECT_EQ(line(net.segments[19]), (Four{282, 308, 204, 436}));
    EXPECT_EQ(box(net.markers[2].rect), (Four{184, 20, 208, 44}));
    EXPECT_EQ(box(net.markers[5].rect), (Four{376, 296, 400, 320})) << "line 2";

    // Fractional pitches are cut toward zero, the poles' x by integer halving.
    net.layout(401, 461);
    EXPECT_EQ(net.node(2, 3).x, 266); // 3 x 86.25 + 8
    EXPECT_EQ(net.node(2, 3).y, 264); // 2 x 128.33 + 8
    EXPECT_EQ(net.segments[3].x2, 16 + 345 + 8);
    EXPECT_EQ(net.topPole().x, 188);
    net.layout(50, 100); // column pitch -1.5
    EXPECT_EQ(net.node(1, 3).x, 4);
}

TEST_F(NetTest, APaneTooSmallOrAShapeWithoutRowsDrawsAndHitsNothing) {
    for (const auto& [w, h] : {std::pair{39, 300}, std::pair{300, 59}, std::pair{0, 0}}) {
        net.layout(w, h);
        EXPECT_FALSE(net.drawn()) << w << " x " << h;
        EXPECT_EQ(net.segmentAt(0, 0), -1);
        EXPECT_FALSE(net.cells[0].rect.contains(net.cells[0].rect.left, net.cells[0].rect.top));
        EXPECT_FALSE(net.markers[0].rect.contains(net.markers[0].rect.left, 20));
    }
    net.layout(400, 460);
    SPMesh empty;
    net.update(empty);
    EXPECT_FALSE(net.drawn());
    EXPECT_TRUE(net.cells.empty() && net.segments.empty() && net.markers.empty());
    SPMesh single;
    single.reset(4, 1);
    net.update(single);
    EXPECT_FALSE(net.drawn()) << "one line has no row pitch";

    SPMesh poles; // two lines: no ring, a segment per column from pole to pole
    poles.reset(4, 2);
    net.update(poles);
    EXPECT_TRUE(net.cells.empty());
    ASSERT_EQ(net.segments.size(), 4u);
    EXPECT_EQ(ends(net.segments[2]), Ends(kTopPole, kBottomPole));
}

TEST_F(NetTest, AnUpdateKeepsFlagsWhileTheCountsStayAndCopiesTheLevels) {
    net.segments[3].flags = CELL_HOVER;
    ASSERT_TRUE(mesh.toggleColumnLevel(1, messages));
    ASSERT_TRUE(mesh.toggleLineLevel(2, messages));
    mesh.vlevel[3] = LEVEL_SECONDARY;
    net.update(mesh);
    EXPECT_EQ(net.segments[3].flags, CELL_HOVER);
    const int32_t expected[] = {3, 1, 3, 2, 3, 1};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(net.markers[i].level, expected[i]) << i;
    }

    ASSERT_GT(mesh.insertColumn(3), 0);
    net.update(mesh);
    EXPECT_EQ(net.cells.size(), 10u);
    ASSERT_EQ(net.segments.size(), 25u);
    EXPECT_EQ(net.segments[3].flags, 0u);
    EXPECT_EQ(net.markers[4].level, LEVEL_NORMAL) << "the new column";
    EXPECT_EQ(ends(net.segments[4]), Ends(4, 0));
    EXPECT_EQ(ends(net.segments[15]), Ends(0, 5));
}

TEST(SegmentHit, WithinSixPixelsOrPastTheEndsInsideTheGrownBox) {
    const NetSegment flat{0, 0, 0, 100, 0, 0, 1};
    EXPECT_TRUE(segmentHit(flat, 50, 5));
    EXPECT_TRUE(segmentHit(flat, 50, -5));
    EXPECT_FALSE(segmentHit(flat, 50, -6)) << "in the box, but six away";
    EXPECT_FALSE(segmentHit(flat, 50, 6)) << "the box excludes its bottom edge";
    EXPECT_TRUE(segmentHit(flat, 105, 5)) << "past the end, inside the box";
    EXPECT_FALSE(segmentHit(flat, 106, 0));

    const NetSegment slope{0, 0, 0, 60, 80, 0, 1}; // length 100
    EXPECT_TRUE(segmentHit(slope, 34, 37)) << "distance 5";
    EXPECT_FALSE(segmentHit(slope, 60, 0)) << "distance 48";
    EXPECT_TRUE(segmentHit(slope, 3, -4)) << "before the start";

    const NetSegment dot{0, 5, 5, 5, 5, 0, 0};
    EXPECT_TRUE(segmentHit(dot, 0, 0));
    EXPECT_FALSE(segmentHit(dot, 11, 5));
}
