#include "EffectDialog.h"

#include "BitmapFrame.h"
#include "Ctesk001Doc.h"
#include "DialogUnits.h"
#include "EffectPicture.h"
#include "FileNames.h"
#include "FocusSlider.h"
#include "Installation.h"
#include "Messages.h"
#include "PictureOperations.h"
#include "TextMarks.h"
#include "UiFonts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

// Template layout in dialog units. Texts and tips are looked up under "EffectDialog".
struct ControlLayout {
    int id; ///< 0 for the labels and the group box, which nothing refers to
    const char* text;
    int x, y, width, height;
    const char* tip = "";
};

constexpr int kDialogWidth = 251;
constexpr int kDialogHeight = 345;

// clang-format off
constexpr ControlLayout kList = {1067, "", 7, 7, 237, 96,
    TESK_TEXT("EffectDialog", "エフェクトは上から順にかかります。選んだエフェクトを下で調整します")};
constexpr ControlLayout kAddButton = {1078, TESK_TEXT("EffectDialog", "エフェクト追加"), 7, 107, 70, 14,
    TESK_TEXT("EffectDialog", "画像を選んで、エフェクトを一つ加えます")};
constexpr ControlLayout kUpButton = {1070, "▲", 81, 107, 20, 14,
    TESK_TEXT("EffectDialog", "選んだエフェクトを一つ前に動かします")};
constexpr ControlLayout kDownButton = {1071, "▼", 105, 107, 20, 14,
    TESK_TEXT("EffectDialog", "選んだエフェクトを一つ後ろに動かします")};
constexpr ControlLayout kDeleteButton = {1077, TESK_TEXT("EffectDialog", "削除"), 194, 107, 50, 14,
    TESK_TEXT("EffectDialog", "選んだエフェクトを削除します")};
constexpr ControlLayout kParameterGroup = {0, TESK_TEXT("EffectDialog", "パラメータ"), 7, 126, 237, 167};
constexpr ControlLayout kPicture = {1075, "Image", 15, 139, 64, 64,
    TESK_TEXT("EffectDialog", "エフェクトの画像: その明るさが形を動かします")};
constexpr ControlLayout kChangeImageButton = {1076, TESK_TEXT("EffectDialog", "イメージ変更"), 15, 207, 64, 14,
    TESK_TEXT("EffectDialog", "エフェクトの画像を別のファイルに替えます")};
constexpr ControlLayout kOnOffLabel = {0, TESK_TEXT("EffectDialog", "エフェクト 有効/無効"), 87, 139, 120, 8};
constexpr ControlLayout kOnRadio = {1060, TESK_TEXT("EffectDialog", "有効"), 87, 149, 44, 10,
    TESK_TEXT("EffectDialog", "このエフェクトを形にかけます")};
constexpr ControlLayout kOffRadio = {1061, TESK_TEXT("EffectDialog", "無効"), 135, 149, 44, 10,
    TESK_TEXT("EffectDialog", "このエフェクトを残したまま、形にはかけません")};
constexpr ControlLayout kTypeLabel = {0, TESK_TEXT("EffectDialog", "エフェクトの種類"), 87, 165, 120, 8};
constexpr ControlLayout kTypeCombo = {1074, "", 87, 175, 100, 14,
    TESK_TEXT("EffectDialog", "画像が形を動かす向き: 法線の方向、重心からの方向、または別のスカルプトマップとの合成")};
constexpr ControlLayout kConversionLabel = {0, TESK_TEXT("EffectDialog", "画像変換"), 7, 298, 60, 8};
constexpr ControlLayout kOkButton = {1, "OK", 194, 324, 50, 14,
    TESK_TEXT("EffectDialog", "このウィンドウを閉じます")};
// clang-format on

struct ConversionButton {
    ControlLayout layout;
    void (*operation)(ImageBuffer&);
};

