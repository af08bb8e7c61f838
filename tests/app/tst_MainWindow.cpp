#include "BitmapFrame.h"
#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "FileChooser.h"
#include "FileNames.h"
#include "GLScene.h"
#include "GLToolDialog.h"
#include "GLView.h"
#include "HPJumpFrame.h"
#include "MapFit.h"
#include "MapSide.h"
#include "Messages.h"
#include "PECForm.h"
#include "PECToolDialog.h"
#include "PECView.h"
#include "PEToolDialog.h"
#include "PEView.h"
#include "PictureFile.h"
#include "PreviewNotes.h"
#include "ProjectFile.h"
#include "RADIOFrame.h"
#include "SPMesh.h"
#include "ScratchDir.h"
#include "ScriptedChooser.h"
#include "SculptImageWriter.h"
#include "StaticFrame.h"
#include "TeskResources.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>

extern bool g_haveDisplay;

using namespace tesk;
namespace fs = std::filesystem;

namespace {

using tesk::testing::ScriptedChooser;

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

    /// Makes the window the active one, as shortcuts and keyboard focus need. Other test
    /// programs share the display and may hold the window system's focus, so Qt is told
    /// directly rather than waiting for the window manager.
    void activate() {
        frame->activateWindow();
        QApplication::setActiveWindow(frame.get());
        ASSERT_TRUE(frame->isActiveWindow());
    }
    void click(int id) {
        auto* button = frame->findChild<QAbstractButton*>(QString::number(id));
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    /// The caption as designed, without Qt's modified-mark placeholder.
    QString caption() const { return frame->windowTitle().remove(QStringLiteral("[*]")); }
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

TEST_F(MainWindowTest, OpeningAFileOverUnsavedWorkAsksFirst) {
    const std::string path = dir("open") + "/one.tsk";
    click(1006);
    ASSERT_TRUE(doc->saveProject(path));
    click(1006);
    click(1023); // another type: unsaved work
    messages.scriptedChoices = {SaveChoice::Cancel};
    frame->controlPanel()->openFile(path);
    EXPECT_EQ(doc->getFileName(), "tesk.tsk");
    EXPECT_EQ(messages.texts.back(), kUnsavedChangesQuestion);
    messages.scriptedChoices = {SaveChoice::Discard};
    frame->controlPanel()->openFile(path);
    EXPECT_EQ(doc->getFileName(), path);
}

// A file manager sends a name that is not UTF-8 percent-encoded; decoded as text it would
// name another file.
TEST_F(MainWindowTest, ADroppedFileWhoseNameIsNotUtf8Opens) {
    const std::string path = dir("drop") + "/caf\xe9 %41.tsk";
    click(1006);
    click(1027); // "PS [2]"
    ASSERT_TRUE(doc->saveProject(path));
    click(1006);
    QMimeData data;
    data.setUrls(
        {QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    messages.scriptedAnswers = {true};
    // Straight to the window's handler: QApplication would route a drop through a drag that
    // never started.
    static_cast<QObject*>(frame.get())->event(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(doc->getFileName(), path);
    EXPECT_EQ(doc->selectedType(), DIM_SHEET_BSPLINE_ALONG);

    // Saved again as the dialog offers it, it replaces that same file.
    click(1020);
    chooser.answers = {shownFileName(path)};
    click(1009);
    EXPECT_EQ(chooser.lastProposed, shownFileName(path));
    SPMesh stored;
    ASSERT_TRUE(loadProjectFile(path, stored, messages));
    EXPECT_EQ(stored.SPDimType, DIM_POLES_LINEAR);
    const fs::directory_iterator folder(fs::path(path).parent_path());
    EXPECT_EQ(std::distance(fs::begin(folder), fs::end(folder)), 1) << "no second file";
}

TEST_F(MainWindowTest, KeyboardShortcutsRunThePanelCommands) {
    ASSERT_NO_FATAL_FAILURE(activate());
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

namespace {

/// The part of `widget` a person can see: its rectangle cut by every ancestor up to `top`.
QRect visiblePart(const QWidget* widget, const QWidget* top) {
    QRect seen(widget->mapTo(top, QPoint(0, 0)), widget->size());
    for (const QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget()) {
        seen &= QRect(w->mapTo(top, QPoint(0, 0)), w->size());
        if (w == top) {
            break;
        }
    }
    return seen;
}

void sendDrop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction) << "a drop copies, never moves";
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
}

} // namespace

TEST_F(MainWindowTest, ClosingOrQuittingWithUnsavedWorkAsksAndOnlyDiscardOrASaveCloses) {
    click(1006);
    EXPECT_FALSE(frame->isWindowModified()) << "a fresh shape holds no work";
    click(1023); // another type: the shape now differs from what New made
    EXPECT_TRUE(frame->isWindowModified());
    const std::vector<uint32_t> map = doc->mesh().map;

    ASSERT_NO_FATAL_FAILURE(activate());
    messages.scriptedChoices = {SaveChoice::Cancel};
    QTest::keyClick(frame.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(messages.texts.back(), kUnsavedChangesQuestion);
    EXPECT_EQ(doc->mesh().map, map) << "cancel keeps everything";

    // Save, but the save dialog is cancelled, or the save fails: the window stays.
    messages.scriptedChoices = {SaveChoice::Save, SaveChoice::Save};
    chooser.answers = {std::nullopt, QString::fromStdString(dir("x") + "/missing/a.tsk")};
    EXPECT_FALSE(frame->close());
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->isWindowModified());

    // A save that works closes, and what was saved is on disk.
    const std::string path = dir("close") + "/kept";
    messages.scriptedChoices = {SaveChoice::Save};
    chooser.answers = {QString::fromStdString(path)};
    EXPECT_TRUE(frame->close());
    ASSERT_TRUE(fs::exists(path + ".tsk")) << "a name typed without extension gets .tsk";
    SPMesh saved;
    ASSERT_TRUE(loadProjectFile(path + ".tsk", saved, messages));
    EXPECT_EQ(saved.SPDimType, DIM_POLES_BSPLINE_ALONG);

    // Reopened and unchanged: closing asks nothing.
    frame->show();
    const size_t asked = messages.texts.size();
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(messages.texts.size(), asked);
}

TEST_F(MainWindowTest, NewAndLoadAskToSaveUnsavedWorkInsteadOfTheirQuestion) {
    click(1006);
    click(1023);
    messages.scriptedChoices = {SaveChoice::Cancel};
    click(1006);
    EXPECT_EQ(doc->selectedType(), DIM_POLES_BSPLINE_ALONG);
    EXPECT_EQ(doc->mesh().SPDimType, DIM_POLES_BSPLINE_ALONG) << "cancel keeps the shape";
    EXPECT_EQ(messages.texts.back(), kUnsavedChangesQuestion);
    messages.scriptedChoices = {SaveChoice::Cancel};
    click(1007);
    EXPECT_TRUE(chooser.asked.empty()) << "no file dialog after Cancel";
    messages.scriptedChoices = {SaveChoice::Discard};
    click(1006);
    EXPECT_FALSE(frame->isWindowModified());
}

TEST_F(MainWindowTest, TheWheelOverTheTransformPanelScrollsAndChangesNoPoint) {
    click(1006);
    doc->setHandles(std::vector<uint32_t>(doc->handleCount(), CELL_SELECTED));
    const std::vector<uint32_t> map = doc->mesh().map;
    PECForm* panel = frame->transformPane()->panel();
    for (size_t i = 0; i < SLIDER_COUNT; ++i) {
        QSlider* slider = panel->slider(static_cast<TransformSlider>(i));
        const QPointF at(slider->width() / 2.0, slider->height() / 2.0);
        QWheelEvent wheel(at, slider->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        EXPECT_EQ(slider->value(), 0) << i;
    }
    EXPECT_EQ(doc->mesh().map, map);
    EXPECT_FALSE(doc->hasUncommittedWork());

    // A slider the user has clicked (it has the focus) takes the wheel's steps.
    QSlider* moveX = panel->slider(SLIDER_MOVE_X);
    ASSERT_NO_FATAL_FAILURE(activate());
    moveX->setFocus();
    ASSERT_TRUE(moveX->hasFocus());
    const QPointF at(moveX->width() / 2.0, moveX->height() / 2.0);
    QWheelEvent wheel(at, moveX->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(moveX, &wheel);
    EXPECT_NE(moveX->value(), 0);
    EXPECT_TRUE(doc->hasUncommittedWork());
}

TEST_F(MainWindowTest, TheFirstUndoAfterALoadBringsBackTheLoadedShape) {
    const std::string path = dir("undo") + "/loaded.tsk";
    click(1006);
    ASSERT_TRUE(doc->saveProject(path));
    click(1006);
    ASSERT_TRUE(frame->controlPanel()->openFile(path));
    std::vector<uint8_t> loaded;
    doc->writeSnapshot(loaded);
    const Point3 atLoad = doc->mesh().workPoint(0, 1);
    EXPECT_EQ(chooser.lastRecent, QStringList()) << "no load dialog was opened";

    doc->setHandles(std::vector<uint32_t>(doc->handleCount(), CELL_SELECTED));
    QSlider* moveX = frame->transformPane()->panel()->slider(SLIDER_MOVE_X);
    QTest::keyClick(moveX, Qt::Key_End);
    QWidget* bar = frame->transformPane()->editBar();
    QTest::mouseClick(bar->findChild<QPushButton*>(QStringLiteral("1013")), Qt::LeftButton);
    ASSERT_NE(doc->mesh().workPoint(0, 1), atLoad);
    EXPECT_TRUE(frame->isWindowModified());
    QTest::mouseClick(bar->findChild<QPushButton*>(QStringLiteral("1014")), Qt::LeftButton);
    EXPECT_EQ(doc->mesh().workPoint(0, 1), atLoad);
    std::vector<uint8_t> undone;
    doc->writeSnapshot(undone);
    EXPECT_EQ(undone, loaded);
    EXPECT_FALSE(frame->isWindowModified()) << "back to what is on disk";

    // The load dialog offers the files loaded and saved before.
    messages.scriptedAnswers = {true};
    click(1007);
    // Other test programs running at once share the settings, so the file need not be first.
    EXPECT_TRUE(chooser.lastRecent.contains(QString::fromStdString(path)))
        << chooser.lastRecent.join(QLatin1Char(' ')).toStdString();
}

TEST_F(MainWindowTest, DropsRefuseFoldersAndOpenOnlyTheFirstFile) {
    const std::string first = dir("drop") + "/first.tsk";
    const std::string second = dir("drop") + "/second.tsk";
    click(1006);
    ASSERT_TRUE(doc->saveProject(first));
    ASSERT_TRUE(doc->saveProject(second));
    click(1006);
    click(1023); // unsaved work: a refused drop must not even ask about it
    const size_t shown = messages.texts.size();

    sendDrop(frame.get(), {QUrl::fromLocalFile(QString::fromStdString(dir("drop")))});
    ASSERT_EQ(messages.texts.size(), shown + 1);
    EXPECT_EQ(messages.texts.back(), kFolderDropMessage);
    const std::string picture = dir("drop") + "/map.png";
    std::ofstream(picture) << "not really a picture";
    messages.scriptedChoices = {SaveChoice::Cancel};
    sendDrop(frame.get(), {QUrl::fromLocalFile(QString::fromStdString(picture))});
    EXPECT_EQ(messages.texts.back(), kUnsavedChangesQuestion) << "asked as a load asks";
    messages.scriptedChoices = {SaveChoice::Discard};
    sendDrop(frame.get(), {QUrl::fromLocalFile(QString::fromStdString(picture))});
    EXPECT_EQ(messages.texts.back(), kUnreadablePictureMessage);
    EXPECT_EQ(doc->getFileName(), "tesk.tsk");

    messages.scriptedChoices = {SaveChoice::Discard};
    sendDrop(frame.get(), {QUrl::fromLocalFile(QString::fromStdString(first)),
                           QUrl::fromLocalFile(QString::fromStdString(second))});
    EXPECT_EQ(doc->getFileName(), first);
    EXPECT_EQ(messages.texts.back(), std::string(kOtherFilesMessage) + "\n" + second);
    EXPECT_TRUE(fs::exists(first) && fs::exists(second)) << "nothing was moved";
}

TEST_F(MainWindowTest, ADroppedSculptMapOpensAsANewShapeNamedWithTsk) {
    click(1006);
    frame->controlPanel()->setExportOptionAsker([](QWidget*) { return ExportFlips{}; });
    const std::string picture = dir("import") + "/cube.bmp";
    chooser.answers = {QString::fromStdString(picture)};
    click(1008);
    ASSERT_TRUE(fs::exists(picture));
    const std::vector<uint32_t> exported = doc->mesh().map;

    click(1006); // a fresh default shape: nothing to lose, so nothing is asked
    const size_t shown = messages.texts.size();
    sendDrop(frame.get(), {QUrl::fromLocalFile(QString::fromStdString(picture))});
    EXPECT_EQ(messages.texts.size(), shown);
    EXPECT_EQ(doc->getFileName(), dir("import") + "/cube.tsk");
    EXPECT_TRUE(doc->isNewShape());
    EXPECT_EQ(doc->mesh().lineCount(), kMaxEditLines);
    EXPECT_EQ(doc->mesh().pointsPerLine(), kMaxEditPoints);
    ASSERT_TRUE(doc->lastImport().has_value());
    const auto error = CompareMaps(doc->mesh().map.data(), exported.data(), kMapPixels);
    EXPECT_EQ(error[0].largest, doc->lastImport()->error[0].largest);
    EXPECT_LE(doc->lastImport()->meanError(), 1.5);
    auto* note = frame->findChild<QLabel*>(QStringLiteral("lodNote"));
    ASSERT_NE(note, nullptr);
    // The corner note follows a rebuild after a short delay.
    const QString imported = importNote(*doc->lastImport());
    for (int i = 0; i < 100 && !note->text().contains(imported); ++i) {
        QTest::qWait(20);
    }
    EXPECT_TRUE(note->text().contains(imported)) << note->text().toStdString();
    EXPECT_TRUE(imported.contains(QStringLiteral("で読み込みました"))) << "in Japanese";

    // The load dialog offers the pictures, and a save proposes the .tsk name.
    chooser.answers = {};
    click(1007);
    EXPECT_EQ(chooser.asked.back(),
              "open tesk file (*.tsk);;sculpt map (*.bmp *.png *.tga);;All Files (*)");
    EXPECT_TRUE(fs::exists(picture));
}

TEST_F(MainWindowTest, ExportTakesTheFormatOfTheChosenFilterForANameWithoutExtension) {
    click(1006);
    frame->controlPanel()->setExportOptionAsker([](QWidget*) { return ExportFlips{}; });
    const std::string stem = dir("formats") + "/map";
    chooser.filterAnswer = QStringLiteral("PNG (*.png)");
    chooser.answers = {QString::fromStdString(stem)};
    click(1008);
    EXPECT_EQ(chooser.asked.back(), "save Bitmap (*.bmp);;PNG (*.png);;TGA (*.tga);;All Files (*)");
    std::ifstream png(stem + ".png", std::ios::binary);
    char signature[4] = {};
    png.read(signature, 4);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    EXPECT_EQ(doc->getBitmapFileName(), stem + ".png");
    EXPECT_FALSE(fs::exists(stem));
}

TEST_F(MainWindowTest, TheEmptyStartShapeIsNotSavedIntoAFileNothingCouldOpen) {
    const std::string path = dir("empty") + "/empty.tsk";
    chooser.answers = {QString::fromStdString(path)};
    click(1009);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(chooser.asked.empty()) << "refused before the dialog";
    EXPECT_EQ(messages.texts.back(), kNothingToSaveMessage);
}

TEST_F(MainWindowTest, EveryControlIsInSightAtCommonScreenSizes) {
    click(1006);
    // Maximised client areas under a window manager with a title bar.
    for (const QSize client : {QSize(1280, 770), QSize(1024, 738)}) {
        frame->resize(client);
        frame->layoutPanes(client.width(), client.height());
        QTest::qWait(50);
        ASSERT_EQ(frame->size(), client);
        int checked = 0;
        for (QWidget* w : frame->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) != nullptr ||
                                 qobject_cast<QAbstractSlider*>(w) != nullptr ||
                                 qobject_cast<QComboBox*>(w) != nullptr ||
                                 qobject_cast<StaticFrame*>(w) != nullptr;
            if (!control || !w->isVisible() || qobject_cast<QScrollBar*>(w) != nullptr) {
                continue;
            }
            ++checked;
            EXPECT_EQ(visiblePart(w, frame.get()),
                      QRect(w->mapTo(frame.get(), QPoint()), w->size()))
                << client.width() << ": " << w->metaObject()->className() << " "
                << w->objectName().toStdString() << " is cut off";
        }
        // 10 sliders, 4 edit-bar buttons, 9 type buttons, the chooser, the panel's buttons.
        EXPECT_GE(checked, 10 + 4 + 9 + 1 + 8);
    }
}

TEST_F(MainWindowTest, HomePageBlogAndF1OpenTheManualPagesShippedWithTheEditor) {
    std::vector<QUrl> opened;
    for (const char* id : {"1063", "1064"}) {
        auto* link = frame->controlPanel()->findChild<HPJumpFrame*>(QString::fromLatin1(id));
        ASSERT_NE(link, nullptr);
        link->setUrlOpener([&opened](const QUrl& url) { opened.push_back(url); });
        QTest::mouseClick(link, Qt::LeftButton);
    }
    ASSERT_NO_FATAL_FAILURE(activate());
    QTest::keyClick(frame.get(), Qt::Key_F1);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QStringLiteral("/opt/tesk/doc/manual.html")));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(QStringLiteral("/opt/tesk/doc/changes.html")));
    EXPECT_EQ(opened[2], opened[0]) << "F1 opens the manual";
    // The pages a build puts beside the editor exist.
    EXPECT_TRUE(fs::is_regular_file(fs::path(TESK_SOURCE_DIR) / "docs" / "manual.html"));
    EXPECT_TRUE(fs::is_regular_file(fs::path(TESK_SOURCE_DIR) / "docs" / "changes.html"));
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
