#pragma once

#include "game/Configuration.h"
#include "game/Records.h"
#include "game/Vector.h"

#include <cstdint>
#include <vector>

namespace fenu {

class Clock;
class SoundPlayer;
class TBullet;
class TCanvas;
class TCircle;
class TOptionMarks;
class TSpriteEngine;

/// The game's state, one set owned by the main window's game controller, and the
/// services the balls reach through it. The controller derives from it; tests
/// build it directly with fake services.
class TGameState {
public:
    virtual ~TGameState() = default;

    // The field window: the balls bounce off its client area, and every ball is a
    // direct child of its sprite engine.
    TSpriteEngine* Engine = nullptr;
    int32_t ClientWidth = 625;
    int32_t ClientHeight = 500;

    std::vector<TCircle*> Balls;   ///< alien balls, then PlayerBall last; owned by the controller
    std::vector<TBullet*> Bullets; ///< bullets in flight, in firing order; owned by the controller
    TVector ScratchVectors[2];     ///< T1, T2: temporaries of collisions, drawing and firing
    bool AttractMode = false;
    int32_t GameOverStep = 1;
    uint32_t StartTicks = 0;
    uint32_t PauseTicks = 0;
    uint32_t TimePoints = 0;
    uint32_t BonusPoints = 0;
    TConfiguration CurrentConfig;
    std::array<TConfiguration, PresetCount> Presets; ///< filled at start-up, never stored
    TMode Mode = 0;                                  ///< 0..2 a preset, 3 and above custom
    TRecordTable Records;

    Clock* TickClock = nullptr;      ///< the system tick counter (GetTickCount)
    SoundPlayer* Sounds = nullptr;   ///< may be null: silence
    TOptionMarks* Options = nullptr; ///< the menu's check marks

    /// The last element of Balls; null while there are none.
    TCircle* PlayerBall() const { return Balls.empty() ? nullptr : Balls.back(); }

    /// Current tick count of the system tick counter; while a frame holds it, the
    /// time that frame runs at.
    uint32_t Now() const;
    /// A frame reads one time throughout, the one a replay gives it back.
    void HoldTicks(uint32_t ticks) {
        heldTicks_ = ticks;
        ticksHeld_ = true;
    }
    void ReleaseTicks() { ticksHeld_ = false; }

    /// The configuration of a game on a recorded course (replayed or raced); null
    /// while the player plays their own.
    const TConfiguration* CourseConfig = nullptr;
    /// What the running game's balls are made with.
    const TConfiguration& GameConfig() const {
        return CourseConfig ? *CourseConfig : CurrentConfig;
    }

    /// Plays the named wave if the sound option is checked.
    void PlayWave(const char* name);

    /// The back buffer's canvas that DrawStep paints on; null while there is none.
    virtual TCanvas* Canvas() { return canvas_; }
    void SetCanvas(TCanvas* canvas) { canvas_ = canvas; }

private:
    TCanvas* canvas_ = nullptr;
    uint32_t heldTicks_ = 0;
    bool ticksHeld_ = false;
};

} // namespace fenu
