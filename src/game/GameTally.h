#pragma once

#include "game/PlayedGame.h"

namespace fenu {

/// The player's game that runs, as the statistics will keep it. Begun when the game
/// starts; each frame notes the time played and the end when it comes, without
/// allocating; handed over once, after the game's last frame, or as aborted when
/// it goes before its end (a new game, Esc, the end of the program).
class TGameTally {
public:
    void Begin(TMode mode, const TConfiguration& config, bool bonus, bool race = false);
    /// The game's time so far (pauses left out) and its bonus points.
    void Played(uint32_t milliseconds, uint32_t bonusPoints);
    void NoteEnd(TGameEnd end, uint32_t timePoints);
    /// The game to hand over, aborted unless its end was noted; null when there is
    /// none: no game of the player's, or handed over already.
    const TPlayedGame* Finish();

private:
    TPlayedGame game_;
    bool ended_ = false;
    bool pending_ = false;
};

} // namespace fenu
