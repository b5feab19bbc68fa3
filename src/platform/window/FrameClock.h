#pragma once

#include <cstdint>

namespace fenu {

/// The vertical-blank stand-in: 60 frame boundaries per second at fixed steps from
/// the clock's start, whatever the monitor's refresh. Waiting sleeps until the next
/// boundary; it never spins, so a running game costs little processor time, and a
/// late frame does not shift the later boundaries.
class FrameClock {
public:
    static constexpr int64_t FramesPerSecond = 60;
    static constexpr int64_t NanosecondsPerSecond = 1'000'000'000;

    FrameClock();
    /// Sleeps until the next frame boundary after now.
    void WaitForNextFrame();
    /// The next wait returns at once and starts a new grid of frame boundaries.
    void Restart() { anchored_ = false; }
    /// Nanoseconds on the monotonic clock.
    static int64_t Now();
    /// The first boundary strictly after time (both relative to the same clock).
    static int64_t NextBoundary(int64_t start, int64_t time);

private:
    int64_t start_;
    bool anchored_ = false;
};

} // namespace fenu
