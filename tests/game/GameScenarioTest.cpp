// Whole games on a fake clock, cursor, sound and prompt, replayed from a fixed seed.
#include "FakeCursor.h"
#include "FakeGameView.h"
#include "FakeServices.h"
#include "ManualClock.h"
#include "WireGame.h"
#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/Game.h"
#include "game/Random.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

class GameScenario : public ::testing::Test, protected WiredGame {
protected:
    GameScenario() : WiredGame(12345) {
        options.SetBonusPointsChecked(false);
        options.SetSoundsChecked(true);
        clock.Set(1'000'000);
        cursor.position = {0, 0};
        game.StartAttractMode();
    }

    /// Keeps the cursor far from the player's ball so steering never ends the game.
    void KeepCursorAway() {
        TCircle* player = game.PlayerBall();
        const int targetX = player->MidX() < 312 ? 600 : 20;
        const int targetY = player->MidY() < 250 ? 480 : 20;
        cursor.position = {view.origin.X + targetX, view.origin.Y + targetY};
    }

    /// Puts the cursor on the player's ball, which the steering reports as a catch.
    void CursorOnPlayer() {
        TCircle* player = game.PlayerBall();
        cursor.position = {view.origin.X + player->MidX(), view.origin.Y + player->MidY()};
    }

    /// Plays running frames until the given elapsed time, the ball never caught.
    void RunUntil(uint32_t elapsed) {
        while (clock.Milliseconds() - game.StartTicks < elapsed) {
            clock.Advance(
                std::min<uint32_t>(16, elapsed - (clock.Milliseconds() - game.StartTicks)));
            KeepAliensAway();
            KeepCursorAway();
            game.DXTimerTimer(1);
        }
    }

    /// Parks the alien balls in a corner so no contact interferes with the scenario.
    void KeepAliensAway() {
        for (size_t i = 0; i + 1 < game.Balls.size(); ++i) {
            TCircle* alien = game.Balls[i];
            alien->X = 625 - 2.0 * alien->Radius();
            alien->Y = 0;
            alien->Velocity = TVector(1, -1);
        }
        TCircle* player = game.PlayerBall();
        player->X = std::min(player->X.Value(), 400.0);
        player->Y = std::max(player->Y.Value(), 150.0);
    }

    /// Ends the running game by catching the cursor at the given elapsed time and
    /// plays the whole fade.
    void EndGameAt(uint32_t elapsed) {
        RunUntil(elapsed);
        CursorOnPlayer();
        game.DXTimerTimer(1);
        ASSERT_EQ(game.GameOverStep, 1);
        for (int frame = 0; frame < 63; ++frame)
            game.DXTimerTimer(1);
    }

    void StartGame() {
        KeepCursorAway();
        game.Neu1Click();
    }
};

TEST_F(GameScenario, StartsOnTheTitleScreenWithOneToSixDemoBalls) {
    EXPECT_TRUE(game.AttractMode);
    EXPECT_TRUE(view.timerEnabled);
    EXPECT_GE(game.Balls.size(), 1u);
    EXPECT_LE(game.Balls.size(), 6u);
    for (TCircle* ball : game.Balls)
        EXPECT_EQ(ball->Radius(), 30u);
    game.DXTimerTimer(1);
    EXPECT_EQ(view.fills, std::vector<uint32_t>{0});
    EXPECT_EQ(view.flips, 1);
    EXPECT_TRUE(view.captions.empty()) << "the title screen leaves the caption alone";
}

TEST_F(GameScenario, NewGameBuildsTheBallsOfTheConfigurationAndConfinesTheCursor) {
    game.CurrentConfig = game.Presets[2];
    StartGame();
    ASSERT_EQ(game.Balls.size(), 4u);
    EXPECT_EQ(game.Balls[0]->Radius(), 30u);
    EXPECT_EQ(game.PlayerBall()->Radius(), 25u);
    EXPECT_FALSE(game.AttractMode);
    EXPECT_EQ(game.GameOverStep, 0);
    EXPECT_FALSE(view.pauseChecked);
    ASSERT_TRUE(cursor.clip.has_value());
    EXPECT_EQ(*cursor.clip, (TRect{100 + 25, 50 + 25, 100 + 625 - 25, 50 + 500 - 25}));
}

