#include "GLCamera.h"

#include <algorithm>
#include <cmath>

namespace tesk {

void GLCamera::reset() {
    const int keptKind = kind;
    *this = GLCamera{};
    kind = keptKind;
}

void GLCamera::dragBy(int dx, int dy, int w, int h) {
    if (w <= 0 || h <= 0) {
        return;
    }
    if (dx == 0 && dy == 0) {
        // No motion keeps the base exactly, without a round trip through the arithmetic.
        rotation = baseRotation;
    } else {
        const float pitch = -static_cast<float>(dy) / static_cast<float>(h);
        const float roll = -static_cast<float>(dx) / static_cast<float>(w);
        Quaternion turned = followedBy(baseRotation, rotationYawPitchRoll(0.0f, pitch, roll));
        // Products of unit quaternions drift from unit length over many drags; a longer one
        // would scale the view.
        const float norm = std::sqrt(turned[0] * turned[0] + turned[1] * turned[1] +
                                     turned[2] * turned[2] + turned[3] * turned[3]);
        for (float& c : turned) {
            c /= norm;
        }
        rotation = turned;
    }
    rotationMatrix = rotationMatrixOf(rotation);
}

void GLCamera::finishDrag(int dx, int dy, int w, int h) {
    dragBy(dx, dy, w, h);
    baseRotation = rotation;
}

void GLCamera::zoom(int wheelDelta) {
    const float moved = distance - static_cast<float>(wheelDelta) * ZOOM_PER_WHEEL_UNIT;
    distance = std::clamp(moved, MIN_DISTANCE, MAX_DISTANCE);
}

} // namespace tesk
