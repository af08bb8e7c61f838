#include "TransformStage.h"

namespace tesk {

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

Matrix4 Matrix4::rotation(const Quaternion& q) {
    Matrix4 r;
    r.m = rotationMatrixOf(q);
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
    rotation = kIdentityRotation;
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
        const Quaternion step = rotationYawPitchRoll(y * kRadiansPerDegree, x * kRadiansPerDegree,
                                                     z * kRadiansPerDegree);
        // Renormalised so that many drags never shrink or grow the selection.
        rotation = normalized(followedBy(rotation, step));
        matrix = Matrix4::rotation(rotation);
        x = y = z = 0.0f;
        break;
    }
    }
}

} // namespace tesk
