#pragma once

#include "game/run/RunRecording.h"
#include "platform/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QString>

namespace fenu {

/// Where a run's player's ball went: its centre in the field as each game frame
/// drew it, then where the game left it. A race draws it as the ghost.
struct TGhostPath {
    int32_t Radius = 0;
    std::vector<TPoint> Centres;
    /// The run's game ended (touched or caught) where the last centre is; false where
    /// its player left it before.
    bool Ended = false;
};

/// A run played again without a window or sound, as fast as the machine goes.
struct TRunPlayback {
    /// The game's end was reached on the frame the recording ended it on, with every
    /// checksum of the state holding to there.
    bool ReachedEnd = false;
    uint32_t Points = 0;   ///< at the game's end, or where the replay stopped
    size_t GameFrames = 0; ///< game frames played, the fade left out
    QString Failure;       ///< why the replay stopped early, if it drifted
    TGhostPath Ghost;
};

/// Plays run on a sprite engine of its own. The game's generator is left as it was.
TRunPlayback PlayRunHeadless(const TRunRecording& run);

} // namespace fenu
