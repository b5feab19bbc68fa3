#include "game/Vector.h"

#include "game/ExtendedTrig.h"

#include <cmath>
#include <numbers>

namespace fenu {

// Every formula runs in long double (80-bit on x86-64) and is rounded to double only
// where a value is stored, so collisions and steering come out bit for bit the same
// as the original extended-precision arithmetic.

namespace {

using Real = long double;
constexpr Real pi = std::numbers::pi_v<long double>;

// 0 for +0 and -0, -1 when the sign bit is set, +1 otherwise.
Real Sign(double v) {
    if (v == 0)
        return 0;
    return std::signbit(v) ? -1 : 1;
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
    const TExtendedSinCos direction(t);
    Decompose(along, theta, direction, TExtendedSinCos(t + pi / 2, direction));
}

void TVector::Decompose(TVector* along, double theta, const TExtendedSinCos& direction,
                        const TExtendedSinCos& normal) {
    // (X, Y) = L * (cos A, sin A) with A in (-pi/2, pi/2]: a negative L stands in for
    // the half turn that Angle would add.
    double l = Length();
    if (X < 0)
        l = -l;
    const double a =
        X == 0 ? static_cast<double>(Sign(Y) * pi / 2)
               : static_cast<double>(std::atan(static_cast<Real>(Y) / static_cast<Real>(X)));
    // Each product below is (double)(std::cos(...) * factor) or the same with sin,
    // evaluated in long double; the helper only gets there faster.
    const TExtendedSinCos relative(static_cast<Real>(a) - theta);
    if (along) {
        const double p = relative.CosTimes(l);
        along->X = direction.CosTimes(p);
        along->Y = direction.SinTimes(p);
    }
    const double q = relative.SinTimes(l);
    X = normal.CosTimes(q);
    Y = normal.SinTimes(q);
}

void TVector::Exchange(TVector& first, TVector& second, double theta, TVector& firstAlong,
                       TVector& secondAlong) {
    // The four directions are theta and theta + pi (rounded to double), each with
    // its normal: one evaluation of the sine and cosine serves all four.
    const Real t = theta;
    const TExtendedSinCos direction(t);
    const TExtendedSinCos normal(t + pi / 2, direction);
    const double opposite = static_cast<double>(t + pi);
    const TExtendedSinCos oppositeDirection(opposite, direction);
    const TExtendedSinCos oppositeNormal(static_cast<Real>(opposite) + pi / 2, direction);
    first.Decompose(&firstAlong, theta, direction, normal);
    second.Decompose(&secondAlong, opposite, oppositeDirection, oppositeNormal);
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
