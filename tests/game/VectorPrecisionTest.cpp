#include "PlainVectorFormulas.h"
#include "game/Vector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// Within 4 units in the last place of the plain formulas' double, or 1e-12.
bool Close(double got, double expected) {
    const double ulp = std::nextafter(std::fabs(expected), INFINITY) - std::fabs(expected);
    return std::fabs(got - expected) <= std::max(4 * ulp, 1e-12);
}

TEST(VectorPrecision, TheExchangeStaysWithinRoundingOfThePlainFormulasForEveryContactDirection) {
    std::mt19937_64 random(20240607);
    std::uniform_real_distribution<double> speed(-40, 40), position(0, 625), unit(-1, 1);
    std::uniform_int_distribution<int> whole(-40, 40);
    double worst = 0;
    long far = 0;
    constexpr int Contacts = 50'000;
    for (int i = 0; i < Contacts; ++i) {
        // Whole-number velocities as the game starts them, fractional ones as
        // exchanges leave them, and components of zero.
        TVector first =
            i % 3 ? TVector(speed(random), speed(random)) : TVector(whole(random), whole(random));
        TVector second = i % 5 ? TVector(speed(random), speed(random))
                               : TVector(whole(random), i % 2 ? 0.0 : whole(random));
        if (i % 7 == 0)
            first.X = 0;
        // The line through two corners as the contact finds it: equal X, equal Y,
        // diagonals, within a hair of vertical, and anything in between.
        const double x = position(random), y = position(random);
        double otherX = i % 4 ? position(random) : std::round(position(random));
        double otherY = i % 6 == 1 ? y : position(random);
        if (i % 11 == 0)
            otherX = x;
        if (i % 13 == 0)
            otherX = x + std::ldexp(unit(random), -(i % 45));
        if (i % 17 == 0)
            otherY = y + (otherX - x) * (i % 2 ? 1 : -1);

        TVector expectedFirst = first, expectedSecond = second, expectedAlong1, expectedAlong2;
        test::PlainExchange(expectedFirst, expectedSecond, x, y, otherX, otherY, expectedAlong1,
                            expectedAlong2);
        TVector along1, along2;
        TVector::Exchange(first, second, otherX - x, otherY - y, along1, along2);
        // The split on its own, at angles of every quadrant and near the axes.
        TVector alone = expectedFirst, expectedAlone = expectedFirst, along, expectedAlong;
        const double anyTheta = i % 9 ? 8 * unit(random) : (i % 7 - 3) * std::numbers::pi / 2;
        alone.Decompose(&along, anyTheta);
        test::PlainDecompose(expectedAlone, &expectedAlong, anyTheta);

        for (const auto& [got, expected] :
             {std::pair{first, expectedFirst}, std::pair{second, expectedSecond},
              std::pair{along1, expectedAlong1}, std::pair{along2, expectedAlong2},
              std::pair{alone, expectedAlone}, std::pair{along, expectedAlong}}) {
            far += !Close(got.X, expected.X) + !Close(got.Y, expected.Y);
            worst = std::max({worst, std::fabs(got.X - expected.X), std::fabs(got.Y - expected.Y)});
        }
    }
    EXPECT_EQ(far, 0) << "of " << Contacts << " contacts";
    std::printf("worst difference from the plain formulas: %.3g\n", worst);
}

} // namespace
} // namespace fenu