TEST_F(GameScenario, ACatchInTheGracePeriodIsIgnoredAndOneAfterItEndsTheGame) {
    StartGame();
    RunUntil(1500);
    CursorOnPlayer();
    game.DXTimerTimer(1);
    EXPECT_EQ(game.GameOverStep, 0) << "ignored at 1.5 s";
    RunUntil(2000);
    CursorOnPlayer();
    game.DXTimerTimer(1);
    EXPECT_EQ(game.GameOverStep, 0) << "ignored at 2000 ms, the grace period's last";
    RunUntil(2500);
    CursorOnPlayer();
    game.DXTimerTimer(1);
    EXPECT_EQ(game.GameOverStep, 1);
    EXPECT_EQ(game.TimePoints, 2u);
    EXPECT_EQ(sounds.Played.back(), "GAMEOVER");
    ASSERT_TRUE(cursor.clip.has_value());
    EXPECT_EQ(cursor.clip->Left, cursor.clip->Right) << "held at one point during the fade";
}

TEST_F(GameScenario, AnEndAt2001MsGivesTwoPoints) {
    StartGame();
    EndGameAt(2001);
    EXPECT_EQ(game.TimePoints, 2u);
}

TEST_F(GameScenario, TheCaptionBlinksDuringTheGracePeriod) {
    StartGame();
    RunUntil(99);
    EXPECT_EQ(view.caption, "feNU - [0 Punkte]");
    RunUntil(100);
    EXPECT_EQ(view.caption, "feNU");
    RunUntil(199);
    EXPECT_EQ(view.caption, "feNU");
    RunUntil(200);
    EXPECT_EQ(view.caption, "feNU - [0 Punkte]");
    RunUntil(2150);
    EXPECT_EQ(view.caption, "feNU - [2 Punkte]");
}

