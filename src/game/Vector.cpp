#include "game/Vector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fenu {

// Most formulas run in long double and are rounded to double where a value is
// stored. The split of velocities along a line runs in double: it reproduces its
// extended-precision formulas to well within rounding (see Split). The exchange of
// two balls' velocities needs no sine or arc tangent at all, so it gives the same
// bits on every platform with IEEE doubles (the build turns off the fusing of
// multiplies and adds), whatever the C library and the width of long double.

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

// (cos theta, sin theta) for theta = arctan(y / x), or pi/2 for x = 0: the unit
// vector along (x, y) turned into the right half-plane. Scaled by the larger
// component first, so that no square underflows or overflows.
TDirection LineDirection(double x, double y) {
    if (x == 0)
        return {0, 1};
    const double larger = std::max(std::fabs(x), std::fabs(y));
    const double a = std::fabs(x) / larger;
    const double b = (x < 0 ? -y : y) / larger;
    const double toUnit = 1 / std::sqrt(a * a + b * b);
    return {a * toUnit, b * toUnit};
}

// The split along u = (cos theta, sin theta). With (X, Y) = L (cos A, sin A), the
// angle-difference identities make P = L cos(A - theta) = X cos + Y sin and
// Q = L sin(A - theta) = Y cos - X sin, and theta + pi/2 turns (cos, sin) into
// (-sin, cos): no arc tangent, and no sine but theta's. The plain formulas store
// theta, A and L as doubles, which moves P and Q by up to about 2^-52 |v|; this
// way of writing them errs by as much again, so every result of an exchange lies
// within a few times 2^-53 (|v1| + |v2|) of theirs: below 1e-13 at the game's
// speeds, where their own evaluation on the x87 and by the C library differ by a
// third of that.
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
    const Real t = theta;
    Split(*this, along, {static_cast<double>(std::cos(t)), static_cast<double>(std::sin(t))});
}

void TVector::Exchange(TVector& first, TVector& second, double lineX, double lineY,
                       TVector& firstAlong, TVector& secondAlong) {
    // theta + pi splits the second velocity into the same two parts as theta: P, Q
    // and both directions change sign together.
    const TDirection u = LineDirection(lineX, lineY);
    Split(first, &firstAlong, u);
    Split(second, &secondAlong, u);
    second = {second.X + firstAlong.X, second.Y + firstAlong.Y};
    first = {first.X + secondAlong.X, first.Y + secondAlong.Y};
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
