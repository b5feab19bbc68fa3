#pragma once

#include "FakeServices.h"
#include "ManualClock.h"
#include "RecordingCanvas.h"
#include "game/GameState.h"
#include "sprites/Sprite.h"

#include <memory>

namespace fenu {
class TBullet;
class TCircle;
} // namespace fenu

namespace fenu::test {

/// A game state on a 625 x 500 field with its own sprite engine and fake clock,
/// sounds (on), option marks and canvas; balls and bullets added through it are
/// destroyed with it. The random generator is seeded on construction.
class GameFixture {
public:
    explicit GameFixture(uint32_t seed = 12345);
    ~GameFixture();
    GameFixture(const GameFixture&) = delete;
    GameFixture& operator=(const GameFixture&) = delete;

    /// An alien ball (appended to Balls) at the given top-left corner.
    TCircle* AddBall(double x, double y, uint32_t radius, double vx = 0, double vy = 0);
    /// A bullet (appended to Bullets) at the given top-left corner.
    TBullet* AddBullet(double x, double y, double vx = 0, double vy = 0);

    /// Clears the Touching links of Balls, moves every sprite one step, runs one
    /// collision pass per ball (noting TouchingBefore after each) and the bullet pass.
    void Frame();
    /// The ball part of Frame without the move.
    void CollisionPasses();

    std::unique_ptr<TSpriteEngine> Engine;
    TGameState State;
    ManualClock Clock;
    RecordingSoundPlayer Sounds;
    FakeOptionMarks Options;
    RecordingCanvas Canvas;
};

} // namespace fenu::test
