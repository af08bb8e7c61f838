// The 3-D preview under the pointer, on a real window (xvfb-run): marker clicks, lassos with and
// without "ポイント 透過", the wheel, camera drags, and the pick pass staying off the screen.
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "GLToolDialog.h"
#include "GLView.h"
#include "Messages.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

extern bool g_haveDisplay;

using namespace tesk;

namespace {

constexpr int VIEW_W = 400;
constexpr int VIEW_H = 440;

struct SelectionCounter : DocumentListener {
    void selectionChanged() override { ++changes; }
    int changes = 0;
};

class GLViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_haveDisplay) {
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        }
        doc.newShape(); // a box with a marker at each of its eight corners
        doc.addListener(&counter);
        host = std::make_unique<QWidget>();
        host->resize(VIEW_W, VIEW_H + 30);
        view = new GLView(doc, preview, host.get());
        view->setGeometry(0, 0, VIEW_W, VIEW_H);
        other = new QLineEdit(host.get());
        other->setGeometry(0, VIEW_H, VIEW_W, 30);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
        ASSERT_TRUE(view->isValid());
        view->setFocus();
        waitForFrame();
    }
    void TearDown() override {
        host.reset();
        doc.removeListener(&counter);
    }

    /// Lets the view paint what it has been asked to and show it.
    void waitForFrame() {
        QSignalSpy swapped(view, &QOpenGLWidget::frameSwapped);
        view->update();
        ASSERT_TRUE(swapped.wait(2000));
    }

    /// The client point of a world point under the current camera.
    QPoint clientPoint(Point3 world) {
        view->makeCurrent();
        drawVisiblePass(scene, camera(), VIEW_W, VIEW_H, view->settings());
        std::array<GLdouble, 16> projection{};
        glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
        view->doneCurrent();
        view->update();
        const std::array<GLdouble, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const std::array<GLint, 4> viewport = {0, 0, VIEW_W, VIEW_H};
        GLdouble x = 0, y = 0, z = 0;
        gluProject(world.x, world.y, world.z, identity.data(), projection.data(), viewport.data(),
                   &x, &y, &z);
        return {static_cast<int>(std::floor(x)), VIEW_H - 1 - static_cast<int>(std::floor(y))};
    }

    /// Where cell k's marker shows: the markers stand around the preview mesh's position.
    QPoint markerPoint(uint32_t cell) {
        const Point3 anchor = scene.findObject(preview.previewObjectId)->position;
        return clientPoint(doc.markerPoints()[cell] + anchor);
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

    void lasso(const std::vector<QPoint>& points) {
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, centre());
        for (const QPoint p : points) {
            QTest::mouseMove(view, p);
        }
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, points.back());
    }

    void wheel(int delta) {
        const QPointF at(centre());
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    }

    void setMarkersThrough(bool through) {
        auto* box = view->toolBar()->findChild<QPushButton*>(QStringLiteral("1039"));
        ASSERT_NE(box, nullptr);
        if (box->isChecked() != through) {
            QTest::mouseClick(box, Qt::LeftButton);
        }
        ASSERT_EQ(view->settings().markersHiddenByMesh, !through);
    }

    static QPoint centre() { return {VIEW_W / 2, VIEW_H / 2}; }
    GLCamera& camera() { return preview.cameras[0]; }

    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    GLScene scene;
    DocumentPreview preview{doc, scene};
    SelectionCounter counter;
    std::unique_ptr<QWidget> host;
    GLView* view = nullptr;
    QLineEdit* other = nullptr;
};

// Cells of the box's corners: 0 (-x -y +z), 1 (+x -y +z), 2 (+x +y +z), 3 (-x +y +z), then
// 4 .. 7 the same at -z. The camera looks along +Y, so cells 0, 1, 4, 5 face it and the
// others stand behind the box.

} // namespace

TEST_F(GLViewTest, ClickingAMarkerTogglesExactlyThatCell) {
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, markerPoint(5));
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{5}));
    EXPECT_EQ(counter.changes, 1) << "the 2-D editor hears of it";
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, markerPoint(5));
    EXPECT_TRUE(selectedCells().empty());

    // A marker behind the box can be clicked while the markers show through ...
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, markerPoint(2));
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{2}));
    // ... and not when the box hides it: the click lands on the box.
    setMarkersThrough(false);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, markerPoint(2));
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{2}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, markerPoint(1));
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{1, 2}));
}

