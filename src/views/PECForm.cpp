#include "PECForm.h"

#include "COLORFrame.h"
#include "DialogUnits.h"
#include "FocusSlider.h"
#include "TextMarks.h"
#include "UiFonts.h"

#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

namespace tesk {

namespace {

struct GroupLabel {
    const char* text;
    int y;
    int height;
};

// The panel's template size in dialog units.
constexpr int kPanelWidth = 255;
constexpr int kPanelHeight = 224;

constexpr GroupLabel kGroupLabels[] = {{TESK_TEXT("tesk::PECForm", "移動"), 0, 12},
                                       {TESK_TEXT("tesk::PECForm", "拡大"), 61, 8},
                                       {TESK_TEXT("tesk::PECForm", "回転"), 138, 9}};

/// A slider's tip by what it drives: the axis as %1, the change of one step as %2.
constexpr const char* kSliderTips[] = {
    TESK_TEXT("tesk::PECForm", "選んだ点を %1 の向きに動かします: 1 目盛りで %2"),
    TESK_TEXT("tesk::PECForm", "選んだ点を %1 の向きに拡大・縮小します: 1 目盛りで %2 ％"),
    TESK_TEXT("tesk::PECForm", "選んだ点を %1 軸のまわりに回します: 1 目盛りで %2 度。"
                               "離すとつまみは中央に戻り、回転は残ります"),
};

// The three-column form, in dialog units: a row per slider under its group's label, the
// point-slide buttons under the move column (which has one row fewer than scale).
constexpr int kColumnLabelHeight = 12;
constexpr int kRowPitch = 16;
constexpr int kColumnSliderX = 26;
constexpr int kColumnGap = 4;
constexpr int kMinSliderWidth = 36;
constexpr int kSlideTop = kColumnLabelHeight + 3 * kRowPitch + 2;
constexpr int kColumnsHeight = kSlideTop + 26;

int groupOf(TransformKind kind) {
    return kind == TransformKind::Move ? 0 : kind == TransformKind::Scale ? 1 : 2;
}

QPushButton* makeButton(QWidget* parent, int id, const QString& text, const QString& tip) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::number(id));
    button->setToolTip(tip);
    return button;
}

QString sliderTip(const TransformSliderInfo& info) {
    const QString axis =
        info.axis < 0 ? PECForm::tr("X、Y、Z のすべて") : QString::fromLatin1(info.caption);
    const double step =
        static_cast<double>(info.factor) * (info.kind == TransformKind::Scale ? 100 : 1);
    return PECForm::tr(kSliderTips[groupOf(info.kind)]).arg(axis).arg(step);
}

} // namespace

PECForm::PECForm(Ctesk001Doc& doc, QWidget* parent)
    : QWidget(parent), m_control(doc, [this] { showPositions(); }) {
    setFont(pointFont("MS UI Gothic", 90));
    const DialogUnits du(font());
    setMinimumSize(du.size(3 * (kColumnSliderX + kMinSliderWidth + kColumnGap), kColumnsHeight));

    for (size_t g = 0; g < std::size(kGroupLabels); ++g) {
        m_groupLabels[g] = new QLabel(tr(kGroupLabels[g].text), this);
    }
    for (size_t i = 0; i < SLIDER_COUNT; ++i) {
        const TransformSliderInfo& info = kTransformSliders[i];
        const QString caption = QString::fromUtf8(info.caption);
        const QString tip = sliderTip(info);
        if (info.captionId != 0) {
            const Rgb c = kAxisColours[static_cast<size_t>(info.axis)];
            auto* frame = new COLORFrame(caption, QColor(c.red, c.green, c.blue), this);
            frame->setObjectName(QString::number(info.captionId));
            frame->setFocusPolicy(Qt::NoFocus);
            m_captions[i] = frame;
        } else {
            m_captions[i] = new QLabel(caption, this);
        }
        m_captions[i]->setToolTip(tip);

        auto* slider = new FocusSlider(this);
        slider->setObjectName(QString::number(info.sliderId));
        slider->setToolTip(tip);
        slider->setTickPosition(QSlider::NoTicks);
        slider->setRange(info.minimum, info.maximum);
        slider->setSingleStep(info.lineStep);
        slider->setPageStep(info.pageStep);
        slider->setValue(0);
        m_sliders[i] = slider;
        connectSlider(static_cast<TransformSlider>(i));
    }

    m_slideButtons[0] = makeButton(this, 1052, tr("ポイントスライド"),
                                   tr("どのラインも点の順番を一つずらします: 下の < と >"));
    m_slideButtons[0]->setFlat(true);
    m_slideButtons[0]->setFocusPolicy(Qt::NoFocus);
    m_slideButtons[1] =
        makeButton(this, 1058, QStringLiteral("<"), tr("どのラインも点の順番を一つ前にずらします"));
    m_slideButtons[2] = makeButton(this, 1059, QStringLiteral(">"),
                                   tr("どのラインも点の順番を一つ後ろにずらします"));
    connect(m_slideButtons[1], &QPushButton::clicked, this, [this] { m_control.slide(+1); });
    connect(m_slideButtons[2], &QPushButton::clicked, this, [this] { m_control.slide(-1); });
    arrange(minimumSize());
}

