#pragma once
// Where a slider's handle stands for a value, for driving sliders with the mouse.

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace tesk::testing {

/// The centre of the handle of `slider` at `value`, in the slider's own coordinates.
inline QPoint sliderHandleCentre(const QSlider* slider, int value) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
        .center();
}

} // namespace tesk::testing
