#include "BitmapFrame.h"
#include "Ctesk001Doc.h"
#include "EffectDialog.h"
#include "EffectPicture.h"
#include "EffectStage.h"
#include "Installation.h"
#include "Messages.h"
#include "PictureFile.h"
#include "PictureOperations.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace tesk;

namespace {

const QString kDome = QStringLiteral(TESK_SOURCE_DIR "/res/effect/dome.png");
const QString kRings = QStringLiteral(TESK_SOURCE_DIR "/res/effect/rings.png"); // 256 x 256
const QString kNotAPicture = QStringLiteral(TESK_TEST_DATA "/pictures/not_a_picture.txt");

class EffectDialogTest : public ::testing::Test, public DocumentListener {
protected:
    void SetUp() override {
        doc.newShape();
        base = doc.mesh().map;
        doc.addListener(this);
        dialog = new EffectDialog(doc, [this](QWidget*, const QString& filter, const QString& at) {
            asked.push_back(filter + " @ " + at);
            std::optional<QString> answer;
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            return answer;
        });
        dialog->show();
    }
    void TearDown() override {
        delete dialog;
        doc.removeListener(this);
    }
    void shapeRebuilt() override { ++rebuilds; }

    template <typename Widget = QAbstractButton> Widget* control(int id) const {
        auto* widget = dialog->findChild<Widget*>(QString::number(id));
        return widget != nullptr ? widget : throw std::out_of_range("no control");
    }
    void click(int id) { QTest::mouseClick(control(id), Qt::LeftButton); }
    void add(const QString& path, int times = 1) {
        for (int i = 0; i < times; ++i) {
            answers.push_back(path);
            click(1078);
        }
    }
    QString cell(int row, int column) const {
        return control<QTableWidget>(1067)->item(row, column)->text();
    }
    void selectRow(int row) { control<QTableWidget>(1067)->selectRow(row); }
    QLineEdit* edit(int id) const { return control<QLineEdit>(id); }
    EffectRecord& record(size_t i) {
        EffectRecord* r = doc.effect(i);
        return r != nullptr ? *r : throw std::out_of_range("no effect");
    }

    /// The map is what the core's effect stage makes of the bare shape with the current list,
    /// after exactly `expected` rebuilds since the last check.
    void expectRebuilds(int expected) {
        std::vector<uint32_t> map = base;
        ApplyEffects(map, doc.mesh().effects);
        EXPECT_EQ(doc.mesh().map, map);
        EXPECT_EQ(rebuilds, expected);
        rebuilds = 0;
    }

    RecordingMessages messages;
    Ctesk001Doc doc{messages, TESK_SOURCE_DIR "/no-such-install/"};
    std::vector<uint32_t> base;
    int rebuilds = 0;
    std::deque<std::optional<QString>> answers;
    std::vector<QString> asked;
    EffectDialog* dialog = nullptr;
};

} // namespace

