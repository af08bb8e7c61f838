// The link button, the document's rebuilds and confirms, and the viewer's requests in the
// real main window, with the viewer stand-in as a second process.

#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "FileChooser.h"
#include "GLScene.h"
#include "LinkProtocol.h"
#include "MessageTransport.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "ScratchDir.h"
#include "StandInProcess.h"
#include "TeskResources.h"
#include "ViewerLinkGlue.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

extern bool g_haveDisplay;

using namespace tesk;
using tesk::testing::StandInProcess;

namespace {

struct QueueChooser : FileChooser {
    std::optional<QString> openFile(QWidget*, const QString&, const QString&) override {
        return next();
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&) override {
        return next();
    }
    std::optional<QString> next() {
        if (paths.empty()) {
            return std::nullopt;
        }
        const QString path = QString::fromStdString(paths.front());
        paths.pop_front();
        return path;
    }
    std::deque<std::string> paths;
};

/// Records, with each question, whether the main window was kept above the others.
struct OnTopMessages : RecordingMessages {
    bool yesNo(const std::string& text) override {
        const QWindow* w = window != nullptr ? window->windowHandle() : nullptr;
        onTopWhenAsked = w != nullptr && (w->flags() & Qt::WindowStaysOnTopHint) != 0;
        if (duringQuestion) {
            duringQuestion();
        }
        return RecordingMessages::yesNo(text);
    }
    QWidget* window = nullptr;
    bool onTopWhenAsked = false;
    std::function<void()> duringQuestion;
};

void pumpEvents() {
    QCoreApplication::processEvents();
}

class ViewerLinkWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_haveDisplay) {
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        }
        resources::init();
        doc = std::make_unique<Ctesk001Doc>(messages, "/opt/tesk/");
        preview = std::make_unique<DocumentPreview>(*doc, scene);
        frame = std::make_unique<CTeskMainFrame>(*doc, *preview, messages, chooser, nullptr, names);
        messages.window = frame.get();
        frame->resize(1000, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        preview.reset();
        doc.reset();
    }

    std::unique_ptr<StandInProcess> startViewer(std::vector<std::string> args = {}) {
        if (!useUsersNames) {
            args.insert(args.end(), {"--names", tag});
        }
        const bool registers = std::find(args.begin(), args.end(), "--no-register") == args.end();
        auto viewer = std::make_unique<StandInProcess>(TESK_STANDIN, args);
        EXPECT_TRUE(viewer->waitFor(registers ? "registered" : "ready", pumpEvents));
        return viewer;
    }
    QPushButton* linkButton() const { return frame->controlPanel()->linkButton(); }
    /// New, then Save to `name` in the scratch folder: a shape the viewer may be sent.
    std::string newSavedShape(const char* name) {
        const std::string path = scratch.file(name);
        messages.scriptedAnswers = {true};
        frame->controlPanel()->onNew();
        chooser.paths = {path};
        frame->controlPanel()->onSave();
        return path;
    }

    bool useUsersNames = false;
    std::string tag = "w" + std::to_string(::getpid());
    LinkNames names = LinkNames::forUser(tag);
    OnTopMessages messages;
    QueueChooser chooser;
    tesk::testing::ScratchDir scratch{"tesk_link_window"};
    GLScene scene;
    std::unique_ptr<Ctesk001Doc> doc;
    std::unique_ptr<DocumentPreview> preview;
    std::unique_ptr<CTeskMainFrame> frame;
};

} // namespace

TEST_F(ViewerLinkWindowTest, WithoutAViewerOrWithANewShapeTheButtonComesBackOut) {
    ASSERT_TRUE(linkButton()->isEnabled());
    messages.scriptedAnswers = {true};
    frame->controlPanel()->onNew();
    QTest::mouseClick(linkButton(), Qt::LeftButton);
    EXPECT_FALSE(linkButton()->isChecked());
    EXPECT_EQ(messages.texts.back(), kSaveNewShapeFirstMessage);

    newSavedShape("saved.tsk");
    QTest::mouseClick(linkButton(), Qt::LeftButton);
    EXPECT_FALSE(linkButton()->isChecked());
    EXPECT_EQ(messages.texts.back(), kStartViewerFirstMessage);
}

