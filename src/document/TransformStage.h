#pragma once
// The move, scale and rotate stages of the transform panel and the 4 x 4 matrices they build.
// Matrices take row vectors: a point p becomes p x M.

#include "Point3.h"
#include "Rotation.h"

#include <array>
#include <cstdint>

namespace tesk {

/// A 4 x 4 matrix, m[row * 4 + column].
struct Matrix4 {
    std::array<float, 16> m = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Matrix4 identity() { return {}; }
    static Matrix4 translation(Point3 t);
    static Matrix4 scaling(Point3 s);
    static Matrix4 rotation(const Quaternion& q);

    float at(int row, int column) const { return m[static_cast<size_t>(row * 4 + column)]; }
    /// p x M with p = (x, y, z, 1), divided by the resulting w unless that is 0.
    Point3 transform(Point3 p) const;

    friend Matrix4 operator*(const Matrix4& a, const Matrix4& b);
    friend bool operator==(const Matrix4& a, const Matrix4& b) = default;
};

/// What a stage does to the selected points.
enum class TransformKind : int32_t { Move = 1, Scale = 2, Rotate = 3 };

/// Radians per degree, as the rotate sliders convert their angles.
inline constexpr float kRadiansPerDegree = 0.017453292f;

/// One stage: its parameters (translation, scale factors or angles in degrees) and the matrix
/// they were last built into. The rotate stage also carries its accumulated turn.
struct TransformStage {
    explicit TransformStage(TransformKind k) : kind(k) { reset(); }

    /// Back to doing nothing: parameters 0 (scale factors 1), identity turn and matrix.
    void reset();
    /// Builds the matrix from the parameters. A scale pivots about `pivot`; a rotate turns
    /// about the origin, appends the turn of its angles to the accumulated one and zeroes them.
    void build(Point3 pivot);

    TransformKind kind;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    Quaternion rotation = kIdentityRotation;
    Matrix4 matrix;
};

} // namespace tesk
