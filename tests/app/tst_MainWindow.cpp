#include "BitmapFrame.h"
#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "FileChooser.h"
#include "GLScene.h"
#include "GLToolDialog.h"
#include "GLView.h"
#include "Messages.h"
#include "PEToolDialog.h"
#include "PEView.h"
#include "ProjectFile.h"
#include "RADIOFrame.h"
#include "SPMesh.h"
#include "ScratchDir.h"
#include "SculptImageWriter.h"
#include "TeskResources.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>

extern bool g_haveDisplay;

using namespace tesk;
namespace fs = std::filesystem;

namespace {

/// Answers file dialogs from a script and records what was asked, in order with the messages.
struct ScriptedChooser : FileChooser {
    std::optional<QString> openFile(QWidget*, const QString& filter, const QString&) override {
        return answer("open " + filter);
    }
    std::optional<QString> saveFile(QWidget*, const QString& filter,
                                    const QString& proposed) override {
        lastProposed = proposed;
        return answer("save " + filter);
    }
    std::optional<QString> answer(const QString& what) {
        asked.push_back(what);
        if (answers.empty()) {
            return std::nullopt;
        }
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<QString>> answers;
    std::vector<QString> asked;
    QString lastProposed;
};

class MainWindowTest : public ::testing::Test {
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
        frame->layoutPanes(1200, 700);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        preview.reset();
        doc.reset();
    }

