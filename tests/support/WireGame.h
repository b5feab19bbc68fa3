#pragma once

#include "FakeCursor.h"
#include "FakeGameView.h"
#include "FakeServices.h"
#include "ManualClock.h"
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

/// A controller with the usual test doubles plugged in: fake view, cursor and
/// clock, recorded sounds, option marks. Game tests derive their fixture from it.
struct WiredGame {
    explicit WiredGame(uint32_t seed) : view(engine), game(view, cursor) {
        WireGame(game, engine, clock, sounds, options, seed);
    }

    TSpriteEngine engine;
    FakeGameView view;
    FakeCursor cursor;
    ManualClock clock;
    RecordingSoundPlayer sounds;
    FakeOptionMarks options;
    TGame game;
};

} // namespace fenu::test
