// Every text the editor shows, walked in each language: the main window, the effect dialog,
// the export dialog and the message boxes. In English no character of a Japanese script is
// left; in Japanese the designed captions stand exactly as designed. In both, every control
// has a tip and every caption fits its control.
#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "EffectDialog.h"
#include "FileNames.h"
#include "GLScene.h"
#include "LanguageScope.h"
#include "LinkProtocol.h"
#include "PictureFile.h"
#include "ProjectFile.h"
#include "QtMessages.h"
#include "ScratchDir.h"
#include "ScriptedChooser.h"
#include "SculptedImageSaveOptionDialog.h"
#include "StaticFrame.h"
#include "TeskResources.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

extern bool g_haveDisplay;

using namespace tesk;

namespace {

struct Shown {
    QString where; ///< the widget's class and name
    QString text;
};

QString nameOf(const QObject* object) {
    return QString::fromLatin1(object->metaObject()->className()) + QLatin1Char(' ') +
           object->objectName();
}

/// A control a person works with, which must explain itself with a tip.
bool isControl(const QWidget* w) {
    if (qobject_cast<const QScrollBar*>(w) != nullptr ||
        qobject_cast<const QHeaderView*>(w) != nullptr || w->parentWidget() == nullptr ||
        qobject_cast<const QComboBox*>(w->parentWidget()) != nullptr) {
        return false;
    }
    return qobject_cast<const QAbstractButton*>(w) != nullptr ||
           qobject_cast<const QAbstractSlider*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr ||
           qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QAbstractItemView*>(w) != nullptr;
}

/// The room a caption needs beside its text: a check box's or radio button's indicator, a
/// button's frame, a tool button's menu arrow.
int captionRoom(const QWidget* w, const QString& text) {
    const int advance = w->fontMetrics().horizontalAdvance(text);
    if (qobject_cast<const QCheckBox*>(w) != nullptr ||
        qobject_cast<const QRadioButton*>(w) != nullptr ||
        qobject_cast<const QToolButton*>(w) != nullptr) {
        return w->sizeHint().width();
    }
    return qobject_cast<const QPushButton*>(w) != nullptr ? advance + 4 : advance;
}

/// Every visible text under `root` (itself included), and what is wrong with it: a control
/// without a tip, a caption wider than its control.
struct Walk {
    std::vector<Shown> texts;
    std::vector<QString> untipped;
    std::vector<QString> cutOff;

    void add(const QObject* where, const QString& text) {
        if (!text.isEmpty()) {
            texts.push_back({nameOf(where), text});
        }
    }
    void fits(const QWidget* w, const QString& text) {
        // Custom-painted captions shrink or draw their own faces; notes wrap.
        if (text.isEmpty() || text.contains(QLatin1Char('\n')) ||
            qobject_cast<const StaticFrame*>(w) != nullptr ||
            (qobject_cast<const QLabel*>(w) != nullptr &&
             static_cast<const QLabel*>(w)->wordWrap()) ||
            (qobject_cast<const QAbstractButton*>(w) != nullptr &&
             w->metaObject()->className() != QLatin1String("QPushButton") &&
             w->metaObject()->className() != QLatin1String("QCheckBox") &&
             w->metaObject()->className() != QLatin1String("QToolButton"))) {
            return;
        }
        if (captionRoom(w, text) > w->width()) {
            cutOff.push_back(
                nameOf(w) + QStringLiteral(": ") + text +
                QStringLiteral(" needs %1, has %2").arg(captionRoom(w, text)).arg(w->width()));
        }
    }
    void visit(QWidget* w, bool tips) {
        add(w, w->toolTip());
        if (w->isWindow()) {
            add(w, w->windowTitle().remove(QStringLiteral("[*]")));
        }
        if (tips && isControl(w) && w->toolTip().isEmpty()) {
            untipped.push_back(nameOf(w));
        }
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            caption = button->text();
            if (auto* tool = qobject_cast<QToolButton*>(w); tool != nullptr && tool->menu()) {
                for (const QAction* action : tool->menu()->actions()) {
                    add(w, action->text());
                }
            }
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            caption = label->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            add(w, group->title());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) {
                add(w, combo->itemText(i));
                fits(w, combo->itemText(i) + QStringLiteral("WW")); // the arrow
            }
        } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < table->columnCount(); ++c) {
                if (table->horizontalHeaderItem(c) != nullptr) {
                    add(w, table->horizontalHeaderItem(c)->text());
                }
                for (int r = 0; r < table->rowCount(); ++r) {
                    add(w, table->item(r, c) != nullptr ? table->item(r, c)->text() : QString());
                }
            }
        }
        add(w, caption);
        fits(w, caption);
    }
    void walk(QWidget* root, bool tips = true) {
        visit(root, tips);
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (w->isVisibleTo(root)) {
                visit(w, tips);
            }
        }
    }
    bool shows(const QString& text) const {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const Shown& s) { return s.text == text; });
    }
};

