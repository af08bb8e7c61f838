// The 3-D preview under synthetic mouse events on a real window (xvfb-run): marker clicks,
// lassos with and without "ポイント 透過", the wheel, camera drags, and no pick image shown.
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "GLToolDialog.h"
#include "GLView.h"
#include "Messages.h"
#include "ShapeTypes.h"

#include <GL/glu.h>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <array>
#include <gtest/gtest.h>

extern bool g_haveDisplay;

using namespace tesk;

namespace {

constexpr int W = 400;
constexpr int H = 440;

struct SelectionCounter : DocumentListener {
    void selectionChanged() override { ++changes; }
    int changes = 0;
};

// The default shape is a box with a marker at each corner: cells 0 (-x -y +z), 1 (+x -y +z),
// 2 (+x +y +z), 3 (-x +y +z), then 4 .. 7 the same at -z. The camera looks along +Y, so
// cells 0, 1, 4, 5 face it and the others stand behind the box.
class GLViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_haveDisplay) {
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        }
        doc.newShape();
        doc.addListener(&counter);
        host.resize(W, H + 30);
        view = new GLView(doc, preview, &host);
        view->setGeometry(0, 0, W, H);
        other = new QLineEdit(&host);
        other->setGeometry(0, H, W, 30);
        host.show();
        // Test programs may share the display: nothing here needs the window to be active.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        view->setFocus();
        ASSERT_FALSE(view->grabFramebuffer().isNull()) << "GL draws";
    }
    void TearDown() override { doc.removeListener(&counter); }

    /// Where cell k's marker shows, from the projection the preview sets up.
    QPoint markerPoint(uint32_t cell) {
        const Point3 p =
            doc.markerPoints()[cell] + scene.findObject(preview.previewObjectId)->position;
        view->makeCurrent();
        drawVisiblePass(scene, preview.cameras[0], W, H, view->settings());
        std::array<GLdouble, 16> projection{};
        glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
        view->doneCurrent();
        const std::array<GLdouble, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const std::array<GLint, 4> viewport = {0, 0, W, H};
        GLdouble x = 0, y = 0, z = 0;
        gluProject(p.x, p.y, p.z, identity.data(), projection.data(), viewport.data(), &x, &y, &z);
        return {static_cast<int>(x), H - 1 - static_cast<int>(y)};
    }
    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(view, button, Qt::NoModifier, at);
    }
    void drag(QPoint from, std::initializer_list<QPoint> through) {
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
        for (const QPoint p : through) {
            QTest::mouseMove(view, p);
        }
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, *(through.end() - 1));
    }
    void wheel(int delta) {
        QWheelEvent event(QPointF(W / 2, H / 2), view->mapToGlobal(QPointF(W / 2, H / 2)), {},
                          {0, delta}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    }
    QPushButton* toolButton(const char* id) {
        return view->toolBar()->findChild<QPushButton*>(QString::fromLatin1(id));
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

    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    GLScene scene;
    DocumentPreview preview{doc, scene};
    SelectionCounter counter;
    QWidget host;
    GLView* view = nullptr;
    QLineEdit* other = nullptr;
    const QPoint centre{W / 2, H / 2};
    const GLCamera& camera = preview.cameras[0];
};

} // namespace

TEST_F(GLViewTest, ClickingAMarkerTogglesThatCellUnlessTheMeshHidesIt) {
    click(markerPoint(5));
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{5}));
    EXPECT_EQ(counter.changes, 1) << "the 2-D editor hears of it";
    click(markerPoint(5));
    click(markerPoint(2)); // behind the box, shown through it
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{2}));
    QTest::mouseClick(toolButton("1039"), Qt::LeftButton); // "ポイント 透過" off
    click(markerPoint(2));                                 // lands on the box
    click(markerPoint(1));
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{1, 2}));
}

TEST_F(GLViewTest, ALassoOverTheMeshCatchesTheMarkersShownInIt) {
    const int x = W / 2 + 3;
    const auto rightHalf = {QPoint(x, H / 2), QPoint(x, 45), QPoint(W - 3, 45),
                            QPoint(W - 3, H - 3), QPoint(x, H - 3)};
    drag(centre, rightHalf);
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{1, 2, 5, 6}));
    click(centre, Qt::RightButton);
    EXPECT_TRUE(selectedCells().empty());

    QTest::mouseClick(toolButton("1039"), Qt::LeftButton); // "ポイント 透過" off
    drag(centre, rightHalf);
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{1, 5}));
    drag(centre, {{-500, -500}, {W + 500, -500}, {W + 500, H + 500}, {-500, H + 500}});
    EXPECT_EQ(selectedCells(), (std::vector<uint32_t>{0, 4})) << "the front ones toggled";
}