TEST_F(EffectDialogTest, AddGivesNormalTenPercentOnAndSelectsTheLastRow) {
    add(kDome);
    add(kRings);
    add(QString()); // cancelled
    add(kNotAPicture);
    ASSERT_EQ(doc.mesh().effects.size(), 2u);
    EXPECT_EQ(messages.texts, std::vector<std::string>{kUnreadablePictureMessage});
    expectRebuilds(2);
    EXPECT_EQ(asked.at(0),
              QStringLiteral("画像ファイル(*.tga *.jpg *.bmp *.png);;All pictures "
                             "(*.bmp *.tga *.png *.jpg *.jpeg);;全て(*) @ ") +
                  QString::fromStdString(effectPictureFolder(doc.getProgramDir()).string()));

    const EffectRecord& added = record(1);
    EXPECT_EQ(added.typeCode(), EFFECT_NORMAL);
    EXPECT_EQ(added.enabled, 1);
    EXPECT_EQ(added.strength, 10.0f);
    EXPECT_EQ(added.strengthR + added.strengthG + added.strengthB, 300.0f);
    EXPECT_EQ(added.pixels.size(), 4096u);
    EXPECT_EQ(dialog->selectedRow(), 1);
    EXPECT_EQ(cell(0, 0), QString::asprintf("effect%03d", record(0).id));
    EXPECT_EQ(cell(1, 1), QStringLiteral("有効"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("法線方向"));
    EXPECT_TRUE(control<QRadioButton>(1060)->isChecked());
    EXPECT_EQ(control<QComboBox>(1074)->currentIndex(), 0);
    EXPECT_EQ(edit(1073)->text(), QStringLiteral("10"));
    EXPECT_EQ(control<QSlider>(1083)->value(), 200);
    EXPECT_EQ(control<BitmapFrame>(1075)->sourcePixels(), added.pixels);
}

TEST_F(EffectDialogTest, MovesAndDeleteKeepTheSelectionOnTheirEffect) {
    add(kDome, 3);
    const int ids[] = {record(0).id, record(1).id, record(2).id};
    click(1071); // "▼" on the last row
    selectRow(0);
    click(1070); // "▲" on the first row
    EXPECT_EQ(record(0).id, ids[0]);
    EXPECT_EQ(record(2).id, ids[2]);
    expectRebuilds(3);

    click(1071);
    EXPECT_EQ(record(0).id, ids[1]);
    EXPECT_EQ(record(1).id, ids[0]);
    EXPECT_EQ(dialog->selectedRow(), 1);
    EXPECT_EQ(cell(1, 0), QString::asprintf("effect%03d", ids[0]));
    click(1070);
    EXPECT_EQ(record(0).id, ids[0]);
    EXPECT_EQ(dialog->selectedRow(), 0);
    expectRebuilds(2);

    selectRow(1);
    click(1077);
    EXPECT_EQ(record(1).id, ids[2]);
    EXPECT_EQ(dialog->selectedRow(), 0);
    click(1077);
    click(1077);
    EXPECT_TRUE(doc.mesh().effects.empty());
    click(1090); // nothing selected: nothing happens
    expectRebuilds(3);
}

TEST_F(EffectDialogTest, StrengthsFromTypedTextAndSliders) {
    add(kDome);
    edit(1073)->selectAll();
    QTest::keyClicks(edit(1073), QStringLiteral("1a2"));
    EXPECT_EQ(record(0).strength, 12.0f);
    EXPECT_EQ(control<QSlider>(1072)->value(), 112);
    EXPECT_EQ(edit(1073)->text(), QStringLiteral("1a2")) << "the slider does not write back";
    rebuilds = 0;
    for (const char* refused : {"150", "-101", "", "-", "abc", "--5"}) {
        edit(1073)->setText(QString::fromUtf8(refused));
        EXPECT_EQ(record(0).strength, 12.0f) << refused;
        EXPECT_EQ(control<QSlider>(1072)->value(), 112) << refused;
    }
    edit(1084)->setText(QStringLiteral("x-7"));
    EXPECT_EQ(record(0).strengthB, -7.0f);
    expectRebuilds(1);

    auto* green = control<QSlider>(1081);
    green->setFocus();
    QTest::keyClick(green, Qt::Key_Home);
    EXPECT_EQ(edit(1082)->text(), QStringLiteral("-100"));
    EXPECT_EQ(record(0).strengthG, -100.0f);
    QTest::keyClick(green, Qt::Key_PageUp);
    EXPECT_EQ(record(0).strengthG, -90.0f);
    expectRebuilds(2);
}

TEST_F(EffectDialogTest, OnOffAndTypeShowInTheListAndAnInvalidTypeIsReported) {
    add(kDome, 2);
    click(1061); // "無効"
    click(1061);
    EXPECT_EQ(record(1).enabled, 0);
    EXPECT_EQ(cell(1, 1), QStringLiteral("----"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("有効"));
    expectRebuilds(3);

    // Keys choose as the mouse does: End is the last item, the composite type.
    QTest::keyClick(control<QComboBox>(1074), Qt::Key_End);
    EXPECT_EQ(record(1).typeCode(), EFFECT_COMPOSITE);
    EXPECT_EQ(cell(1, 2), QStringLiteral("スカルプ合成"));
    EXPECT_EQ(control<QComboBox>(1074)->currentText(), QStringLiteral("スカルプト合成"));
    expectRebuilds(1);

    record(0).setTypeCode(5);
    doc.effectsChanged();
    dialog->hide();
    dialog->show(); // lists the records anew and shows the last one
    EXPECT_EQ(cell(0, 2), QStringLiteral("タイプ"));
    EXPECT_TRUE(messages.texts.empty());
    selectRow(0);
    EXPECT_EQ(messages.texts, std::vector<std::string>{kInvalidEffectTypeMessage});
    EXPECT_EQ(control<QComboBox>(1074)->currentIndex(), -1);
    expectRebuilds(1); // and the stage skipped it
}

TEST_F(EffectDialogTest, PictureConversionsAndChangeImageWorkOnTheSelectedEffect) {
    add(kDome);
    add(kRings);
    selectRow(0);
    ImageBuffer expected;
    expected.setFrom(record(0).pixels.data(), 64, 64);
    const std::pair<int, void (*)(ImageBuffer&)> conversions[] = {{1087, &Grayscale},
                                                                  {1088, &Posterize},
                                                                  {1089, &Blur},
                                                                  {1090, &Negative},
                                                                  {1091, &Binarize}};
    for (const auto& [id, operation] : conversions) {
        operation(expected);
        click(id);
        EXPECT_EQ(record(0).pixels, expected.pixels) << id;
        EXPECT_EQ(control<BitmapFrame>(1075)->sourcePixels(), expected.pixels) << id;
    }
    expectRebuilds(7);

    selectRow(1);
    const std::vector<uint32_t> rings = record(1).pixels;
    answers = {kNotAPicture, kDome};
    click(1076); // unreadable: nothing changes
    EXPECT_EQ(record(1).pixels, rings);
    expectRebuilds(0);
    click(1076);
    ImageBuffer dome;
    ASSERT_EQ(loadEffectPicture(dome, kDome.toStdString(), messages), 1);
    EXPECT_EQ(record(1).pixels, dome.pixels);
    EXPECT_EQ(control<BitmapFrame>(1075)->sourcePixels(), dome.pixels);
    expectRebuilds(1);
}
