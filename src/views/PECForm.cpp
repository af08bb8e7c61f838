#include "PECForm.h"

#include "COLORFrame.h"
#include "DialogUnits.h"
#include "UiFonts.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

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

constexpr GroupLabel kGroupLabels[] = {{"移動", 0, 12}, {"拡大", 61, 8}, {"回転", 138, 9}};

QPushButton* makeButton(QWidget* parent, int id, const char* text, const QRect& rect) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::number(id));
    button->setGeometry(rect);
    return button;
}

} // namespace

PECForm::PECForm(Ctesk001Doc& doc, QWidget* parent)
    : QWidget(parent), m_control(doc, [this] { showPositions(); }) {
    setFont(pointFont("MS UI Gothic", 90));
    const DialogUnits du(font());
    setMinimumSize(du.size(kPanelWidth, kPanelHeight));

    for (const GroupLabel& g : kGroupLabels) {
        auto* label = new QLabel(QString::fromUtf8(g.text), this);
        label->setGeometry(du.rect(0, g.y, 66, g.height));
    }
    for (size_t i = 0; i < SLIDER_COUNT; ++i) {
        const TransformSliderInfo& info = kTransformSliders[i];
        const QString caption = QString::fromUtf8(info.caption);
        const QRect captionRect =
            du.rect(info.captionX, info.captionY, info.captionWidth, info.captionHeight);
        if (info.captionId != 0) {
            const Rgb c = kAxisColours[static_cast<size_t>(info.axis)];
            auto* frame = new COLORFrame(caption, QColor(c.red, c.green, c.blue), this);
            frame->setObjectName(QString::number(info.captionId));
            frame->setFocusPolicy(Qt::NoFocus);
            frame->setGeometry(captionRect);
        } else {
            (new QLabel(caption, this))->setGeometry(captionRect);
        }

        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString::number(info.sliderId));
        slider->setTickPosition(QSlider::NoTicks);
        slider->setRange(info.minimum, info.maximum);
        slider->setSingleStep(info.lineStep);
        slider->setPageStep(info.pageStep);
        slider->setValue(0);
        slider->setGeometry(du.rect(kSliderX, info.sliderY, kSliderWidth, kSliderHeight));
        m_sliders[i] = slider;
        connectSlider(static_cast<TransformSlider>(i));
    }

    auto* slideCaption = makeButton(this, 1052, "ポイントスライド", du.rect(0, 199, 48, 12));
    slideCaption->setFlat(true);
    slideCaption->setFocusPolicy(Qt::NoFocus);
    connect(makeButton(this, 1058, "<", du.rect(0, 210, 24, 14)), &QPushButton::clicked, this,
            [this] { m_control.slide(+1); });
    connect(makeButton(this, 1059, ">", du.rect(24, 210, 24, 14)), &QPushButton::clicked, this,
            [this] { m_control.slide(-1); });
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
