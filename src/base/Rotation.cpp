#include "Rotation.h"

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

Quaternion normalized(const Quaternion& q) {
    const float norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (!(norm > 0.0f) || !std::isfinite(norm)) {
        return kIdentityRotation;
    }
    return {q[0] / norm, q[1] / norm, q[2] / norm, q[3] / norm};
}

} // namespace tesk
