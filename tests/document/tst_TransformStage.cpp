#include "TransformStage.h"

#include <gtest/gtest.h>

using namespace tesk;

namespace {

void expectNear(Point3 actual, Point3 expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectNear(const Matrix4& actual, const Matrix4& expected) {
    for (size_t i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.m[i], expected.m[i], 1e-5f) << "element " << i;
    }
}

constexpr float kQuarterTurn = 90.0f * kRadiansPerDegree;

} // namespace

TEST(TransformStageTest, RowVectorTurnsFollowTheAxisConventions) {
    // p x M: a quarter turn about Y takes +X to -Z and +Z to +X; about X takes +Y to +Z;
    // about Z takes +X to +Y.
    const Matrix4 aboutY = Matrix4::rotation(rotationYawPitchRoll(kQuarterTurn, 0, 0));
    expectNear(aboutY.transform({1, 0, 0}), {0, 0, -1});
    expectNear(aboutY.transform({0, 0, 1}), {1, 0, 0});
    const Matrix4 aboutX = Matrix4::rotation(rotationYawPitchRoll(0, kQuarterTurn, 0));
    expectNear(aboutX.transform({0, 1, 0}), {0, 0, 1});
    const Matrix4 aboutZ = Matrix4::rotation(rotationYawPitchRoll(0, 0, kQuarterTurn));
    expectNear(aboutZ.transform({1, 0, 0}), {0, 1, 0});

    // The matrix product composes in the order of application, like the quaternions.
    const Quaternion a = rotationYawPitchRoll(0.4f, -0.9f, 1.1f);
    const Quaternion b = rotationYawPitchRoll(-1.3f, 0.2f, 0.5f);
    expectNear(Matrix4::rotation(followedBy(a, b)), Matrix4::rotation(a) * Matrix4::rotation(b));

    // Translation sits in the bottom row; a point keeps w = 1.
    const Matrix4 t = Matrix4::translation({1, 2, 3});
    expectNear(t.transform({1, 1, 1}), {2, 3, 4});
    EXPECT_FLOAT_EQ(t.at(3, 2), 3.0f);
}

TEST(TransformStageTest, StagesBuildTheirMatricesAndResetToNothing) {
    const Point3 pivot{1, 2, 3};

    TransformStage scale(TransformKind::Scale);
    EXPECT_EQ(scale.x, 1.0f);
    scale.x = 2.0f;
    scale.y = 0.0f;
    scale.z = -1.0f;
    scale.build(pivot);
    // About the pivot: the pivot stays, Y collapses onto its plane, Z mirrors about it.
    expectNear(scale.matrix.transform(pivot), pivot);
    expectNear(scale.matrix.transform({2, 5, 4}), {3, 2, 2});

    TransformStage rotate(TransformKind::Rotate);
    rotate.y = 90.0f;
    rotate.build(pivot); // a rotate ignores the pivot: it turns about the origin
    expectNear(rotate.matrix.transform({1, 0, 0}), {0, 0, -1});
    EXPECT_EQ(rotate.y, 0.0f) << "the angles are used up by the build";
    rotate.y = 90.0f;
    rotate.build(pivot); // accumulates: half a turn
    expectNear(rotate.matrix.transform({1, 5, 1}), {-1, 5, -1});
    const Quaternion& q = rotate.rotation;
    EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0f, 1e-6f);

    rotate.reset();
    scale.reset();
    EXPECT_EQ(rotate.rotation, kIdentityRotation);
    EXPECT_EQ(rotate.matrix, Matrix4::identity());
    EXPECT_EQ(scale.matrix, Matrix4::identity());
    EXPECT_EQ(scale.z, 1.0f);

    // A scale back at 1 about any pivot is exactly the identity, so nothing drifts.
    scale.build({0.1f, -7.3f, 1e3f});
    EXPECT_EQ(scale.matrix, Matrix4::identity());
}
