#pragma once

#include "game/Configuration.h"

#include <cstdint>

#include <QDateTime>

namespace fenu {

/// How a game ended: an alien ball touched the player's ball, the player's ball
/// caught the cursor, or the player left it (Esc, "Abbrechen", the end of the
/// program).
enum class TGameEnd : uint8_t { Touched, Caught, Aborted };

/// A game as the statistics keep it: every game played, preset or custom, raced
/// against a run or not, never a replay.
struct TPlayedGame {
    QDateTime StartedUtc;
    TMode Mode = 0;
    /// The settings of a custom game; a preset's are its difficulty's.
    TConfiguration Config;
    bool Bonus = false;
    /// Played against a run's ghost, on the run's course: it sets no record, and the
    /// statistics may leave it out.
    bool Race = false;
    uint32_t TimePoints = 0;
    uint32_t BonusPoints = 0;
    uint32_t Milliseconds = 0; ///< played, pauses left out
    TGameEnd End = TGameEnd::Aborted;
};

} // namespace fenu