TEST_F(GLViewTest, ALassoShowsAsAGreenHatchWhileItIsDrawn) {
    const auto hatchPixels = [this](QRect area) {
        const QImage picture = view->grabFramebuffer();
        int green = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                green += picture.pixel(x, y) == qRgb(0, 100, 0);
            }
        }
        return green;
    };
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, centre);
    for (const QPoint p : {QPoint(100, 100), QPoint(300, 100), QPoint(300, 300)}) {
        QTest::mouseMove(view, p);
    }
    // Diagonal lines 8 pixels apart both ways: about a quarter of the inside.
    const int inside = hatchPixels({220, 120, 60, 20});
    EXPECT_GT(inside, 60 * 20 / 8);
    EXPECT_LT(inside, 60 * 20 / 2);
    EXPECT_EQ(hatchPixels({110, 200, 60, 60}), 0) << "outside the triangle";
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, {300, 300});
    EXPECT_EQ(hatchPixels({220, 120, 60, 20}), 0) << "gone with the release";
}

TEST_F(GLViewTest, MovingInTakesTheFocusAndTheWheelZoomsWithinLimits) {
    other->setFocus();
    ASSERT_EQ(host.focusWidget(), other);
    QMouseEvent move(QEvent::MouseMove, QPointF(centre), view->mapToGlobal(QPointF(centre)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    EXPECT_EQ(host.focusWidget(), view);
    for (int notch = 0; notch < 3; ++notch) {
        wheel(120);
    }
    EXPECT_NEAR(camera.distance, 4.28f, 1e-5f);
    wheel(120 * 1000);
    EXPECT_EQ(camera.distance, 1.0f);
    wheel(-120 * 1000);
    EXPECT_EQ(camera.distance, 100.0f);
}

TEST_F(GLViewTest, ABackgroundClickChangesNothingAndADragAcrossTurnsOneRadian) {
    const QPoint corner(5, 60);
    click(corner);
    EXPECT_EQ(camera.rotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(camera.baseRotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(camera.rotationMatrix, GLCamera{}.rotationMatrix);
    EXPECT_EQ(counter.changes, 0);

    drag(corner, {corner + QPoint(W / 2, 0), corner + QPoint(W, 0)});
    EXPECT_NEAR(camera.baseRotation[2], std::sin(0.5f), 1e-6f);
    EXPECT_NEAR(camera.baseRotation[3], std::cos(0.5f), 1e-6f);
    QTest::mouseClick(toolButton("1041"), Qt::LeftButton); // "初期位置"
    EXPECT_EQ(camera.rotation, GLCamera::IDENTITY_ROTATION);
}

TEST_F(GLViewTest, APickDrawsIntoTheFramebufferButTheViewKeepsShowingTheLitPicture) {
    const QImage picture = view->grab().toImage();
    QSignalSpy drawn(view, &GLView::frameDrawn);
    // A still press on the background reads the pick image and gives no other reason to paint.
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(5, 60));
    QImage framebuffer(W, H, QImage::Format_RGBA8888);
    ASSERT_TRUE(view->makeCurrent());
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, framebuffer.bits());
    view->doneCurrent();
    EXPECT_EQ(qRed(framebuffer.pixel(W / 2, H / 2)),
              scene.objectPosition(preview.previewObjectId) + 1)
        << "the box in its pick colour";
    QTest::qWait(50);
    EXPECT_EQ(drawn.count(), 0) << "no frame drawn again to hide it";
    const QImage shown = view->grab().toImage();
    EXPECT_EQ(shown, picture);
    EXPECT_GT(qRed(shown.pixel(W / 2, H / 2)), 120) << "the lit box, not its pick colour";
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(5, 60));
}

namespace {

/// Pixels of the checker's two colours and of its digits, as lit on the shape.
struct CheckerCount {
    int dark = 0;   // orange-red cells
    int digits = 0; // near black: darker than the background and any grey shading
};

CheckerCount countChecker(const QImage& picture) {
    CheckerCount count;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            count.dark += qRed(p) > qGreen(p) + 30 && qGreen(p) > qBlue(p) + 15;
            count.digits += std::max({qRed(p), qGreen(p), qBlue(p)}) < 40;
        }
    }
    return count;
}

} // namespace