/// The captions as designed, which the Japanese editor shows exactly.
const char* const kDesignedMainCaptions[] = {
    "プロジェクト",  "新規",        "形状保存",
    "形状読込",      "スカルプト",  "BITMAP 書出",
    "エフェクト",    "ビューワ",    "Viewer 連動",
    "選択 ＆ 分割",  "選択 モード", "分割 モード",
    "編集",          "UNDO",        "REDO",
    "確定",          "リセット",    "移動",
    "拡大",          "回転",        "ポイントスライド",
    "確認 ＆ 選択",  "通常表示",    "ワイヤーフレーム",
    "ポイント 透過", "初期位置",    "L [1]",
    "S [4]",         "PL [1]",      "PS [4]",
};
const char* const kDesignedEffectCaptions[] = {
    "エフェクトの管理",
    "エフェクト追加",
    "▲",
    "▼",
    "削除",
    "パラメータ",
    "イメージ変更",
    "エフェクト 有効/無効",
    "有効",
    "無効",
    "エフェクトの種類",
    "画像変換",
    "グレースケール",
    "ぼかし",
    "ネガ反転",
    "ポスタライズ",
    "２値化",
    "エフェクトの強さ",
    "エフェクトの強さ R",
    "エフェクトの強さ G",
    "エフェクトの強さ B",
    "％",
    "OK",
    "法線方向",
    "重心方向",
    "スカルプト合成",
    "名前",
    "タイプ",
};
const char* const kDesignedExportCaptions[] = {"Export Option", "X 反転", "Y 反転", "Z 反転", "OK"};

class LanguageTest : public ::testing::TestWithParam<UiLanguage> {
protected:
    void SetUp() override {
        if (!g_haveDisplay) {
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        }
        resources::init();
        language = std::make_unique<LanguageScope>(GetParam());
        ASSERT_TRUE(language->loaded()) << "the translation (or Qt's own) is missing";
        doc = std::make_unique<Ctesk001Doc>(boxes, "/opt/tesk/");
        preview = std::make_unique<DocumentPreview>(*doc, scene);
        frame = std::make_unique<CTeskMainFrame>(*doc, *preview, boxes, chooser);
        boxes.setParent(frame.get());
    }
    void TearDown() override {
        frame.reset();
        preview.reset();
        doc.reset();
        language.reset();
    }
    bool english() const { return GetParam() == UiLanguage::English; }

