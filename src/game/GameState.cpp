#include "game/GameState.h"

#include "game/OptionMarks.h"
#include "platform/Clock.h"
#include "platform/Sound.h"

namespace fenu {

uint32_t TGameState::Now() const {
    if (ticksHeld_)
        return heldTicks_;
    return TickClock ? TickClock->Milliseconds() : 0;
}

void TGameState::PlayWave(const char* name) {
    if (Sounds && Options && Options->SoundsChecked())
        Sounds->Play(name);
}

} // namespace fenu
