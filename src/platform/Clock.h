#pragma once

#include <cstdint>

namespace fenu {

/// A 32-bit millisecond counter that wraps after about 49.7 days. The game's tick
/// counter and the frame timer's multimedia clock are both of this kind; every
/// difference of two readings is taken in unsigned 32-bit arithmetic.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t Milliseconds() = 0;
};

/// The monotonic system clock, in milliseconds since an arbitrary start.
class SystemClock final : public Clock {
public:
    uint32_t Milliseconds() override;
};

} // namespace fenu