    void show(QSize size) {
        frame->resize(size);
        frame->show();
        frame->layoutPanes(size.width(), size.height());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void click(int id) {
        auto* button = frame->findChild<QAbstractButton*>(QString::number(id));
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    /// Runs `raise`, which opens a message box; the box is walked and answered with `press`.
    void answerBox(const std::function<void()>& raise, QMessageBox::StandardButton press) {
        bool seen = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || seen) {
                return;
            }
            seen = true;
            boxes.walk(box, false);
            for (QAbstractButton* button : box->buttons()) {
                buttonTexts.push_back(button->text());
            }
            box->button(press)->click();
        });
        poll.start(10);
        raise();
        EXPECT_TRUE(seen) << "no message box was shown";
    }
    void expectLanguage(const Walk& walk, const char* const* designed, size_t count) {
        for (const Shown& shown : walk.texts) {
            if (english()) {
                EXPECT_FALSE(hasJapanese(shown.text))
                    << shown.where.toStdString() << ": " << shown.text.toStdString();
            }
        }
        if (!english()) {
            for (size_t i = 0; i < count; ++i) {
                EXPECT_TRUE(walk.shows(QString::fromUtf8(designed[i]))) << designed[i];
            }
        }
        for (const QString& untipped : walk.untipped) {
            ADD_FAILURE() << "no tip: " << untipped.toStdString();
        }
        for (const QString& cut : walk.cutOff) {
            ADD_FAILURE() << "cut off: " << cut.toStdString();
        }
    }

    struct BoxWalk : QtMessages, Walk {};
    BoxWalk boxes;
    std::vector<QString> buttonTexts;
    tesk::testing::ScriptedChooser chooser;
    tesk::testing::ScratchDir scratch{"tesk_language"};
    GLScene scene;
    std::unique_ptr<LanguageScope> language;
    std::unique_ptr<Ctesk001Doc> doc;
    std::unique_ptr<DocumentPreview> preview;
    std::unique_ptr<CTeskMainFrame> frame;
};

} // namespace

TEST_P(LanguageTest, TheMainWindowSpeaksTheLanguageAtBothScreenSizes) {
    for (const QSize size : {QSize(1280, 770), QSize(1024, 738)}) {
        show(size);
        answerBox([&] { click(1006); }, QMessageBox::Ok); // a shape to show
        Walk walk;
        walk.walk(frame.get());
        expectLanguage(walk, kDesignedMainCaptions, std::size(kDesignedMainCaptions));
        EXPECT_TRUE(
            walk.shows(english() ? QStringLiteral("Save shape") : QStringLiteral("形状保存")));
        // Tips made from the tables: a slider's axis and step, a type's shape and sampling.
        EXPECT_TRUE(walk.shows(
            english() ? QStringLiteral("Move the chosen points along X: 0.01 per slider unit")
                      : QStringLiteral("選んだ点を X の向きに動かします: 1 目盛りで 0.01")));
        EXPECT_TRUE(walk.shows(english() ? QStringLiteral("Tube: every line is a loop\n"
                                                          "Along the lines: B-spline curve\n"
                                                          "Between the lines: B-spline curve")
                                         : QStringLiteral("チューブ: どのラインも輪になります\n"
                                                          "ライン沿い: B スプライン曲線\n"
                                                          "ライン間: B スプライン曲線")));
    }
}

TEST_P(LanguageTest, TheEffectAndExportDialogsSpeakTheLanguage) {
    show(QSize(1280, 770));
    answerBox([&] { click(1006); }, QMessageBox::Ok);
    // One effect, so that the list shows a row.
    const QString picture = QString::fromStdString((scratch.path() / "dome.png").string());
    QImage dome(16, 16, QImage::Format_RGB32);
    dome.fill(Qt::gray);
    ASSERT_TRUE(dome.save(picture));
    chooser.answers = {picture};
    click(1011);
    EffectDialog* effects = frame->controlPanel()->effectDialog();
    ASSERT_NE(effects, nullptr);
    auto* add = effects->findChild<QAbstractButton*>(QStringLiteral("1078"));
    ASSERT_NE(add, nullptr);
    add->click();
    ASSERT_EQ(doc->mesh().effects.size(), 1u);
    EXPECT_EQ(chooser.asked.back(), QStringLiteral("open ") + fileFilter(kEffectPictureFilter));
    EXPECT_EQ(hasJapanese(chooser.asked.back()), !english()) << "the picture dialog's filter";
    Walk walk;
    walk.walk(effects);
    expectLanguage(walk, kDesignedEffectCaptions, std::size(kDesignedEffectCaptions));

    SculptedImageSaveOptionDialog exportOptions(frame.get());
    exportOptions.show();
    Walk exportWalk;
    exportWalk.walk(&exportOptions);
    expectLanguage(exportWalk, kDesignedExportCaptions, std::size(kDesignedExportCaptions));
    EXPECT_EQ(exportOptions.windowTitle(),
              english() ? QStringLiteral("Export options") : QStringLiteral("Export Option"));
}

