#include "game/Vector.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace fenu {

// Most formulas run in long double and are rounded to double where a value is
// stored. The split of a velocity along a line runs in double: its extended-precision
// formulas are reproduced to well within rounding (see Split), on any platform.

namespace {

using Real = long double;
constexpr Real pi = std::numbers::pi_v<long double>;

// 0 for +0 and -0, -1 when the sign bit is set, +1 otherwise.
Real Sign(double v) {
    if (v == 0)
        return 0;
    return std::signbit(v) ? -1 : 1;
}

struct TDirection {
    double Cos;
    double Sin;
};

// pi/2 in three parts, the first two of 33 bits: k times either is exact for
// |k| < 2^20, so the remainder below is exact until its last subtraction.
constexpr double HalfPi1 = 0x1.921fb544p+0;
constexpr double HalfPi2 = 0x1.0b4611a6p-34;
constexpr double HalfPi3 = 0x1.3198a2e037073p-69;
constexpr double TwoOverPi = 0x1.45f306dc9c883p-1;
// Angles beyond this (never the game's) are first brought near zero with the double
// nearest 2 pi, which shifts them by about |theta| * 2^-54.
constexpr double MaxReducedArgument = 0x1p20;
// Adding and subtracting this rounds a double below 2^51 to a whole number.
constexpr double RoundingShift = 0x1.8p52;

// Taylor's series to r^17 and r^16; for |r| <= pi/4 the first term left out is
// below 2^-60 of the result.
constexpr size_t Terms = 8;

constexpr double InverseFactorial(int n) {
    double f = 1;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return 1 / f;
}

// sin r = r + r z (S[0] + z (S[1] + ...)), S[k] = (-1)^(k+1) / (2k+3)!;
// cos r = 1 + z (C[0] + z (C[1] + ...)), C[k] = (-1)^(k+1) / (2k+2)!; z = r^2.
constexpr std::array<double, Terms> SineCoefficients = [] {
    std::array<double, Terms> c{};
    for (size_t k = 0; k < Terms; ++k)
        c[k] = (k % 2 ? 1 : -1) * InverseFactorial(2 * static_cast<int>(k) + 3);
    return c;
}();
constexpr std::array<double, Terms> CosineCoefficients = [] {
    std::array<double, Terms> c{};
    for (size_t k = 0; k < Terms; ++k)
        c[k] = (k % 2 ? 1 : -1) * InverseFactorial(2 * static_cast<int>(k) + 2);
    return c;
}();

// Cosine and sine in double arithmetic only, within about one unit in the last
// place, and the same on every platform with IEEE doubles (the C library's differ).
TDirection SinCos(double theta) {
    if (!(std::fabs(theta) <= MaxReducedArgument)) {
        if (!std::isfinite(theta))
            return {std::numeric_limits<double>::quiet_NaN(),
                    std::numeric_limits<double>::quiet_NaN()};
        theta = std::remainder(theta, 2 * std::numbers::pi);
    }
    const double k = (theta * TwoOverPi + RoundingShift) - RoundingShift;
    const double r = ((theta - k * HalfPi1) - k * HalfPi2) - k * HalfPi3;
    const double z = r * r;
    double s = SineCoefficients[Terms - 1];
    double c = CosineCoefficients[Terms - 1];
    for (size_t i = Terms - 1; i-- > 0;) {
        s = SineCoefficients[i] + z * s;
        c = CosineCoefficients[i] + z * c;
    }
    const double sine = r + r * (z * s);
    const double cosine = 1 + z * c;
    switch (static_cast<int>(k) & 3) {
    case 0:
        return {cosine, sine};
    case 1:
        return {-sine, cosine};
    case 2:
        return {-cosine, -sine};
    default:
        return {sine, -cosine};
    }
}

// The split along u = (cos theta, sin theta). With (X, Y) = L (cos A, sin A), the
// angle-difference identities make P = L cos(A - theta) = X cos + Y sin and
// Q = L sin(A - theta) = Y cos - X sin, and theta + pi/2 turns (cos, sin) into
// (-sin, cos): no arc tangent and no second sine. The plain formulas store A and L
// as doubles, which already moves P and Q by up to 2^-52 |v|; this way of writing
// them adds errors of the same size, so every result lies within a few units of
// 2^-53 (|v1| + |v2|) of theirs: below 1e-13 at the game's speeds.
void Split(TVector& v, TVector* along, TDirection u) {
    const double p = v.X * u.Cos + v.Y * u.Sin;
    const double q = v.Y * u.Cos - v.X * u.Sin;
    if (along) {
        along->X = u.Cos * p;
        along->Y = u.Sin * p;
    }
    v.X = -u.Sin * q;
    v.Y = u.Cos * q;
}

} // namespace

double TVector::Angle() const {
    if (X == 0)
        return static_cast<double>(Sign(Y) * pi / 2);
    Real result = std::atan(static_cast<Real>(Y) / X);
    if (X < 0)
        result += pi;
    return static_cast<double>(result);
}

double TVector::Length() const {
    const Real x = X;
    const Real y = Y;
    return static_cast<double>(std::sqrt(x * x + y * y));
}

void TVector::Add(const TVector& other) {
    X = static_cast<double>(static_cast<Real>(X) + other.X);
    Y = static_cast<double>(static_cast<Real>(Y) + other.Y);
}

void TVector::Assign(const TVector& other) {
    X = other.X;
    Y = other.Y;
}

void TVector::Decompose(TVector* along, double theta) {
    Split(*this, along, SinCos(theta));
}

void TVector::Exchange(TVector& first, TVector& second, double theta, TVector& firstAlong,
                       TVector& secondAlong) {
    // theta + pi splits the second velocity into the same two parts as theta: P, Q
    // and both directions change sign together. (Rounded to a double, theta + pi
    // turns the line by up to 2^-52 more, within the bound above.)
    const TDirection u = SinCos(theta);
    Split(first, &firstAlong, u);
    Split(second, &secondAlong, u);
    second.Add(firstAlong);
    first.Add(secondAlong);
}

void TVector::Scale(double factor) {
    X = static_cast<double>(static_cast<Real>(X) * factor);
    Y = static_cast<double>(static_cast<Real>(Y) * factor);
}

void TVector::SetAngle(double theta) {
    SetPolar(Length(), theta);
}

void TVector::SetLength(double newLength) {
    SetPolar(newLength, Angle());
}

void TVector::SetPolar(double newLength, double theta) {
    const Real t = theta;
    X = static_cast<double>(std::cos(t) * newLength);
    Y = static_cast<double>(std::sin(t) * newLength);
}

} // namespace fenu
