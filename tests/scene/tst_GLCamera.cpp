// Turning the preview's camera by a drag and zooming it by the wheel, without a window.
#include "GLCamera.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

Quaternion aboutZ(float a) {
    return {0.0f, 0.0f, std::sin(a / 2), std::cos(a / 2)};
}
Quaternion aboutX(float a) {
    return {std::sin(a / 2), 0.0f, 0.0f, std::cos(a / 2)};
}

void expectNear(const Quaternion& actual, const Quaternion& expected) {
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-6f) << "component " << i;
    }
}

/// Where the row vector (1, 0, 0) goes under a row-vector matrix.
Point3 turnedX(const std::array<float, 16>& m) {
    return {m[0], m[1], m[2]};
}

} // namespace

TEST(CameraRotation, ComposesInTheOrderTheyAreApplied) {
    const float quarter = static_cast<float>(M_PI / 2);
    // Z takes X to Y, then X takes Y to Z; the other way round X ends on Y.
    const Point3 zThenX = turnedX(rotationMatrixOf(followedBy(aboutZ(quarter), aboutX(quarter))));
    const Point3 xThenZ = turnedX(rotationMatrixOf(followedBy(aboutX(quarter), aboutZ(quarter))));
    EXPECT_NEAR(zThenX.z, 1.0f, 1e-6f);
    EXPECT_NEAR(xThenZ.y, 1.0f, 1e-6f);
    // Roll about Z first, then pitch about X; yaw is about Y.
    expectNear(rotationYawPitchRoll(0.0f, 0.3f, 0.7f), followedBy(aboutZ(0.7f), aboutX(0.3f)));
    expectNear(rotationYawPitchRoll(0.3f, 0.0f, 0.0f),
               {0.0f, std::sin(0.15f), 0.0f, std::cos(0.15f)});
}

TEST(CameraRotation, DragTurnsFromTheBaseAndTheEndKeepsIt) {
    GLCamera camera;
    camera.dragBy(-400, 0, 400, 300); // pointer moved right by the whole width
    expectNear(camera.rotation, aboutZ(1.0f));
    EXPECT_NEAR(turnedX(camera.rotationMatrix).y, std::sin(1.0f), 1e-6f);
    EXPECT_EQ(camera.baseRotation, GLCamera::IDENTITY_ROTATION);

    camera.finishDrag(-200, 0, 400, 300); // each move turns from the base, not the last move
    expectNear(camera.baseRotation, aboutZ(0.5f));
    camera.finishDrag(-200, 0, 400, 300);
    camera.finishDrag(0, -300, 400, 300); // then down by the whole height
    expectNear(camera.rotation, followedBy(aboutZ(1.0f), aboutX(1.0f)));

    // No motion, or no view, changes nothing at all.
    const GLCamera before = camera;
    camera.finishDrag(0, 0, 400, 300);
    camera.dragBy(-50, 20, 0, 300);
    camera.dragBy(-50, 20, 400, 0);
    EXPECT_EQ(camera.rotation, before.rotation);
    EXPECT_EQ(camera.baseRotation, before.baseRotation);
    EXPECT_EQ(camera.rotationMatrix, before.rotationMatrix);

    // Thousands of drags keep a unit rotation, which does not scale the view.
    for (int i = 0; i < 5000; ++i) {
        camera.finishDrag(-37 + i % 11, 23 - i % 7, 397, 311);
    }
    const auto [x, y, z, w] = camera.rotation;
    EXPECT_NEAR(x * x + y * y + z * z + w * w, 1.0f, 1e-5f);
}

TEST(CameraZoom, NotchesMoveTheCameraWithinItsLimits) {
    GLCamera camera;
    for (int notch = 0; notch < 3; ++notch) {
        camera.zoom(120);
    }
    EXPECT_NEAR(camera.distance, 4.28f, 1e-5f);
    for (int step = 0; step < 60; ++step) {
        camera.zoom(-2); // high-resolution wheels send small deltas
    }
    EXPECT_NEAR(camera.distance, 4.52f, 1e-4f);
    camera.zoom(INT_MAX);
    EXPECT_EQ(camera.distance, GLCamera::MIN_DISTANCE);
    camera.zoom(INT_MIN);
    EXPECT_EQ(camera.distance, GLCamera::MAX_DISTANCE);
    camera.zoom(1);
    EXPECT_NEAR(camera.distance, 99.998f, 1e-4f);
}
