#pragma once

// The velocity split and exchange written out as the formulas read, every value in
// long double and every named intermediate (L, A, P, Q) stored as a double: the
// yardstick for the accuracy of TVector::Exchange and for its speed. Trig supplies
// Atan(x) and SinCos(x, s, c) in long double.
#include "game/Vector.h"

#include <cmath>
#include <numbers>

namespace fenu::test {

/// The C library's long double functions (80-bit on x86-64, 128-bit on aarch64).
struct LibraryTrig {
    static long double Atan(long double x) { return std::atan(x); }
    static void SinCos(long double x, long double& s, long double& c) {
        s = std::sin(x);
        c = std::cos(x);
    }
};

template <class Trig = LibraryTrig>
void PlainDecompose(TVector& self, TVector* along, double theta) {
    using Real = long double;
    constexpr Real pi = std::numbers::pi_v<long double>;
    const Real x = self.X, y = self.Y;
    double l = static_cast<double>(std::sqrt(x * x + y * y));
    if (self.X < 0)
        l = -l;
    const Real sign = self.Y == 0 ? 0 : std::signbit(self.Y) ? -1 : 1;
    const double a =
        self.X == 0 ? static_cast<double>(sign * pi / 2) : static_cast<double>(Trig::Atan(y / x));
    Real s, c;
    Trig::SinCos(static_cast<Real>(a) - theta, s, c);
    const double p = static_cast<double>(c * l);
    const double q = static_cast<double>(s * l);
    if (along) {
        Trig::SinCos(theta, s, c);
        along->X = static_cast<double>(c * p);
        along->Y = static_cast<double>(s * p);
    }
    Trig::SinCos(static_cast<Real>(theta) + pi / 2, s, c);
    self.X = static_cast<double>(c * q);
    self.Y = static_cast<double>(s * q);
}

/// Both balls split along theta and theta + pi (rounded to double), then each
/// takes the other's component along the line.
template <class Trig = LibraryTrig>
void PlainExchange(TVector& first, TVector& second, double theta, TVector& firstAlong,
                   TVector& secondAlong) {
    PlainDecompose<Trig>(first, &firstAlong, theta);
    PlainDecompose<Trig>(second, &secondAlong,
                         static_cast<double>(theta + std::numbers::pi_v<long double>));
    second.Add(firstAlong);
    first.Add(secondAlong);
}

} // namespace fenu::test