TEST_F(GLViewTest, ALassoRoundTheRightHalfCatchesTheMarkersShownThere) {
    const int x0 = VIEW_W / 2 + 3;
    const std::vector<QPoint> rightHalf = {
        {x0, VIEW_H / 2}, {x0, 45}, {VIEW_W - 3, 45}, {VIEW_W - 3, VIEW_H - 3}, {x0, VIEW_H - 3}};
    lasso(rightHalf);
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{1, 2, 5, 6}));
    EXPECT_EQ(counter.changes, 1);

    QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, centre());
    EXPECT_TRUE(selectedCells().empty());

    setMarkersThrough(false);
    lasso(rightHalf);
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{1, 5}));

    // Round the whole window and far beyond it: every marker in front toggles.
    lasso({{-500, -500}, {VIEW_W + 500, -500}, {VIEW_W + 500, VIEW_H + 500}, {-500, VIEW_H + 500}});
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{0, 4}));
}

TEST_F(GLViewTest, TheWheelZoomsWithinLimitsAndMovingInTakesTheFocus) {
    other->setFocus();
    ASSERT_TRUE(other->hasFocus());
    QTest::mouseMove(view, centre());
    EXPECT_TRUE(view->hasFocus());

    for (int notch = 0; notch < 3; ++notch) {
        wheel(120);
    }
    EXPECT_NEAR(camera().distance, 4.28f, 1e-5f);
    wheel(120 * 1000);
    EXPECT_EQ(camera().distance, 1.0f);
    wheel(-120 * 1000);
    EXPECT_EQ(camera().distance, 100.0f);
    wheel(-1);
    EXPECT_EQ(camera().distance, 100.0f);
}

TEST_F(GLViewTest, ABackgroundClickChangesNothingAndADragAcrossTurnsOneRadian) {
    const QPoint corner(5, 60);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, corner);
    EXPECT_EQ(camera().rotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(camera().baseRotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(camera().rotationMatrix, GLCamera{}.rotationMatrix);
    EXPECT_EQ(counter.changes, 0);
    EXPECT_EQ(view->interaction().gesture(), PreviewInteraction::Gesture::None);

    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, corner);
    QTest::mouseMove(view, corner + QPoint(VIEW_W / 2, 0));
    QTest::mouseMove(view, corner + QPoint(VIEW_W, 0));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, corner + QPoint(VIEW_W, 0));
    const Quaternion oneRadian = {0.0f, 0.0f, std::sin(0.5f), std::cos(0.5f)};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(camera().baseRotation[i], oneRadian[i], 1e-6f);
    }
    EXPECT_TRUE(selectedCells().empty());

    // "初期位置" brings it back.
    QTest::mouseClick(view->toolBar()->findChild<QPushButton*>(QStringLiteral("1041")),
                      Qt::LeftButton);
    EXPECT_EQ(camera().rotation, GLCamera::IDENTITY_ROTATION);
}

TEST_F(GLViewTest, APickLeavesNoPickImageBehind) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const auto onScreen = [&] {
        return screen->grabWindow(host->winId(), 0, 0, VIEW_W, VIEW_H).toImage();
    };
    const QImage before = onScreen();
    ASSERT_FALSE(before.isNull());
    // A still press on the background reads the pick image and changes nothing, so the view
    // has no other reason to paint.
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(5, 60));
    QTest::qWait(100);
    // What the widget will show next: its framebuffer, as it is now.
    view->makeCurrent();
    std::array<uint8_t, 4> rgba{};
    glReadPixels(VIEW_W / 2, VIEW_H / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    view->doneCurrent();
    EXPECT_GT(rgba[0], 120) << "the lit box, not its pick colour (red = object number)";
    // Another widget of the window repaints: the screen shows the same picture.
    other->repaint();
    QTest::qWait(50);
    EXPECT_TRUE(onScreen() == before);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(5, 60));
    EXPECT_EQ(view->interaction().gesture(), PreviewInteraction::Gesture::None);
}
