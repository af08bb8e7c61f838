#pragma once
// The 3-D preview's camera: distance, pan and rotation, as the document keeps three of them,
// and the arithmetic of turning it by a drag and zooming it by the wheel.

#include "Point3.h"
#include "Rotation.h"

#include <array>

namespace tesk {

struct GLCamera {
    static constexpr Quaternion IDENTITY_ROTATION = {0.0f, 0.0f, 0.0f, 1.0f};
    static constexpr float DEFAULT_DISTANCE = 5.0f;
    static constexpr float MIN_DISTANCE = 1.0f;
    static constexpr float MAX_DISTANCE = 100.0f;
    /// Distance per wheel unit; a notch is 120 units.
    static constexpr float ZOOM_PER_WHEEL_UNIT = 0.002f;

    /// Restores every default except `kind`.
    void reset();

    /// Current rotation := base rotation followed by the turn of a drag whose pointer moved
    /// (dx, dy) = button-down position minus pointer position over a w x h view: a drag across
    /// the whole width turns the view one radian about the vertical axis. An empty view
    /// changes nothing.
    void dragBy(int dx, int dy, int w, int h);
    /// The last step of a drag: turns as dragBy does, then keeps the result as the base.
    void finishDrag(int dx, int dy, int w, int h);
    /// Moves the camera closer for positive wheel deltas, within MIN_DISTANCE .. MAX_DISTANCE.
    void zoom(int wheelDelta);

    int kind = 0; ///< 1 = perspective, set by the preview when it is attached
    float distance = DEFAULT_DISTANCE;
    Point3 pan;                                  ///< applied after the rotation
    Quaternion baseRotation = IDENTITY_ROTATION; ///< where the last drag ended
    Quaternion rotation = IDENTITY_ROTATION;     ///< the current rotation
    /// Matrix of `rotation`, row-vector convention, 16 floats in storage order.
    std::array<float, 16> rotationMatrix = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

} // namespace tesk