TEST_P(LanguageTest, MessageBoxesAndTheirButtonsSpeakTheLanguage) {
    show(QSize(1280, 770));
    // Raised by the panel: export and save before any shape, New (OK / Cancel), New over a
    // changed shape (Save / Discard / Cancel); and the viewer's Yes / No question.
    answerBox([&] { click(1008); }, QMessageBox::Ok);
    answerBox([&] { click(1009); }, QMessageBox::Ok);
    answerBox([&] { click(1006); }, QMessageBox::Ok);
    click(1023); // another type: the shape has changed
    answerBox([&] { click(1006); }, QMessageBox::Cancel);
    answerBox([&] { boxes.yesNo(kSaveBeforeLoadQuestion); }, QMessageBox::No);
    // A composed message: the reason and the file's name follow as they are.
    answerBox([&] { boxes.inform(std::string(kCannotSaveFileMessage) + "\n/tmp/a.tsk"); },
              QMessageBox::Ok);
    expectLanguage(boxes, nullptr, 0);
    ASSERT_EQ(buttonTexts.size(), 1u + 1 + 2 + 3 + 2 + 1);
    if (english()) {
        EXPECT_TRUE(boxes.shows(QStringLiteral("There is no sculpt map to export.")));
        EXPECT_TRUE(boxes.shows(QStringLiteral("The file could not be saved.\n/tmp/a.tsk")));
        EXPECT_NE(std::find(buttonTexts.begin(), buttonTexts.end(), QStringLiteral("Save")),
                  buttonTexts.end())
            << QStringList(buttonTexts.begin(), buttonTexts.end()).join(u' ').toStdString();
    } else {
        for (const char* text : {kNoSculptMapMessage, kNothingToSaveMessage, kReplaceShapeQuestion,
                                 kUnsavedChangesQuestion, kSaveBeforeLoadQuestion}) {
            EXPECT_TRUE(boxes.shows(QString::fromUtf8(text))) << text;
        }
        EXPECT_TRUE(boxes.shows(QString::fromUtf8(kCannotSaveFileMessage) +
                                QStringLiteral("\n/tmp/a.tsk")));
        // Qt's own buttons come in Japanese too; "OK" is spelled so in Japanese as well.
        for (const QString& text : buttonTexts) {
            EXPECT_TRUE(hasJapanese(text) || text == QStringLiteral("OK")) << text.toStdString();
        }
        EXPECT_GT(std::count_if(buttonTexts.begin(), buttonTexts.end(),
                                [](const QString& t) { return hasJapanese(t); }),
                  5);
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageTest,
                         ::testing::Values(UiLanguage::Japanese, UiLanguage::English),
                         [](const auto& param) {
                             return param.param == UiLanguage::English ? "English" : "Japanese";
                         });

TEST(ShownMessage, CoreTextsAreTranslatedByTheirLeadingLinesAndTheRestIsKept) {
    const LanguageScope english(UiLanguage::English);
    ASSERT_TRUE(english.loaded());
    EXPECT_EQ(shownMessage(kNoSculptMapMessage),
              QStringLiteral("There is no sculpt map to export."));
    // A message of two lines, then a reason and a file name of the system's own.
    EXPECT_EQ(shownMessage(std::string(kUnsavedChangesQuestion)),
              QStringLiteral("The shape has changed.\nSave the changes?"));
    EXPECT_EQ(
        shownMessage(std::string(kOtherFilesMessage) + "\n/a/形状.tsk\n/b.tsk"),
        QStringLiteral("Only the first file was opened. These were not:\n/a/形状.tsk\n/b.tsk"));
    EXPECT_EQ(shownMessage("no such text\nat all"), QStringLiteral("no such text\nat all"));
    EXPECT_EQ(shownMessage(""), QString());
    EXPECT_EQ(shownMessage("\n"), QStringLiteral("\n"));
}
