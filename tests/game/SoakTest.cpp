// A long scripted headless session: title screens with demo balls added and
// removed, games of every difficulty with random cursor motion, clicks that fire
// bullets, pauses, lost focus, aborts and records, with the tick counter wrapping
// early on. Every frame checks the invariants of the field; at the end the heap
// must be no larger than after the first thousand frames.
//   FENU_SOAK_FRAMES=20000 tests/game_tests --gtest_filter='Soak*'   (quicker, e.g. under ASan)
#include "FakeCursor.h"
#include "FakeGameView.h"
#include "FakeServices.h"
#include "ManualClock.h"
#include "WireGame.h"
#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/Configuration.h"
#include "game/Game.h"
#include "game/Random.h"
#include "platform/Sound.h"

#include <cmath>
#include <cstdlib>
#include <malloc.h>
#include <random>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

constexpr long DefaultFrames = 200'000;
constexpr long WarmUpFrames = 1'000;
constexpr size_t HeapSlack = 1 << 20;
constexpr uint32_t FrameMs = 16;

long SoakFrames() {
    if (const char* text = std::getenv("FENU_SOAK_FRAMES")) {
        const long frames = std::strtol(text, nullptr, 10);
        if (frames > WarmUpFrames)
            return frames;
    }
    return DefaultFrames;
}

/// Counts sounds without keeping their names, so the count costs no memory.
class CountingSounds final : public SoundPlayer {
public:
    void Play(const char*) override { ++Played; }
    long Played = 0;
};

class Soak : public ::testing::Test {
protected:
    Soak() : view(engine), game(view, cursor) {
        WireGame(game, engine, clock, sounds, options, 777);
        options.SetSoundsChecked(true);
        options.SetBonusPointsChecked(true);
        view.answer = [this](QString& name) {
            ++prompts;
            name = QStringLiteral("Soak");
            return script() % 4 != 0; // now and then the prompt is cancelled
        };
        game.StartAttractMode();
    }
    int Roll(int n) { return static_cast<int>(script() % static_cast<uint32_t>(n)); }

    /// The cursor wanders; now and then it jumps.
    void MoveCursor() {
        if (Roll(200) == 0) {
            cursor.position = {view.origin.X + Roll(625), view.origin.Y + Roll(500)};
            return;
        }
        cursor.position.X += Roll(21) - 10;
        cursor.position.Y += Roll(21) - 10;
    }

    void NewGame() {
        const int choice = Roll(5);
        if (choice < 3) {
            game.Mode = static_cast<TMode>(choice);
            game.CurrentConfig = game.Presets[static_cast<size_t>(choice)];
        } else {
            game.Mode = CustomMode;
            TConfiguration custom;
            const int balls = 1 + Roll(20);
            for (int i = 0; i < balls; ++i)
                custom.BallRadii.push_back(5 + Roll(40));
            custom.PlayerRadius = 5 + Roll(40);
            custom.MaxStartSpeed = 1 + Roll(12);
            game.CurrentConfig = custom;
        }
        options.SetBonusPointsChecked(Roll(4) != 0);
        game.Neu1Click();
        fired = 0;
        playedMs = 0;
        ++games;
    }

    /// What the player does between two frames.
    void Act() {
        MoveCursor();
        if (game.AttractMode) {
            if (Roll(40) == 0)
                game.DXDrawMouseDown(Roll(2) ? TMouseButton::mbLeft : TMouseButton::mbRight,
                                     Roll(625), Roll(500));
            if (Roll(400) == 0)
                NewGame();
            return;
        }
        if (game.GameOverStep == 0 && Roll(12) == 0) {
            const size_t before = game.Bullets.size();
            game.DXDrawMouseDown(static_cast<TMouseButton>(Roll(3)), 0, 0);
            fired += game.Bullets.size() - before;
        }
        if (game.GameOverStep == 0 && Roll(1500) == 0) {
            game.Pause1Click(); // pause
            const uint32_t pause = 100 + static_cast<uint32_t>(Roll(5000));
            clock.Advance(pause);
            if (Roll(2) == 0) {
                const size_t before = game.Bullets.size();
                game.DXDrawMouseDown(TMouseButton::mbLeft, 0, 0); // also fires while paused
                fired += game.Bullets.size() - before;
            }
            game.Pause1Click(); // resume
        }
        if (game.GameOverStep == 0 && view.timerEnabled && Roll(2000) == 0) {
            game.DXTimerDeactivate();
            clock.Advance(static_cast<uint32_t>(Roll(10000)));
            game.DXTimerActivate();
        }
        if (Roll(20000) == 0)
            game.AbortGame();
    }