TEST_F(ViewerLinkWindowTest, ALinkedEditorFeedsTheViewerAndSavesOnConfirm) {
    auto viewer = startViewer();
    const std::string path = newSavedShape("vase.tsk");
    QTest::mouseClick(linkButton(), Qt::LeftButton);
    EXPECT_TRUE(linkButton()->isChecked());
    EXPECT_EQ(viewer->waitFor("shape").value_or(""), "shape 1 1 1 1 " + path);

    // A moved point is a rebuild, and a confirm writes the file the viewer reads.
    ASSERT_TRUE(doc->setWorkPoints(std::vector<CellPoint>{{0, {0.9f, 0.1f, 0.2f}}}));
    EXPECT_TRUE(viewer->waitFor("shape 2"));
    ASSERT_TRUE(doc->confirm());
    EXPECT_TRUE(viewer->waitFor("shape 3"));
    SPMesh onDisk;
    ASSERT_TRUE(loadProjectFile(path, onDisk, messages));
    Point3 p;
    ASSERT_TRUE(onDisk.getPoint(0, 1, p));
    EXPECT_EQ(p, (Point3{0.9f, 0.1f, 0.2f}));
    EXPECT_TRUE(linkButton()->isChecked());

    EXPECT_TRUE(frame->viewerLink()->notifyDoubleClick());
    EXPECT_TRUE(viewer->waitFor("double-click 1 0"));

    // A requested file that cannot be read fails as any load does: a message, no change.
    viewer->command("load " + scratch.file("missing.tsk"));
    EXPECT_TRUE(viewer->waitFor("reply", pumpEvents));
    EXPECT_EQ(messages.texts.back(), kCannotOpenFileMessage);
    EXPECT_EQ(doc->getFileName(), path);
}

TEST_F(ViewerLinkWindowTest, ALoadRequestOverANewShapeAsksWithTheWindowOnTop) {
    auto viewer = startViewer();
    const std::string wanted = newSavedShape("wanted.tsk");
    messages.scriptedAnswers = {true};
    frame->controlPanel()->onNew();
    // New releases a pressed button at once; press it without a rebuild to reach the state
    // of an unsaved shape on show while linked.
    linkButton()->setChecked(true);
    const std::string kept = scratch.file("kept.tsk");
    chooser.paths = {kept};
    messages.scriptedAnswers = {true};
    messages.texts.clear();
    // A second request while the question is open waits its turn: handled at once it would
    // clear the name the first one is about to read.
    messages.duringQuestion = [&] {
        const uint32_t panel = frame->viewerLink()->controller().panelId();
        postMessage(names.endpoint(panel), {kMsgSaveThenLoad, 0, 0});
        QTest::qWait(100);
    };
    viewer->command("load " + wanted);
    EXPECT_EQ(viewer->waitFor("reply", pumpEvents).value_or(""), "reply 0x414 0");
    EXPECT_EQ(messages.texts, std::vector<std::string>{kSaveBeforeLoadQuestion});
    EXPECT_TRUE(messages.onTopWhenAsked);
    EXPECT_FALSE(frame->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(std::filesystem::exists(kept)) << "Yes saved through the Save shape dialog";
    EXPECT_EQ(doc->getFileName(), wanted);
    EXPECT_FALSE(doc->isNewShape());
    EXPECT_FALSE(viewer->waitFor("shape", pumpEvents, 300)) << "nothing sent back while busy";
}

TEST_F(ViewerLinkWindowTest, ASecondEditorGoesOnWithoutTheClassName) {
    Ctesk001Doc otherDoc(messages, "/opt/tesk/");
    GLScene otherScene;
    DocumentPreview otherPreview(otherDoc, otherScene);
    CTeskMainFrame second(otherDoc, otherPreview, messages, chooser, nullptr, names);
    EXPECT_TRUE(frame->viewerLink()->holdsClassName());
    EXPECT_FALSE(second.viewerLink()->holdsClassName());

    auto viewer = startViewer({"--no-register"});
    viewer->command("register");
    EXPECT_EQ(viewer->waitFor("registered", pumpEvents).value_or(""),
              "registered " + std::to_string(frame->viewerLink()->controller().panelId()));
}

// Under the user's own names, as the editor and the stand-in meet outside the tests. These
// share one block per user, so CTest runs them one at a time (RESOURCE_LOCK kob_app_block).
// Other editors of parallel tests may hold the main window's class name, so the stand-in
// learns of this editor from the shape it is sent rather than by registering.
class ViewerLinkUsersNamesTest : public ViewerLinkWindowTest {
protected:
    void SetUp() override {
        useUsersNames = true;
        names = LinkNames::forUser();
        ViewerLinkWindowTest::SetUp();
    }
};

TEST_F(ViewerLinkUsersNamesTest, TheEditorAndTheStandInMeet) {
    EXPECT_EQ(names.block, "/KOB_APP-" + std::to_string(::getuid()));
    auto viewer = startViewer({"--no-register"});
    const std::string path = newSavedShape("users.tsk");
    QTest::mouseClick(linkButton(), Qt::LeftButton);
    EXPECT_EQ(viewer->waitFor("shape").value_or(""), "shape 1 1 1 1 " + path);
    viewer->command("save " + path);
    EXPECT_EQ(viewer->waitFor("reply", pumpEvents).value_or(""), "reply 0x415 0");
}
