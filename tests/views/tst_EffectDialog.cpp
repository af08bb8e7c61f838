#include "BitmapFrame.h"
#include "Ctesk001Doc.h"
#include "DialogUnits.h"
#include "EffectDialog.h"
#include "EffectPicture.h"
#include "EffectStage.h"
#include "Installation.h"
#include "Messages.h"
#include "PictureFile.h"
#include "PictureOperations.h"

#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>
#include <stdexcept>
#include <tuple>

using namespace tesk;

namespace {

const std::string kPictures = TESK_SOURCE_DIR "/res/effect/";
const QString kDome = QString::fromStdString(kPictures + "dome.png");
const QString kChecker = QString::fromStdString(kPictures + "checker.png");
const QString kRings = QString::fromStdString(kPictures + "rings.png"); // 256 x 256
const QString kNotAPicture = QStringLiteral(TESK_TEST_DATA "/pictures/not_a_picture.txt");

struct RebuildCounter : DocumentListener {
    void shapeRebuilt() override { ++count; }
    int count = 0;
};

class EffectDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.newShape();
        base = doc.mesh().map;
        doc.addListener(&rebuilds);
        dialog = new EffectDialog(doc,
                                  [this](QWidget*, const QString& filter,
                                         const QString& folder) -> std::optional<QString> {
                                      asked.push_back(filter + " @ " + folder);
                                      if (answers.empty()) {
                                          return std::nullopt;
                                      }
                                      auto answer = answers.front();
                                      answers.pop_front();
                                      return answer;
                                  });
        dialog->show();
    }
    void TearDown() override {
        delete dialog;
        doc.removeListener(&rebuilds);
    }

    template <typename Widget> Widget* control(int id) const {
        auto* widget = dialog->findChild<Widget*>(QString::number(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
    void click(int id) { QTest::mouseClick(control<QAbstractButton>(id), Qt::LeftButton); }
    void add(const QString& path) {
        answers.push_back(path);
        click(1078);
    }
    QTableWidget* list() const { return control<QTableWidget>(1067); }
    QString cell(int row, int column) const { return list()->item(row, column)->text(); }
    void selectRowByClick(int row) {
        const QRect r = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    }
    QLineEdit* edit(int id) const { return control<QLineEdit>(id); }
    QSlider* slider(int id) const { return control<QSlider>(id); }
    EffectRecord& record(size_t i) {
        EffectRecord* r = doc.effect(i);
        if (r == nullptr) {
            throw std::out_of_range("no effect " + std::to_string(i));
        }
        return *r;
    }

    /// The document's map is what the core makes of the shape with the current list, and
    /// exactly `expected` rebuilds happened since the last check.
    void expectRebuiltOnce(int expected = 1) {
        std::vector<uint32_t> map = base;
        ApplyEffects(map, doc.mesh().effects);
        EXPECT_EQ(doc.mesh().map, map);
        EXPECT_EQ(rebuilds.count, expected);
        rebuilds.count = 0;
    }

    RecordingMessages messages;
    Ctesk001Doc doc{messages, TESK_SOURCE_DIR "/no-such-install/"};
    std::vector<uint32_t> base;
    RebuildCounter rebuilds;
    std::deque<std::optional<QString>> answers;
    std::vector<QString> asked;
    EffectDialog* dialog = nullptr;
};

} // namespace

TEST_F(EffectDialogTest, LaidOutFromTheTemplateWithItsCaptions) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("エフェクトの管理"));
    EXPECT_EQ(QFontInfo(dialog->font()).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(dialog->size(), DialogUnits(dialog->font()).size(251, 345));
    EXPECT_FALSE(dialog->isModal());

    const std::pair<int, const char*> captions[] = {
        {1078, "エフェクト追加"},
        {1071, "▼"},
        {1070, "▲"},
        {1077, "削除"},
        {1076, "イメージ変更"},
        {1060, "有効"},
        {1061, "無効"},
        {1087, "グレースケール"},
        {1089, "ぼかし"},
        {1090, "ネガ反転"},
        {1088, "ポスタライズ"},
        {1091, "２値化"},
        {1, "OK"},
    };
    for (const auto& [id, text] : captions) {
        EXPECT_EQ(control<QAbstractButton>(id)->text(), QString::fromUtf8(text)) << id;
    }
    EXPECT_NE(control<BitmapFrame>(1075), nullptr);
    EXPECT_TRUE(control<QPushButton>(1)->isDefault());

    const QStringList types = {QStringLiteral("法線方向"), QStringLiteral("重心方向"),
                               QStringLiteral("スカルプト合成")};
    auto* combo = control<QComboBox>(1074);
    ASSERT_EQ(combo->count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(combo->itemText(i), types[i]);
    }

    // Showing the dialog lays out the list anew: three left-aligned columns.
    const std::pair<const char*, int> columns[] = {{"名前", 160}, {"有効", 40}, {"タイプ", 100}};
    ASSERT_EQ(list()->columnCount(), 3);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(list()->horizontalHeaderItem(c)->text(), QString::fromUtf8(columns[c].first));
        EXPECT_EQ(list()->columnWidth(c), columns[c].second);
    }
    EXPECT_EQ(list()->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list()->selectionBehavior(), QAbstractItemView::SelectRows);

    for (int id : {1072, 1079, 1081, 1083}) {
        EXPECT_EQ(slider(id)->minimum(), 0);
        EXPECT_EQ(slider(id)->maximum(), 200);
        EXPECT_EQ(slider(id)->value(), 100);
        EXPECT_EQ(slider(id)->pageStep(), 10);
        EXPECT_EQ(slider(id)->singleStep(), 1);
    }
}

