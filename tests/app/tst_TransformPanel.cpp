// The transform panel in the real main window: points picked in the 2-D editor, sliders
// dragged with the mouse, and the edit bar's keyboard shortcuts.

#include "BitmapFrame.h"
#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "FileChooser.h"
#include "GLMesh.h"
#include "GLScene.h"
#include "GLToolDialog.h"
#include "GLView.h"
#include "Messages.h"
#include "PECForm.h"
#include "PECView.h"
#include "PEView.h"
#include "PaintCounter.h"
#include "SliderHandle.h"
#include "TeskResources.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

extern bool g_haveDisplay;

using namespace tesk;
using tesk::testing::PaintCounter;
using tesk::testing::sliderHandleCentre;

namespace {

struct NoFiles : FileChooser {
    std::optional<QString> openFile(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
};

class TransformPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_haveDisplay) {
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        }
        resources::init();
        doc = std::make_unique<Ctesk001Doc>(messages, "/opt/tesk/");
        preview = std::make_unique<DocumentPreview>(*doc, scene);
        frame = std::make_unique<CTeskMainFrame>(*doc, *preview, messages, chooser);
        frame->resize(1200, 760);
        frame->show();
        frame->layoutPanes(1200, 760);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        doc->newShape();
        // Points (-1,-1,1) and (1,-1,1) picked with the mouse in the 2-D editor.
        PEView* editor = frame->pointEditorPane();
        for (size_t cell : {0, 1}) {
            const NetRect& r = editor->net().cells.at(cell).rect;
            const QPoint at(r.centreX(), r.centreY());
            // Sent, not warped: test programs may share the display and its pointer.
            QMouseEvent hover(QEvent::MouseMove, QPointF(at), editor->mapToGlobal(QPointF(at)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(editor, &hover);
            QTest::mouseClick(editor, Qt::LeftButton, {}, at);
        }
        ASSERT_TRUE(doc->handles()[0] & CELL_SELECTED);
        ASSERT_TRUE(doc->handles()[1] & CELL_SELECTED);
        ASSERT_FALSE(doc->handles()[2] & CELL_SELECTED);
    }
    void TearDown() override {
        frame.reset();
        preview.reset();
        doc.reset();
    }

    QSlider* slider(TransformSlider s) {
        QSlider* found = frame->transformPane()->panel()->slider(s);
        frame->transformPane()->panelArea()->ensureWidgetVisible(found);
        return found;
    }
    /// Presses the handle, moves it to `value` in a few steps and reports the value reached
    /// before the release.
    int drag(QSlider* s, int value) {
        const QPoint from = sliderHandleCentre(s, s->value());
        const QPoint to = sliderHandleCentre(s, value);
        QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, from);
        for (int step = 1; step <= 4; ++step) {
            QTest::mouseMove(s, from + (to - from) * step / 4);
        }
        const int reached = s->value();
        QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, to);
        return reached;
    }
    std::vector<float> previewPositions() {
        const GLMesh* mesh = scene.findObject(preview->previewObjectId);
        return mesh != nullptr ? mesh->positions : std::vector<float>{};
    }
    Point3 work(int cell) const { return doc->mesh().workPoint(cell, 1); }

    RecordingMessages messages;
    NoFiles chooser;
    GLScene scene;
    std::unique_ptr<Ctesk001Doc> doc;
    std::unique_ptr<DocumentPreview> preview;
    std::unique_ptr<CTeskMainFrame> frame;
};

} // namespace

