#include "COLORFrame.h"
#include "Ctesk001Doc.h"
#include "DialogUnits.h"
#include "Messages.h"
#include "PECForm.h"
#include "PECToolDialog.h"
#include "PECView.h"

#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

class PECViewTest : public ::testing::Test {
protected:
    PECViewTest() {
        doc.newShape();
        view.resize(500, 300);
        view.show();
        std::vector<uint32_t> flags(doc.handleCount(), 0);
        flags[1] = CELL_SELECTED; // (1, -1, 1)
        doc.setHandles(flags);
    }

    template <typename T> T* child(int id) const {
        T* found = view.findChild<T*>(QString::number(id));
        EXPECT_NE(found, nullptr) << id;
        return found;
    }
    Point3 work() const { return doc.mesh().workPoint(1, 1); }
    Point3 committed() const {
        Point3 p;
        doc.cellPoint(1, p);
        return p;
    }

    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    PECView view{doc};
};

void expectNear(Point3 actual, Point3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

} // namespace

TEST_F(PECViewTest, EditBarOnTopPanelBelowBothLaidOutInDialogUnits) {
    EXPECT_EQ(view.objectName(), "PECView");
    const int barHeight = view.editBar()->barHeight();
    EXPECT_GE(barHeight, PECToolDialog::kHeight);
    EXPECT_EQ(view.editBar()->geometry(), QRect(0, 0, 500, barHeight));
    EXPECT_EQ(view.panelArea()->geometry(), QRect(0, barHeight, 500, 300 - barHeight));
    for (const QWidget* button : view.editBar()->findChildren<QPushButton*>()) {
        EXPECT_LE(button->geometry().bottom(), barHeight - 1) << "no edit-bar button is cut off";
    }
    // Low and wide: move, scale and turn stand side by side, every slider in the pane.
    for (const QSlider* slider : view.panel()->findChildren<QSlider*>()) {
        const QRect r(slider->mapTo(&view, QPoint()), slider->size());
        EXPECT_TRUE(view.rect().contains(r)) << slider->objectName().toStdString();
    }
    const QRect moveX(child<QSlider>(1010)->pos(), child<QSlider>(1010)->size());
    EXPECT_EQ(child<QSlider>(1018)->y(), moveX.y()) << "scale X beside move X";
    EXPECT_GT(child<QSlider>(1018)->x(), moveX.right());
    EXPECT_GT(child<QSlider>(1024)->x(), child<QSlider>(1018)->x() + child<QSlider>(1018)->width());

    // With room for the designed panel, the designed single column.
    view.resize(640, 700);
    EXPECT_EQ(view.editBar()->width(), 640);
    EXPECT_EQ(view.panelArea()->geometry(), QRect(0, barHeight, 640, 700 - barHeight));

    const DialogUnits bar(view.editBar()->font());
    EXPECT_EQ(child<QPushButton>(1014)->text(), "UNDO");
    EXPECT_EQ(child<QPushButton>(1013)->text(), "確定");
    EXPECT_EQ(child<QPushButton>(1017)->geometry(), bar.rect(163, 1, 33, 12));

    // Rotate X steps by 5 and 10, rotate Y by 1 and 5; axis captions in the axis colours.
    const DialogUnits panel(view.panel()->font());
    const QSlider* rotateX = child<QSlider>(1024);
    EXPECT_EQ(rotateX->minimum(), -180);
    EXPECT_EQ(rotateX->maximum(), 180);
    EXPECT_EQ(rotateX->singleStep(), 5);
    EXPECT_EQ(rotateX->pageStep(), 10);
    EXPECT_EQ(child<QSlider>(1026)->singleStep(), 1);
    EXPECT_EQ(child<QSlider>(1032)->geometry(), panel.rect(32, 123, 222, 12));
    EXPECT_EQ(child<QSlider>(1015)->maximum(), 200);
    EXPECT_EQ(child<COLORFrame>(1049)->colour(), QColor(0, 0, 200));
    EXPECT_EQ(child<COLORFrame>(1050)->colour(), QColor(0, 200, 0));
    EXPECT_EQ(child<COLORFrame>(1048)->colour(), QColor(200, 0, 0));
    EXPECT_EQ(child<COLORFrame>(1048)->text(), "Z");
    EXPECT_EQ(child<COLORFrame>(1045)->geometry(), panel.rect(0, 44, 23, 14));
    EXPECT_EQ(child<QPushButton>(1059)->text(), ">");
}

