#pragma once

#include "platform/Clock.h"

namespace fenu::test {

/// A clock the test sets and advances by hand.
class ManualClock final : public Clock {
public:
    explicit ManualClock(uint32_t start = 0) : now_(start) {}
    uint32_t Milliseconds() override { return now_; }
    void Set(uint32_t ms) { now_ = ms; }
    void Advance(uint32_t ms) { now_ += ms; }

private:
    uint32_t now_;
};

} // namespace fenu::test
