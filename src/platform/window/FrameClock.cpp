#include "platform/window/FrameClock.h"

#include <cerrno>
#include <time.h>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace fenu {

FrameClock::FrameClock() : start_(Now()) {
#if defined(__linux__)
    // The kernel may defer a sleeper's wake-up by its timer slack, 50 us by default;
    // 1 ns keeps the frame boundaries as exact as the timer allows. The slack is a
    // property of the calling thread, the one that runs the frames.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

int64_t FrameClock::Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * NanosecondsPerSecond + now.tv_nsec;
}

int64_t FrameClock::NextBoundary(int64_t start, int64_t time) {
    if (time < start)
        return start;
    // Boundary k lies at start + k * 1e9 / 60 rounded up to whole nanoseconds,
    // computed from k each time so that no rounding error builds up over a run.
    const int64_t frame = (time - start) * FramesPerSecond / NanosecondsPerSecond + 1;
    return start + (frame * NanosecondsPerSecond + FramesPerSecond - 1) / FramesPerSecond;
}

void FrameClock::WaitForNextFrame() {
    if (!anchored_) {
        // The first frame goes out at once (start-up shows the field without delay);
        // every later one on the 60 Hz grid that it starts.
        anchored_ = true;
        start_ = Now();
        return;
    }
    const int64_t boundary = NextBoundary(start_, Now());
    timespec until{};
    until.tv_sec = static_cast<time_t>(boundary / NanosecondsPerSecond);
    until.tv_nsec = static_cast<long>(boundary % NanosecondsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

} // namespace fenu