TEST_F(PECViewTest, KeyAndPageStepsApplyOnceAndRotateStepsSpringBack) {
    QSlider* rotateY = child<QSlider>(1026);
    QTest::keyClick(rotateY, Qt::Key_PageUp); // one page step: 5 degrees about Y
    EXPECT_EQ(rotateY->value(), 0);
    const float a = 5.0f * kRadiansPerDegree;
    expectNear(work(), {std::cos(a) + std::sin(a), -1, -std::sin(a) + std::cos(a)});
    QTest::keyClick(rotateY, Qt::Key_PageUp);
    const float b = 10.0f * kRadiansPerDegree;
    expectNear(work(), {std::cos(b) + std::sin(b), -1, -std::sin(b) + std::cos(b)});

    // A move step keeps its position and adds to the rotation already reached.
    QSlider* moveZ = child<QSlider>(1015);
    QTest::keyClick(moveZ, Qt::Key_Right);
    EXPECT_EQ(moveZ->value(), 5);
    expectNear(work(), {std::cos(b) + std::sin(b), -1, -std::sin(b) + std::cos(b) + 0.05f});
    EXPECT_EQ(committed(), (Point3{1, -1, 1}));
}

TEST_F(PECViewTest, ReturnConfirmsAndTheEditBarButtonsDoWhatTheySay) {
    QSlider* moveX = child<QSlider>(1010);
    QTest::keyClick(moveX, Qt::Key_End);
    ASSERT_EQ(moveX->value(), 200);
    QTest::keyClick(moveX, Qt::Key_Return);
    EXPECT_EQ(committed(), (Point3{3, -1, 1}));
    EXPECT_EQ(moveX->value(), 0) << "a confirm puts the sliders back";
    EXPECT_FALSE(doc.isNewShape());

    // Reset drops the working change and puts the sliders back.
    QTest::keyClick(moveX, Qt::Key_Home);
    EXPECT_EQ(work(), (Point3{1, -1, 1}));
    QTest::mouseClick(child<QPushButton>(1017), Qt::LeftButton);
    EXPECT_EQ(work(), (Point3{3, -1, 1}));
    EXPECT_EQ(moveX->value(), 0);

    QTest::keyClick(moveX, Qt::Key_PageDown);
    QTest::mouseClick(child<QPushButton>(1013), Qt::LeftButton);
    expectNear(committed(), {2.9f, -1, 1});

    // Return on a focused edit-bar button presses that button, not confirm.
    QTest::keyClick(moveX, Qt::Key_PageDown);                  // unconfirmed: 2.8
    QTest::keyClick(child<QPushButton>(1014), Qt::Key_Return); // UNDO: the last confirm
    expectNear(work(), {2.9f, -1, 1});
    EXPECT_EQ(moveX->value(), -10) << "undo leaves the sliders";
    QTest::mouseClick(child<QPushButton>(1014), Qt::LeftButton);
    EXPECT_EQ(committed(), (Point3{3, -1, 1}));
    QTest::mouseClick(child<QPushButton>(1014), Qt::LeftButton); // the shape New made
    QTest::mouseClick(child<QPushButton>(1014), Qt::LeftButton); // past the oldest
    EXPECT_EQ(committed(), (Point3{1, -1, 1}));
    QTest::mouseClick(child<QPushButton>(1015), Qt::LeftButton); // REDO
    QTest::mouseClick(child<QPushButton>(1015), Qt::LeftButton);
    expectNear(committed(), {2.9f, -1, 1});
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(PECViewTest, PointSlideButtonsTurnTheLines) {
    const Point3 first = committed();
    QTest::mouseClick(child<QPushButton>(1059), Qt::LeftButton); // ">": point 2 comes to 1
    Point3 p;
    doc.mesh().getPoint(1, 1, p);
    EXPECT_EQ(p, (Point3{1, 1, 1}));
    QTest::mouseClick(child<QPushButton>(1058), Qt::LeftButton);
    EXPECT_EQ(committed(), first);
}
