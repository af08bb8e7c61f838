#include "PEToolDialog.h"

#include "DialogUnits.h"
#include "UiFonts.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace tesk {

namespace {
constexpr QColor kBackground(140, 140, 150);

QPushButton* makeRadio(QWidget* parent, QButtonGroup* group, const char* id, const QString& text,
                       const QString& tip, const QRect& rect) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setToolTip(tip);
    button->setGeometry(rect);
    button->setCheckable(true);
    group->addButton(button);
    return button;
}
} // namespace

PEToolDialog::PEToolDialog(QWidget* parent) : QWidget(parent) {
    setFont(pointFont("MS Shell Dlg", 80));
    const DialogUnits du(font());

    auto* label = new QLabel(tr("選択 ＆ 分割"), this);
    label->setGeometry(du.rect(0, 0, 55, 8));

    // Two radio groups: the main mode, and the divide operation.
    auto* modes = new QButtonGroup(this);
    auto* operations = new QButtonGroup(this);
    auto* select = makeRadio(this, modes, "1037", tr("選択 モード"),
                             tr("点を選びます: クリックで一つ、ドラッグで囲んだものすべて"),
                             du.rect(60, 0, 51, 12));
    auto* divide = makeRadio(this, modes, "1038", tr("分割 モード"),
                             tr("クリックでラインや点を加えたり、取り除いたりします"),
                             du.rect(114, 0, 51, 12));
    m_add = makeRadio(this, operations, "1040", tr("追加"),
                      tr("クリックした所にラインか点を加えます"), du.rect(168, 0, 24, 12));
    m_delete = makeRadio(this, operations, "1041", tr("削除"),
                         tr("クリックしたラインか点を取り除きます"), du.rect(192, 0, 24, 12));
    select->setChecked(true);
    m_add->setChecked(true);
    showOperations(false);

    connect(select, &QPushButton::clicked, this, [this] {
        showOperations(false);
        emit selectChosen();
    });
    connect(divide, &QPushButton::clicked, this, [this] {
        showOperations(true);
        emit divideChosen(addChecked(), deleteChecked());
    });
    connect(m_add, &QPushButton::clicked, this, &PEToolDialog::addChosen);
    connect(m_delete, &QPushButton::clicked, this, &PEToolDialog::deleteChosen);
}

bool PEToolDialog::addChecked() const {
    return m_add->isChecked();
}

bool PEToolDialog::deleteChecked() const {
    return m_delete->isChecked();
}

void PEToolDialog::showOperations(bool shown) {
    for (QPushButton* button : {m_add, m_delete}) {
        button->setEnabled(shown);
        button->setVisible(shown);
    }
}

void PEToolDialog::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), kBackground);
}

} // namespace tesk
