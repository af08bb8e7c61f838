#include "DialogUnits.h"
#include "SculptedImageSaveOptionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using tesk::DialogUnits;
using tesk::ExportFlips;
using tesk::SculptedImageSaveOptionDialog;

namespace {

QCheckBox* box(const QDialog& dialog, const char* id) {
    return dialog.findChild<QCheckBox*>(QString::fromLatin1(id));
}

QPushButton* okButton(const QDialog& dialog) {
    return dialog.findChild<QPushButton*>(QStringLiteral("1"));
}

} // namespace

TEST(SculptedImageSaveOptionDialog, LaidOutFromTheTemplateInDialogUnits) {
    SculptedImageSaveOptionDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export Option"));
    EXPECT_EQ(QFontInfo(dialog.font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);

    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.height(), units.size(64, 77).height());
    EXPECT_GE(dialog.width(), units.size(64, 77).width());
    EXPECT_GT(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 100)
        << "room for the caption beside the title bar's buttons";
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
    struct Expected {
        const char* id;
        QString text;
        QRect geometry;
    };
    const Expected boxes[] = {
        {"1044", QStringLiteral("X 反転"), units.rect(6, 6, 38, 10)},
        {"1045", QStringLiteral("Y 反転"), units.rect(6, 18, 38, 10)},
        {"1046", QStringLiteral("Z 反転"), units.rect(6, 30, 38, 10)},
    };
    for (const Expected& expected : boxes) {
        const QCheckBox* check = box(dialog, expected.id);
        ASSERT_NE(check, nullptr) << expected.id;
        EXPECT_EQ(check->text(), expected.text);
        EXPECT_EQ(check->geometry(), expected.geometry);
        EXPECT_FALSE(check->isChecked());
    }
    const QPushButton* ok = okButton(dialog);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->geometry(), units.rect(6, 54, 48, 14));
    EXPECT_TRUE(ok->isDefault());
}

TEST(SculptedImageSaveOptionDialog, OkSetsEachFlagExactlyWhenItsBoxIsTicked) {
    for (int mask = 0; mask < 8; ++mask) {
        const ExportFlips ticked{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0};
        SculptedImageSaveOptionDialog dialog;
        dialog.setChecks(ticked);
        EXPECT_EQ(dialog.flips(), ExportFlips{}) << "flags change only on OK";
        QTest::mouseClick(okButton(dialog), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.flips(), ticked) << mask;
        EXPECT_EQ(dialog.flipX(), ticked.x);
        EXPECT_EQ(dialog.flipY(), ticked.y);
        EXPECT_EQ(dialog.flipZ(), ticked.z);
    }
}

TEST(SculptedImageSaveOptionDialog, ClickingABoxTicksIt) {
    SculptedImageSaveOptionDialog dialog;
    QTest::mouseClick(box(dialog, "1045"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    EXPECT_EQ(dialog.flips(), (ExportFlips{false, true, false}));
}

TEST(SculptedImageSaveOptionDialog, EscapeLeavesEveryFlagOff) {
    SculptedImageSaveOptionDialog dialog;
    dialog.setChecks({true, true, true});
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.flips(), ExportFlips{});
}

TEST(SculptedImageSaveOptionDialog, AskReturnsTheFlagsOfTheModalDialog) {
    QTimer::singleShot(0, [] {
        SculptedImageSaveOptionDialog* dialog = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<SculptedImageSaveOptionDialog*>(window)) {
                dialog = candidate;
            }
        }
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isModal());
        dialog->setChecks({true, false, true});
        okButton(*dialog)->click();
    });
    EXPECT_EQ(SculptedImageSaveOptionDialog::ask(nullptr), (ExportFlips{true, false, true}));
}