TEST_F(EffectDialogTest, AddedEffectsAreNormalTenPercentOnAndSelected) {
    add(kDome);
    add(kRings);
    ASSERT_EQ(doc.mesh().effects.size(), 2u);
    expectRebuiltOnce(2);

    // Both file dialogs start in the effect folder with the picture filters.
    const QString folder =
        QString::fromStdString(effectPictureFolder(doc.getProgramDir()).string());
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], QStringLiteral("画像ファイル(*.tga *.jpg *.bmp *.png);;All pictures (*.bmp "
                                       "*.tga *.png *.jpg *.jpeg);;全て(*) @ ") +
                            folder);

    const EffectRecord& second = record(1);
    EXPECT_EQ(second.typeCode(), EFFECT_NORMAL);
    EXPECT_TRUE(second.typeSet());
    EXPECT_EQ(second.enabled, 1);
    EXPECT_EQ(second.strength, 10.0f);
    EXPECT_EQ(second.strengthR, 100.0f);
    EXPECT_EQ(second.strengthG, 100.0f);
    EXPECT_EQ(second.strengthB, 100.0f);
    // The 256 x 256 picture arrives at 64 x 64, as the core loads it.
    ImageBuffer rings;
    ASSERT_EQ(loadEffectPicture(rings, kRings.toStdString(), messages), 1);
    EXPECT_EQ(second.pixels, rings.pixels);

    // The new row is last and selected; its values and picture are shown.
    EXPECT_EQ(dialog->selectedRow(), 1);
    EXPECT_EQ(cell(0, 0), QStringLiteral("effect%1").arg(record(0).id, 3, 10, QLatin1Char('0')));
    EXPECT_EQ(cell(1, 1), QStringLiteral("有効"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("法線方向"));
    EXPECT_TRUE(control<QRadioButton>(1060)->isChecked());
    EXPECT_EQ(control<QComboBox>(1074)->currentIndex(), 0);
    EXPECT_EQ(edit(1073)->text(), QStringLiteral("10"));
    EXPECT_EQ(slider(1072)->value(), 110);
    EXPECT_EQ(edit(1084)->text(), QStringLiteral("100"));
    EXPECT_EQ(slider(1083)->value(), 200);
    EXPECT_EQ(control<BitmapFrame>(1075)->sourcePixels(), second.pixels);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(EffectDialogTest, CancelledOrUnreadablePictureLeavesTheListAsItWas) {
    add(kDome);
    expectRebuiltOnce();

    answers.push_back(std::nullopt);
    click(1078);
    add(kNotAPicture);
    EXPECT_EQ(messages.texts, std::vector<std::string>{kUnreadablePictureMessage});
    EXPECT_EQ(doc.mesh().effects.size(), 1u);
    EXPECT_EQ(dialog->selectedRow(), 0);

    // Change image with a bad file: the selected effect keeps its picture.
    const std::vector<uint32_t> before = record(0).pixels;
    answers.push_back(kNotAPicture);
    click(1076);
    EXPECT_EQ(messages.texts.size(), 2u);
    EXPECT_EQ(record(0).pixels, before);
    expectRebuiltOnce(0);
}

TEST_F(EffectDialogTest, MovesSwapNeighboursAndTheSelectionFollows) {
    add(kDome);
    add(kChecker);
    add(kRings);
    const int ids[] = {record(0).id, record(1).id, record(2).id};
    expectRebuiltOnce(3);

    click(1071); // "▼" on the last row
    selectRowByClick(0);
    click(1070); // "▲" on the first row
    EXPECT_EQ(record(0).id, ids[0]);
    EXPECT_EQ(record(2).id, ids[2]);
    expectRebuiltOnce(0);

    click(1071);
    EXPECT_EQ(record(0).id, ids[1]);
    EXPECT_EQ(record(1).id, ids[0]);
    EXPECT_EQ(dialog->selectedRow(), 1);
    EXPECT_EQ(cell(1, 0), QStringLiteral("effect%1").arg(ids[0], 3, 10, QLatin1Char('0')));
    expectRebuiltOnce();

    click(1070);
    EXPECT_EQ(record(0).id, ids[0]);
    EXPECT_EQ(dialog->selectedRow(), 0);
    expectRebuiltOnce();
}

TEST_F(EffectDialogTest, TypedStrengthsAreFilteredAndKeptInRange) {
    add(kDome);
    expectRebuiltOnce();

    edit(1073)->selectAll();
    QTest::keyClicks(edit(1073), QStringLiteral("1a2"));
    EXPECT_EQ(record(0).strength, 12.0f);
    EXPECT_EQ(slider(1072)->value(), 112);
    EXPECT_EQ(edit(1073)->text(), QStringLiteral("1a2")) << "the slider does not echo back";
    rebuilds.count = 0;

    for (const char* refused : {"150", "-101", "", "-", "abc", "--5"}) {
        edit(1073)->setText(QString::fromUtf8(refused));
        EXPECT_EQ(record(0).strength, 12.0f) << refused;
        EXPECT_EQ(slider(1072)->value(), 112) << refused;
    }
    expectRebuiltOnce(0);

    // Each edit writes its own field.
    edit(1080)->setText(QStringLiteral("-7"));
    edit(1082)->setText(QStringLiteral("x3y"));
    edit(1084)->setText(QStringLiteral("100"));
    EXPECT_EQ(record(0).strengthR, -7.0f);
    EXPECT_EQ(record(0).strengthG, 3.0f);
    EXPECT_EQ(record(0).strengthB, 100.0f);
    EXPECT_EQ(slider(1079)->value(), 93);
    expectRebuiltOnce(2);
}

TEST_F(EffectDialogTest, SliderAtTheLeftEndShowsAndStoresMinusHundred) {
    add(kDome);
    expectRebuiltOnce();
    slider(1081)->setFocus();
    QTest::keyClick(slider(1081), Qt::Key_Home);
    EXPECT_EQ(slider(1081)->value(), 0);
    EXPECT_EQ(edit(1082)->text(), QStringLiteral("-100"));
    EXPECT_EQ(record(0).strengthG, -100.0f);
    expectRebuiltOnce();

    QTest::keyClick(slider(1081), Qt::Key_PageUp);
    EXPECT_EQ(edit(1082)->text(), QStringLiteral("-90"));
    EXPECT_EQ(record(0).strengthG, -90.0f);
    expectRebuiltOnce();
}

TEST_F(EffectDialogTest, OnOffAndTypeShowInTheListAndTheMap) {
    add(kDome);
    add(kChecker);
    expectRebuiltOnce(2);

    click(1061); // "無効"
    EXPECT_EQ(record(1).enabled, 0);
    EXPECT_EQ(cell(1, 1), QStringLiteral("----"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("有効"));
    EXPECT_EQ(dialog->selectedRow(), 1);
    expectRebuiltOnce();
    click(1061);
    expectRebuiltOnce(0);

    click(1060);
    EXPECT_EQ(record(1).enabled, 1);
    EXPECT_EQ(cell(1, 1), QStringLiteral("有効"));
    expectRebuiltOnce();

    // Keys choose in the combo as the mouse does: End is the last item, Up the one above.
    auto* combo = control<QComboBox>(1074);
    const std::tuple<Qt::Key, int, const char*> choices[] = {
        {Qt::Key_End, EFFECT_COMPOSITE, "スカルプ合成"}, {Qt::Key_Up, EFFECT_CENTROID, "重心方向"}};
    for (const auto& [key, code, listText] : choices) {
        QTest::keyClick(combo, key);
        EXPECT_EQ(record(1).typeCode(), code);
        EXPECT_EQ(cell(1, 2), QString::fromUtf8(listText));
        expectRebuiltOnce();
    }
    EXPECT_EQ(record(0).typeCode(), EFFECT_NORMAL);
}

TEST_F(EffectDialogTest, InvalidTypeIsReportedWhenShownAndSkippedByTheStage) {
    add(kDome);
    expectRebuiltOnce();
    record(0).setTypeCode(5);
    doc.effectsChanged();
    expectRebuiltOnce(); // the stage skips it: the map is the bare shape's
    EXPECT_EQ(doc.mesh().map, base);

    dialog->hide();
    dialog->show(); // showing again refreshes the list and shows the last row
    EXPECT_EQ(cell(0, 2), QStringLiteral("タイプ"));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kInvalidEffectTypeMessage});
    EXPECT_EQ(control<QComboBox>(1074)->currentIndex(), -1);
}