constexpr ConversionButton kConversions[] = {
    {{1087, TESK_TEXT("EffectDialog", "グレースケール"), 7, 308, 66, 14,
      TESK_TEXT("EffectDialog", "エフェクトの画像を灰色だけにします")},
     &Grayscale},
    {{1089, TESK_TEXT("EffectDialog", "ぼかし"), 77, 308, 66, 14,
      TESK_TEXT("EffectDialog", "エフェクトの画像をぼかします")},
     &Blur},
    {{1090, TESK_TEXT("EffectDialog", "ネガ反転"), 147, 308, 66, 14,
      TESK_TEXT("EffectDialog", "エフェクトの画像の明暗を反転します")},
     &Negative},
    {{1088, TESK_TEXT("EffectDialog", "ポスタライズ"), 7, 324, 66, 14,
      TESK_TEXT("EffectDialog", "エフェクトの画像の階調を減らします")},
     &Posterize},
    {{1091, TESK_TEXT("EffectDialog", "２値化"), 77, 324, 66, 14,
      TESK_TEXT("EffectDialog", "エフェクトの画像を白と黒の二色にします")},
     &Binarize},
};

// One row per strength: label, edit, slider (and "％" on the first).
struct StrengthRow {
    int editId;
    int sliderId;
    const char* label;
    bool percentSign;
    float EffectRecord::*field;
    const char* tip; ///< with the range as %1 and %2
};

constexpr StrengthRow kStrengthRows[] = {
    {1073, 1072, TESK_TEXT("EffectDialog", "エフェクトの強さ"), true, &EffectRecord::strength,
     TESK_TEXT("EffectDialog", "エフェクト全体の強さ (％)、%1 から %2 まで")},
    {1080, 1079, TESK_TEXT("EffectDialog", "エフェクトの強さ R"), false, &EffectRecord::strengthR,
     TESK_TEXT("EffectDialog", "画像の赤の強さ、%1 から %2 まで")},
    {1082, 1081, TESK_TEXT("EffectDialog", "エフェクトの強さ G"), false, &EffectRecord::strengthG,
     TESK_TEXT("EffectDialog", "画像の緑の強さ、%1 から %2 まで")},
    {1084, 1083, TESK_TEXT("EffectDialog", "エフェクトの強さ B"), false, &EffectRecord::strengthB,
     TESK_TEXT("EffectDialog", "画像の青の強さ、%1 から %2 まで")},
};
constexpr int kStrengthTop = 228;
constexpr int kStrengthPitch = 16;
constexpr ControlLayout kStrengthLabel = {0, "", 15, 2, 76, 8};
constexpr ControlLayout kStrengthEdit = {0, "", 93, 0, 28, 12};
constexpr ControlLayout kPercentLabel = {0, TESK_TEXT("EffectDialog", "％"), 123, 2, 10, 8};
constexpr ControlLayout kStrengthSlider = {0, "", 135, 0, 101, 12};

// A slider position p stands for the strength p + kMinEffectStrength.
constexpr int kSliderPageStep = 10;

// The type codes in combo order, with their texts in the list and in the combo box, which
// spell the composite type differently.
struct EffectTypeText {
    int code;
    const char* listText;
    const char* comboText;
};

constexpr EffectTypeText kEffectTypes[] = {
    {EFFECT_NORMAL, TESK_TEXT("EffectDialog", "法線方向"), TESK_TEXT("EffectDialog", "法線方向")},
    {EFFECT_CENTROID, TESK_TEXT("EffectDialog", "重心方向"), TESK_TEXT("EffectDialog", "重心方向")},
    {EFFECT_COMPOSITE, TESK_TEXT("EffectDialog", "スカルプ合成"),
     TESK_TEXT("EffectDialog", "スカルプト合成")},
};
constexpr const char* kUnknownTypeText = TESK_TEXT("EffectDialog", "タイプ");

struct ListColumn {
    const char* caption;
    int width;
};

constexpr ListColumn kListColumns[] = {{TESK_TEXT("EffectDialog", "名前"), 160},
                                       {TESK_TEXT("EffectDialog", "有効"), 40},
                                       {TESK_TEXT("EffectDialog", "タイプ"), 100}};

QString translated(const char* text) {
    return QCoreApplication::translate("EffectDialog", text);
}

int typeIndex(int code) {
    for (int i = 0; i < static_cast<int>(std::size(kEffectTypes)); ++i) {
        if (kEffectTypes[i].code == code) {
            return i;
        }
    }
    return -1;
}

template <typename Control>
Control* placeControl(QWidget* parent, const DialogUnits& units, const ControlLayout& layout,
                      int dy = 0) {
    auto* control = new Control(parent);
    if (layout.id != 0) {
        control->setObjectName(QString::number(layout.id));
    }
    control->setGeometry(units.rect(layout.x, layout.y + dy, layout.width, layout.height));
    if (*layout.tip != '\0') {
        control->setToolTip(translated(layout.tip));
    }
    return control;
}

