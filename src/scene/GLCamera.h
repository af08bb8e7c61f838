#pragma once
// The 3-D preview's camera: distance, pan and rotation, as the document keeps three of them.

#include "Point3.h"

#include <array>

namespace tesk {

struct GLCamera {
    /// Quaternion (x, y, z, w) of the identity rotation.
    static constexpr std::array<float, 4> IDENTITY_ROTATION = {0.0f, 0.0f, 0.0f, 1.0f};
    static constexpr float DEFAULT_DISTANCE = 5.0f;
    static constexpr float MIN_DISTANCE = 1.0f;
    static constexpr float MAX_DISTANCE = 100.0f;

    /// Restores every default except `kind`.
    void reset();

    int kind = 0; ///< 1 = perspective, set by the preview when it is attached
    float distance = DEFAULT_DISTANCE;
    Point3 pan;                                            ///< applied after the rotation
    std::array<float, 4> baseRotation = IDENTITY_ROTATION; ///< where the last drag ended
    std::array<float, 4> rotation = IDENTITY_ROTATION;     ///< the current rotation
    /// Matrix of `rotation`, row-vector convention, 16 floats in storage order.
    std::array<float, 16> rotationMatrix = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

} // namespace tesk