TEST_F(GLViewTest, TheCheckerFollowsRebuildsLevelsAndWireframeButNeverThePickImage) {
    const auto pickPicture = [this] {
        view->readPickImage();
        QImage framebuffer(W, H, QImage::Format_RGBA8888);
        EXPECT_TRUE(view->makeCurrent());
        glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, framebuffer.bits());
        view->doneCurrent();
        return framebuffer;
    };
    const QImage grey = view->grabFramebuffer();
    EXPECT_EQ(countChecker(grey).dark, 0);
    EXPECT_EQ(countChecker(grey).digits, 0);
    const QImage greyPick = pickPicture();

    QToolButton* button = view->toolBar()->textureButton();
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isVisible()) << "no room beside the designed buttons at this width";
    QTest::keyClick(view, Qt::Key_T);
    EXPECT_TRUE(button->isChecked());
    ASSERT_EQ(preview.texture(), PreviewTextureKind::Checker);
    const CheckerCount solid = countChecker(view->grabFramebuffer());
    EXPECT_GT(solid.dark, 2000);
    EXPECT_GT(solid.digits, 100);
    EXPECT_EQ(pickPicture(), greyPick);

    toolButton("1015")->click(); // wireframe: the lines take the texture too
    EXPECT_GT(countChecker(view->grabFramebuffer()).dark, 100);
    toolButton("1014")->click();
    view->showLodLevel(4); // 6 faces
    EXPECT_GT(countChecker(view->grabFramebuffer()).dark, 2000);
    view->showLodLevel(0);
    doc.setType(kShapeTypes[3].value);
    const GLMesh* mesh = scene.findObject(preview.previewObjectId);
    ASSERT_NE(mesh->textureImageId, -1) << "a rebuilt mesh keeps the texture";
    EXPECT_GT(countChecker(view->grabFramebuffer()).dark, 2000);
    doc.setType(kShapeTypes[0].value);

    // Key T takes it off: exactly the designed grey picture again, and back on.
    QTest::keyClick(view, Qt::Key_T);
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(view->grabFramebuffer(), grey);
    QTest::keyClick(view, Qt::Key_T);
    EXPECT_EQ(preview.texture(), PreviewTextureKind::Checker);

    // Where the first row has room, the button stands right of "ポイント 透過" and switches.
    view->resize(W + 200, H);
    ASSERT_TRUE(button->isVisible());
    const auto* through = view->toolBar()->findChild<QPushButton*>(QStringLiteral("1039"));
    EXPECT_GT(button->x(), through->geometry().right());
    EXPECT_EQ(button->y(), through->y());
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, button->height() / 2));
    EXPECT_EQ(preview.texture(), PreviewTextureKind::None);
}

TEST_F(GLViewTest, AChosenPictureIsKeptAtABoundedSizeAndAnUnreadableOneChangesNothing) {
    QString answer = QString::fromUtf8(TESK_SOURCE_DIR "/res/effect/gradient_rgb.png");
    int asked = 0;
    EXPECT_FALSE(view->choosePicture()) << "no chooser yet";
    view->setPictureChooser(
        [&](QWidget*, const QString&, const QString&) -> std::optional<QString> {
            ++asked;
            return answer;
        },
        messages);
    view->toolBar()->pictureAction()->trigger();
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(preview.texture(), PreviewTextureKind::Picture);
    EXPECT_TRUE(view->toolBar()->textureButton()->isChecked());
    const ImageBuffer* shown =
        scene.findImage(scene.findObject(preview.previewObjectId)->textureImageId);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->width, kTextureSide);
    EXPECT_EQ(shown->height, kTextureSide);

    // Off and on again shows the same picture: it is remembered.
    view->toolBar()->textureButton()->click();
    EXPECT_EQ(preview.texture(), PreviewTextureKind::None);
    EXPECT_EQ(scene.findObject(preview.previewObjectId)->textureImageId, -1);
    view->toolBar()->textureButton()->click();
    EXPECT_EQ(preview.texture(), PreviewTextureKind::Picture);

    answer = QString::fromUtf8(TESK_TEST_DATA "/pictures/not_a_picture.txt");
    view->toolBar()->checkerAction()->trigger();
    EXPECT_FALSE(view->choosePicture());
    EXPECT_FALSE(messages.texts.empty());
    EXPECT_EQ(preview.texture(), PreviewTextureKind::Checker) << "the shown texture stays";
    EXPECT_NE(preview.picturePath().find("gradient_rgb.png"), std::string::npos);
}
