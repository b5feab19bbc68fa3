#pragma once

namespace fenu {

/// The game's 2-D vector of doubles: ball velocities, the split of two velocities
/// along the line between colliding balls, steering and firing. Angles: radians,
/// 0 right, pi/2 down.
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
    /// The velocity exchange of two balls whose line of contact runs along
    /// (lineX, lineY): with theta = arctan(lineY / lineX), or pi/2 when lineX is 0,
    ///   first.Decompose(&firstAlong, theta);
    ///   second.Decompose(&secondAlong, theta + pi);
    ///   second.Add(firstAlong);
    ///   first.Add(secondAlong);
    /// in double arithmetic only, without evaluating theta or any sine.
    static void Exchange(TVector& first, TVector& second, double lineX, double lineY,
                         TVector& firstAlong, TVector& secondAlong);
    void Scale(double factor);
    /// Turns to theta keeping the length; a zero vector stays zero.
    void SetAngle(double theta);
    /// Keeps the direction; a zero vector becomes (newLength, 0).
    void SetLength(double newLength);
    void SetPolar(double newLength, double theta);
};

} // namespace fenu
