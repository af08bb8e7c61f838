#include "Messages.h"
#include "SPMesh.h"

#include <gtest/gtest.h>
#include <limits>

using namespace tesk;

namespace {
std::vector<Point3> committedLine(const SPMesh& mesh, int line) {
    return mesh.line(line).points;
}

void expectLinesConsistent(const SPMesh& mesh) {
    for (int i = 0; i < mesh.lineCount(); ++i) {
        EXPECT_EQ(mesh.line(i).count(), mesh.pointsPerLine()) << "line " << i;
        EXPECT_EQ(mesh.line(i).workPoints.size(), mesh.line(i).points.size()) << "line " << i;
    }
    EXPECT_EQ(mesh.hlevel.size(), static_cast<size_t>(mesh.lineCount()));
    EXPECT_EQ(mesh.vlevel.size(), static_cast<size_t>(mesh.pointsPerLine()));
}
} // namespace

TEST(SPMesh, StartsEmptyAndRefusesEveryEdit) {
    SPMesh mesh;
    EXPECT_EQ(mesh.lineCount(), 0);
    EXPECT_EQ(mesh.pointsPerLine(), 0);
    EXPECT_EQ(mesh.insertLine(0), 0);
    EXPECT_EQ(mesh.insertColumn(0), 0);
    EXPECT_EQ(mesh.deleteLine(0), 0);
    EXPECT_EQ(mesh.deleteColumn(0), 0);
    Point3 out{7, 7, 7};
    EXPECT_FALSE(mesh.getPoint(0, 0, out));
    EXPECT_EQ(out, (Point3{7, 7, 7}));
    EXPECT_EQ(mesh.workPoint(0, 0), Point3{});
    Point3 untouched{5, 5, 5};
    mesh.copyWorkPoints(&untouched);
    EXPECT_EQ(untouched, (Point3{5, 5, 5}));
}

TEST(SPMesh, DefaultShapeIsTheFourByFourOfNew) {
    SPMesh mesh;
    mesh.SPDimType = DIM_POLES_CR;
    mesh.makeDefault();
    ASSERT_EQ(mesh.lineCount(), 4);
    ASSERT_EQ(mesh.pointsPerLine(), 4);
    expectLinesConsistent(mesh);
    EXPECT_EQ(committedLine(mesh, 0), std::vector<Point3>(4, Point3{0, 0, 1}));
    EXPECT_EQ(committedLine(mesh, 1),
              (std::vector<Point3>{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}));
    EXPECT_EQ(committedLine(mesh, 2),
              (std::vector<Point3>{{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}}));
    EXPECT_EQ(committedLine(mesh, 3), std::vector<Point3>(4, Point3{0, 0, -1}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(mesh.line(i).workPoints, mesh.line(i).points);
    }
    EXPECT_EQ(mesh.hlevel, std::vector<int32_t>(4, LEVEL_NORMAL));
    EXPECT_EQ(mesh.vlevel, std::vector<int32_t>(4, LEVEL_NORMAL));
    EXPECT_EQ(mesh.SPDimType, DIM_POLES_CR) << "New keeps the selected type";
}

TEST(SPMesh, ResetReplacesLinesAndLevelsOnly) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.SPDimType = DIM_SHEET_LINEAR;
    mesh.map.assign(kMapPixels, 0x123456u);
    mesh.effects.append(std::make_unique<EffectRecord>());
    mesh.hlevel[1] = LEVEL_IMPORTANT;

    EXPECT_EQ(mesh.reset(3, 5), 5);
    EXPECT_EQ(mesh.lineCount(), 5);
    EXPECT_EQ(mesh.pointsPerLine(), 3);
    expectLinesConsistent(mesh);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(mesh.line(i).points, std::vector<Point3>(3));
        EXPECT_EQ(mesh.line(i).workPoints, std::vector<Point3>(3));
    }
    EXPECT_EQ(mesh.hlevel, std::vector<int32_t>(5, LEVEL_NORMAL));
    EXPECT_EQ(mesh.SPDimType, DIM_SHEET_LINEAR);
    EXPECT_EQ(mesh.map.size(), static_cast<size_t>(kMapPixels));
    EXPECT_EQ(mesh.effects.size(), 1u);

    EXPECT_EQ(mesh.reset(-1, 2), 0);
    EXPECT_EQ(mesh.lineCount(), 5) << "a negative size is refused";
}