TEST_F(EffectDialogTest, PictureConversionsAndChangeImageWorkOnTheSelectedEffect) {
    add(kDome);
    add(kChecker);
    edit(1073)->setText(QStringLiteral("40"));
    selectRowByClick(0);
    EXPECT_EQ(edit(1073)->text(), QStringLiteral("10"));
    expectRebuiltOnce(3);

    const std::pair<int, void (*)(ImageBuffer&)> conversions[] = {{1087, &Grayscale},
                                                                  {1088, &Posterize},
                                                                  {1089, &Blur},
                                                                  {1090, &Negative},
                                                                  {1091, &Binarize}};
    ImageBuffer expected;
    expected.setFrom(record(0).pixels.data(), 64, 64);
    for (const auto& [id, operation] : conversions) {
        operation(expected);
        click(id);
        EXPECT_EQ(record(0).pixels, expected.pixels) << id;
        EXPECT_EQ(control<BitmapFrame>(1075)->sourcePixels(), expected.pixels) << id;
        expectRebuiltOnce();
    }

    // A new picture replaces only the pixels of the selected effect.
    selectRowByClick(1);
    EXPECT_EQ(edit(1073)->text(), QStringLiteral("40"));
    const std::string oldPath = record(1).filePath;
    answers.push_back(kDome);
    click(1076);
    ImageBuffer dome;
    ASSERT_EQ(loadEffectPicture(dome, kDome.toStdString(), messages), 1);
    EXPECT_EQ(record(1).pixels, dome.pixels);
    EXPECT_EQ(record(1).filePath, oldPath);
    EXPECT_EQ(record(1).strength, 40.0f);
    EXPECT_EQ(control<BitmapFrame>(1075)->sourcePixels(), dome.pixels);
    expectRebuiltOnce();
}

