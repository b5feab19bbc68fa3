// A recorded game proved by playing it again headless, and raced against its ghost.
#include "RecordingCanvas.h"
#include "WireGame.h"
#include "game/Circle.h"
#include "game/run/RunVerdict.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

class Race : public ::testing::Test, protected WiredGame {
protected:
    Race() : WiredGame(10) {
        game.Mode = 1;
        game.CurrentConfig = game.Presets[1];
        view.canvas = &canvas;
        clock.Set(700'000);
        game.StartAttractMode();
    }

    // What a game showed before each frame (the aliens' centres, the player's), and
    // whether the player's ball touched one in the grace period, changing their course.
    struct Course {
        std::vector<std::vector<TPoint>> aliens;
        std::vector<TPoint> player;
        bool touchedInGrace = false;
        size_t ghostMissing = 0; ///< frames without a ring where the ghost's path has it
    };
    // Plays to the end and through the fade, the cursor in the corner farthest from the
    // player's ball (fleeing: only a touch ends it) or in the field's middle.
    Course Play(bool flee, const TGhostPath* ghost = nullptr) {
        Course course;
        for (int frame = 0; game.GameOverStep == 0 && frame < 20000; ++frame) {
            std::vector<TPoint> balls;
            for (const TCircle* ball : game.Balls)
                balls.push_back({ball->MidX(), ball->MidY()});
            course.player.push_back(balls.back());
            balls.pop_back();
            course.aliens.push_back(balls);
            const TCircle* player = game.PlayerBall();
            const TPoint aim =
                !flee ? TPoint{312, 250}
                      : TPoint{player->MidX() < 312 ? 600 : 20, player->MidY() < 250 ? 480 : 20};
            cursor.position = {view.origin.X + aim.X, view.origin.Y + aim.Y};
            clock.Advance(16 + frame % 2);
            canvas.Calls.clear();
            game.DXTimerTimer(1);
            course.touchedInGrace |= clock.Milliseconds() - game.StartTicks <= TGame::GracePeriod &&
                                     game.PlayerBall()->Touching != 0;
            if (ghost && static_cast<size_t>(frame) < ghost->Centres.size()) {
                const TPoint c = ghost->Centres[static_cast<size_t>(frame)];
                const int32_t r = ghost->Radius;
                const std::string ring = "Ellipse " + std::to_string(c.X - r) + " " +
                                         std::to_string(c.Y - r) + " " + std::to_string(c.X + r) +
                                         " " + std::to_string(c.Y + r);
                course.ghostMissing += std::ranges::count(canvas.CallsOf("Ellipse"), ring) == 0;
            }
        }
        course.player.push_back({game.PlayerBall()->MidX(), game.PlayerBall()->MidY()});
        for (int frame = 1; frame < TGame::FadeLength; ++frame)
            game.DXTimerTimer(1);
        return course;
    }

    RecordingCanvas canvas;
};

TEST_F(Race, ARunIsProvedByItsReplayAndRacedOnItsCourseAgainstItsGhost) {
    game.Neu1Click();
    const Course played = Play(true);
    ASSERT_FALSE(played.touchedInGrace) << "a seed whose run keeps the aliens' course";
    const TRunRecording run = game.LastRun();
    const uint32_t points = game.TimePoints + game.BonusPoints;
    view.prompts = 0;

    // Played again headless: the points, the player's way, the generator untouched.
    const uint32_t seed = GameRandom().Seed();
    const TRunPlayback replay = PlayRunHeadless(run);
    EXPECT_EQ(GameRandom().Seed(), seed);
    EXPECT_TRUE(replay.ReachedEnd && replay.Ghost.Ended);
    EXPECT_EQ(replay.Points, points);
    EXPECT_EQ(replay.Ghost.Centres, played.player);
    const TRunEntry claim{points, QStringLiteral("%1 Rita"), "1.0"}; // a name, never a format
    const QString verdict = VerdictLine(claim, run.Settings, replay);
    EXPECT_TRUE(verdict.startsWith("%1 Rita, Mittel: in") && verdict.endsWith("stimmt überein"));
    // Other points claimed, a run cut short, a run that drifts: none is proved.
    EXPECT_FALSE(Proves({points + 1, claim.Player, claim.ProgramVersion}, replay));
    TRunRecording cut = run, drifting = run, overlong = run;
    overlong.Checksums.push_back(run.Checksums.back());
    EXPECT_FALSE(Proves(claim, PlayRunHeadless(overlong)));
    cut.Frames.resize(cut.Frames.size() / 2);
    cut.GameFrames = 0;
    const TRunPlayback cutReplay = PlayRunHeadless(cut);
    EXPECT_FALSE(Proves(claim, cutReplay));
    EXPECT_TRUE(
        VerdictLine(claim, run.Settings, cutReplay).endsWith("vor dem Ende seines Spiels."));
    drifting.Checksums.back() ^= 1;
    drifting.Machine = RunMachine() == "arm64" ? "x86_64" : "arm64";
    EXPECT_TRUE(VerdictLine(claim, run.Settings, PlayRunHeadless(drifting))
                    .contains("auf einem anderen Computertyp"));

    // The race: the same aliens frame for frame, the ghost where the run's ball was,
    // no record, a race in the statistics, its run the last game.
    const TRecordTable records = game.Records;
    const size_t gamesKept = view.finished.size();
    GameRandom().SetSeed(4711); // not where the run's course leaves the generator
    const uint32_t ownSeed = GameRandom().Seed();
    sounds.Clear();
    game.StartRace({run.Settings, replay.Ghost, QStringLiteral("Rita"), points});
    const Course raced = Play(false, &replay.Ghost);
    EXPECT_EQ(GameRandom().Seed(), ownSeed) << "the player's own generator back";
    ASSERT_FALSE(raced.touchedInGrace) << "the racer keeps the aliens' course";
    ASSERT_LT(raced.aliens.size(), played.aliens.size());
    EXPECT_TRUE(std::equal(raced.aliens.begin(), raced.aliens.end(), played.aliens.begin()));
    EXPECT_EQ(raced.ghostMissing, 0u);
    const uint32_t racePoints = game.TimePoints + game.BonusPoints;
    EXPECT_TRUE(view.captions.back().startsWith(
        QStringLiteral("feNU - [%1 Punkte] gegen Rita (%2)").arg(racePoints).arg(points)));
    EXPECT_EQ(view.raceResult, QStringLiteral("%1:%2 Rita").arg(racePoints).arg(points));
    EXPECT_EQ(sounds.Count("SUCCESS"), racePoints > points ? 1 : 0) << racePoints << " " << points;
    EXPECT_EQ(view.prompts, 0);
    EXPECT_EQ(game.Records, records);
    ASSERT_EQ(view.finished.size(), gamesKept + 1);
    EXPECT_TRUE(view.finished.back().Race);
    EXPECT_EQ(game.LastRun().Settings, run.Settings);
    EXPECT_FALSE(game.Racing());

    // A tie passes nothing; passing the run's points is told once; where the run
    // ended, its ghost is crossed.
    sounds.Clear();
    game.StartRace({run.Settings, replay.Ghost, QStringLiteral("Rita"), racePoints});
    Play(false);
    EXPECT_EQ(sounds.Count("SUCCESS"), 0);
    EXPECT_FALSE(view.captions.back().endsWith("überholt!"));
    game.StartRace({run.Settings, replay.Ghost, claim.Player, 1});
    Play(false);
    EXPECT_EQ(sounds.Count("SUCCESS"), 1);
    EXPECT_TRUE(view.captions.back().endsWith(" gegen %1 Rita (1) – überholt!"));
    canvas.Calls.clear();
    TGhost::Draw(canvas, replay.Ghost, replay.Ghost.Centres.size() + 5);
    EXPECT_EQ(canvas.CallsOf("Line").size(), 2u);
}

} // namespace
} // namespace fenu::test