TEST(SPMesh, PointAccessHonoursEachLinesLength) {
    SPMesh mesh;
    mesh.makeDefault();
    Point3 out{9, 9, 9};
    EXPECT_FALSE(mesh.getPoint(4, 1, out));
    EXPECT_FALSE(mesh.getPoint(-1, 1, out));
    EXPECT_FALSE(mesh.getPoint(0, 4, out));
    EXPECT_FALSE(mesh.getPoint(0, -1, out));
    EXPECT_EQ(out, (Point3{9, 9, 9}));
    EXPECT_FALSE(mesh.setPoint(4, 0, {1, 2, 3}));
    EXPECT_FALSE(mesh.setWorkPoint(0, 4, {1, 2, 3}));

    EXPECT_TRUE(mesh.setPoint(2, 1, {4, 5, 6}));
    ASSERT_TRUE(mesh.getPoint(2, 1, out));
    EXPECT_EQ(out, (Point3{4, 5, 6}));
    EXPECT_EQ(mesh.workPoint(2, 1), (Point3{4, 5, 6})) << "setPoint writes both sequences";

    EXPECT_EQ(mesh.line(1).point(17), Point3{});
    EXPECT_EQ(mesh.workPoint(17, 1), Point3{});
    EXPECT_EQ(mesh.workPoint(0, 9), Point3{});
}

TEST(SPMesh, NonFinitePointsAreRefused) {
    SPMesh mesh;
    mesh.makeDefault();
    const Point3 before = mesh.line(1).point(2);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const Point3 bad : {Point3{nan, 0, 0}, Point3{0, -inf, 0}, Point3{0, 0, inf}}) {
        EXPECT_FALSE(mesh.setPoint(2, 1, bad));
        EXPECT_FALSE(mesh.setWorkPoint(2, 1, bad));
    }
    EXPECT_EQ(mesh.line(1).point(2), before);
    EXPECT_EQ(mesh.workPoint(2, 1), before);
}

TEST(SPMesh, WorkPointsAreCommittedOrRevertedAsAWhole) {
    SPMesh mesh;
    mesh.makeDefault();
    ASSERT_TRUE(mesh.setWorkPoint(1, 2, {8, 8, 8}));
    ASSERT_TRUE(mesh.setWorkPoint(3, 1, {7, 7, 7}));
    Point3 committed;
    ASSERT_TRUE(mesh.getPoint(1, 2, committed));
    EXPECT_EQ(committed, (Point3{1, -1, -1}));

    mesh.revertWork();
    EXPECT_EQ(mesh.workPoint(1, 2), (Point3{1, -1, -1}));
    EXPECT_EQ(mesh.workPoint(3, 1), (Point3{-1, 1, 1}));

    mesh.setWorkPoint(1, 2, {8, 8, 8});
    mesh.commitWork();
    ASSERT_TRUE(mesh.getPoint(1, 2, committed));
    EXPECT_EQ(committed, (Point3{8, 8, 8}));
}

TEST(SPMesh, CopyWorkPointsIsLineMajorAndPadsShortLines) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.setWorkPoint(2, 1, {5, 6, 7});
    mesh.lines[3]->removePoint(3); // a line shorter than line 0 contributes zeros
    std::vector<Point3> out(16, Point3{9, 9, 9});
    mesh.copyWorkPoints(out.data());
    EXPECT_EQ(out[0], (Point3{0, 0, 1}));
    EXPECT_EQ(out[4 + 2], (Point3{5, 6, 7}));
    EXPECT_EQ(out[8], (Point3{-1, -1, -1}));
    EXPECT_EQ(out[12 + 2], (Point3{0, 0, -1}));
    EXPECT_EQ(out[15], Point3{});
}

TEST(SPMesh, InsertLineAddsTheMidpointOfCommittedNeighbours) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.hlevel = {3, 1, 2, 3};
    mesh.setWorkPoint(0, 1, {100, 100, 100}); // work points must not take part
    EXPECT_EQ(mesh.insertLine(1), 5);
    expectLinesConsistent(mesh);
    EXPECT_EQ(committedLine(mesh, 2),
              (std::vector<Point3>{{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}));
    EXPECT_EQ(mesh.line(2).workPoints, mesh.line(2).points);
    EXPECT_EQ(committedLine(mesh, 3)[0], (Point3{-1, -1, -1}));
    EXPECT_EQ(mesh.hlevel, (std::vector<int32_t>{3, 1, 3, 2, 3}));
    EXPECT_EQ(mesh.workPoint(0, 1), (Point3{100, 100, 100}));
}