template <typename Control>
Control* placeTextControl(QWidget* parent, const DialogUnits& units, const ControlLayout& layout,
                          int dy = 0) {
    auto* control = placeControl<Control>(parent, units, layout, dy);
    control->setText(translated(layout.text));
    return control;
}

/// The number a strength edit holds: only its characters from "-0123456789" count, read as
/// an optional minus sign and the digits up to the next other character. Nothing when no
/// digit is read, so clearing the edit to type anew stores nothing.
std::optional<int> strengthFromText(const QString& text) {
    QString kept;
    for (const QChar c : text) {
        if (c == u'-' || (c >= u'0' && c <= u'9')) {
            kept.append(c);
        }
    }
    qsizetype i = 0;
    const bool negative = i < kept.size() && kept[i] == u'-';
    i += negative ? 1 : 0;
    const qsizetype firstDigit = i;
    long long magnitude = 0;
    for (; i < kept.size() && kept[i].isDigit(); ++i) {
        // Saturate: anything this large is out of range anyway.
        magnitude = std::min(magnitude * 10 + (kept[i].unicode() - u'0'), 1000000LL);
    }
    if (i == firstDigit) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

/// A stored strength as the edit shows it: truncated toward zero.
int shownStrength(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -1e6f, 1e6f));
}

} // namespace

EffectDialog::EffectDialog(Ctesk001Doc& doc, PictureChooser chooser, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_choosePicture(std::move(chooser)) {
    setObjectName(QStringLiteral("138"));
    setWindowTitle(QCoreApplication::translate("EffectDialog", "エフェクトの管理"));
    setModal(false);
    setFont(pointFont(QStringLiteral("ＭＳ ゴシック"), 90));
    buildControls();
}

void EffectDialog::buildControls() {
    const DialogUnits units(font());
    setFixedSize(units.size(kDialogWidth, kDialogHeight));

    // The group box first, so the controls over it stay on top.
    placeControl<QGroupBox>(this, units, kParameterGroup)
        ->setTitle(translated(kParameterGroup.text));

    m_list = placeControl<QTableWidget>(this, units, kList);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false);
    m_list->setShowGrid(true);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setHighlightSections(false);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &EffectDialog::showParameters);

    const auto button = [&](const ControlLayout& layout, auto handler) {
        connect(placeTextControl<QPushButton>(this, units, layout), &QPushButton::clicked, this,
                handler);
    };
    button(kAddButton, &EffectDialog::onAdd);
    button(kUpButton, &EffectDialog::onMoveUp);
    button(kDownButton, &EffectDialog::onMoveDown);
    button(kDeleteButton, &EffectDialog::onDelete);
    button(kChangeImageButton, &EffectDialog::onChangeImage);

    m_picture = placeTextControl<BitmapFrame>(this, units, kPicture);

    placeTextControl<QLabel>(this, units, kOnOffLabel);
    m_on = placeTextControl<QRadioButton>(this, units, kOnRadio);
    m_off = placeTextControl<QRadioButton>(this, units, kOffRadio);
    connect(m_on, &QRadioButton::clicked, this, [this] { setEnabledFlag(true); });
    connect(m_off, &QRadioButton::clicked, this, [this] { setEnabledFlag(false); });

    placeTextControl<QLabel>(this, units, kTypeLabel);
    m_type = placeControl<QComboBox>(this, units, kTypeCombo);
    for (const EffectTypeText& type : kEffectTypes) {
        m_type->addItem(translated(type.comboText));
    }
    m_type->setCurrentIndex(-1);
    connect(m_type, &QComboBox::activated, this, &EffectDialog::onTypeChosen);

    for (size_t i = 0; i < std::size(kStrengthRows); ++i) {
        const StrengthRow& row = kStrengthRows[i];
        const int dy = kStrengthTop + static_cast<int>(i) * kStrengthPitch;
        placeControl<QLabel>(this, units, kStrengthLabel, dy)->setText(translated(row.label));
        if (row.percentSign) {
            placeTextControl<QLabel>(this, units, kPercentLabel, dy);
        }
        const QString tip = translated(row.tip).arg(kMinEffectStrength).arg(kMaxEffectStrength);
        auto* edit = placeControl<QLineEdit>(this, units, kStrengthEdit, dy);
        edit->setObjectName(QString::number(row.editId));
        edit->setToolTip(tip);
        auto* slider = placeControl<FocusSlider>(this, units, kStrengthSlider, dy);
        slider->setObjectName(QString::number(row.sliderId));
        slider->setToolTip(tip);
        slider->setOrientation(Qt::Horizontal);
        slider->setRange(0, kMaxEffectStrength - kMinEffectStrength);
        slider->setValue(-kMinEffectStrength);
        slider->setPageStep(kSliderPageStep);
        slider->setSingleStep(1);
        m_strengths[i] = {edit, slider, row.field};
        const StrengthControls& controls = m_strengths[i];
        connect(slider, &QSlider::valueChanged, this,
                [this, &controls](int position) { onSliderMoved(controls, position); });
        connect(edit, &QLineEdit::textChanged, this,
                [this, &controls] { onStrengthEdited(controls); });
    }

    placeTextControl<QLabel>(this, units, kConversionLabel);
    for (const ConversionButton& conversion : kConversions) {
        auto* convert = placeTextControl<QPushButton>(this, units, conversion.layout);
        connect(convert, &QPushButton::clicked, this,
                [this, &conversion] { convertPicture(conversion.operation); });
    }

    auto* ok = placeTextControl<QPushButton>(this, units, kOkButton);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &EffectDialog::accept);
}

