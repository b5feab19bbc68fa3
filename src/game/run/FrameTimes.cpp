#include "game/run/FrameTimes.h"

#include <algorithm>
#include <limits>

namespace fenu {

uint32_t LatestFrameTime(size_t frame) {
    const uint64_t latest = uint64_t{frame} * 1000 / RunFramesPerSecond + RunClockLead;
    return static_cast<uint32_t>(std::min<uint64_t>(latest, std::numeric_limits<uint32_t>::max()));
}

bool FrameTimesPlayable(const TRunRecording& run) {
    // A run left before its game ended has no fade: all its frames are the game's.
    const size_t gameFrames = run.GameFrames != 0 ? run.GameFrames : run.Frames.size();
    uint32_t last = 0;
    for (size_t i = 0; i < run.Frames.size(); ++i) {
        const uint32_t elapsed = run.Frames[i].Elapsed;
        if (elapsed < last || (i < gameFrames && elapsed > LatestFrameTime(i + 1)))
            return false;
        last = elapsed;
    }
    return true;
}

} // namespace fenu
