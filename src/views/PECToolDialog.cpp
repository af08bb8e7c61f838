#include "PECToolDialog.h"

#include "DialogUnits.h"
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
};

constexpr BarButton kButtons[] = {
    {1014, "UNDO", 51, &PECToolDialog::undoClicked},
    {1015, "REDO", 85, &PECToolDialog::redoClicked},
    {1013, "確定", 126, &PECToolDialog::confirmClicked},
    {1017, "リセット", 163, &PECToolDialog::resetClicked},
};
} // namespace

PECToolDialog::PECToolDialog(QWidget* parent) : QWidget(parent) {
    setFont(pointFont("ＭＳ Ｐゴシック", 90));
    const DialogUnits du(font());
    auto* label = new QLabel(QString::fromUtf8("編集"), this);
    label->setGeometry(du.rect(0, 1, 22, 9));
    for (const BarButton& b : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.text), this);
        button->setObjectName(QString::number(b.id));
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
