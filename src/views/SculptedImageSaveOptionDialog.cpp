#include "SculptedImageSaveOptionDialog.h"

#include "DialogUnits.h"
#include "TextMarks.h"
#include "UiFonts.h"

#include <QCheckBox>
#include <QPushButton>
#include <algorithm>

namespace tesk {

namespace {

// Template layout in dialog units; texts and tips are looked up under the dialog's name.
struct ControlLayout {
    int id;
    const char* text;
    int x, y, width, height;
    const char* tip;
};

constexpr ControlLayout kFlipXBox = {
    1044,
    TESK_TEXT("tesk::SculptedImageSaveOptionDialog", "X 反転"),
    6,
    6,
    38,
    10,
    TESK_TEXT("tesk::SculptedImageSaveOptionDialog", "書き出す画像で X (赤) を反転します")};
constexpr ControlLayout kFlipYBox = {
    1045,
    TESK_TEXT("tesk::SculptedImageSaveOptionDialog", "Y 反転"),
    6,
    18,
    38,
    10,
    TESK_TEXT("tesk::SculptedImageSaveOptionDialog", "書き出す画像で Y (緑) を反転します")};
constexpr ControlLayout kFlipZBox = {
    1046,
    TESK_TEXT("tesk::SculptedImageSaveOptionDialog", "Z 反転"),
    6,
    30,
    38,
    10,
    TESK_TEXT("tesk::SculptedImageSaveOptionDialog", "書き出す画像で Z (青) を反転します")};
constexpr ControlLayout kOkButton = {
    1,
    "OK",
    6,
    54,
    48,
    14,
    TESK_TEXT("tesk::SculptedImageSaveOptionDialog", "この反転でスカルプトマップを書き出します")};

constexpr int kDialogWidth = 64;
constexpr int kDialogHeight = 77;
// Pixels a title bar gives to the icon and its buttons.
constexpr int kTitleBarButtons = 170;

template <typename Control>
Control* placeControl(QWidget* parent, const DialogUnits& units, const ControlLayout& layout) {
    auto* control = new Control(SculptedImageSaveOptionDialog::tr(layout.text), parent);
    control->setObjectName(QString::number(layout.id));
    control->setToolTip(SculptedImageSaveOptionDialog::tr(layout.tip));
    control->setGeometry(units.rect(layout.x, layout.y, layout.width, layout.height));
    return control;
}

} // namespace

SculptedImageSaveOptionDialog::SculptedImageSaveOptionDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("137"));
    setWindowTitle(tr("Export Option"));
    setFont(pointFont(QStringLiteral("MS Shell Dlg"), 80));
    const DialogUnits units(font());
    // Wide enough for a window manager to show the caption beside its buttons.
    const QSize designed = units.size(kDialogWidth, kDialogHeight);
    const int captionRoom = fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarButtons;
    setFixedSize(std::max(designed.width(), captionRoom), designed.height());

    m_flipXBox = placeControl<QCheckBox>(this, units, kFlipXBox);
    m_flipYBox = placeControl<QCheckBox>(this, units, kFlipYBox);
    m_flipZBox = placeControl<QCheckBox>(this, units, kFlipZBox);
    m_okButton = placeControl<QPushButton>(this, units, kOkButton);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &SculptedImageSaveOptionDialog::accept);
}

void SculptedImageSaveOptionDialog::setChecks(const ExportFlips& checks) {
    m_flipXBox->setChecked(checks.x);
    m_flipYBox->setChecked(checks.y);
    m_flipZBox->setChecked(checks.z);
}

void SculptedImageSaveOptionDialog::accept() {
    m_flips.x = m_flipXBox->isChecked();
    m_flips.y = m_flipYBox->isChecked();
    m_flips.z = m_flipZBox->isChecked();
    QDialog::accept();
}

ExportFlips SculptedImageSaveOptionDialog::ask(QWidget* parent) {
    SculptedImageSaveOptionDialog dialog(parent);
    dialog.exec();
    return dialog.flips();
}

} // namespace tesk