    void CheckInvariants(long frame) {
        ASSERT_EQ(engine.SpriteTotal, static_cast<int32_t>(game.Balls.size() + game.Bullets.size()))
            << "frame " << frame;
        ASSERT_FALSE(game.Balls.empty()) << "frame " << frame;
        if (game.AttractMode) {
            ASSERT_TRUE(game.Bullets.empty()) << "frame " << frame;
            ASSERT_GE(game.Balls.size(), static_cast<size_t>(TGame::MinDemoBalls));
            ASSERT_LE(game.Balls.size(), static_cast<size_t>(TGame::MaxDemoBalls));
        } else {
            ASSERT_LE(game.Bullets.size(), fired) << "frame " << frame;
            ASSERT_EQ(game.Balls.size(), game.CurrentConfig.BallRadii.size() + 1);
        }
        ASSERT_GE(game.GameOverStep, 0);
        ASSERT_LE(game.GameOverStep, TGame::FadeLength);
        const TRect field{0, 0, 625, 500};
        const auto check = [&](const TCircle* ball) {
            ASSERT_TRUE(std::isfinite(ball->X) && std::isfinite(ball->Y)) << "frame " << frame;
            ASSERT_TRUE(std::isfinite(ball->Velocity.X) && std::isfinite(ball->Velocity.Y));
            ASSERT_TRUE(Overlap(ball->BoundsRect(), field))
                << "frame " << frame << ": a ball left the field at " << ball->X << ", " << ball->Y;
        };
        for (const TCircle* ball : game.Balls)
            check(ball);
        // A bullet fired far beyond a wall takes a frame or two to come back.
        for (const TCircle* bullet : game.Bullets) {
            ASSERT_TRUE(std::isfinite(bullet->X) && std::isfinite(bullet->Y));
            ASSERT_LT(std::abs(bullet->X) + std::abs(bullet->Y), 5000.0) << "frame " << frame;
        }
    }

    TSpriteEngine engine;
    FakeGameView view;
    FakeCursor cursor;
    // Close below the wrap of the 32-bit tick counter, which the first game crosses.
    ManualClock clock{0xFFFFFFFFu - 90'000};
    CountingSounds sounds;
    FakeOptionMarks options;
    TGame game;

    std::minstd_rand script{4242};
    size_t fired = 0;
    uint32_t playedMs = 0; ///< playing time of the current game, counted here
    long games = 0;
    long endings = 0;
    int prompts = 0;
};

TEST_F(Soak, AScriptedSessionKeepsTheFieldSoundAndTheHeapFlat) {
    const long frames = SoakFrames();
    size_t heapAfterWarmUp = 0;
    bool wrapped = false;
    long maxBullets = 0;
    for (long frame = 0; frame < frames; ++frame) {
        Act();
        if (!view.timerEnabled) {
            // A finished game: the player starts the next one or goes to the title.
            if (Roll(3) == 0)
                game.AbortGame();
            else
                NewGame();
        }
        const uint32_t before = clock.Milliseconds();
        clock.Advance(FrameMs + static_cast<uint32_t>(Roll(3)));
        wrapped |= clock.Milliseconds() < before;
        const bool running = !game.AttractMode && game.GameOverStep == 0;
        if (running)
            playedMs += clock.Milliseconds() - before;
        game.DXTimerTimer(1);
        if (running && game.GameOverStep == 1) {
            // The game ended in this frame: its score is the time played, to the
            // millisecond, whatever the counter did meanwhile.
            ASSERT_EQ(game.TimePoints, playedMs / 1000) << "frame " << frame;
            ASSERT_GT(playedMs, TGame::GracePeriod);
            ++endings;
        }
        CheckInvariants(frame);
        if (HasFatalFailure())
            return;
        maxBullets = std::max(maxBullets, static_cast<long>(game.Bullets.size()));

        // The fake's own records are the test's, not the game's: keep them flat.
        view.fills.clear();
        view.captions.clear();
        cursor.history.clear();
        if (frame + 1 == WarmUpFrames)
            heapAfterWarmUp = mallinfo2().uordblks;
    }
    const size_t heapAtEnd = mallinfo2().uordblks;
    EXPECT_TRUE(wrapped);
    EXPECT_GT(games, 20);
    EXPECT_GT(endings, 10);
    EXPECT_GT(maxBullets, 5);
    EXPECT_GT(prompts, 0);
    EXPECT_LE(heapAtEnd, heapAfterWarmUp + HeapSlack)
        << "heap after " << WarmUpFrames << " frames: " << heapAfterWarmUp << " bytes, at the end "
        << heapAtEnd;
    RecordProperty("games", static_cast<int>(games));
    RecordProperty("endings", static_cast<int>(endings));
    RecordProperty("max_bullets", static_cast<int>(maxBullets));
    RecordProperty("heap_after_warm_up", static_cast<int>(heapAfterWarmUp));
    RecordProperty("heap_at_end", static_cast<int>(heapAtEnd));
}

} // namespace
} // namespace fenu::test
