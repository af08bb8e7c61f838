// Turning the preview's camera by a drag and zooming it by the wheel, without a window.
#include "GLCamera.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

constexpr float EPS = 1e-6f;

Quaternion aboutZ(float angle) {
    return {0.0f, 0.0f, std::sin(angle / 2), std::cos(angle / 2)};
}
Quaternion aboutX(float angle) {
    return {std::sin(angle / 2), 0.0f, 0.0f, std::cos(angle / 2)};
}

void expectQuaternion(const Quaternion& actual, const Quaternion& expected) {
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual[i], expected[i], EPS) << "component " << i;
    }
}

/// Row vector p times the row-vector matrix m.
Point3 times(Point3 p, const std::array<float, 16>& m) {
    return {p.x * m[0] + p.y * m[4] + p.z * m[8], p.x * m[1] + p.y * m[5] + p.z * m[9],
            p.x * m[2] + p.y * m[6] + p.z * m[10]};
}

void expectPoint(Point3 actual, Point3 expected) {
    EXPECT_NEAR(actual.x, expected.x, EPS);
    EXPECT_NEAR(actual.y, expected.y, EPS);
    EXPECT_NEAR(actual.z, expected.z, EPS);
}

} // namespace

TEST(CameraRotation, ComposesInTheOrderTheyAreApplied) {
    const float quarter = static_cast<float>(M_PI / 2);
    // A quarter turn about Z takes X to Y; a quarter turn about X then takes Y to Z.
    expectPoint(times({1, 0, 0}, rotationMatrixOf(followedBy(aboutZ(quarter), aboutX(quarter)))),
                {0, 0, 1});
    // The other way round X stays put first and then goes to Y.
    expectPoint(times({1, 0, 0}, rotationMatrixOf(followedBy(aboutX(quarter), aboutZ(quarter)))),
                {0, 1, 0});
    // Yaw, pitch and roll: roll about Z first, then pitch about X, then yaw about Y.
    expectQuaternion(rotationYawPitchRoll(0.0f, 0.3f, 0.7f),
                     followedBy(aboutZ(0.7f), aboutX(0.3f)));
    const Quaternion aboutY30 = {0.0f, std::sin(0.15f), 0.0f, std::cos(0.15f)};
    expectQuaternion(rotationYawPitchRoll(0.3f, 0.0f, 0.0f), aboutY30);
}

TEST(CameraRotation, DragAcrossTheWidthTurnsOneRadianAboutTheVerticalAxis) {
    GLCamera camera;
    // Pointer moved right by the whole width: down minus pointer is -w.
    camera.dragBy(-400, 0, 400, 300);
    expectQuaternion(camera.rotation, aboutZ(1.0f));
    expectPoint(times({1, 0, 0}, camera.rotationMatrix), {std::cos(1.0f), std::sin(1.0f), 0});
    EXPECT_EQ(camera.baseRotation, GLCamera::IDENTITY_ROTATION) << "only the end keeps it";

    // Each move turns from the base, not from the last move.
    camera.dragBy(-200, 0, 400, 300);
    expectQuaternion(camera.rotation, aboutZ(0.5f));
    camera.finishDrag(-200, 0, 400, 300);
    EXPECT_EQ(camera.baseRotation, camera.rotation);

    // The next drag starts from there: half a width more makes the whole radian; then a
    // drag down by the whole height tips the view one radian about X after it.
    camera.finishDrag(-200, 0, 400, 300);
    expectQuaternion(camera.baseRotation, aboutZ(1.0f));
    camera.finishDrag(0, -300, 400, 300);
    expectQuaternion(camera.rotation, followedBy(aboutZ(1.0f), aboutX(1.0f)));
}

TEST(CameraRotation, NoMotionOrNoViewLeavesTheCameraAsItWas) {
    GLCamera camera;
    camera.finishDrag(-123, 45, 400, 300);
    const GLCamera before = camera;
    camera.dragBy(0, 0, 400, 300);
    camera.finishDrag(0, 0, 400, 300);
    EXPECT_EQ(camera.rotation, before.rotation);
    EXPECT_EQ(camera.baseRotation, before.baseRotation);
    EXPECT_EQ(camera.rotationMatrix, before.rotationMatrix);

    camera.dragBy(-50, 20, 0, 300);
    camera.dragBy(-50, 20, 400, 0);
    EXPECT_EQ(camera.rotation, before.rotation);
    EXPECT_EQ(camera.rotationMatrix, before.rotationMatrix);
}

TEST(CameraRotation, ManyDragsKeepTheRotationUnit) {
    GLCamera camera;
    for (int i = 0; i < 5000; ++i) {
        camera.finishDrag(-37 + i % 11, 23 - i % 7, 397, 311);
    }
    const auto [x, y, z, w] = camera.rotation;
    EXPECT_NEAR(x * x + y * y + z * z + w * w, 1.0f, 1e-5f);
    // The matrix stays a rotation: it keeps lengths.
    const Point3 turned = times({0.6f, 0.0f, 0.8f}, camera.rotationMatrix);
    EXPECT_NEAR(length(turned), 1.0f, 1e-5f);
}

TEST(CameraZoom, NotchesMoveTheCameraWithinItsLimits) {
    GLCamera camera;
    for (int notch = 0; notch < 3; ++notch) {
        camera.zoom(120);
    }
    EXPECT_NEAR(camera.distance, 4.28f, 1e-5f);
    camera.zoom(-120);
    EXPECT_NEAR(camera.distance, 4.52f, 1e-5f);

    // High-resolution wheels send small deltas; they add up the same way.
    for (int step = 0; step < 60; ++step) {
        camera.zoom(-2);
    }
    EXPECT_NEAR(camera.distance, 4.76f, 1e-4f);

    camera.zoom(120 * 100);
    EXPECT_EQ(camera.distance, GLCamera::MIN_DISTANCE);
    camera.zoom(INT_MAX);
    EXPECT_EQ(camera.distance, GLCamera::MIN_DISTANCE);
    camera.zoom(-120 * 1000);
    EXPECT_EQ(camera.distance, GLCamera::MAX_DISTANCE);
    camera.zoom(INT_MIN);
    EXPECT_EQ(camera.distance, GLCamera::MAX_DISTANCE);
    camera.zoom(1);
    EXPECT_NEAR(camera.distance, 99.998f, 1e-4f);
}