TEST_F(GameScenario, TheCaptionShowsTheSecondsWithTheBonusOption) {
    options.SetBonusPointsChecked(true);
    StartGame();
    game.BonusPoints = 30;
    RunUntil(17'050);
    EXPECT_EQ(view.caption, "feNU - [47 Punkte, 17 Sek.]");
}

TEST_F(GameScenario, TheFadeTakes63FramesOfRisingGreyThenStopsTheTimer) {
    StartGame();
    RunUntil(3000);
    CursorOnPlayer();
    game.DXTimerTimer(1);
    view.fills.clear();
    const auto positions = game.PlayerBall()->X;
    for (int frame = 0; frame < 63; ++frame) {
        EXPECT_TRUE(view.timerEnabled);
        game.DXTimerTimer(1);
    }
    ASSERT_EQ(view.fills.size(), 63u);
    for (uint32_t s = 1; s <= 63; ++s)
        EXPECT_EQ(view.fills[s - 1], s * 0x040404u);
    EXPECT_EQ(view.fills.back(), 0xFCFCFCu);
    EXPECT_EQ(game.PlayerBall()->X, positions) << "nothing moves during the fade";
    EXPECT_EQ(game.GameOverStep, 64);
    EXPECT_FALSE(view.timerEnabled);
    EXPECT_FALSE(cursor.clip.has_value()) << "the cursor is free after the fade";
}

TEST_F(GameScenario, AnEqualScoreSetsNoRecordAndOneMorePointAsksForTheName) {
    game.Records[0][0] = {3, QStringLiteral("Eva")};
    StartGame();
    EndGameAt(3500);
    EXPECT_EQ(view.prompts, 0);
    EXPECT_EQ(game.Records[0][0].Points, 3u);

    view.answer = [](QString& name) {
        name = QStringLiteral("Anna");
        return true;
    };
    StartGame();
    EndGameAt(4100);
    ASSERT_EQ(view.prompts, 1);
    EXPECT_EQ(view.promptTitle, "Neuer Rekord");
    EXPECT_EQ(view.promptInitial, "Eva");
    EXPECT_EQ(view.promptText, "Neuer Rekord in der Schwierigkeitsstufe \"Einfach\":\r\n"
                               "4 Punkte\r\n\r\nAlter Rekord: 3 Punkte\r\n\r\n"
                               "Geben Sie Ihren Namen ein:");
    EXPECT_EQ(game.Records[0][0], (TRecord{4, QStringLiteral("Anna")}));
    EXPECT_EQ(view.recordsShown, 1);
    EXPECT_NE(std::find(sounds.Played.begin(), sounds.Played.end(), "SUCCESS"),
              sounds.Played.end());
}

TEST_F(GameScenario, TheBonusPromptListsTimeBonusAndTotal) {
    options.SetBonusPointsChecked(true);
    game.Mode = 1;
    game.CurrentConfig = game.Presets[1];
    game.Records[1][1] = {40, QStringLiteral("Eva")};
    view.answer = [](QString&) { return true; };
    StartGame();
    game.BonusPoints = 20;
    EndGameAt(35'200);
    EXPECT_EQ(view.promptText, "Neuer Rekord in der Schwierigkeitsstufe \"Mittel\":\r\n"
                               "35 Punkte (Zeit)\r\n20 Punkte (Bonus)\r\n55 Punkte (insgesamt)"
                               "\r\n\r\nAlter Rekord: 40 Punkte\r\n\r\nGeben Sie Ihren Namen ein:");
    EXPECT_EQ(game.Records[1][1], (TRecord{55, QStringLiteral("Eva")}));
    EXPECT_EQ(game.Records[0][1].Points, 0u) << "the table without bonus is untouched";
}

TEST_F(GameScenario, ACancelledPromptStoresNothingAndAnEmptyNameIsUnknown) {
    StartGame();
    EndGameAt(3000);
    EXPECT_EQ(view.prompts, 1);
    EXPECT_EQ(game.Records[0][0].Points, 0u);
    EXPECT_EQ(view.recordsShown, 0);

    view.answer = [](QString& name) {
        name.clear();
        return true;
    };
    StartGame();
    EndGameAt(3000);
    EXPECT_EQ(game.Records[0][0], (TRecord{3, QStringLiteral("(Unbekannt)")}));
}

TEST_F(GameScenario, ACustomGameNeverSetsARecord) {
    game.Mode = 3;
    view.answer = [](QString&) { return true; };
    StartGame();
    EndGameAt(9000);
    EXPECT_EQ(view.prompts, 0);
    EXPECT_EQ(std::count(sounds.Played.begin(), sounds.Played.end(), "SUCCESS"), 0);
    for (const auto& table : game.Records)
        for (const TRecord& entry : table)
            EXPECT_EQ(entry.Points, 0u);
}

// Preset and custom, ended or left: each once, the first before its record prompt.
TEST_F(GameScenario, EveryGameIsHandedToTheStatisticsOnceWithHowItEnded) {
    size_t finishedAtPrompt = 0;
    view.answer = [&](QString&) { return (finishedAtPrompt = view.finished.size()) > 0; };
    StartGame();
    EndGameAt(3000);
    EXPECT_EQ(finishedAtPrompt, 1u);
    game.Mode = 3;
    game.CurrentConfig = {{20, 20}, 15, 5};
    StartGame();
    RunUntil(1500);
    StartGame(); // F2 while it runs
    RunUntil(2200);
    game.Pause1Click();
    game.Abbrechen1Click();
    game.Abbrechen1Click();
    ASSERT_EQ(view.finished.size(), 3u);
    const TPlayedGame& caught = view.finished[0];
    EXPECT_EQ(caught.End, TGameEnd::Caught);
    EXPECT_EQ(caught.Mode, 0);
    EXPECT_EQ(caught.TimePoints, 3u);
    EXPECT_GE(caught.Milliseconds, 3000u);
    EXPECT_TRUE(caught.Config.BallRadii.empty()) << "a preset's settings are its difficulty's";
    for (const TPlayedGame& left : {view.finished[1], view.finished[2]}) {
        EXPECT_EQ(left.End, TGameEnd::Aborted);
        EXPECT_EQ(left.Config, game.CurrentConfig);
    }
    EXPECT_EQ(view.finished[1].Milliseconds, 1500u);
    EXPECT_EQ(view.finished[2].TimePoints, 2u);
    EXPECT_LE(std::abs(view.finished[2].StartedUtc.secsTo(QDateTime::currentDateTimeUtc())), 5);
}

TEST_F(GameScenario, NewGameDuringTheFadeSkipsTheRecordCheck) {
    view.answer = [](QString&) { return true; };
    StartGame();
    RunUntil(5000);
    CursorOnPlayer();
    game.DXTimerTimer(1);
    for (int frame = 0; frame < 10; ++frame)
        game.DXTimerTimer(1);
    StartGame();
    EXPECT_EQ(game.GameOverStep, 0);
    RunUntil(100);
    EXPECT_EQ(view.prompts, 0);
}

// Chosen from a menu opened before the game ended (or on the title screen).
TEST_F(GameScenario, PauseAndAbortChosenWhenNoLongerOfferedDoNothing) {
    view.answer = [](QString&) { return true; };
    StartGame();
    RunUntil(3000);
    CursorOnPlayer();
    for (int frame = 0; frame < 30; ++frame)
        game.DXTimerTimer(1);
    game.Pause1Click(); // in the fade
    for (int frame = 0; frame < 40 && view.timerEnabled; ++frame)
        game.DXTimerTimer(1);
    EXPECT_EQ(view.prompts, 1) << "the fade went on to the record prompt";
    game.AbortGame();
    const std::vector<TCircle*> demoBalls = game.Balls;
    view.fills.clear();
    game.Pause1Click();
    game.Abbrechen1Click();
    EXPECT_TRUE(view.fills.empty() && view.timerEnabled && game.Balls == demoBalls);
}

TEST_F(GameScenario, AbortWhilePausedShowsOneBlackFrameAndFreesTheCursor) {
    StartGame();
    RunUntil(1000);
    game.Pause1Click();
    EXPECT_FALSE(view.timerEnabled);
    EXPECT_FALSE(cursor.clip.has_value());
    view.fills.clear();
    view.flips = 0;
    game.AbortGame();
    EXPECT_EQ(view.fills, std::vector<uint32_t>{0});
    EXPECT_EQ(view.flips, 1);
    EXPECT_EQ(view.caption, "feNU");
    EXPECT_TRUE(game.AttractMode);
    EXPECT_TRUE(view.timerEnabled);
    EXPECT_FALSE(cursor.clip.has_value());
    EXPECT_EQ(view.prompts, 0);
}

TEST_F(GameScenario, PauseAndInactivityDoNotCountAsPlayingTime) {
    StartGame();
    RunUntil(1000);
    game.Pause1Click();
    clock.Advance(10'000);
    game.Pause1Click();
    EXPECT_TRUE(cursor.clip.has_value()) << "resuming confines the cursor again";
    game.DXTimerDeactivate();
    clock.Advance(10'000);
    cursor.clip.reset();
    game.DXTimerActivate();
    EXPECT_TRUE(cursor.clip.has_value()) << "reactivation confines the cursor again";
    EXPECT_EQ(clock.Milliseconds() - game.StartTicks, 1000u);
}

TEST_F(GameScenario, ATickCounterWrapDuringAGameDoesNoHarm) {
    clock.Set(0xFFFFFFFFu - 1500);
    StartGame();
    RunUntil(2500);
    EXPECT_LT(clock.Milliseconds(), 2000u) << "the counter wrapped";
    EXPECT_EQ(game.GameOverStep, 0);
    CursorOnPlayer();
    game.DXTimerTimer(1);
    EXPECT_EQ(game.TimePoints, 2u);
}

TEST_F(GameScenario, AbortReturnsToANewlyDrawnNumberOfDemoBalls) {
    StartGame();
    game.AbortGame();
    EXPECT_GE(game.Balls.size(), 1u);
    EXPECT_LE(game.Balls.size(), 6u);
    for (TCircle* ball : game.Balls)
        EXPECT_EQ(ball->Radius(), 30u);
    EXPECT_EQ(engine.SpriteTotal, static_cast<int32_t>(game.Balls.size()));
}

} // namespace
} // namespace fenu::test