TEST_F(EffectDialogTest, DeleteSelectsTheFirstRow) {
    add(kDome);
    add(kChecker);
    add(kRings);
    const int first = record(0).id;
    const int last = record(2).id;
    expectRebuiltOnce(3);

    selectRowByClick(1);
    click(1077);
    ASSERT_EQ(doc.mesh().effects.size(), 2u);
    EXPECT_EQ(record(0).id, first);
    EXPECT_EQ(record(1).id, last);
    EXPECT_EQ(dialog->selectedRow(), 0);
    EXPECT_EQ(control<BitmapFrame>(1075)->sourcePixels(), record(0).pixels);
    expectRebuiltOnce();

    click(1077);
    click(1077);
    EXPECT_TRUE(doc.mesh().effects.empty());
    EXPECT_EQ(list()->rowCount(), 0);
    expectRebuiltOnce(2);

    // Nothing selected: the parameter controls change nothing.
    click(1077);
    click(1090);
    edit(1073)->setText(QStringLiteral("5"));
    expectRebuiltOnce(0);
}

TEST_F(EffectDialogTest, OkAndEscapeHideButTheCloseBoxDestroys) {
    QPointer<EffectDialog> watch(dialog);
    click(1);
    EXPECT_FALSE(dialog->isVisible());
    dialog->show();
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(watch.isNull());

    dialog->show();
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    dialog = nullptr;
}
