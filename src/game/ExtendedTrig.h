#pragma once

namespace fenu {

// The collision response evaluates sines and cosines in long double and keeps
// only doubles (its arc tangents stay with the C library, which is as fast as a
// polynomial of the same precision here). The C library's long double sine and cosine reduce their
// argument with a general multi-precision routine that costs several times the
// polynomial itself, and with thousands of contacts per frame that dominates.
// These helpers compute the same values with a short reduction and polynomials,
// and use the result only when rounding it to double is certain to give what the
// C library's value would give; otherwise they ask the C library. So every double
// they return is bit for bit the one of the plain expression named on each.

/// The sine and cosine of one long double argument, each used once, multiplied by
/// a double and stored as double.
class TExtendedSinCos {
public:
    explicit TExtendedSinCos(long double x);
    /// The same for an argument that lies within a few units in the last place of
    /// a whole number of quarter turns from neighbour's (theta + pi/2, theta + pi
    /// rounded...): the values are carried over from the neighbour's instead of
    /// evaluated again, and the error stays within the same bound.
    TExtendedSinCos(long double x, const TExtendedSinCos& neighbour);

    /// (double)(std::cos(x) * factor), evaluated in long double.
    double CosTimes(double factor) const;
    /// (double)(std::sin(x) * factor), evaluated in long double.
    double SinTimes(double factor) const;

    /// The approximations themselves (0 where they do not apply), for tests.
    long double Sine() const;
    long double Cosine() const;

    /// Whether the fast approximation applies to this argument at all.
    bool Approximated() const { return approximated_; }

private:
    TExtendedSinCos(long double x, const TExtendedSinCos* neighbour);
    long double SineTurnedBy(int quarters) const;
    double CosTimesRarely(double factor) const;
    double SinTimesRarely(double factor) const;

    long double x_;
    long double remainder_; ///< x less the nearest multiple of pi/2
    long double remainderSin_;
    long double remainderCos_;
    int quadrant_; ///< of that multiple, 0..3
    bool approximated_;
};

/// The approximation itself, exposed for tests that bound its error against the
/// C library. Returns false where it does not apply.
bool ApproximateSinCos(long double x, long double& sine, long double& cosine);

/// Error bound of the approximations relative to the C library's value:
/// |approximation - libm| <= RelativeError * |approximation| + AbsoluteError.
inline constexpr long double TrigRelativeError = 0x1p-60L;
inline constexpr long double TrigAbsoluteError = 0x1p-150L;

} // namespace fenu
