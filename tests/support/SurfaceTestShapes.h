#pragma once
// Shapes the surface tests build from: the default shape, sphere-like and sheet-like nets.

#include "Point3.h"
#include "SPMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace tesk::testing {

/// A shape of `lineCount` lines of `pointsPerLine` points, point j of line i at f(i, j).
inline void makeShape(SPMesh& mesh, int pointsPerLine, int lineCount,
                      const std::function<Point3(int, int)>& f) {
    mesh.reset(pointsPerLine, lineCount);
    for (int i = 0; i < lineCount; ++i) {
        for (int j = 0; j < pointsPerLine; ++j) {
            mesh.setPoint(j, i, f(i, j));
        }
    }
}

/// Lines are circles of latitude from pole to pole; lines 0 and n-1 are single points.
inline void makeSphere(SPMesh& mesh, int pointsPerLine, int lineCount) {
    makeShape(mesh, pointsPerLine, lineCount, [&](int i, int j) {
        const double theta = M_PI * i / (lineCount - 1);
        const double phi = 2.0 * M_PI * j / pointsPerLine;
        return Point3{static_cast<float>(std::sin(theta) * std::cos(phi)),
                      static_cast<float>(std::sin(theta) * std::sin(phi) * 0.8),
                      static_cast<float>(std::cos(theta))};
    });
}

/// A gently curved sheet: x along the lines, y across them, z a bump; no two points equal.
inline void makeSheet(SPMesh& mesh, int pointsPerLine, int lineCount) {
    makeShape(mesh, pointsPerLine, lineCount, [](int i, int j) {
        const float x = static_cast<float>(j) + 0.1f * static_cast<float>(i);
        const float y = static_cast<float>(i) * 1.5f;
        return Point3{x, y, std::sin(x * 0.7f) + 0.3f * std::cos(y)};
    });
}

inline ::testing::AssertionResult near(Point3 a, Point3 b, float tolerance = 1e-5f) {
    if (std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance &&
        std::fabs(a.z - b.z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

inline Point3 vertex(const Point3* grid, int row, int column) {
    return grid[row * 64 + column];
}

inline bool rowIsOnePoint(const Point3* grid, int row) {
    for (int c = 1; c < 64; ++c) {
        if (!(vertex(grid, row, c) == vertex(grid, row, 0))) {
            return false;
        }
    }
    return true;
}

} // namespace tesk::testing
