// The control panel's "エフェクト" button in the real main window.

#include "BitmapFrame.h"
#include "CTeskMainFrame.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "EffectDialog.h"
#include "FileChooser.h"
#include "GLScene.h"
#include "Messages.h"
#include "TeskResources.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

extern bool g_haveDisplay;

using namespace tesk;

namespace {

struct PictureChooser : FileChooser {
    std::optional<QString> openFile(QWidget*, const QString&, const QString& folder) override {
        asked.push_back(folder);
        return QStringLiteral(TESK_SOURCE_DIR "/res/effect/dome.png");
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::vector<QString> asked;
};

} // namespace

TEST(EffectButton, OpensOneDialogWhoseChangesReachThePreviewAndThePanel) {
    if (!g_haveDisplay) {
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    resources::init();
    RecordingMessages messages;
    PictureChooser chooser;
    GLScene scene;
    Ctesk001Doc doc(messages, "/opt/tesk/");
    DocumentPreview preview(doc, scene);
    CTeskMainFrame frame(doc, preview, messages, chooser);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    Ctesk001View& panel = *frame.controlPanel();
    auto* button = panel.findChild<QPushButton*>(QStringLiteral("1011"));
    ASSERT_NE(button, nullptr);
    doc.newShape();
    const std::vector<uint32_t> bare = doc.mesh().map;

    QTest::mouseClick(button, Qt::LeftButton);
    QPointer<EffectDialog> dialog = panel.effectDialog();
    ASSERT_FALSE(dialog.isNull());
    EXPECT_TRUE(dialog->isVisible());
    dialog->onAdd();
    EXPECT_EQ(chooser.asked, std::vector<QString>{QStringLiteral("/opt/tesk/effect")});
    ASSERT_EQ(doc.mesh().effects.size(), 1u);
    EXPECT_NE(doc.mesh().map, bare);
    ASSERT_NE(scene.firstSculptImage(), nullptr);
    EXPECT_EQ(scene.firstSculptImage()->pixels, doc.mesh().map);
    EXPECT_EQ(panel.sculptPicture()->sourcePixels(), doc.mesh().map);

    // OK and Escape hide it and the button shows the same one; the close box ends it.
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(panel.effectDialog(), dialog.data());
    EXPECT_TRUE(dialog->isVisible());
    // Put somewhere by the user, it comes back there even after the close box ended it.
    const QPoint placed = dialog->pos() + QPoint(37, 23);
    dialog->move(placed);
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(panel.effectDialog(), nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_NE(panel.effectDialog(), nullptr);
    EXPECT_EQ(panel.effectDialog()->pos(), placed);
}
