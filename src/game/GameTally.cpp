#include "game/GameTally.h"

namespace fenu {

void TGameTally::Begin(TMode mode, const TConfiguration& config, bool bonus, bool race) {
    game_.StartedUtc = QDateTime::currentDateTimeUtc();
    game_.Mode = mode;
    if (mode >= CustomMode)
        game_.Config = config;
    else
        game_.Config = {};
    game_.Bonus = bonus;
    game_.Race = race;
    game_.TimePoints = 0;
    game_.BonusPoints = 0;
    game_.Milliseconds = 0;
    game_.End = TGameEnd::Aborted;
    ended_ = false;
    pending_ = true;
}

void TGameTally::Played(uint32_t milliseconds, uint32_t bonusPoints) {
    if (!pending_ || ended_)
        return;
    game_.Milliseconds = milliseconds;
    game_.BonusPoints = bonusPoints;
}

void TGameTally::NoteEnd(TGameEnd end, uint32_t timePoints) {
    if (!pending_ || ended_)
        return;
    game_.End = end;
    game_.TimePoints = timePoints;
    ended_ = true;
}

const TPlayedGame* TGameTally::Finish() {
    if (!pending_)
        return nullptr;
    pending_ = false;
    if (!ended_)
        game_.TimePoints = game_.Milliseconds / 1000;
    return &game_;
}

} // namespace fenu