TEST(SPMesh, InsertLineRefusals) {
    SPMesh mesh;
    mesh.makeDefault();
    EXPECT_EQ(mesh.insertLine(3), 0) << "no line after the last";
    EXPECT_EQ(mesh.insertLine(-1), 0);
    EXPECT_EQ(mesh.lineCount(), 4);
    while (mesh.lineCount() < kMaxEditLines) {
        ASSERT_NE(mesh.insertLine(0), 0);
    }
    EXPECT_EQ(mesh.insertLine(0), 0);
    EXPECT_EQ(mesh.lineCount(), 17);
    expectLinesConsistent(mesh);
}

TEST(SPMesh, InsertColumnClosesEachLineAsALoop) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.vlevel = {1, 3, 3, 2};
    EXPECT_EQ(mesh.insertColumn(3), 5);
    expectLinesConsistent(mesh);
    EXPECT_EQ(mesh.line(1).points[4], (Point3{-1, 0, 1})) << "between points 3 and 0";
    EXPECT_EQ(mesh.line(2).points[4], (Point3{-1, 0, -1}));
    EXPECT_EQ(mesh.line(0).points[4], (Point3{0, 0, 1}));
    EXPECT_EQ(mesh.vlevel, (std::vector<int32_t>{1, 3, 3, 2, 3}));

    EXPECT_EQ(mesh.insertColumn(0), 6);
    EXPECT_EQ(mesh.line(1).points[1], (Point3{0, -1, 1}));
    EXPECT_EQ(mesh.line(1).points[2], (Point3{1, -1, 1}));
    EXPECT_EQ(mesh.vlevel, (std::vector<int32_t>{1, 3, 3, 3, 2, 3}));
}

TEST(SPMesh, InsertColumnRefusals) {
    SPMesh mesh;
    mesh.makeDefault();
    EXPECT_EQ(mesh.insertColumn(4), 0);
    EXPECT_EQ(mesh.insertColumn(-1), 0);
    while (mesh.pointsPerLine() < kMaxEditPoints) {
        ASSERT_NE(mesh.insertColumn(mesh.pointsPerLine() - 1), 0);
    }
    EXPECT_EQ(mesh.insertColumn(0), 0);
    EXPECT_EQ(mesh.pointsPerLine(), 16);
    expectLinesConsistent(mesh);
}

TEST(SPMesh, DeleteLineNeverRemovesTheLastLine) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.hlevel = {3, 1, 2, 3};
    EXPECT_EQ(mesh.deleteLine(3), 0);
    EXPECT_EQ(mesh.deleteLine(-1), 0);
    EXPECT_EQ(mesh.lineCount(), 4);
    EXPECT_EQ(mesh.deleteLine(1), 3);
    expectLinesConsistent(mesh);
    EXPECT_EQ(committedLine(mesh, 1)[0], (Point3{-1, -1, -1}));
    EXPECT_EQ(mesh.hlevel, (std::vector<int32_t>{3, 2, 3}));
}

TEST(SPMesh, DeleteColumnKeepsColumnZero) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.vlevel = {1, 2, 3, 1};
    EXPECT_EQ(mesh.deleteColumn(0), 4) << "refused by the line, count unchanged";
    EXPECT_EQ(mesh.vlevel.size(), 4u);
    EXPECT_EQ(mesh.line(1).points[0], (Point3{-1, -1, 1}));
    EXPECT_EQ(mesh.deleteColumn(4), 0);
    EXPECT_EQ(mesh.deleteColumn(1), 3);
    expectLinesConsistent(mesh);
    EXPECT_EQ(mesh.line(1).points[1], (Point3{1, 1, 1}));
    EXPECT_EQ(mesh.vlevel, (std::vector<int32_t>{1, 3, 1}));
}

