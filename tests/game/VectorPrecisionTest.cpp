#include "game/ExtendedTrig.h"
#include "game/Vector.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

#include <gtest/gtest.h>

namespace fenu {
namespace {

using Real = long double;
constexpr Real pi = std::numbers::pi_v<long double>;

uint64_t Bits(double v) {
    return std::bit_cast<uint64_t>(v);
}

// The split written out with the C library's functions, one call per value, as the
// collision response defines it; the vector's own version must give the same bits.
void PlainDecompose(TVector& self, TVector* along, double theta) {
    double l = static_cast<double>(
        std::sqrt(static_cast<Real>(self.X) * self.X + static_cast<Real>(self.Y) * self.Y));
    if (self.X < 0)
        l = -l;
    const double a = self.X == 0
                         ? static_cast<double>((self.Y == 0            ? 0
                                                : std::signbit(self.Y) ? -1
                                                                       : 1) *
                                               pi / 2)
                         : static_cast<double>(std::atan(static_cast<Real>(self.Y) / self.X));
    const Real t = theta;
    if (along) {
        const double p = static_cast<double>(std::cos(static_cast<Real>(a) - t) * l);
        along->X = static_cast<double>(std::cos(t) * p);
        along->Y = static_cast<double>(std::sin(t) * p);
    }
    const double q = static_cast<double>(std::sin(static_cast<Real>(a) - t) * l);
    self.X = static_cast<double>(std::cos(t + pi / 2) * q);
    self.Y = static_cast<double>(std::sin(t + pi / 2) * q);
}

TEST(VectorPrecisionTest, DecomposeGivesTheBitsOfThePlainLongDoubleFormulasOverManyRandomContacts) {
    std::mt19937_64 random(20240607);
    std::uniform_real_distribution<double> speed(-40, 40);
    std::uniform_real_distribution<double> angle(-std::numbers::pi / 2, std::numbers::pi / 2);
    std::uniform_int_distribution<int> small(-30, 30);
    long differing = 0;
    constexpr int Contacts = 400'000;
    for (int i = 0; i < Contacts; ++i) {
        // Whole-number velocities as the game starts them, and fractional ones as
        // exchanges leave them; theta and theta + pi as a contact uses them.
        TVector v = i % 3 == 0 ? TVector(small(random), small(random))
                               : TVector(speed(random), speed(random));
        const double theta0 = i % 7 == 0 ? static_cast<double>(pi / 2) : angle(random);
        const double theta = i % 2 == 0 ? theta0 : static_cast<double>(theta0 + pi);
        TVector expected = v, expectedAlong(9, 9), along(9, 9);
        PlainDecompose(expected, &expectedAlong, theta);
        v.Decompose(&along, theta);
        differing += Bits(v.X) != Bits(expected.X) || Bits(v.Y) != Bits(expected.Y) ||
                     Bits(along.X) != Bits(expectedAlong.X) ||
                     Bits(along.Y) != Bits(expectedAlong.Y);
    }
    EXPECT_EQ(differing, 0) << "of " << Contacts << " contacts";
}

TEST(VectorPrecisionTest, ExchangeGivesTheBitsOfTwoPlainSplitsAndAdds) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> speed(-40, 40);
    std::uniform_real_distribution<double> unit(-1, 1);
    long differing = 0;
    constexpr int Contacts = 300'000;
    for (int i = 0; i < Contacts; ++i) {
        TVector first(speed(random), speed(random)), second(speed(random), speed(random));
        if (i % 5 == 0)
            second = TVector(std::round(second.X), 0);
        // Ordinary lines of contact, and lines within a hair of the axes and the
        // diagonals, where the shared values must give way to fresh ones.
        double theta = std::numbers::pi / 2 * unit(random);
        if (i % 3 == 1)
            theta = static_cast<double>((i % 5 - 2) * pi / 4 +
                                        std::ldexp(static_cast<Real>(unit(random)), -(i % 70)));
        if (i % 97 == 0)
            theta = static_cast<double>(pi / 2);
        TVector expectedFirst = first, expectedSecond = second;
        TVector expectedAlong1, expectedAlong2, along1, along2;
        PlainDecompose(expectedFirst, &expectedAlong1, theta);
        PlainDecompose(expectedSecond, &expectedAlong2, static_cast<double>(theta + pi));
        expectedSecond.Add(expectedAlong1);
        expectedFirst.Add(expectedAlong2);
        TVector::Exchange(first, second, theta, along1, along2);
        for (const auto& [got, expected] :
             {std::pair{first, expectedFirst}, std::pair{second, expectedSecond},
              std::pair{along1, expectedAlong1}, std::pair{along2, expectedAlong2}})
            differing += Bits(got.X) != Bits(expected.X) || Bits(got.Y) != Bits(expected.Y);
    }
    EXPECT_EQ(differing, 0) << "of " << Contacts << " exchanges";
}

TEST(VectorPrecisionTest, ValuesCarriedOverFromANeighbourMatchTheCLibrary) {
    std::mt19937_64 random(13);
    std::uniform_real_distribution<double> unit(-1, 1);
    Real worst = 0;
    long differing = 0;
    for (int i = 0; i < 100'000; ++i) {
        const Real x =
            i % 2 ? 6.5L * unit(random)
                  : (i % 9 - 4) * pi / 4 + std::ldexp(static_cast<Real>(unit(random)), -(i % 60));
        const TExtendedSinCos base(x);
        // A quarter turn added in long double, a half turn rounded to double, three
        // quarters on top of that, and a neighbour a few units in the last place off.
        const Real opposite = static_cast<double>(x + pi);
        for (const Real y : {x + pi / 2, opposite, opposite + pi / 2,
                             std::nextafter(std::nextafter(x, 100.0L), 100.0L)}) {
            const TExtendedSinCos carried(y, base);
            for (const auto& [approx, exact] :
                 {std::pair{carried.Sine(), std::sin(y)}, std::pair{carried.Cosine(), std::cos(y)}})
                worst = std::max(worst,
                                 std::fabs(approx - exact) /
                                     (TrigRelativeError * std::fabs(approx) + TrigAbsoluteError));
            for (const double f : {1.0, -3.25, 37.5}) {
                differing +=
                    Bits(carried.CosTimes(f)) != Bits(static_cast<double>(std::cos(y) * f));
                differing +=
                    Bits(carried.SinTimes(f)) != Bits(static_cast<double>(std::sin(y) * f));
            }
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_LT(worst, 0.25L) << "the margin against the C library's own error";
}

TEST(VectorPrecisionTest, SinCosProductsEqualTheCLibraryWhereRoundingIsHardest) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_real_distribution<double> factor(-50, 50);
    long differing = 0, approximated = 0;
    constexpr int Arguments = 300'000;
    for (int i = 0; i < Arguments; ++i) {
        // Arguments near multiples of pi/2 (tiny results), ordinary ones, and the
        // extremes the fast reduction refuses.
        Real x;
        switch (i % 4) {
        case 0:
            x = (i % 9 - 4) * pi / 2 + std::ldexp(static_cast<Real>(unit(random)), -(i % 64));
            break;
        case 1:
            x = 7 * static_cast<Real>(unit(random));
            break;
        case 2:
            x = static_cast<Real>(unit(random)) * 2 + pi / 2;
            break;
        default:
            x = i % 8 == 3 ? 1e6L * unit(random) : 63 * static_cast<Real>(unit(random));
        }
        const double f = i % 101 == 0 ? (i % 2 ? 0.0 : -0.0) : factor(random);
        const TExtendedSinCos sc(x);
        approximated += sc.Approximated();
        differing += Bits(sc.CosTimes(f)) != Bits(static_cast<double>(std::cos(x) * f));
        differing += Bits(sc.SinTimes(f)) != Bits(static_cast<double>(std::sin(x) * f));
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(approximated, Arguments / 2) << "the fast path is taken at all";
}

TEST(VectorPrecisionTest, ApproximationsStayWellInsideTheErrorBoundTheRoundingTestAssumes) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(-1, 1);
    Real worst = 0;
    for (int i = 0; i < 200'000; ++i) {
        // Near every multiple of pi/2 the reduction accepts (results near zero, where
        // only an absolute error bound can hold), and ordinary arguments.
        const Real x =
            i % 2 ? 6.5L * unit(random)
                  : (i % 81 - 40) * pi / 2 + std::ldexp(static_cast<Real>(unit(random)), -(i % 64));
        Real s, c;
        ASSERT_TRUE(ApproximateSinCos(x, s, c));
        for (const auto& [approx, exact] : {std::pair{s, std::sin(x)}, std::pair{c, std::cos(x)}})
            worst =
                std::max(worst, std::fabs(approx - exact) /
                                    (TrigRelativeError * std::fabs(approx) + TrigAbsoluteError));
    }
    // A quarter of the bound: the margin against the C library's own error.
    EXPECT_LT(worst, 0.25L);
    Real ignored, ignoredToo;
    EXPECT_FALSE(ApproximateSinCos(1e9L, ignored, ignoredToo));
    EXPECT_FALSE(ApproximateSinCos(NAN, ignored, ignoredToo));
}

} // namespace
} // namespace fenu
