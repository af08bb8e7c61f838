#pragma once
// The ten sliders of the transform panel as one table: what each drives, its range, steps and
// factor, its coloured axis caption, and where the panel places it (in dialog units).

#include "TransformStage.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace tesk {

/// Index of a slider in kTransformSliders.
enum TransformSlider : size_t {
    SLIDER_MOVE_X,
    SLIDER_MOVE_Y,
    SLIDER_MOVE_Z,
    SLIDER_SCALE_X,
    SLIDER_SCALE_Y,
    SLIDER_SCALE_Z,
    SLIDER_SCALE_ALL,
    SLIDER_ROTATE_X,
    SLIDER_ROTATE_Y,
    SLIDER_ROTATE_Z,
    SLIDER_COUNT
};

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

/// Axis colours of the editing views: X blue, Y green, Z red.
inline constexpr std::array<Rgb, 3> kAxisColours = {{{0, 0, 200}, {0, 200, 0}, {200, 0, 0}}};

struct TransformSliderInfo {
    int sliderId;        ///< control id of the slider
    int captionId;       ///< control id of the coloured axis caption; 0 for a plain caption
    const char* caption; ///< "X", "Y", "Z", or "XYZ" for the slider of all three scale axes
    TransformKind kind;
    int axis; ///< 0 = X, 1 = Y, 2 = Z; -1 = all three
    int minimum;
    int maximum;
    int lineStep;
    int pageStep;
    /// Parameter per slider unit: distance for a move, factor change for a scale, degrees
    /// for a rotate.
    float factor;
    int captionX, captionY, captionWidth, captionHeight; ///< dialog units
    int sliderY;                                         ///< dialog units
};

inline constexpr int kSliderX = 32;
inline constexpr int kSliderWidth = 222;
inline constexpr int kSliderHeight = 12;

// clang-format off
inline constexpr std::array<TransformSliderInfo, SLIDER_COUNT> kTransformSliders = {{
    {1010, 1043, "X",   TransformKind::Move,   0,  -200, 200, 5, 10, 0.01f, 0,  12, 23, 14,  14},
    {1011, 1044, "Y",   TransformKind::Move,   1,  -200, 200, 5, 10, 0.01f, 0,  28, 23, 14,  30},
    {1015, 1045, "Z",   TransformKind::Move,   2,  -200, 200, 5, 10, 0.01f, 0,  44, 23, 14,  46},
    {1018, 1046, "X",   TransformKind::Scale,  0,  -100, 100, 1, 5,  0.01f, 1,  72, 23, 14,  74},
    {1020, 1047, "Y",   TransformKind::Scale,  1,  -100, 100, 1, 5,  0.01f, 1,  88, 23, 14,  90},
    {1022, 1048, "Z",   TransformKind::Scale,  2,  -100, 100, 1, 5,  0.01f, 1, 104, 23, 14, 106},
    {1032, 0,    "XYZ", TransformKind::Scale,  -1, -100, 100, 1, 5,  0.01f, 0, 122, 24, 12, 123},
    {1024, 1049, "X",   TransformKind::Rotate, 0,  -180, 180, 5, 10, 1.0f,  1, 149, 23, 14, 150},
    {1026, 1050, "Y",   TransformKind::Rotate, 1,  -180, 180, 1, 5,  1.0f,  1, 165, 23, 14, 166},
    {1028, 1051, "Z",   TransformKind::Rotate, 2,  -180, 180, 1, 5,  1.0f,  1, 181, 23, 14, 182},
}};
// clang-format on

} // namespace tesk
