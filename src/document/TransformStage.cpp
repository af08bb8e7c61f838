#include "TransformStage.h"

#include <cmath>

namespace tesk {

Quaternion Quaternion::rotationAxis(Point3 axis, float radians) {
    const float s = std::sin(radians * 0.5f);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(radians * 0.5f)};
}

Quaternion Quaternion::yawPitchRoll(float yaw, float pitch, float roll) {
    const Quaternion aboutZ = rotationAxis({0, 0, 1}, roll);
    const Quaternion aboutX = rotationAxis({1, 0, 0}, pitch);
    const Quaternion aboutY = rotationAxis({0, 1, 0}, yaw);
    return followedBy(followedBy(aboutZ, aboutX), aboutY);
}

Quaternion Quaternion::normalized() const {
    const float len = std::sqrt(x * x + y * y + z * z + w * w);
    if (!(len > 0.0f) || !std::isfinite(len)) {
        return {};
    }
    const float inv = 1.0f / len;
    return {x * inv, y * inv, z * inv, w * inv};
}

Quaternion followedBy(Quaternion a, Quaternion b) {
    // The Hamilton product b * a: turning by a first, then by b.
    return {b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y,
            b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
            b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w,
            b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z};
}

Matrix4 Matrix4::translation(Point3 t) {
    Matrix4 r;
    r.m[12] = t.x;
    r.m[13] = t.y;
    r.m[14] = t.z;
    return r;
}

Matrix4 Matrix4::scaling(Point3 s) {
    Matrix4 r;
    r.m[0] = s.x;
    r.m[5] = s.y;
    r.m[10] = s.z;
    return r;
}

Matrix4 Matrix4::rotation(Quaternion q) {
    const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    Matrix4 r;
    r.m = {1.0f - 2.0f * (yy + zz),
           2.0f * (xy + wz),
           2.0f * (xz - wy),
           0.0f,
           2.0f * (xy - wz),
           1.0f - 2.0f * (xx + zz),
           2.0f * (yz + wx),
           0.0f,
           2.0f * (xz + wy),
           2.0f * (yz - wx),
           1.0f - 2.0f * (xx + yy),
           0.0f,
           0.0f,
           0.0f,
           0.0f,
           1.0f};
    return r;
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.at(row, k) * b.at(k, col);
            }
            r.m[static_cast<size_t>(row * 4 + col)] = sum;
        }
    }
    return r;
}

Point3 Matrix4::transform(Point3 p) const {
    const auto column = [this, p](int c) {
        return p.x * at(0, c) + p.y * at(1, c) + p.z * at(2, c) + at(3, c);
    };
    const Point3 out{column(0), column(1), column(2)};
    const float w = column(3);
    return w != 0.0f && w != 1.0f ? out * (1.0f / w) : out;
}

void TransformStage::reset() {
    const float neutral = kind == TransformKind::Scale ? 1.0f : 0.0f;
    x = y = z = neutral;
    rotation = {};
    matrix = Matrix4::identity();
}

void TransformStage::build(Point3 pivot) {
    switch (kind) {
    case TransformKind::Move:
        matrix = Matrix4::translation({x, y, z});
        break;
    case TransformKind::Scale:
        matrix = Matrix4::translation(Point3{} - pivot) * Matrix4::scaling({x, y, z}) *
                 Matrix4::translation(pivot);
        break;
    case TransformKind::Rotate: {
        const Quaternion step = Quaternion::yawPitchRoll(
            y * kRadiansPerDegree, x * kRadiansPerDegree, z * kRadiansPerDegree);
        // Renormalised so that many drags never shrink or grow the selection.
        rotation = followedBy(rotation, step).normalized();
        matrix = Matrix4::rotation(rotation);
        x = y = z = 0.0f;
        break;
    }
    }
}

} // namespace tesk
