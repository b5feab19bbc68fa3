#include "game/ExtendedTrig.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>

namespace fenu {

namespace {

using Real = long double;

// pi/2 in three pieces: the first two short enough that a multiple up to 64 of
// either is exact, so that the reduction loses nothing before its last step and
// its error stays far below the smallest remainder it can meet.
constexpr Real HalfPi1 = 0xc90fdaa22168c2p-55L;
constexpr Real HalfPi2 = 0xd313198a2e0370p-113L;
constexpr Real HalfPi3 = 0xe68948127044533ep-178L;
constexpr Real TwoOverPi = 2 / std::numbers::pi_v<long double>;
// Beyond this the three-piece reduction is no longer exact enough.
constexpr Real MaxReducedArgument = 64;
// Adding and subtracting this rounds a long double to a whole number (to even).
constexpr Real RoundingShift = 0x1.8p63L;

// Rounding the product of an approximation and a double to long double, and the
// same for the exact value, each moves the result by half an ulp; bounds and their
// own rounding get one more.
constexpr Real ProductSlack = 0x1p-62L;

// Taylor coefficients; |r| <= pi/4 (and a little more from the rounding of the
// quadrant), where the first term left out is below 2^-80 of the result.
constexpr int SineTerms = 10;
constexpr int CosineTerms = 11;

constexpr Real Factorial(int n) {
    Real f = 1;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return f;
}

// Sine: r * (1 + z * (S[0] + z * (S[1] + ...))), S[k] = (-1)^(k+1) / (2k+3)!.
constexpr std::array<Real, SineTerms> SineCoefficients = [] {
    std::array<Real, SineTerms> c{};
    for (int k = 0; k < SineTerms; ++k)
        c[static_cast<size_t>(k)] = (k % 2 == 0 ? -1 : 1) / Factorial(2 * k + 3);
    return c;
}();

// Cosine: 1 + z * (C[0] + z * (C[1] + ...)), C[k] = (-1)^(k+1) / (2k+2)!.
constexpr std::array<Real, CosineTerms> CosineCoefficients = [] {
    std::array<Real, CosineTerms> c{};
    for (int k = 0; k < CosineTerms; ++k)
        c[static_cast<size_t>(k)] = (k % 2 == 0 ? -1 : 1) / Factorial(2 * k + 2);
    return c;
}();

// The whole number nearest to v (ties to even), for |v| well below 2^62: adding
// the shift leaves it in the low bits of the long double's 64-bit significand.
// Converting a long double to an integer directly would switch the x87 rounding
// mode twice, which costs more than the rest of the reduction.
struct TNearest {
    Real Value;
    int64_t Integer;
};
TNearest Nearest(Real v) {
    const Real shifted = v + RoundingShift;
    uint64_t significand;
    std::memcpy(&significand, &shifted, sizeof significand);
    return {shifted - RoundingShift, static_cast<int64_t>(significand - (uint64_t{3} << 62))};
}

// The double that every long double within err of v rounds to, if there is one.
bool RoundsSurely(Real v, Real err, double& out) {
    if (!(std::fabs(v) <= std::numeric_limits<Real>::max()))
        return false;
    const double lo = static_cast<double>(v - err);
    const double hi = static_cast<double>(v + err);
    if (std::bit_cast<uint64_t>(lo) != std::bit_cast<uint64_t>(hi))
        return false;
    out = lo;
    return true;
}

// (double)(approximation * 0), if certain to equal (double)(exact * 0): a zero with
// the sign of the exact value times the factor's, certain when the approximation
// lies farther from zero than its error. (Balls stacked on one spot meet head-on,
// and their velocities split with a zero part at every contact.)
bool ZeroProductSurely(Real approximation, double zero, double& out) {
    const Real bound = TrigRelativeError * std::fabs(approximation) + TrigAbsoluteError;
    if (!(std::fabs(approximation) > bound))
        return false;
    out = static_cast<double>(approximation * zero);
    return true;
}

// (double)(approximation * factor), if certain to equal (double)(exact * factor),
// for a factor other than zero.
bool ProductSurely(Real approximation, double factor, double& out) {
    if (factor == 0 || !std::isfinite(factor))
        return false;
    const Real v = approximation * factor;
    const Real bound = TrigRelativeError * std::fabs(approximation) + TrigAbsoluteError;
    const Real err = bound * std::fabs(static_cast<Real>(factor)) + ProductSlack * std::fabs(v);
    return RoundsSurely(v, err, out);
}

} // namespace

namespace {

// x = Quadrant * pi/2 + Remainder, |Remainder| <= pi/4 and a little.
struct TReduced {
    int64_t Quadrant;
    Real Remainder;
};

[[gnu::always_inline]] inline TReduced Reduce(Real x) {
    const TNearest n = Nearest(x * TwoOverPi);
    // x - n * HalfPi1 is exact: n * HalfPi1 is, and the two lie within a factor
    // of two of each other whenever n is not 0.
    return {n.Integer, ((x - n.Value * HalfPi1) - n.Value * HalfPi2) - n.Value * HalfPi3};
}

// Sine and cosine of a remainder.
[[gnu::always_inline]] inline void Evaluate(Real r, Real& sine, Real& cosine) {
    const Real z = r * r;
    // Both series in one loop, so that the two chains of dependent operations
    // overlap instead of running one after the other.
    Real s = SineCoefficients[SineTerms - 1];
    Real c = CosineCoefficients[CosineTerms - 1];
    c = CosineCoefficients[CosineTerms - 2] + z * c;
    for (size_t k = SineTerms - 1; k-- > 0;) {
        s = SineCoefficients[k] + z * s;
        c = CosineCoefficients[k] + z * c;
    }
    sine = r + r * (z * s);
    cosine = 1 + z * c;
}

// A remainder this close to a neighbour's takes its values from the neighbour's
// by two terms of Taylor's series; the third is below 2^-120 of the result.
constexpr Real MaxNeighbourDistance = 0x1p-40L;
// And only if the neighbour's sine is not so small that the step could swamp it.
constexpr Real MinNeighbourRemainder = 0x1p-20L;

} // namespace

bool ApproximateSinCos(Real x, Real& sine, Real& cosine) {
    const TExtendedSinCos values(x);
    sine = values.Sine();
    cosine = values.Cosine();
    return values.Approximated();
}

// The members are set only where they mean something: a long double member that
// is zeroed first costs a store and a reload of ten bytes each, and with a few
// objects per contact that was a third of the exchange.
TExtendedSinCos::TExtendedSinCos(Real x) : TExtendedSinCos(x, nullptr) {}

TExtendedSinCos::TExtendedSinCos(Real x, const TExtendedSinCos& neighbour)
    : TExtendedSinCos(x, &neighbour) {}

TExtendedSinCos::TExtendedSinCos(Real x, const TExtendedSinCos* neighbour) : x_(x) {
    approximated_ = std::fabs(x) <= MaxReducedArgument;
    if (!approximated_)
        return;
    const TReduced reduced = Reduce(x);
    quadrant_ = static_cast<int>(reduced.Quadrant & 3);
    remainder_ = reduced.Remainder;
    if (neighbour && neighbour->approximated_) {
        // Exact when the two remainders are this close.
        const Real d = remainder_ - neighbour->remainder_;
        if (std::fabs(d) <= MaxNeighbourDistance &&
            std::fabs(neighbour->remainder_) >= MinNeighbourRemainder) {
            const Real s0 = neighbour->remainderSin_;
            const Real c0 = neighbour->remainderCos_;
            remainderSin_ = s0 + d * (c0 - d / 2 * s0);
            remainderCos_ = c0 - d * (s0 + d / 2 * c0);
            return;
        }
    }
    Evaluate(remainder_, remainderSin_, remainderCos_);
}

// sin(x + k * pi/2) from the sine and cosine of x's remainder; the cosine is the
// sine a quarter turn on.
Real TExtendedSinCos::SineTurnedBy(int quarters) const {
    switch ((quadrant_ + quarters) & 3) {
    case 0:
        return remainderSin_;
    case 1:
        return remainderCos_;
    case 2:
        return -remainderSin_;
    default:
        return -remainderCos_;
    }
}

Real TExtendedSinCos::Sine() const {
    return approximated_ ? SineTurnedBy(0) : 0;
}

Real TExtendedSinCos::Cosine() const {
    return approximated_ ? SineTurnedBy(1) : 0;
}

double TExtendedSinCos::CosTimes(double factor) const {
    double out;
    if (approximated_ && ProductSurely(SineTurnedBy(1), factor, out))
        return out;
    return CosTimesRarely(factor);
}

double TExtendedSinCos::SinTimes(double factor) const {
    double out;
    if (approximated_ && ProductSurely(SineTurnedBy(0), factor, out))
        return out;
    return SinTimesRarely(factor);
}

// The products the common test leaves, out of line: code added to the common path
// makes the compiler keep fewer long doubles in registers there.
[[gnu::noinline, gnu::cold]] double TExtendedSinCos::CosTimesRarely(double factor) const {
    double out;
    if (approximated_ && factor == 0 && ZeroProductSurely(SineTurnedBy(1), factor, out))
        return out;
    return static_cast<double>(std::cos(x_) * factor);
}

[[gnu::noinline, gnu::cold]] double TExtendedSinCos::SinTimesRarely(double factor) const {
    double out;
    if (approximated_ && factor == 0 && ZeroProductSurely(SineTurnedBy(0), factor, out))
        return out;
    return static_cast<double>(std::sin(x_) * factor);
}

} // namespace fenu
