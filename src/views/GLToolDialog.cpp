#include "GLToolDialog.h"

#include "DialogUnits.h"
#include "LodGrid.h"
#include "RADIOFrame.h"
#include "ShapeTypes.h"
#include "TeskResources.h"
#include "TextMarks.h"
#include "UiFonts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolButton>
#include <algorithm>
#include <limits>

namespace tesk {

namespace {
constexpr QColor kBackground(140, 140, 150);
constexpr int kTypeButtonWidth = 42;
constexpr int kTypeButtonHeight = 20;
constexpr int kFamilyStep = 44;
constexpr int kLodChooserGap = 6;
constexpr int kLodChooserWidth = 52;

QPushButton* makeButton(QWidget* parent, const char* id, const QString& text, const QString& tip,
                        const QRect& rect) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setToolTip(tip);
    button->setGeometry(rect);
    return button;
}

QString translated(const char* text) {
    return QCoreApplication::translate("tesk::GLToolDialog", text);
}

// What a type button's tip says: the kind of shape its stitching makes, and how it samples.
struct StitchText {
    int stitch;
    const char* text;
};
constexpr StitchText kStitchTexts[] = {
    {kStitchSphere, TESK_TEXT("tesk::GLToolDialog", "両端が極に閉じた形")},
    {kStitchPlane, TESK_TEXT("tesk::GLToolDialog", "開いたシート")},
    {kStitchCylinder, TESK_TEXT("tesk::GLToolDialog", "チューブ: どのラインも輪になります")},
    {kStitchTorus,
     TESK_TEXT("tesk::GLToolDialog",
               "リング: どのラインも輪になり、最後のラインは最初のラインにつながります")},
};
struct SamplingText {
    Sampling sampling;
    const char* text;
};
constexpr SamplingText kSamplingTexts[] = {
    {Sampling::Linear, TESK_TEXT("tesk::GLToolDialog", "直線")},
    {Sampling::Fixed,
     TESK_TEXT("tesk::GLToolDialog", "直線、一区間 8 ピクセル (8 点、9 ラインまで)")},
    {Sampling::CatmullRom, TESK_TEXT("tesk::GLToolDialog", "Catmull-Rom 曲線")},
    {Sampling::BSpline, TESK_TEXT("tesk::GLToolDialog", "B スプライン曲線")},
};

QString typeTip(const ShapeTypeInfo& info) {
    QString kind;
    for (const StitchText& entry : kStitchTexts) {
        kind = entry.stitch == info.stitch ? translated(entry.text) : kind;
    }
    QString along;
    QString across;
    for (const SamplingText& entry : kSamplingTexts) {
        along = entry.sampling == info.along ? translated(entry.text) : along;
        across = entry.sampling == info.across ? translated(entry.text) : across;
    }
    return translated(TESK_TEXT("tesk::GLToolDialog", "%1\nライン沿い: %2\nライン間: %3"))
        .arg(kind, along, across);
}
} // namespace

