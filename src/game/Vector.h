#pragma once

namespace fenu {

class TExtendedSinCos;

/// The game's 2-D vector of doubles: ball velocities, the split of two velocities
/// along the line between colliding balls, steering and firing. Formulas are
/// evaluated in extended precision (long double) and stored as double, so results
/// match the game's arithmetic to the last bit. Angles: radians, 0 right, pi/2 down.
class TVector {
public:
    double X = 0;
    double Y = 0;

    TVector() = default;
    TVector(double x, double y) : X(x), Y(y) {}

    /// Direction in [-pi/2, 3pi/2); (0, 0) gives 0.
    double Angle() const;
    double Length() const;
    void Add(const TVector& other);
    void Assign(const TVector& other);
    /// Along (may be null) receives the component along theta; Self keeps the
    /// component perpendicular to it.
    void Decompose(TVector* along, double theta);
    /// The same with the sines and cosines of theta and theta + pi/2 at hand.
    void Decompose(TVector* along, double theta, const TExtendedSinCos& direction,
                   const TExtendedSinCos& normal);
    /// The velocity exchange of two balls meeting along theta, bit for bit
    ///   first.Decompose(&firstAlong, theta);
    ///   second.Decompose(&secondAlong, (double)(theta + pi));
    ///   second.Add(firstAlong);
    ///   first.Add(secondAlong);
    /// but with the trigonometry the four directions share done once.
    static void Exchange(TVector& first, TVector& second, double theta, TVector& firstAlong,
                         TVector& secondAlong);
    void Scale(double factor);
    /// Turns to theta keeping the length; a zero vector stays zero.
    void SetAngle(double theta);
    /// Keeps the direction; a zero vector becomes (newLength, 0).
    void SetLength(double newLength);
    void SetPolar(double newLength, double theta);
};

} // namespace fenu
