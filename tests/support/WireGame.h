#pragma once

#include "game/Game.h"
#include "game/Random.h"
#include "sprites/Sprite.h"

namespace fenu::test {

/// Plugs the test doubles into a controller and seeds the generator: the preset
/// "Einfach" is current, as after a first start without a settings file.
inline void WireGame(TGame& game, TSpriteEngine& engine, Clock& clock, SoundPlayer& sounds,
                     TOptionMarks& options, uint32_t seed) {
    GameRandom().SetSeed(seed);
    game.Engine = &engine;
    game.TickClock = &clock;
    game.Sounds = &sounds;
    game.Options = &options;
    game.Presets = MakePresets();
    game.CurrentConfig = game.Presets[0];
}

} // namespace fenu::test
