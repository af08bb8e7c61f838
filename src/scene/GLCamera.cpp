#include "GLCamera.h"

#include <algorithm>
#include <cmath>

namespace tesk {

Quaternion followedBy(const Quaternion& q1, const Quaternion& q2) {
    const auto [x1, y1, z1, w1] = q1;
    const auto [x2, y2, z2, w2] = q2;
    return {w2 * x1 + x2 * w1 + y2 * z1 - z2 * y1, w2 * y1 - x2 * z1 + y2 * w1 + z2 * x1,
            w2 * z1 + x2 * y1 - y2 * x1 + z2 * w1, w2 * w1 - x2 * x1 - y2 * y1 - z2 * z1};
}

Quaternion rotationYawPitchRoll(float yaw, float pitch, float roll) {
    const float sy = std::sin(yaw * 0.5f);
    const float cy = std::cos(yaw * 0.5f);
    const float sp = std::sin(pitch * 0.5f);
    const float cp = std::cos(pitch * 0.5f);
    const float sr = std::sin(roll * 0.5f);
    const float cr = std::cos(roll * 0.5f);
    return {sy * cp * sr + cy * sp * cr, sy * cp * cr - cy * sp * sr, cy * cp * sr - sy * sp * cr,
            cy * cp * cr + sy * sp * sr};
}

std::array<float, 16> rotationMatrixOf(const Quaternion& q) {
    const auto [x, y, z, w] = q;
    return {1.0f - 2.0f * (y * y + z * z),
            2.0f * (x * y + z * w),
            2.0f * (x * z - y * w),
            0.0f,
            2.0f * (x * y - z * w),
            1.0f - 2.0f * (x * x + z * z),
            2.0f * (y * z + x * w),
            0.0f,
            2.0f * (x * z + y * w),
            2.0f * (y * z - x * w),
            1.0f - 2.0f * (x * x + y * y),
            0.0f,
            0.0f,
            0.0f,
            0.0f,
            1.0f};
}

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