int EffectDialog::selectedRow() const {
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().row() : -1;
}

EffectRecord* EffectDialog::selectedEffect() {
    const int row = selectedRow();
    return row < 0 ? nullptr : m_doc.effect(static_cast<size_t>(row));
}

void EffectDialog::refreshList() {
    const int keep = selectedRow();
    const QSignalBlocker block(m_list);
    m_list->clear();
    m_list->setRowCount(0);
    m_list->setColumnCount(static_cast<int>(std::size(kListColumns)));
    for (int c = 0; c < static_cast<int>(std::size(kListColumns)); ++c) {
        m_list->setHorizontalHeaderItem(c,
                                        new QTableWidgetItem(translated(kListColumns[c].caption)));
        m_list->setColumnWidth(c, kListColumns[c].width);
    }
    const EffectList& effects = m_doc.mesh().effects;
    m_list->setRowCount(static_cast<int>(effects.size()));
    int row = 0;
    for (const auto& record : effects) {
        const int type = typeIndex(record->typeCode());
        const QString texts[] = {
            QStringLiteral("effect%1").arg(record->id, 3, 10, QLatin1Char('0')),
            record->enabled != 0 ? translated(kOnRadio.text) : QStringLiteral("----"),
            translated(type < 0 ? kUnknownTypeText : kEffectTypes[type].listText),
        };
        for (int c = 0; c < static_cast<int>(std::size(texts)); ++c) {
            m_list->setItem(row, c, new QTableWidgetItem(texts[c]));
        }
        ++row;
    }
    if (keep >= 0 && keep < m_list->rowCount()) {
        selectRow(keep);
    }
}

