// The preview's level of detail under a real GL context (xvfb-run): keys 0-4 and the tool
// bar's chooser switch the mesh, the corner tells the level and the map's problems. In English,
// whose texts the command line's check shares.
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "GLToolDialog.h"
#include "GLView.h"
#include "LanguageScope.h"
#include "Messages.h"
#include "RADIOFrame.h"
#include "ShapeTypes.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

extern bool g_haveDisplay;

using namespace tesk;

namespace {

class GLViewLodTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_haveDisplay) {
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        }
        view = std::make_unique<GLView>(doc, preview);
        view->resize(560, 480);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        doc.newShape();
    }

    size_t previewVertices() {
        const GLMesh* mesh = scene.findObject(preview.previewObjectId);
        return mesh != nullptr ? mesh->vertexCount() : 0;
    }

    LanguageScope english{UiLanguage::English};
    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    GLScene scene;
    DocumentPreview preview{doc, scene};
    std::unique_ptr<GLView> view;
};

TEST_F(GLViewLodTest, KeysAndTheChooserSwitchTheMeshAndTheCornerSaysWhich) {
    QComboBox* chooser = view->toolBar()->lodChooser();
    const QImage full = view->grabFramebuffer();
    EXPECT_EQ(previewVertices(), 64u * 64u);
    EXPECT_TRUE(view->lodNote()->isHidden()) << "the default shape has nothing to say";

    QTest::keyClick(view.get(), Qt::Key_2);
    EXPECT_EQ(previewVertices(), 17u * 17u);
    EXPECT_EQ(chooser->currentText(), QStringLiteral("16"));
    EXPECT_TRUE(view->lodNote()->isVisible());
    EXPECT_TRUE(view->lodNote()->text().startsWith(QStringLiteral("16 faces")));

    emit chooser->activated(4); // as when the person picks "6"
    EXPECT_EQ(previewVertices(), 7u * 7u);
    EXPECT_EQ(preview.lodLevel(), 4);
    EXPECT_TRUE(view->lodNote()->text().startsWith(QStringLiteral("6 faces")));
    EXPECT_NE(view->grabFramebuffer(), full) << "six faces a side draw another picture";
    EXPECT_TRUE(view->rect().contains(view->lodNote()->geometry()));
    EXPECT_GT(view->lodNote()->y(), view->height() / 2); // the lower left corner

    QTest::keyClick(view.get(), Qt::Key_1, Qt::ControlModifier); // not a level key
    EXPECT_EQ(previewVertices(), 7u * 7u);
    QTest::keyClick(view.get(), Qt::Key_0);
    EXPECT_EQ(previewVertices(), 64u * 64u);
    EXPECT_EQ(chooser->currentIndex(), 0);
    EXPECT_TRUE(view->lodNote()->isHidden());
    EXPECT_EQ(view->grabFramebuffer(), full);
}

TEST_F(GLViewLodTest, AMapWithProblemsIsWarnedOfOnceTheShapeRests) {
    // Built with B-splines, the vase's top row no longer meets in one point.
    ASSERT_TRUE(doc.loadProject(std::string(TESK_SOURCE_DIR) + "/examples/vase.tsk"));
    doc.setType(DIM_POLES_BSPLINE);
    QTRY_VERIFY(view->lodNote()->isVisible());
    EXPECT_TRUE(view->lodNote()->text().contains(QStringLiteral("warning - poles:")))
        << view->lodNote()->text().toStdString();
    EXPECT_FALSE(view->lodNote()->text().contains(QStringLiteral("faces, as viewers")));

    // A shorter note after the long one: the corner shrinks to it again.
    const int longWidth = view->lodNote()->width();
    doc.setType(DIM_POLES_LINEAR);
    QTest::keyClick(view.get(), Qt::Key_2);
    QTRY_VERIFY(!view->lodNote()->text().contains(QStringLiteral("warning")));
    const QFontMetrics metrics(view->lodNote()->font());
    EXPECT_LT(view->lodNote()->width(), longWidth);
    EXPECT_LT(view->lodNote()->width(), metrics.horizontalAdvance(view->lodNote()->text()) + 20);
    EXPECT_LT(view->lodNote()->height(), 2 * metrics.height() + 8) << "one line, one line high";
}

// The tube and ring buttons switch the preview: the document's type, the stitching the mesh
// is decoded with (the wrap closes the ring at every level), the picture, and the button
// alone chosen.
TEST_F(GLViewLodTest, TubeAndRingButtonsSwitchThePreview) {
    ASSERT_TRUE(doc.loadProject(std::string(TESK_SOURCE_DIR) + "/examples/ring.tsk"));
    const QImage asSheet = view->grabFramebuffer();
    const auto stitchOfPreview = [this] {
        const GLMesh* mesh = scene.findObject(preview.previewObjectId);
        return mesh != nullptr ? mesh->stitchType : 0;
    };
    EXPECT_EQ(stitchOfPreview(), kStitchPlane);
    QImage last = asSheet;
    for (const ShapeTypeInfo& info : kShapeTypes) {
        if (info.stitch != kStitchCylinder && info.stitch != kStitchTorus) {
            continue;
        }
        RADIOFrame* button = view->toolBar()->typeButton(info.value);
        ASSERT_NE(button, nullptr) << info.caption;
        EXPECT_TRUE(view->toolBar()->rect().contains(button->geometry())) << info.caption;
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(doc.selectedType(), info.value) << info.caption;
        EXPECT_EQ(doc.mesh().SPDimType, info.value) << info.caption;
        EXPECT_EQ(stitchOfPreview(), info.stitch) << info.caption;
        EXPECT_EQ(button->selected(), 1) << info.caption;
        EXPECT_EQ(view->toolBar()->typeButton(DIM_SHEET_BSPLINE)->selected(), 0);
        QTest::keyClick(view.get(), Qt::Key_4); // six faces: the coarsest mesh shows the wrap
        EXPECT_EQ(previewVertices(), 7u * 7u);
        const QImage picture = view->grabFramebuffer();
        EXPECT_NE(picture, last) << info.caption << " draws its own shape";
        last = picture;
        QTest::keyClick(view.get(), Qt::Key_0);
    }
}

// The size to give the prim stands in the lower right corner and follows the shape: the tube
// is as wide as deep and its height is what the map cannot keep.
TEST_F(GLViewLodTest, TheCornerGivesThePrimSize) {
    auto* note = view->findChild<QLabel*>(QStringLiteral("primSize"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible()) << "the new shape has a size too";
    ASSERT_TRUE(doc.loadProject(std::string(TESK_SOURCE_DIR) + "/examples/tube.tsk"));
    EXPECT_EQ(note->text(), QStringLiteral("Prim size: X 1.242, Y 1.242, Z 2.000"));
    EXPECT_TRUE(view->rect().contains(note->geometry()));
    EXPECT_GT(note->x(), view->width() / 2);
    EXPECT_GT(note->y(), view->height() / 2);
    view->resize(420, 360);
    EXPECT_TRUE(view->rect().contains(note->geometry())) << "it follows the preview's size";
    EXPECT_EQ(note->geometry().bottomRight().x(), view->width() - 7);
}

} // namespace
