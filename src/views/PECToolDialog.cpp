#include "PECToolDialog.h"

#include "DialogUnits.h"
#include "TextMarks.h"
#include "UiFonts.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace tesk {

namespace {
constexpr QColor kBackground(140, 140, 150);

struct BarButton {
    int id;
    const char* text;
    int x;
    void (PECToolDialog::*signal)();
    const char* tip;
};

constexpr BarButton kButtons[] = {
    {1014, TESK_TEXT("tesk::PECToolDialog", "UNDO"), 51, &PECToolDialog::undoClicked,
     TESK_TEXT("tesk::PECToolDialog", "確定した一つ前の形に戻します")},
    {1015, TESK_TEXT("tesk::PECToolDialog", "REDO"), 85, &PECToolDialog::redoClicked,
     TESK_TEXT("tesk::PECToolDialog", "UNDO で戻した形をもう一度進めます")},
    {1013, TESK_TEXT("tesk::PECToolDialog", "確定"), 126, &PECToolDialog::confirmClicked,
     TESK_TEXT("tesk::PECToolDialog",
               "スライダーで変えた点を確定し、UNDO で戻れる一歩にします (Enter)")},
    {1017, TESK_TEXT("tesk::PECToolDialog", "リセット"), 163, &PECToolDialog::resetClicked,
     TESK_TEXT("tesk::PECToolDialog", "確定していないスライダーの変更を捨てます")},
};
} // namespace

PECToolDialog::PECToolDialog(QWidget* parent) : QWidget(parent) {
    setFont(pointFont("ＭＳ Ｐゴシック", 90));
    const DialogUnits du(font());
    auto* label = new QLabel(tr("編集"), this);
    label->setGeometry(du.rect(0, 1, 22, 9));
    for (const BarButton& b : kButtons) {
        auto* button = new QPushButton(tr(b.text), this);
        button->setObjectName(QString::number(b.id));
        button->setToolTip(tr(b.tip));
        button->setGeometry(du.rect(b.x, 1, 33, 12));
        // Return on a focused button presses that button, as in a dialog; elsewhere in the
        // panel it confirms.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, b.signal);
    }
}

int PECToolDialog::barHeight() const {
    return std::max(kHeight, childrenRect().bottom() + 2);
}

void PECToolDialog::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), kBackground);
}

} // namespace tesk