GLToolDialog::GLToolDialog(QWidget* parent)
    : QWidget(parent), m_lodChooser(new QComboBox(this)), m_texture(new QToolButton(this)) {
    setFont(pointFont("MS UI Gothic", 80));
    const DialogUnits du(font());

    auto* label = new QLabel(tr("確認 ＆ 選択"), this);
    label->setGeometry(du.rect(0, 0, 56, 11));
    label->setAlignment(Qt::AlignCenter);

    auto* solid = makeButton(this, "1014", tr("通常表示"), tr("面に陰をつけて形を表示します"),
                             du.rect(60, 0, 42, 12));
    auto* wire = makeButton(this, "1015", tr("ワイヤーフレーム"), tr("面の辺だけを表示します"),
                            du.rect(102, 0, 54, 12));
    auto* through =
        makeButton(this, "1039", tr("ポイント 透過"),
                   tr("押している間、形の向こう側の点も透けて見えます"), du.rect(162, 0, 48, 12));
    through->setCheckable(true);
    through->setChecked(true);
    // In the first row's free space: a click switches the texture, the arrow chooses it.
    m_texture->setObjectName(QStringLiteral("texture"));
    m_texture->setText(tr("テクスチャ"));
    m_texture->setCheckable(true);
    m_texture->setFocusPolicy(Qt::NoFocus);
    m_texture->setGeometry(du.rect(214, 0, 48, 12));
    m_texture->setToolTip(
        tr("ビューワと同じ貼り方でテクスチャを形に表示します: チェッカーか画像 (キー T)"));
    auto* textureMenu = new QMenu(m_texture);
    m_checker = textureMenu->addAction(tr("チェッカー"));
    m_picture = textureMenu->addAction(tr("画像…"));
    m_texture->setMenu(textureMenu);
    m_texture->setPopupMode(QToolButton::MenuButtonPopup);
    // The first row does not wrap: the bar is never narrower than its designed buttons. The
    // texture button shows only where it fits; key T works without it.
    setMinimumWidth(through->geometry().right() + 1);
    auto* reset = makeButton(this, "1041", tr("初期位置"), tr("カメラを最初の位置に戻します"),
                             du.rect(0, 12, 50, 13));

    connect(solid, &QPushButton::clicked, this, [this] { emit drawModeChosen(4); });
    connect(wire, &QPushButton::clicked, this, [this] { emit drawModeChosen(3); });
    connect(through, &QPushButton::toggled, this, &GLToolDialog::markersThroughChanged);
    connect(reset, &QPushButton::clicked, this, &GLToolDialog::cameraResetRequested);
    connect(m_texture, &QToolButton::clicked, this, &GLToolDialog::textureToggled);
    connect(m_checker, &QAction::triggered, this, &GLToolDialog::checkerChosen);
    connect(m_picture, &QAction::triggered, this, &GLToolDialog::pictureRequested);

    m_typeOrigin = du.rect(60, 13, 1, 1).topLeft();
    QList<RADIOFrame*> ring;
    for (size_t i = 0; i < kShapeTypes.size(); ++i) {
        const ShapeTypeInfo& info = kShapeTypes[i];
        auto* button = new RADIOFrame(QString::fromUtf8(info.caption), static_cast<int>(i), this);
        button->setObjectName(QString::number(1020 + static_cast<int>(i)));
        button->resize(kTypeButtonWidth, kTypeButtonHeight);
        button->setFace(QImage(resources::shapeTypeFace(info.face)));
        button->setToolTip(typeTip(info));
        const int32_t type = info.value;
        connect(button, &RADIOFrame::picked, this, [this, type] { emit typeChosen(type); });
        m_typeButtons[i] = button;
        ring.append(button);
    }
    RADIOFrame::linkRing(ring);
    m_typeButtons[0]->select(1);

    // Digits typed into the chooser would pick by first letter ("1" -> "16"); the preview's
    // keys 0-4 choose by position instead, so the chooser never takes the focus.
    for (const LodLevel& level : kLodLevels) {
        m_lodChooser->addItem(level.faces == 0 ? tr("全頂点") : QString::fromLatin1(level.label));
    }
    m_lodChooser->setObjectName(QStringLiteral("lodLevel"));
    m_lodChooser->setToolTip(
        tr("ビューワがマップから作るメッシュの一辺の面の数 (プレビューでキー 0〜4)"));
    m_lodChooser->setFocusPolicy(Qt::NoFocus);
    // Wide enough for the longest choice in either language.
    m_lodChooser->resize(std::max(kLodChooserWidth, m_lodChooser->sizeHint().width()),
                         kTypeButtonHeight);
    arrange(std::numeric_limits<int>::max(), true);
    connect(m_lodChooser, &QComboBox::activated, this, &GLToolDialog::lodLevelChosen);
}

int GLToolDialog::arrange(int width, bool place) const {
    // Families (L, S, PL/PS) stand apart by a wider step; a family that would pass the right
    // edge starts a new row under the first type button, and so does the chooser.
    const int rowStep = kTypeButtonHeight + 2;
    int x = m_typeOrigin.x();
    int y = m_typeOrigin.y();
    const auto wrapFor = [&](int span) {
        if (x > m_typeOrigin.x() && x + span > width) {
            x = m_typeOrigin.x();
            y += rowStep;
        }
    };
    for (size_t i = 0; i < kShapeTypes.size(); ++i) {
        const bool familyStart = i == 0 || kShapeTypes[i].family != kShapeTypes[i - 1].family;
        if (familyStart) {
            if (i > 0) {
                x += kFamilyStep - kTypeButtonWidth;
            }
            size_t end = i;
            while (end < kShapeTypes.size() && kShapeTypes[end].family == kShapeTypes[i].family) {
                ++end;
            }
            wrapFor(static_cast<int>(end - i) * kTypeButtonWidth);
        }
        if (place) {
            m_typeButtons[i]->move(x, y);
        }
        x += kTypeButtonWidth;
    }
    x += kLodChooserGap;
    wrapFor(m_lodChooser->width());
    if (place) {
        m_lodChooser->move(x, y);
    }
    return std::max(kHeight, y + kTypeButtonHeight + 2);
}

int GLToolDialog::heightForWidth(int width) const {
    return arrange(width, false);
}

void GLToolDialog::resizeEvent(QResizeEvent* event) {
    arrange(event->size().width(), true);
    m_texture->setVisible(m_texture->geometry().right() < event->size().width());
    QWidget::resizeEvent(event);
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
