#pragma once

// The velocity exchange of a contact written out as the formulas read, every value
// in long double and every named intermediate (theta, L, A, P, Q) stored as a
// double: the yardstick for TVector::Exchange's accuracy and speed. Trig supplies
// Atan(x) and SinCos(x, s, c) in long double.
#include "game/Vector.h"

#include <cmath>
#include <numbers>

namespace fenu::test {

using Real = long double;
inline constexpr Real Pi = std::numbers::pi_v<long double>;

/// The C library's long double functions (80-bit on x86-64, 128-bit on aarch64).
struct LibraryTrig {
    static Real Atan(Real x) { return std::atan(x); }
    static void SinCos(Real x, Real& s, Real& c) {
        s = std::sin(x);
        c = std::cos(x);
    }
};

template <class Trig = LibraryTrig>
void PlainDecompose(TVector& self, TVector* along, double theta) {
    const Real x = self.X, y = self.Y;
    double l = static_cast<double>(std::sqrt(x * x + y * y));
    if (self.X < 0)
        l = -l;
    const Real sign = self.Y == 0 ? 0 : std::signbit(self.Y) ? -1 : 1;
    const double a =
        self.X == 0 ? static_cast<double>(sign * Pi / 2) : static_cast<double>(Trig::Atan(y / x));
    Real s, c;
    Trig::SinCos(static_cast<Real>(a) - theta, s, c);
    const double p = static_cast<double>(c * l);
    const double q = static_cast<double>(s * l);
    if (along) {
        Trig::SinCos(theta, s, c);
        along->X = static_cast<double>(c * p);
        along->Y = static_cast<double>(s * p);
    }
    Trig::SinCos(static_cast<Real>(theta) + Pi / 2, s, c);
    self.X = static_cast<double>(c * q);
    self.Y = static_cast<double>(s * q);
}

/// Two balls with corners at (x, y) and (otherX, otherY) split their velocities
/// along the line through the corners, then each takes the other's part along it.
template <class Trig = LibraryTrig>
void PlainExchange(TVector& first, TVector& second, double x, double y, double otherX,
                   double otherY, TVector& firstAlong, TVector& secondAlong) {
    const Real dx = static_cast<Real>(otherX) - x, dy = static_cast<Real>(otherY) - y;
    const double theta =
        otherX == x ? static_cast<double>(Pi / 2) : static_cast<double>(Trig::Atan(dy / dx));
    PlainDecompose<Trig>(first, &firstAlong, theta);
    PlainDecompose<Trig>(second, &secondAlong, static_cast<double>(theta + Pi));
    second.Add(firstAlong);
    first.Add(secondAlong);
}

} // namespace fenu::test
