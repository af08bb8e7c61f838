#include "GLToolDialog.h"

#include "DialogUnits.h"
#include "LodGrid.h"
#include "RADIOFrame.h"
#include "ShapeTypes.h"
#include "TeskResources.h"
#include "UiFonts.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace tesk {

namespace {
constexpr QColor kBackground(140, 140, 150);
constexpr int kTypeButtonWidth = 42;
constexpr int kTypeButtonHeight = 20;
constexpr int kFamilyStep = 44;
constexpr int kLodChooserGap = 6;
constexpr int kLodChooserWidth = 52;

QPushButton* makeButton(QWidget* parent, const char* id, const char* text, const QRect& rect) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setGeometry(rect);
    return button;
}
} // namespace

GLToolDialog::GLToolDialog(QWidget* parent) : QWidget(parent), m_lodChooser(new QComboBox(this)) {
    setFont(pointFont("MS UI Gothic", 80));
    const DialogUnits du(font());

    auto* label = new QLabel(QString::fromUtf8("確認 ＆ 選択"), this);
    label->setGeometry(du.rect(0, 0, 56, 11));
    label->setAlignment(Qt::AlignCenter);

    auto* solid = makeButton(this, "1014", "通常表示", du.rect(60, 0, 42, 12));
    auto* wire = makeButton(this, "1015", "ワイヤーフレーム", du.rect(102, 0, 54, 12));
    auto* through = makeButton(this, "1039", "ポイント 透過", du.rect(162, 0, 48, 12));
    through->setCheckable(true);
    through->setChecked(true);
    auto* reset = makeButton(this, "1041", "初期位置", du.rect(0, 12, 50, 13));

    connect(solid, &QPushButton::clicked, this, [this] { emit drawModeChosen(4); });
    connect(wire, &QPushButton::clicked, this, [this] { emit drawModeChosen(3); });
    connect(through, &QPushButton::toggled, this, &GLToolDialog::markersThroughChanged);
    connect(reset, &QPushButton::clicked, this, &GLToolDialog::cameraResetRequested);

    // Type buttons stand in families (L, S, PL/PS) with a wider step between families.
    const QPoint origin = du.rect(60, 13, 1, 1).topLeft();
    int x = origin.x();
    QList<RADIOFrame*> ring;
    for (size_t i = 0; i < kShapeTypes.size(); ++i) {
        const ShapeTypeInfo& info = kShapeTypes[i];
        if (i > 0 && info.family != kShapeTypes[i - 1].family) {
            x += kFamilyStep - kTypeButtonWidth;
        }
        auto* button = new RADIOFrame(QString::fromUtf8(info.caption), static_cast<int>(i), this);
        button->setObjectName(QString::number(1020 + static_cast<int>(i)));
        button->setGeometry(x, origin.y(), kTypeButtonWidth, kTypeButtonHeight);
        button->setFace(QImage(resources::shapeTypeFace(info.face)));
        const int32_t type = info.value;
        connect(button, &RADIOFrame::picked, this, [this, type] { emit typeChosen(type); });
        m_typeButtons[i] = button;
        ring.append(button);
        x += kTypeButtonWidth;
    }
    RADIOFrame::linkRing(ring);
    m_typeButtons[0]->select(1);

    // Digits typed into the chooser would pick by first letter ("1" -> "16"); the preview's
    // keys 0-4 choose by position instead, so the chooser never takes the focus.
    for (const LodLevel& level : kLodLevels) {
        m_lodChooser->addItem(QString::fromLatin1(level.label));
    }
    m_lodChooser->setObjectName(QStringLiteral("lodLevel"));
    m_lodChooser->setToolTip(QStringLiteral(
        "Faces per side of the mesh viewers build from the map (keys 0-4 in the preview)"));
    m_lodChooser->setFocusPolicy(Qt::NoFocus);
    m_lodChooser->setGeometry(x + kLodChooserGap, origin.y(), kLodChooserWidth, kTypeButtonHeight);
    connect(m_lodChooser, &QComboBox::activated, this, &GLToolDialog::lodLevelChosen);
}

void GLToolDialog::showLodLevel(int level) {
    m_lodChooser->setCurrentIndex(level);
}

RADIOFrame* GLToolDialog::typeButton(int32_t type) const {
    for (size_t i = 0; i < kShapeTypes.size(); ++i) {
        if (kShapeTypes[i].value == type) {
            return m_typeButtons[i];
        }
    }
    return nullptr;
}

void GLToolDialog::showType(int32_t type) {
    if (RADIOFrame* button = typeButton(type)) {
        button->select(1);
    }
}

void GLToolDialog::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), kBackground);
}

} // namespace tesk
