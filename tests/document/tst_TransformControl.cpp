#include "TransformControl.h"

#include "Messages.h"
#include "ProjectFile.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace tesk;

namespace {

struct RebuildCounter : DocumentListener {
    void shapeRebuilt() override { ++rebuilt; }
    int rebuilt = 0;
};

// The default shape's cells: line 1 is (-1,-1,1) (1,-1,1) (1,1,1) (-1,1,1), line 2 the same at
// z = -1; cells 0-3 are line 1, cells 4-7 line 2.
class TransformControlTest : public ::testing::Test {
protected:
    TransformControlTest() {
        doc.addListener(&counter);
        doc.newShape();
    }
    ~TransformControlTest() override { doc.removeListener(&counter); }

    void select(std::initializer_list<uint32_t> cells) {
        std::vector<uint32_t> flags(doc.handleCount(), 0);
        for (uint32_t k : cells) {
            flags[k] = CELL_SELECTED;
        }
        doc.setHandles(flags);
    }
    /// A drag to `value` and its release, as the panel reports it.
    void drag(TransformSlider slider, int value) {
        control.sliderChanged(slider, value / 2, SliderPhase::Track);
        control.sliderChanged(slider, value, SliderPhase::Track);
        control.sliderChanged(slider, value, SliderPhase::Release);
    }
    Point3 work(uint32_t cell) const {
        const int n = doc.mesh().pointsPerLine();
        return doc.mesh().workPoint(static_cast<int>(cell) % n, static_cast<int>(cell) / n + 1);
    }
    Point3 committed(uint32_t cell) const {
        Point3 p;
        EXPECT_TRUE(doc.cellPoint(cell, p));
        return p;
    }
    std::vector<Point3> line(int index) const {
        std::vector<Point3> points(static_cast<size_t>(doc.mesh().pointsPerLine()));
        for (size_t j = 0; j < points.size(); ++j) {
            doc.mesh().getPoint(static_cast<int>(j), index, points[j]);
        }
        return points;
    }

    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    RebuildCounter counter;
    TransformControl control{doc};
};

void expectNear(Point3 actual, Point3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

} // namespace

TEST_F(TransformControlTest, MoveShiftsOnlyTheSelectionAndComesBackExactly) {
    select({1, 6});
    const Point3 before = work(1);
    drag(SLIDER_MOVE_X, 200);
    EXPECT_EQ(work(1), (before + Point3{2.0f, 0, 0}));
    EXPECT_EQ(work(6), (committed(6) + Point3{2.0f, 0, 0}));
    EXPECT_EQ(work(0), committed(0)) << "unselected points stay";
    EXPECT_EQ(committed(1), before) << "sliders change working points only";
    EXPECT_EQ(control.position(SLIDER_MOVE_X), 200);

    control.sliderChanged(SLIDER_MOVE_Y, -50, SliderPhase::Release);
    EXPECT_EQ(work(1), (before + Point3{2.0f, -0.5f, 0}));
    control.sliderChanged(SLIDER_MOVE_X, 0, SliderPhase::Release);
    control.sliderChanged(SLIDER_MOVE_Y, 0, SliderPhase::Release);
    EXPECT_EQ(work(1), before);

    // Positions beyond the range are held at its end.
    control.sliderChanged(SLIDER_MOVE_Z, 5000, SliderPhase::Track);
    EXPECT_EQ(control.position(SLIDER_MOVE_Z), 200);
    EXPECT_EQ(work(1), (before + Point3{0, 0, 2.0f}));
}

TEST_F(TransformControlTest, WithNothingSelectedSlidersWriteAndRebuildNothing) {
    const int rebuilt = counter.rebuilt;
    const std::vector<uint32_t> map = doc.mesh().map;
    drag(SLIDER_MOVE_X, 120);
    drag(SLIDER_SCALE_ALL, -40);
    drag(SLIDER_ROTATE_Z, 30);
    EXPECT_EQ(counter.rebuilt, rebuilt);
    EXPECT_EQ(doc.mesh().map, map);
    for (uint32_t k = 0; k < doc.handleCount(); ++k) {
        EXPECT_EQ(work(k), committed(k));
    }
}

TEST_F(TransformControlTest, ScaleZeroCollapsesOntoThePivotAndTheMapStaysValid) {
    select({0, 1, 2});
    const Point3 pivot = doc.pivot();
    EXPECT_FLOAT_EQ(pivot.x, 1.0f / 3.0f);
    drag(SLIDER_SCALE_X, -100);
    for (uint32_t k : {0u, 1u, 2u}) {
        EXPECT_EQ(work(k).x, pivot.x);
        EXPECT_EQ(work(k).y, committed(k).y);
    }

    // "XYZ" adds to every axis: X at -100 and XYZ at -100 mirror X, and Y and Z collapse.
    drag(SLIDER_SCALE_ALL, -100);
    expectNear(work(0), {2 * pivot.x + 1, pivot.y, pivot.z});

    // Every point of every line but the poles on one spot, for each shape type: the map is a
    // map still, with no NaN anywhere on the way.
    std::vector<uint32_t> all(doc.handleCount(), CELL_SELECTED);
    doc.setHandles(all);
    control.sliderChanged(SLIDER_SCALE_ALL, -100, SliderPhase::Release);
    control.sliderChanged(SLIDER_SCALE_X, 0, SliderPhase::Release);
    for (const ShapeTypeInfo& type : kShapeTypes) {
        doc.setType(type.value);
        ASSERT_EQ(doc.mesh().map.size(), 64u * 64u) << type.caption;
        for (uint32_t pixel : doc.mesh().map) {
            ASSERT_EQ(pixel >> 24, 0u) << type.caption;
        }
        for (const Point3& v : doc.mesh().grid) {
            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z))
                << type.caption;
        }
        EXPECT_TRUE(std::isfinite(doc.mesh().halfExtent.x));
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(TransformControlTest, AStepThatWouldOverflowIsRefusedWhole) {
    // The default shape blown up to where doubling a coordinate overflows, as a file may
    // hold it.
    const float big = std::numeric_limits<float>::max() / 1.5f;
    SPMesh huge;
    huge.makeDefault();
    for (int i = 0; i < huge.lineCount(); ++i) {
        for (int j = 0; j < huge.pointsPerLine(); ++j) {
            Point3 p;
            ASSERT_TRUE(huge.getPoint(j, i, p));
            ASSERT_TRUE(huge.setPoint(j, i, p * big));
        }
    }
    std::vector<uint8_t> image;
    saveProjectImage(huge, image);
    ASSERT_TRUE(doc.loadProject("huge.tsk", &image));

    select({0, 1, 5});
    EXPECT_TRUE(isFinite(doc.pivot())) << "the mean of large coordinates does not overflow";
    const int rebuilt = counter.rebuilt;
    drag(SLIDER_SCALE_X, 100);
    drag(SLIDER_SCALE_ALL, 60);
    for (uint32_t k = 0; k < doc.handleCount(); ++k) {
        EXPECT_EQ(work(k), committed(k)) << "cell " << k;
    }
    EXPECT_EQ(counter.rebuilt, rebuilt);

    // A step that stays finite is still taken, from the committed points.
    drag(SLIDER_SCALE_ALL, 0);
    drag(SLIDER_SCALE_X, -50);
    const float pivotX = doc.pivot().x;
    EXPECT_FLOAT_EQ(work(1).x, pivotX + (committed(1).x - pivotX) * 0.5f);
    for (const ShapeTypeInfo& type : kShapeTypes) {
        doc.setType(type.value);
        EXPECT_TRUE(isFinite(doc.mesh().halfExtent)) << type.caption;
        // The poles take the mean of their neighbour rings, which must not overflow either.
        for (int i = 0; i < doc.mesh().lineCount(); ++i) {
            for (const Point3& p : doc.mesh().line(i).workPoints) {
                ASSERT_TRUE(isFinite(p)) << type.caption << " line " << i;
            }
        }
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(TransformControlTest, RotateDragsTurnFurtherEachTimeAndSpringBack) {
    select({1});
    // While dragging, the turn is shown from where the last drag ended, not added up.
    control.sliderChanged(SLIDER_ROTATE_Y, 45, SliderPhase::Track);
    control.sliderChanged(SLIDER_ROTATE_Y, 90, SliderPhase::Track);
    EXPECT_EQ(control.position(SLIDER_ROTATE_Y), 90);
    expectNear(work(1), {1, -1, -1});
    EXPECT_EQ(control.savedRotation(), kIdentityRotation) << "nothing kept before the release";

    control.sliderChanged(SLIDER_ROTATE_Y, 90, SliderPhase::Release);
    EXPECT_EQ(control.position(SLIDER_ROTATE_Y), 0) << "springs back";
    expectNear(work(1), {1, -1, -1});

    // A second drag to 90 turns on to 180 in all, about the origin (not the pivot).
    drag(SLIDER_ROTATE_Y, 90);
    expectNear(work(1), {-1, -1, -1});

    // A move after the turns applies the whole scale x rotate x move to the committed point.
    control.sliderChanged(SLIDER_MOVE_Z, 100, SliderPhase::Release);
    expectNear(work(1), {-1, -1, 0});

    // After a confirm the next drag starts from no rotation, on the new committed points.
    control.confirm();
    EXPECT_EQ(control.savedRotation(), kIdentityRotation);
    EXPECT_EQ(control.combined(), Matrix4::identity());
    EXPECT_EQ(control.position(SLIDER_MOVE_Z), 0);
    expectNear(committed(1), {-1, -1, 0});
    drag(SLIDER_ROTATE_X, 90);
    expectNear(work(1), {-1, 0, -1});
}

TEST_F(TransformControlTest, ScaleRotateMoveApplyInThatOrder) {
    // (-1,-1,1) and (1,-1,1), pivot (0,-1,1): X doubled about the pivot, a quarter turn about
    // Z ((x, y) becomes (-y, x)), then +1 in X. Turning before scaling would give X = 2 both.
    select({0, 1});
    control.sliderChanged(SLIDER_SCALE_X, 100, SliderPhase::Release);
    drag(SLIDER_ROTATE_Z, 90);
    control.sliderChanged(SLIDER_MOVE_X, 100, SliderPhase::Release);
    expectNear(work(0), {2, -2, 1});
    expectNear(work(1), {2, 2, 1});
}

TEST_F(TransformControlTest, ResetRestoresPointsAndSliders) {
    select({0, 5});
    drag(SLIDER_MOVE_Y, 150);
    drag(SLIDER_SCALE_Z, 40);
    drag(SLIDER_ROTATE_X, -30);
    ASSERT_NE(work(0), committed(0));
    control.reset();
    for (uint32_t k = 0; k < doc.handleCount(); ++k) {
        EXPECT_EQ(work(k), committed(k));
    }
    for (int p : control.positions()) {
        EXPECT_EQ(p, 0);
    }
    EXPECT_EQ(control.combined(), Matrix4::identity());
    EXPECT_EQ(doc.handles()[5], CELL_SELECTED) << "the selection stays";
    // The next slider change starts from the committed points, with no rotation left over.
    control.sliderChanged(SLIDER_MOVE_X, 10, SliderPhase::Release);
    EXPECT_EQ(work(0), (committed(0) + Point3{0.1f, 0, 0}));
}

TEST_F(TransformControlTest, PointSlideTurnsTheOrderOfEveryLine) {
    const std::vector<Point3> a = line(1);
    control.slide(+1); // "<"
    EXPECT_EQ(line(1), (std::vector<Point3>{a[3], a[0], a[1], a[2]}));
    control.slide(-1); // ">"
    control.slide(-1);
    EXPECT_EQ(line(1), (std::vector<Point3>{a[1], a[2], a[3], a[0]}));
    EXPECT_EQ(line(0), std::vector<Point3>(4, Point3{0, 0, 1})) << "poles turn too";

    // Uncommitted changes are lost, and the sliders show it: they stand at the centre and
    // the next change starts from the turned shape alone.
    select({0});
    control.sliderChanged(SLIDER_MOVE_X, 100, SliderPhase::Release);
    control.slide(+1);
    EXPECT_EQ(work(0), committed(0));
    EXPECT_EQ(control.position(SLIDER_MOVE_X), 0);
    control.sliderChanged(SLIDER_MOVE_Y, 0, SliderPhase::Release);
    EXPECT_EQ(work(0), committed(0));
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(TransformControlTest, UndoAndRedoWalkTheConfirmedStates) {
    select({0});
    const Point3 start = committed(0);
    control.undo(); // the shape is new: nothing
    EXPECT_EQ(committed(0), start);

    const auto confirmMove = [this](int value) {
        control.sliderChanged(SLIDER_MOVE_X, value, SliderPhase::Release);
        control.confirm();
    };
    confirmMove(10); // state A
    const Point3 a = committed(0);
    confirmMove(20); // state B
    const Point3 b = committed(0);
    control.sliderChanged(SLIDER_MOVE_X, 30, SliderPhase::Release); // unconfirmed

    control.undo(); // the last confirmed state, dropping the working change
    EXPECT_EQ(work(0), b);
    control.undo();
    EXPECT_EQ(committed(0), a);
    control.undo(); // the shape as New made it
    EXPECT_EQ(committed(0), start);
    control.undo(); // past the oldest: nothing, and nothing said
    EXPECT_EQ(committed(0), start);
    control.redo();
    EXPECT_EQ(committed(0), a);
    control.redo();
    EXPECT_EQ(committed(0), b);
    control.redo(); // past the newest
    EXPECT_EQ(committed(0), b);

    // A confirm after undo drops the redo states.
    control.undo();
    control.undo();
    confirmMove(50);
    const Point3 c = committed(0);
    control.redo();
    EXPECT_EQ(committed(0), c);
    // The states undone before the confirm went with the redo states.
    control.undo();
    EXPECT_EQ(committed(0), start);
    control.redo();
    EXPECT_EQ(committed(0), c);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(TransformControlTest, AHistoryKeepsTheLastFortyConfirmsOfExactlyItsName) {
    doc.setFileName("/home/u/Shape.tsk");
    select({0});
    std::vector<Point3> states;
    for (int i = 1; i <= 41; ++i) {
        control.sliderChanged(SLIDER_MOVE_X, 1, SliderPhase::Release);
        control.confirm();
        states.push_back(committed(0));
    }
    // Same letters, other case: another file, whose history holds nothing.
    doc.setFileName("/home/u/shape.tsk");
    control.undo();
    EXPECT_EQ(committed(0), states[40]);
    doc.setFileName("/home/u/Shape.tsk");
    int undone = 0;
    for (; undone < 45; ++undone) {
        const Point3 before = committed(0);
        control.undo();
        if (committed(0) == before) {
            break;
        }
    }
    EXPECT_EQ(undone, 39) << "forty states: the present one and 39 before it";
    EXPECT_EQ(committed(0), states[1]) << "the first confirm is gone";
    EXPECT_TRUE(messages.texts.empty());
}
