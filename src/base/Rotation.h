#pragma once
// Rotations as unit quaternions (x, y, z, w), composed in the order they are applied, and
// their matrices for row vectors (a point p becomes p x M): the preview's camera and the
// transform panel's rotate sliders turn with the same arithmetic.

#include <array>

namespace tesk {

using Quaternion = std::array<float, 4>;

inline constexpr Quaternion kIdentityRotation = {0.0f, 0.0f, 0.0f, 1.0f};

/// q1 followed by q2 (the product q2 q1 in the usual notation).
Quaternion followedBy(const Quaternion& q1, const Quaternion& q2);
/// Roll about Z, then pitch about X, then yaw about Y; angles in radians.
Quaternion rotationYawPitchRoll(float yaw, float pitch, float roll);
/// The rotation matrix of a unit quaternion for row vectors (p x M), 16 floats row by row.
std::array<float, 16> rotationMatrixOf(const Quaternion& q);
/// Scaled back to unit length, as products of unit quaternions drift from it; a zero or
/// broken quaternion becomes the identity.
Quaternion normalized(const Quaternion& q);

} // namespace tesk