TEST_F(TransformPanelTest, DraggingAMoveSliderChangesPointsMapAndPreviewLive) {
    const std::vector<uint32_t> map = doc->mesh().map;
    const std::vector<float> mesh = previewPositions();
    ASSERT_FALSE(mesh.empty());
    const QImage before = frame->preview()->grabFramebuffer();

    QSlider* moveY = slider(SLIDER_MOVE_Y);
    const QPoint from = sliderHandleCentre(moveY, 0);
    QTest::mousePress(moveY, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(moveY, sliderHandleCentre(moveY, 100));
    // Live while the thumb is held: the document already shows the move.
    const int held = moveY->value();
    ASSERT_GT(held, 50);
    EXPECT_FLOAT_EQ(work(0).y, -1.0f + static_cast<float>(held) * 0.01f);
    EXPECT_NE(doc->mesh().map, map);
    EXPECT_NE(previewPositions(), mesh);

    QTest::mouseMove(moveY, sliderHandleCentre(moveY, 200) + QPoint(40, 0)); // past the end
    QTest::mouseRelease(moveY, Qt::LeftButton, Qt::NoModifier, sliderHandleCentre(moveY, 200));
    EXPECT_EQ(moveY->value(), 200);
    EXPECT_FLOAT_EQ(work(0).y, 1.0f);
    EXPECT_FLOAT_EQ(work(1).y, 1.0f);
    EXPECT_EQ(work(2), (Point3{1, 1, 1})) << "unselected points stay";
    Point3 committed;
    doc->cellPoint(0, committed);
    EXPECT_EQ(committed, (Point3{-1, -1, 1}));

    QTest::qWait(50);
    EXPECT_NE(frame->preview()->grabFramebuffer(), before) << "the preview shows the new shape";
}

// Each step of a drag changes the shape, so the preview, the sculpt-map picture and the slider
// repaint; the 2-D editor shows only committed points and the buttons' states stay, so none of
// them may repaint.
TEST_F(TransformPanelTest, ASliderDragRepaintsNeitherThePointEditorNorAnyButton) {
    QSlider* moveX = slider(SLIDER_MOVE_X);
    GLView* view = frame->preview();
    QSignalSpy drawn(view, &GLView::frameDrawn);
    QTest::qWait(100); // what showing the window asked for is painted
    PaintCounter paints;
    QTest::mousePress(moveX, Qt::LeftButton, Qt::NoModifier, sliderHandleCentre(moveX, 0));
    for (int value = 15; value <= 90; value += 15) {
        drawn.clear();
        QTest::mouseMove(moveX, sliderHandleCentre(moveX, value));
        ASSERT_TRUE(drawn.wait(2000)) << value;
    }
    QTest::qWait(50);
    const QWidget* picture = frame->controlPanel()->sculptPicture();
    EXPECT_GE(paints.count(view), 6);
    EXPECT_GE(paints.count(picture), 1);
    EXPECT_GE(paints.count(moveX), 1);
    // Containers may paint their background beneath the picture and the slider, nothing more.
    for (const QWidget* w : paints.painted()) {
        EXPECT_TRUE(w == view || view->isAncestorOf(w) || w == picture || w == moveX ||
                    w->isAncestorOf(picture) || w->isAncestorOf(moveX))
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    EXPECT_EQ(paints.countWithin(frame->pointEditorPane()), 0);
    for (const QWidget* buttons :
         {static_cast<QWidget*>(frame->controlPanel()), static_cast<QWidget*>(view->toolBar())}) {
        for (const QAbstractButton* button : buttons->findChildren<QAbstractButton*>()) {
            if (button != frame->controlPanel()->sculptPicture()) {
                EXPECT_EQ(paints.count(button), 0) << button->text().toStdString();
            }
        }
    }
    QTest::mouseRelease(moveX, Qt::LeftButton, Qt::NoModifier, sliderHandleCentre(moveX, 90));
}

TEST_F(TransformPanelTest, ARotateDragTurnsOnReleaseAndSpringsBack) {
    QSlider* rotateZ = slider(SLIDER_ROTATE_Z);
    const int angle = drag(rotateZ, 90);
    ASSERT_GT(angle, 60);
    EXPECT_EQ(rotateZ->value(), 0);
    // (x, y) turns to (x cos - y sin, x sin + y cos) about Z.
    const float a = static_cast<float>(angle) * kRadiansPerDegree;
    EXPECT_NEAR(work(1).x, std::cos(a) + std::sin(a), 1e-5f);
    EXPECT_NEAR(work(1).y, std::sin(a) - std::cos(a), 1e-5f);

    // The next drag turns on from there.
    const int more = drag(rotateZ, 30);
    const float b = static_cast<float>(angle + more) * kRadiansPerDegree;
    EXPECT_NEAR(work(1).x, std::cos(b) + std::sin(b), 1e-5f);
    EXPECT_NEAR(work(1).y, std::sin(b) - std::cos(b), 1e-5f);
}

TEST_F(TransformPanelTest, CtrlZAndCtrlYOrCtrlShiftZStepThroughConfirms) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QSlider* moveX = slider(SLIDER_MOVE_X);
    moveX->setFocus();
    QTest::keyClick(moveX, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(work(0).x, -1.0f) << "nothing to undo while the shape is new";

    QTest::keyClick(moveX, Qt::Key_PageUp);
    QTest::keyClick(moveX, Qt::Key_Return); // confirm: x = -0.9
    QTest::keyClick(moveX, Qt::Key_PageUp);
    QTest::keyClick(moveX, Qt::Key_Enter); // confirm: x = -0.8
    EXPECT_NEAR(work(0).x, -0.8f, 1e-6f);

    QTest::keyClick(frame.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NEAR(work(0).x, -0.9f, 1e-6f) << "the first undo goes back one confirm";
    QTest::keyClick(frame.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(work(0).x, -1.0f) << "and the next to the shape New made";
    QTest::keyClick(frame.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_NEAR(work(0).x, -0.9f, 1e-6f);
    QTest::keyClick(frame.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NEAR(work(0).x, -0.8f, 1e-6f);
    EXPECT_TRUE(messages.texts.empty());
}
