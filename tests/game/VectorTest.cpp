#include "game/Vector.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

using fenu::TVector;

namespace {

constexpr double pi = std::numbers::pi;
constexpr double tiny = 1e-15;

TEST(VectorAngle, CoversMinusHalfPiUpToThreeHalvesPi) {
    EXPECT_EQ(TVector(0, 0).Angle(), 0);
    EXPECT_EQ(TVector(-0.0, -0.0).Angle(), 0) << "negative zero has sign 0 too";
    EXPECT_DOUBLE_EQ(TVector(0, 5).Angle(), pi / 2);
    EXPECT_DOUBLE_EQ(TVector(0, -5).Angle(), -pi / 2);
    EXPECT_DOUBLE_EQ(TVector(-3, 0).Angle(), pi);
    EXPECT_DOUBLE_EQ(TVector(-1, 1).Angle(), 3 * pi / 4);
    EXPECT_DOUBLE_EQ(TVector(-1, -1).Angle(), 5 * pi / 4);
    EXPECT_DOUBLE_EQ(TVector(1, -1).Angle(), -pi / 4);
    EXPECT_EQ(TVector(2, 0).Angle(), 0);
}

TEST(VectorLength, IsEuclideanAndEvaluatedWithoutIntermediateOverflow) {
    EXPECT_EQ(TVector(3, 4).Length(), 5);
    EXPECT_EQ(TVector(0, 0).Length(), 0);
    // 1e200 squared overflows a double but not the extended format.
    EXPECT_DOUBLE_EQ(TVector(3e200, 4e200).Length(), 5e200);
}

TEST(VectorArithmetic, AddScaleAndAssignActOnBothComponents) {
    TVector v(1.5, -2);
    v.Add(TVector(0.25, 4));
    EXPECT_EQ(v.X, 1.75);
    EXPECT_EQ(v.Y, 2);
    v.Scale(-2);
    EXPECT_EQ(v.X, -3.5);
    EXPECT_EQ(v.Y, -4);
    TVector w;
    w.Assign(TVector(0.1, -0.0));
    EXPECT_EQ(w.X, 0.1);
    EXPECT_TRUE(std::signbit(w.Y)) << "copied exactly, sign of zero included";
}

TEST(VectorPolar, SetLengthAndSetAngleKeepTheOtherPart) {
    TVector zero;
    zero.SetLength(7);
    EXPECT_EQ(zero.X, 7) << "a zero vector points right";
    EXPECT_EQ(zero.Y, 0);

    TVector v(3, 4);
    v.SetAngle(pi);
    EXPECT_NEAR(v.X, -5, tiny);
    EXPECT_LT(std::abs(v.Y), tiny);

    TVector still;
    still.SetAngle(1.234);
    EXPECT_EQ(still.X, 0);
    EXPECT_EQ(still.Y, 0);

    TVector w(-6, -8);
    w.SetLength(5);
    EXPECT_NEAR(w.X, -3, tiny) << "direction kept through the half turn of Angle";
    EXPECT_NEAR(w.Y, -4, tiny);

    TVector p;
    p.SetPolar(2, pi / 2);
    EXPECT_LT(std::abs(p.X), tiny);
    EXPECT_EQ(p.Y, 2) << "pi/2 points down the screen";
}

TEST(VectorDecompose, SplitsIntoTheComponentsAlongAndAcrossTheDirection) {
    TVector v(3, 4), along;
    v.Decompose(&along, 0);
    EXPECT_NEAR(along.X, 3, tiny);
    EXPECT_NEAR(along.Y, 0, tiny);
    EXPECT_NEAR(v.X, 0, tiny);
    EXPECT_NEAR(v.Y, 4, tiny);

    TVector d(3, 4);
    d.Decompose(&along, pi / 4);
    EXPECT_NEAR(along.X, 3.5, 1e-14);
    EXPECT_NEAR(along.Y, 3.5, 1e-14);
    EXPECT_NEAR(d.X, -0.5, 1e-14);
    EXPECT_NEAR(d.Y, 0.5, 1e-14);

    TVector h(-2, 0);
    h.Decompose(&along, pi / 2);
    EXPECT_NEAR(h.X, -2, tiny);
    EXPECT_LT(std::abs(h.Y), tiny);
    EXPECT_LT(std::abs(along.X), tiny);
    EXPECT_LT(std::abs(along.Y), tiny);
}

TEST(VectorDecompose, ThePartsAddUpToTheOldVectorInEveryQuadrantAndEitherSense) {
    const double components[] = {-7.5, -1, -0.0, 0, 2, 6};
    const double thetas[] = {-pi / 2, -1, 0, 0.3, pi / 2, 2.5, pi, 4};
    for (double x : components)
        for (double y : components)
            for (double theta : thetas) {
                TVector v(x, y), along;
                v.Decompose(&along, theta);
                SCOPED_TRACE(testing::Message() << x << "," << y << " theta " << theta);
                EXPECT_NEAR(v.X + along.X, x, 1e-13);
                EXPECT_NEAR(v.Y + along.Y, y, 1e-13);
                // Along lies on the direction, the rest across it.
                EXPECT_NEAR(along.X * std::sin(theta) - along.Y * std::cos(theta), 0, 1e-13);
                EXPECT_NEAR(v.X * std::cos(theta) + v.Y * std::sin(theta), 0, 1e-13);

                TVector turned(x, y), alongTurned;
                turned.Decompose(&alongTurned, theta + pi);
                EXPECT_NEAR(alongTurned.X, along.X, 1e-13);
                EXPECT_NEAR(alongTurned.Y, along.Y, 1e-13);
                EXPECT_NEAR(turned.X, v.X, 1e-13);
                EXPECT_NEAR(turned.Y, v.Y, 1e-13);
            }
}

TEST(VectorDecompose, WithoutAnAlongVectorChangesOnlySelf) {
    TVector v(3, 4), witness(9, 9);
    v.Decompose(nullptr, 0);
    EXPECT_NEAR(v.X, 0, tiny);
    EXPECT_NEAR(v.Y, 4, tiny);
    EXPECT_EQ(witness.X, 9);

    TVector zero, along(1, 1);
    zero.Decompose(&along, 0.7);
    EXPECT_EQ(zero.Length(), 0);
    EXPECT_EQ(along.Length(), 0) << "a zero vector passes through without NaN";
}

} // namespace
