// The control panel's "エフェクト" button with the real main window: it opens one effect
// dialog, brings it back, and what the dialog changes reaches the preview and the panel.

#include "BitmapFrame.h"
#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
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

/// Every open dialog answers with the next path; what was asked is kept.
struct OneAnswerChooser : FileChooser {
    std::optional<QString> openFile(QWidget*, const QString& filter,
                                    const QString& folder) override {
        asked.push_back(filter + " @ " + folder);
        return path;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> path;
    std::vector<QString> asked;
};

class EffectButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_haveDisplay) {
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        }
        resources::init();
        doc = std::make_unique<Ctesk001Doc>(messages, "/opt/tesk/");
        preview = std::make_unique<DocumentPreview>(*doc, scene);
        frame = std::make_unique<CTeskMainFrame>(*doc, *preview, messages, chooser);
        frame->resize(1200, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        preview.reset();
        doc.reset();
    }

    QPushButton* effectsButton() const {
        return frame->controlPanel()->findChild<QPushButton*>(QStringLiteral("1011"));
    }

    RecordingMessages messages;
    OneAnswerChooser chooser;
    GLScene scene;
    std::unique_ptr<Ctesk001Doc> doc;
    std::unique_ptr<DocumentPreview> preview;
    std::unique_ptr<CTeskMainFrame> frame;
};

} // namespace

TEST_F(EffectButtonTest, OpensOneDialogAndBringsItBack) {
    ASSERT_NE(effectsButton(), nullptr);
    EXPECT_TRUE(effectsButton()->isEnabled());
    EXPECT_EQ(frame->controlPanel()->effectDialog(), nullptr);

    QTest::mouseClick(effectsButton(), Qt::LeftButton);
    QPointer<EffectDialog> dialog = frame->controlPanel()->effectDialog();
    ASSERT_FALSE(dialog.isNull());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isWindow());

    // OK hides it; the button shows the same dialog again.
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    QTest::mouseClick(effectsButton(), Qt::LeftButton);
    EXPECT_EQ(frame->controlPanel()->effectDialog(), dialog.data());
    EXPECT_TRUE(dialog->isVisible());

    // The close box destroys it and the panel forgets it; the button makes a new one.
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(frame->controlPanel()->effectDialog(), nullptr);
    QTest::mouseClick(effectsButton(), Qt::LeftButton);
    EXPECT_NE(frame->controlPanel()->effectDialog(), nullptr);
}

TEST_F(EffectButtonTest, AnAddedEffectShowsInThePreviewAndThePanel) {
    messages.scriptedAnswers = {true};
    QTest::mouseClick(frame->controlPanel()->findChild<QPushButton*>(QStringLiteral("1006")),
                      Qt::LeftButton);
    const std::vector<uint32_t> bare = doc->mesh().map;

    QTest::mouseClick(effectsButton(), Qt::LeftButton);
    chooser.path = QStringLiteral(TESK_SOURCE_DIR "/res/effect/dome.png");
    frame->controlPanel()->effectDialog()->onAdd();
    ASSERT_EQ(doc->mesh().effects.size(), 1u);
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_TRUE(chooser.asked[0].endsWith(QStringLiteral(" @ /opt/tesk/effect")))
        << chooser.asked[0].toStdString();

    EXPECT_NE(doc->mesh().map, bare);
    const ImageBuffer* shown = scene.firstSculptImage();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->pixels, doc->mesh().map);
    EXPECT_EQ(frame->controlPanel()->sculptPicture()->sourcePixels(), doc->mesh().map);
}
