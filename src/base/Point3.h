#pragma once
// A 3-D point or vector of single-precision floats: control points and grid vertices.

#include <cmath>

namespace tesk {

struct Point3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    friend constexpr Point3 operator+(Point3 a, Point3 b) {
        return {a.x + b.x, a.y + b.y, a.z + b.z};
    }
    friend constexpr Point3 operator-(Point3 a, Point3 b) {
        return {a.x - b.x, a.y - b.y, a.z - b.z};
    }
    friend constexpr Point3 operator*(Point3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
    friend constexpr Point3 operator*(float s, Point3 a) { return {a.x * s, a.y * s, a.z * s}; }
    constexpr Point3& operator+=(Point3 b) { return *this = *this + b; }
    constexpr Point3& operator-=(Point3 b) { return *this = *this - b; }
    constexpr Point3& operator*=(float s) { return *this = *this * s; }
    friend constexpr bool operator==(Point3 a, Point3 b) = default;
};

constexpr float dot(Point3 a, Point3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

constexpr Point3 cross(Point3 a, Point3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float length(Point3 a) {
    return std::sqrt(dot(a, a));
}

/// Unit vector in the direction of a; the zero vector stays zero.
inline Point3 normalize(Point3 a) {
    const float len = length(a);
    return len > 0.0f ? a * (1.0f / len) : Point3{};
}

/// True when no coordinate is NaN or infinite. The shape only ever holds such points: the
/// curve and map arithmetic, the preview and the viewer have no meaning for any other.
inline bool isFinite(Point3 a) {
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z);
}

/// Per-component midpoint, (a + b) * 0.5 in single precision.
constexpr Point3 midpoint(Point3 a, Point3 b) {
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
}

} // namespace tesk