TEST(SPLine, InsertAndRemoveBounds) {
    SPLine line;
    EXPECT_FALSE(line.insertPoint(1, {9, 9, 9}));
    // On an empty line index 0 is the end, so it appends; otherwise 0 is refused.
    EXPECT_TRUE(line.insertPoint(0, {1, 0, 0}));
    EXPECT_FALSE(line.insertPoint(0, {9, 9, 9}));
    EXPECT_TRUE(line.insertPoint(1, {2, 0, 0}));
    EXPECT_EQ(line.points, (std::vector<Point3>{{1, 0, 0}, {2, 0, 0}}));
    EXPECT_FALSE(line.insertPoint(3, {9, 9, 9}));
    EXPECT_TRUE(line.insertPoint(2, {3, 0, 0}));
    EXPECT_TRUE(line.insertPoint(1, {5, 0, 0}));
    EXPECT_EQ(line.points, (std::vector<Point3>{{1, 0, 0}, {5, 0, 0}, {2, 0, 0}, {3, 0, 0}}));
    EXPECT_EQ(line.workPoints, line.points);
    EXPECT_FALSE(line.removePoint(0));
    EXPECT_FALSE(line.removePoint(4));
    EXPECT_TRUE(line.removePoint(3));
    EXPECT_EQ(line.count(), 3);
    EXPECT_EQ(line.workPoints.size(), 3u);
}

TEST(SPMeshLevels, ReadBeyondEitherListGivesNormal) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.hlevel = {2, 1};
    mesh.vlevel = {1};
    EXPECT_EQ(mesh.lineLevel(1), LEVEL_IMPORTANT);
    EXPECT_EQ(mesh.lineLevel(2), LEVEL_NORMAL);
    EXPECT_EQ(mesh.lineLevel(-1), LEVEL_NORMAL);
    EXPECT_EQ(mesh.columnLevel(0), LEVEL_IMPORTANT);
    EXPECT_EQ(mesh.columnLevel(3), LEVEL_NORMAL);
}

TEST(SPMeshLevels, AtMostFiveImportantInteriorLines) {
    SPMesh mesh;
    mesh.makeDefault();
    while (mesh.lineCount() < 9) {
        mesh.insertLine(1);
    }
    RecordingMessages messages;
    EXPECT_FALSE(mesh.toggleLineLevel(0, messages)) << "pole lines are never edited";
    EXPECT_FALSE(mesh.toggleLineLevel(8, messages));
    for (int line = 1; line <= 5; ++line) {
        EXPECT_TRUE(mesh.toggleLineLevel(line, messages));
    }
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_FALSE(mesh.toggleLineLevel(6, messages));
    ASSERT_EQ(messages.texts, std::vector<std::string>{kTooManyImportantMessage});
    EXPECT_EQ(mesh.lineLevel(6), LEVEL_NORMAL);

    EXPECT_TRUE(mesh.toggleLineLevel(3, messages)) << "unmarking is always allowed";
    EXPECT_EQ(mesh.lineLevel(3), LEVEL_NORMAL);
    EXPECT_TRUE(mesh.toggleLineLevel(6, messages));
    EXPECT_EQ(mesh.hlevel, (std::vector<int32_t>{3, 1, 1, 3, 1, 1, 1, 3, 3}));
}

TEST(SPMeshLevels, PoleLevelsDoNotCountAndSecondaryBecomesNormal) {
    SPMesh mesh;
    mesh.makeDefault();
    while (mesh.lineCount() < 8) {
        mesh.insertLine(1);
    }
    mesh.hlevel = {1, 1, 1, 1, 1, 2, 3, 1}; // a file may mark the poles
    RecordingMessages messages;
    EXPECT_TRUE(mesh.toggleLineLevel(6, messages)) << "only four interior lines are important";
    EXPECT_TRUE(mesh.toggleLineLevel(5, messages));
    EXPECT_EQ(mesh.lineLevel(5), LEVEL_NORMAL);
    EXPECT_TRUE(messages.texts.empty());
}

TEST(SPMeshLevels, AtMostFiveImportantColumns) {
    SPMesh mesh;
    mesh.makeDefault();
    while (mesh.pointsPerLine() < 7) {
        mesh.insertColumn(0);
    }
    RecordingMessages messages;
    EXPECT_FALSE(mesh.toggleColumnLevel(7, messages));
    EXPECT_FALSE(mesh.toggleColumnLevel(-1, messages));
    for (int column : {0, 1, 2, 3, 6}) {
        EXPECT_TRUE(mesh.toggleColumnLevel(column, messages));
    }
    EXPECT_FALSE(mesh.toggleColumnLevel(4, messages));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kTooManyImportantMessage});
    EXPECT_EQ(mesh.vlevel, (std::vector<int32_t>{1, 1, 1, 1, 3, 3, 1}));
    EXPECT_TRUE(mesh.toggleColumnLevel(0, messages));
    EXPECT_TRUE(mesh.toggleColumnLevel(4, messages));
    EXPECT_EQ(mesh.vlevel, (std::vector<int32_t>{3, 1, 1, 1, 1, 3, 1}));
}
