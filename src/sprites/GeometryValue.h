#pragma once

#include <cstdint>

namespace fenu {

/// How many times any sprite's position or size has been written since the
/// program started. The collision grid compares it with the count it saw when it
/// last checked every sprite: while it stands still, nothing can have moved, and
/// the check over all sprites before each pass is skipped.
inline uint64_t spriteGeometryWrites = 0;

/// A sprite's X, Y, Width or Height: reads as the plain number, and every write
/// (also one that stores the same value) counts in spriteGeometryWrites.
template <class T> class TGeometryValue {
public:
    TGeometryValue(T value = T{}) : value_(value) {}
    TGeometryValue(const TGeometryValue&) = default;
    TGeometryValue& operator=(const TGeometryValue& other) { return *this = other.value_; }
    TGeometryValue& operator=(T value) {
        value_ = value;
        ++spriteGeometryWrites;
        return *this;
    }
    TGeometryValue& operator+=(T delta) { return *this = value_ + delta; }
    TGeometryValue& operator-=(T delta) { return *this = value_ - delta; }

    operator T() const { return value_; }
    T Value() const { return value_; }

private:
    T value_;
};

} // namespace fenu