void PECForm::resizeEvent(QResizeEvent* event) {
    arrange(event->size());
    QWidget::resizeEvent(event);
}

void PECForm::arrange(QSize size) {
    const DialogUnits du(font());
    const QSize designed = du.size(kPanelWidth, kPanelHeight);
    if (size.width() >= designed.width() && size.height() >= designed.height()) {
        for (size_t g = 0; g < std::size(kGroupLabels); ++g) {
            m_groupLabels[g]->setGeometry(
                du.rect(0, kGroupLabels[g].y, 66, kGroupLabels[g].height));
        }
        for (size_t i = 0; i < SLIDER_COUNT; ++i) {
            const TransformSliderInfo& info = kTransformSliders[i];
            m_captions[i]->setGeometry(
                du.rect(info.captionX, info.captionY, info.captionWidth, info.captionHeight));
            m_sliders[i]->setGeometry(du.rect(kSliderX, info.sliderY, kSliderWidth, kSliderHeight));
        }
        m_slideButtons[0]->setGeometry(du.rect(0, 199, 48, 12));
        m_slideButtons[1]->setGeometry(du.rect(0, 210, 24, 14));
        m_slideButtons[2]->setGeometry(du.rect(24, 210, 24, 14));
        return;
    }
    const int columnWidth = size.width() / 3;
    const int sliderX = du.x(kColumnSliderX);
    std::array<int, 3> rows{};
    for (size_t g = 0; g < std::size(kGroupLabels); ++g) {
        const int left = static_cast<int>(g) * columnWidth;
        m_groupLabels[g]->setGeometry(left, 0, columnWidth, du.y(kColumnLabelHeight));
    }
    for (size_t i = 0; i < SLIDER_COUNT; ++i) {
        const TransformSliderInfo& info = kTransformSliders[i];
        const int g = groupOf(info.kind);
        const int left = g * columnWidth;
        const int top = kColumnLabelHeight + rows[static_cast<size_t>(g)]++ * kRowPitch;
        const QRect caption = du.rect(0, top, info.captionWidth, 14);
        m_captions[i]->setGeometry(caption.translated(left, 0));
        const int width = std::max(columnWidth - sliderX - du.x(kColumnGap), 1);
        m_sliders[i]->setGeometry(left + sliderX, du.y(top + 1), width, du.y(kSliderHeight));
    }
    m_slideButtons[0]->setGeometry(du.rect(0, kSlideTop, 48, 12));
    m_slideButtons[1]->setGeometry(du.rect(0, kSlideTop + 11, 24, 14));
    m_slideButtons[2]->setGeometry(du.rect(24, kSlideTop + 11, 24, 14));
}

void PECForm::connectSlider(TransformSlider s) {
    QSlider* slider = m_sliders[s];
    const auto report = [this, s](int value, SliderPhase phase) {
        m_control.sliderChanged(s, value, phase);
    };
    // A drag applies on every move of the thumb and once more, as the end of tracking, on
    // release. A change while the thumb is not held (arrow keys, page steps, the wheel) is a
    // step followed at once by its end of tracking.
    connect(slider, &QSlider::sliderMoved, this,
            [report](int value) { report(value, SliderPhase::Track); });
    connect(slider, &QSlider::sliderReleased, this,
            [report, slider] { report(slider->value(), SliderPhase::Release); });
    connect(slider, &QSlider::valueChanged, this, [report, slider](int value) {
        if (!slider->isSliderDown()) {
            report(value, SliderPhase::Release);
        }
    });
}

void PECForm::showPositions() {
    for (size_t i = 0; i < SLIDER_COUNT; ++i) {
        const int position = m_control.positions()[i];
        if (m_sliders[i]->value() != position) {
            const QSignalBlocker quiet(m_sliders[i]);
            m_sliders[i]->setValue(position);
        }
    }
}

} // namespace tesk
