#include "Rotation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace tesk;

TEST(Rotation, NormalizedRestoresUnitLengthAndTurnsNonsenseIntoNoTurn) {
    // A quarter turn about Z, scaled up as drift would: the same turn at unit length.
    const float s = std::sqrt(0.5f);
    const Quaternion drifted = {0.0f, 0.0f, 1.001f * s, 1.001f * s};
    const Quaternion unit = normalized(drifted);
    EXPECT_NEAR(unit[2], s, 1e-6f);
    EXPECT_NEAR(unit[3], s, 1e-6f);
    EXPECT_NEAR(unit[2] * unit[2] + unit[3] * unit[3], 1.0f, 1e-6f);

    EXPECT_EQ(normalized({0, 0, 0, 0}), kIdentityRotation);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(normalized({nan, 0, 0, 1}), kIdentityRotation);
    EXPECT_EQ(normalized({0, 0, 0, std::numeric_limits<float>::infinity()}), kIdentityRotation);
}