void EffectDialog::selectRow(int row) {
    if (row < 0 || row >= m_list->rowCount()) {
        return;
    }
    // The callers show the parameters themselves once the list is complete.
    const QSignalBlocker block(m_list);
    m_list->setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void EffectDialog::showParameters() {
    const EffectRecord* record = selectedEffect();
    if (record == nullptr) {
        return;
    }
    m_on->setChecked(record->enabled != 0);
    m_off->setChecked(record->enabled == 0);

    const int type = typeIndex(record->typeCode());
    m_type->setCurrentIndex(type);
    if (type < 0) {
        m_doc.messages().inform(kInvalidEffectTypeMessage);
    }

    // The edits pass their values on to the sliders; the record already holds them.
    m_showingParameters = true;
    for (const StrengthControls& controls : m_strengths) {
        controls.edit->setText(QString::number(shownStrength(record->*controls.field)));
    }
    m_showingParameters = false;

    if (record->hasWholePicture()) {
        m_picture->setImage(record->width, record->height, record->pixels.data(), false);
    }
}

void EffectDialog::onSliderMoved(const StrengthControls& controls, int position) {
    m_sliderUpdate = true;
    controls.edit->setText(QString::number(position + kMinEffectStrength));
    m_sliderUpdate = false;
}

void EffectDialog::onStrengthEdited(const StrengthControls& controls) {
    EffectRecord* record = selectedEffect();
    if (record == nullptr) {
        return;
    }
    const std::optional<int> value = strengthFromText(controls.edit->text());
    if (!value || *value < kMinEffectStrength || *value > kMaxEffectStrength) {
        return;
    }
    if (!m_sliderUpdate) {
        // Typed or shown: move the slider without writing its value back over the text.
        const QSignalBlocker block(controls.slider);
        controls.slider->setValue(*value - kMinEffectStrength);
    }
    m_sliderUpdate = false;
    float& field = record->*controls.field;
    if (m_showingParameters || field == static_cast<float>(*value)) {
        return;
    }
    field = static_cast<float>(*value);
    m_doc.effectsChanged();
}

void EffectDialog::setEnabledFlag(bool on) {
    EffectRecord* record = selectedEffect();
    if (record == nullptr) {
        return;
    }
    m_on->setChecked(on);
    m_off->setChecked(!on);
    const int32_t enabled = on ? 1 : 0;
    if (record->enabled != enabled) {
        record->enabled = enabled;
        m_doc.effectsChanged();
    }
    refreshList();
}

void EffectDialog::onTypeChosen(int index) {
    EffectRecord* record = selectedEffect();
    if (record == nullptr || index < 0 || index >= static_cast<int>(std::size(kEffectTypes))) {
        return;
    }
    const int32_t before = record->typeWord;
    record->setTypeCode(kEffectTypes[index].code);
    if (record->typeWord != before) {
        m_doc.effectsChanged();
    }
    refreshList();
}

std::optional<std::string> EffectDialog::choosePicture() {
    const std::string folder = effectPictureFolder(m_doc.getProgramDir()).string();
    const std::optional<QString> path =
        m_choosePicture(this, fileFilter(kEffectPictureFilter), shownFileName(folder));
    if (!path || path->isEmpty()) {
        return std::nullopt;
    }
    return systemFileName(*path, folder);
}

void EffectDialog::onAdd() {
    const std::optional<std::string> path = choosePicture();
    if (!path) {
        return;
    }
    // An unreadable picture has been reported by the loader; the list stays as it was.
    auto record = makeEffectRecord(*path, EFFECT_NORMAL, m_doc.messages());
    if (!record) {
        return;
    }
    m_doc.addEffect(std::move(record));
    refreshList();
    selectRow(m_list->rowCount() - 1);
    showParameters();
}

void EffectDialog::onChangeImage() {
    EffectRecord* record = selectedEffect();
    if (record == nullptr) {
        return;
    }
    const std::optional<std::string> path = choosePicture();
    if (!path) {
        return;
    }
    ImageBuffer picture;
    if (loadEffectPicture(picture, *path, m_doc.messages()) != 1) {
        return;
    }
    // Only the pixels change: the record keeps its type, strengths and file name.
    record->pixels = std::move(picture.pixels);
    record->width = picture.width;
    record->height = picture.height;
    m_doc.effectsChanged();
    showParameters();
}

void EffectDialog::onMoveUp() {
    moveSelected(-1);
}

void EffectDialog::onMoveDown() {
    moveSelected(1);
}

void EffectDialog::moveSelected(int step) {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    const auto index = static_cast<size_t>(row);
    if (!(step < 0 ? m_doc.moveEffectUp(index) : m_doc.moveEffectDown(index))) {
        return;
    }
    refreshList();
    selectRow(row + step);
    showParameters();
}

void EffectDialog::onDelete() {
    const int row = selectedRow();
    if (row < 0 || !m_doc.removeEffect(static_cast<size_t>(row))) {
        return;
    }
    refreshList();
    selectRow(0);
    showParameters();
    if (m_list->rowCount() == 0) {
        // Nothing is selected any more: do not go on showing the deleted picture.
        m_picture->fill(0xffffffu);
    }
}

void EffectDialog::convertPicture(void (*operation)(ImageBuffer&)) {
    EffectRecord* record = selectedEffect();
    if (record == nullptr) {
        return;
    }
    operation(*record);
    showParameters();
    m_doc.effectsChanged();
}

void EffectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Shown by the program (not restored by the window system): start at the newest effect.
    if (!event->spontaneous()) {
        refreshList();
        selectRow(m_list->rowCount() - 1);
        showParameters();
    }
}

void EffectDialog::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    // The close box ends the dialog; OK and Escape only hide it.
    if (event->isAccepted()) {
        deleteLater();
    }
}

} // namespace tesk