    void click(int id) {
        auto* button = frame->findChild<QAbstractButton*>(QString::number(id));
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QString caption() const { return frame->windowTitle(); }
    std::string dir(const char* name) {
        const fs::path d = scratch.path() / name;
        fs::create_directories(d);
        return d.string();
    }

    RecordingMessages messages;
    ScriptedChooser chooser;
    tesk::testing::ScratchDir scratch{"tesk_mainwindow"};
    GLScene scene;
    std::unique_ptr<Ctesk001Doc> doc;
    std::unique_ptr<DocumentPreview> preview;
    std::unique_ptr<CTeskMainFrame> frame;
};

} // namespace

TEST_F(MainWindowTest, NewAsksThenBuildsTheDefaultShapeWithTheChosenType) {
    EXPECT_EQ(caption(), "TESK ( Brenmold ) version 0.0.5.1 << tesk.tsk >>");
    messages.scriptedAnswers = {false};
    click(1006);
    EXPECT_EQ(doc->mesh().lineCount(), 0) << "cancel changes nothing";

    // Choosing "PS [2]" before New: the default shape is built as type 152.
    QTest::mouseClick(frame->preview()->toolBar()->typeButton(DIM_SHEET_BSPLINE_ALONG),
                      Qt::LeftButton);
    EXPECT_EQ(doc->selectedType(), DIM_SHEET_BSPLINE_ALONG);
    click(1006);
    ASSERT_EQ(doc->mesh().lineCount(), 4);
    EXPECT_EQ(doc->mesh().SPDimType, DIM_SHEET_BSPLINE_ALONG);
    EXPECT_TRUE(doc->isNewShape());
    EXPECT_EQ(frame->controlPanel()->sculptPicture()->imageWidth(), 64);
    EXPECT_EQ(RADIOFrame::lastSelectedIndex(), 7);
    EXPECT_EQ(messages.texts.at(0), "現在の形状は削除されます。\nよろしいですか？");
}

TEST_F(MainWindowTest, TypeButtonsRebuildAndShowOnlyTheirOwnChoice) {
    messages.scriptedAnswers = {true};
    click(1006);
    click(1023); // "S [2]"
    EXPECT_EQ(doc->selectedType(), DIM_POLES_BSPLINE_ALONG);
    EXPECT_EQ(doc->mesh().SPDimType, DIM_POLES_BSPLINE_ALONG);
    int chosen = 0;
    for (const auto& info : kShapeTypes) {
        chosen += frame->preview()->toolBar()->typeButton(info.value)->selected();
    }
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(frame->preview()->toolBar()->typeButton(DIM_POLES_BSPLINE_ALONG)->selected(), 1);
}

TEST_F(MainWindowTest, SaveThenLoadRecordsTheFileAndClearsIsNewShape) {
    const std::string path = dir("save") + "/shape.tsk";
    click(1006);
    click(1027); // "PS [2]"
    chooser.answers = {QString::fromStdString(path)};
    click(1009);
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(chooser.asked.back(), "save tesk file (*.tsk);;All Files (*)");
    EXPECT_FALSE(doc->isNewShape());
    EXPECT_EQ(caption(),
              QString::fromStdString("TESK ( Brenmold ) version 0.0.5.1 << " + path + " >>"));

    // New, another type, then Load: the stored type comes back.
    click(1006);
    click(1020);
    EXPECT_TRUE(doc->isNewShape());
    chooser.answers = {QString::fromStdString(path)};
    click(1007);
    EXPECT_EQ(doc->selectedType(), DIM_SHEET_BSPLINE_ALONG);
    EXPECT_FALSE(doc->isNewShape());
    EXPECT_EQ(frame->preview()->toolBar()->typeButton(DIM_SHEET_BSPLINE_ALONG)->selected(), 1);
}

TEST_F(MainWindowTest, LoadAsksFirstAndCancelAnywhereChangesNothing) {
    click(1006);
    messages.texts.clear();

    messages.scriptedAnswers = {false};
    click(1007);
    EXPECT_TRUE(chooser.asked.empty()) << "no file dialog after Cancel";

    chooser.answers = {std::nullopt};
    click(1007);
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(messages.texts.size(), 2u) << "the question comes before the dialog";
    EXPECT_EQ(doc->getFileName(), "tesk.tsk");
    EXPECT_TRUE(doc->isNewShape());
}

TEST_F(MainWindowTest, FailedLoadShowsAMessageAndKeepsEverything) {
    click(1006);
    const std::string bad = dir("bad") + "/broken.tsk";
    std::ofstream(bad) << "not a project";
    const auto map = doc->mesh().map;
    const size_t shown = messages.texts.size();
    chooser.answers = {QString::fromStdString(bad)};
    click(1007);
    EXPECT_GT(messages.texts.size(), shown + 1);
    EXPECT_EQ(doc->mesh().map, map);
    EXPECT_EQ(caption(), "TESK ( Brenmold ) version 0.0.5.1 << tesk.tsk >>");
    EXPECT_TRUE(doc->isNewShape());
}

TEST_F(MainWindowTest, ExportWritesTheFlippedFileTheDialogAskedFor) {
    // Before any shape exists there is nothing to export: a message, no file.
    const std::string early = dir("export-early") + "/map.bmp";
    chooser.answers = {QString::fromStdString(early)};
    click(1008);
    EXPECT_FALSE(fs::exists(early));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], kNoSculptMapMessage);

    click(1006);
    const std::string path = dir("export") + "/map.bmp";
    chooser.answers = {QString::fromStdString(path)};
    ExportFlips asked{true, false, true};
    frame->controlPanel()->setExportOptionAsker([&](QWidget*) { return asked; });
    click(1008);
    EXPECT_EQ(chooser.lastProposed, "tesk.bmp");
    EXPECT_EQ(doc->getBitmapFileName(), path);

    std::vector<uint32_t> flipped = doc->mesh().map;
    ApplyExportFlips(flipped.data(), 64, 64, asked);
    const std::vector<uint8_t> expected = EncodeSculptBmp(flipped.data(), 64, 64);
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> written((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    EXPECT_EQ(written.size(), 12344u);
    EXPECT_EQ(written, expected);

    // Cancelling the file dialog writes nothing and keeps the proposed name.
    fs::remove(path);
    chooser.answers = {std::nullopt};
    click(1008);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(MainWindowTest, OpeningAFileOverAShapeAsksFirst) {
    const std::string path = dir("open") + "/one.tsk";
    click(1006);
    ASSERT_TRUE(doc->saveProject(path));
    click(1006);
    messages.scriptedAnswers = {false};
    frame->controlPanel()->openFile(path);
    EXPECT_EQ(doc->getFileName(), "tesk.tsk");
    frame->controlPanel()->openFile(path);
    EXPECT_EQ(doc->getFileName(), path);
}

TEST_F(MainWindowTest, KeyboardShortcutsRunThePanelCommands) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(doc->mesh().lineCount(), 4);

    const std::string path = dir("keys") + "/k.tsk";
    chooser.answers = {QString::fromStdString(path)};
    QTest::keyClick(frame.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(fs::exists(path));

    messages.scriptedAnswers = {true};
    chooser.answers = {std::nullopt};
    const size_t asked = chooser.asked.size();
    QTest::keyClick(frame.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(chooser.asked.size(), asked + 1);
    EXPECT_TRUE(chooser.asked.back().startsWith("open "));
}

TEST_F(MainWindowTest, ADivideClickAddsAColumnToTheShapeTheMapAndThePreview) {
    click(1006);
    PEView* editor = frame->pointEditorPane();
    ASSERT_EQ(editor, frame->findChild<PEView*>(QStringLiteral("PEView")));
    QTest::mouseClick(editor->toolBar()->findChild<QPushButton*>(QStringLiteral("1038")),
                      Qt::LeftButton);
    const PENet& net = editor->net();
    ASSERT_TRUE(net.drawn());
    const NetPoint closing = net.midpoint(3);
    // Events of their own rather than pointer warps: other test programs share the display and
    // its pointer.
    const QPointF at(closing.x, closing.y);
    const auto send = [editor, at](QEvent::Type type, Qt::MouseButton button,
                                   Qt::MouseButtons held) {
        QMouseEvent event(type, at, editor->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(editor, &event);
    };
    send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(net.hoveredSegment(), 3);
    const std::vector<uint32_t> before = doc->mesh().map;
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);

    EXPECT_EQ(doc->mesh().pointsPerLine(), 5);
    EXPECT_EQ(net.cells.size(), 10u);
    RecordingMessages quiet;
    Ctesk001Doc reference(quiet, "/opt/tesk/");
    reference.newShape();
    ASSERT_TRUE(reference.insertColumn(3));
    EXPECT_NE(doc->mesh().map, before);
    EXPECT_EQ(doc->mesh().map, reference.mesh().map);
    const GLMesh* markers = scene.findObject(preview->markerObjectId);
    ASSERT_NE(markers, nullptr);
    EXPECT_EQ(markers->pointFlags.size(), 10u);
    EXPECT_EQ(messages.texts.size(), 1u) << "only the question of New";
}

// A file with a NaN coordinate is refused before it reaches the window; one whose coordinates
// are as large as floats go loads, and every way of pushing it about keeps it finite.
TEST_F(MainWindowTest, NonFiniteFilesAreRefusedAndHugeShapesSurviveEveryInput) {
    SPMesh shape;
    shape.makeDefault();
    const float huge = std::numeric_limits<float>::max() / 1.5f;
    for (int i = 0; i < shape.lineCount(); ++i) {
        for (int j = 0; j < shape.pointsPerLine(); ++j) {
            Point3 p;
            shape.getPoint(j, i, p);
            shape.setPoint(j, i, p * huge);
        }
    }
    const std::string hugePath = dir("hostile") + "/huge.tsk";
    RecordingMessages quiet;
    ASSERT_TRUE(saveProjectFile(hugePath, shape, quiet));
    std::vector<uint8_t> bytes;
    saveProjectImage(shape, bytes);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(bytes.data() + 18 + 38 + 22 + 8 + 4 * 13, &nan, sizeof nan);
    const std::string nanPath = dir("hostile") + "/nan.tsk";
    std::ofstream(nanPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));

    messages.scriptedAnswers = {true, true, true};
    EXPECT_FALSE(frame->controlPanel()->openFile(nanPath));
    ASSERT_FALSE(messages.texts.empty());
    EXPECT_EQ(messages.texts.back(), kBadFileContentMessage);
    EXPECT_EQ(caption(), "TESK ( Brenmold ) version 0.0.5.1 << tesk.tsk >>");

    ASSERT_TRUE(frame->controlPanel()->openFile(hugePath));
    doc->setHandles(std::vector<uint32_t>(doc->handleCount(), CELL_SELECTED));
    GLView* view = frame->preview();
    const QPoint centre = view->rect().center();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, centre);
    for (int step = 1; step <= 6; ++step) {
        QTest::mouseMove(view, centre + QPoint(step * 15, step * 9));
    }
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, centre + QPoint(90, 54));
    for (const int delta : {120, 120, -360, 2400, -2400}) {
        QWheelEvent wheel(QPointF(centre), view->mapToGlobal(QPointF(centre)), {}, {0, delta},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
    }
    view->setFocus();
    for (const Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_0}) {
        QTest::keyClick(view, key);
    }
    // Scale and turn sliders taken to their ends by keys: each step that would overflow is
    // refused.
    for (const char* id : {"1018", "1032", "1024", "1028"}) {
        auto* slider = frame->findChild<QAbstractSlider*>(QString::fromLatin1(id));
        ASSERT_NE(slider, nullptr) << id;
        slider->setFocus();
        for (int k = 0; k < 25; ++k) {
            QTest::keyClick(slider, Qt::Key_PageUp);
        }
    }
    QApplication::processEvents();
    for (int i = 0; i < doc->mesh().lineCount(); ++i) {
        for (const Point3& p : doc->mesh().line(i).workPoints) {
            ASSERT_TRUE(isFinite(p)) << "line " << i;
        }
    }
    EXPECT_TRUE(isFinite(doc->mesh().halfExtent));
    EXPECT_EQ(doc->mesh().map.size(), 64u * 64u);
    EXPECT_FALSE(view->grabFramebuffer().isNull());
    EXPECT_EQ(doc->getFileName(), hugePath);
}
