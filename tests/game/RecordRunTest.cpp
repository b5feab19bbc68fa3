// A record's run recorded, written, read back and played again, on fake services.
#include "WireGame.h"
#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/run/RunFile.h"

#include <bit>

#include <QFile>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

class RecordRun : public ::testing::Test, protected WiredGame {
protected:
    RecordRun() : WiredGame(4711) {
        options.SetBonusPointsChecked(true);
        game.Mode = 2;
        game.CurrentConfig = game.Presets[2];
        clock.Set(1'000'000);
        game.StartAttractMode();
    }

    // Every ball's and bullet's position to the last bit, then the bonus points.
    std::vector<uint64_t> Picture() const {
        std::vector<uint64_t> bits;
        for (const TCircle* ball : game.Balls)
            bits.insert(bits.end(), {std::bit_cast<uint64_t>(ball->X.Value()),
                                     std::bit_cast<uint64_t>(ball->Y.Value())});
        for (const TBullet* bullet : game.Bullets)
            bits.insert(bits.end(), {std::bit_cast<uint64_t>(bullet->X.Value()),
                                     std::bit_cast<uint64_t>(bullet->Y.Value())});
        bits.push_back(game.BonusPoints);
        return bits;
    }

    // The cursor in the corner farthest from the player's ball, so only a touch ends.
    void AimAway() {
        const TCircle* player = game.PlayerBall();
        cursor.position = {view.origin.X + (player->MidX() < 312 ? 600 : 20),
                           view.origin.Y + (player->MidY() < 250 ? 480 : 20)};
    }

    std::vector<std::vector<uint64_t>> PlayUntilEnd(bool replay, int frames = 20000) {
        std::vector<std::vector<uint64_t>> pictures;
        for (int frame = 0; game.GameOverStep == 0 && frame < frames; ++frame) {
            clock.Advance(replay ? 5 : 16 + frame % 2);
            if (frame % 25 == 3)
                game.DXDrawMouseDown(TMouseButton::mbLeft, 1, 1);
            if (frame == 50 && !replay) {
                game.Pause1Click();
                clock.Advance(3000);
                game.Pause1Click();
                clock.Advance(5000); // and a stall: the machine or the process stopped
            }
            if (replay)
                cursor.position = {frame, frame};
            else
                AimAway();
            game.DXTimerTimer(1);
            pictures.push_back(Picture());
        }
        return pictures;
    }

    void Fade() {
        for (int frame = 0; frame < TGame::FadeLength - 1; ++frame)
            game.DXTimerTimer(1);
    }
};

TEST_F(RecordRun, ARecordedGamePlaysAgainFrameForFrameFromItsFile) {
    view.answer = [](QString& name) {
        name = QStringLiteral("Zoë");
        return true;
    };
    game.Neu1Click(); // a game with shots before: the run recorded next holds its own only
    PlayUntilEnd(false, 40);
    game.DXDrawMouseDown(TMouseButton::mbLeft, 1, 1);
    game.Abbrechen1Click();
    const TRunRecording aborted = game.LastRun();
    ASSERT_EQ(aborted.Shots.back().Frame, aborted.Frames.size()) << "a shot after the last frame";
    game.Neu1Click();
    const auto played = PlayUntilEnd(false);
    ASSERT_NE(game.PlayerBall()->Touching, 0u) << "the game ends by a touch";
    const uint32_t points = game.TimePoints + game.BonusPoints;
    Fade();
    ASSERT_EQ(view.prompts, 1);
    EXPECT_GT(game.BonusPoints, 0u) << "bullets hit";

    // A file's name comes back without what would reorder or hide the caption's points.
    const QByteArray file =
        WriteRunFile({points, QStringLiteral("Zo\u202Eë\u2066\a"), "1.0"}, game.LastRun());
    TRunEntry entry;
    TRunRecording run;
    ASSERT_EQ(ReadRunFile(file, "1.0", entry, run), QString());
    EXPECT_EQ(run, game.LastRun());
    EXPECT_EQ(run.Machine, RunMachine());
    EXPECT_EQ(entry.Points, points);
    EXPECT_GT(run.Shots.size(), 1u);
    // Damaged and foreign files are refused with their reason.
    TRunRecording later = run, back = run;
    for (size_t i = run.GameFrames - 5; i < run.Frames.size(); ++i)
        later.Frames[i].Elapsed += 1'000'000'000;        // a million seconds, and points to match
    back.Frames[7].Elapsed = back.Frames[6].Elapsed - 1; // going back
    QByteArray flipped = file, otherFormat = file;
    flipped[file.size() / 2] = static_cast<char>(flipped[file.size() / 2] ^ 0x10);
    otherFormat[4] = 3;
    const std::pair<QByteArray, QString> refused[] = {
        {file.first(file.size() - 3), "unvollständig"},
        {file.first(5), "unvollständig"},
        {flipped, "Prüfsumme"},
        {QByteArray("[Settings]\r\nMode=1\r\n"), "kein Rekordlauf"},
        {otherFormat, "anderes Format"},
        {WriteRunFile({points + 1'000'000, {}, "1.0"}, later), "passt nicht zu ihrer eigenen"},
        {WriteRunFile(entry, back), "passt nicht zu ihrer eigenen Aufnahme"},
        {WriteRunFile({points, QString(RunFileMaxPlayerLength + 1, u'x'), "1.0"}, run),
         "Name des Spielers in der Datei ist zu lang"}};
    TRunEntry ignored;
    TRunRecording unread;
    for (const auto& [bytes, reason] : refused)
        EXPECT_TRUE(ReadRunFile(bytes, "1.0", ignored, unread).contains(reason))
            << reason.toStdString();
    EXPECT_TRUE(ReadRunFile(file, "1.1", ignored, unread).contains("Programmversion"));
    for (const QString& version : {QString(1000, u'9'), QStringLiteral("1.0\x1b[2J")}) {
        const QString why = ReadRunFile(WriteRunFile({1, {}, version}, run), "2", ignored, unread);
        EXPECT_TRUE(why.contains("Programmversion.")) << "shown only short and printable";
    }
    // Numbers at the edges of their encoded lengths: codes 127|128 (a cursor step of
    // -64|64 px), 16383|16384, 2^28 - 1|2^28 and the largest; of a custom game, by a
    // player of the longest name.
    TRunRecording edges = run, edgesRead;
    edges.Settings.Mode = CustomMode;
    const TRunEntry longest{points, QString(RunFileMaxPlayerLength, u'x'), "1.0"};
    for (const int32_t step : {-64, 64, -8192, 8192, -(1 << 27), 1 << 27, INT32_MIN, INT32_MAX}) {
        const TRunFrame last = edges.Frames.back();
        edges.Frames.push_back({last.Elapsed + (step > 0 ? static_cast<uint32_t>(step) : 0),
                                {last.Cursor.X + step, last.Cursor.Y}});
    }
    ASSERT_EQ(ReadRunFile(WriteRunFile(longest, edges), "1.0", ignored, edgesRead), QString());
    EXPECT_EQ(edgesRead, edges);
    EXPECT_EQ(ignored, longest);
    EXPECT_TRUE(PeekRunEntry(WriteRunFile(longest, edges), ignored));
    // The fuzzer's seeds are runs of both formats read, the one before the machine was
    // recorded too (of unknown machine); a refused seed would seed refusals only.
    const std::pair<const char*, QString> seeds[] = {{"seed-without-machine", ""},
                                                     {"seed-with-machine", "x86_64"}};
    for (const auto& [name, machine] : seeds) {
        QFile seed(QStringLiteral(FENU_RUN_CORPUS "/%1.fenurun").arg(name));
        ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
        EXPECT_EQ(ReadRunFile(seed.readAll(), "1.0.0.0", ignored, edgesRead), QString());
        EXPECT_EQ(edgesRead.Machine, machine);
    }

    const uint32_t seed = GameRandom().Seed();
    const size_t gamesKept = view.finished.size();
    game.StartReplay(run, entry.Player);
    EXPECT_FALSE(cursor.clip) << "the pointer is free";
    EXPECT_EQ(PlayUntilEnd(true), played) << "the player's cursor and clicks do nothing";
    EXPECT_EQ(game.TimePoints + game.BonusPoints, points);
    EXPECT_EQ(view.caption, QStringLiteral("feNU - Rekordlauf von Zoë [%1 Punkte]").arg(points));
    Fade();
    EXPECT_FALSE(game.Replaying());
    EXPECT_FALSE(view.timerEnabled) << "the last picture stays";
    EXPECT_EQ(view.prompts, 1) << "no record from a replay";
    EXPECT_EQ(view.finished.size(), gamesKept) << "nor a game for the statistics";
    EXPECT_EQ(GameRandom().Seed(), seed) << "watching decides nothing of the next game";

    // Twice as fast: half the frames; eight times, and no faster: an eighth, to the same end.
    game.StartReplay(run, entry.Player);
    game.ChangeReplaySpeed(true);
    EXPECT_EQ(PlayUntilEnd(true).size(), (played.size() + 1) / 2);
    game.StartReplay(run, entry.Player);
    for (int faster = 0; faster < 4; ++faster)
        game.ChangeReplaySpeed(true);
    view.flips = 0;
    const auto fast = PlayUntilEnd(true);
    EXPECT_EQ(fast.size(), (played.size() + 7) / 8);
    EXPECT_EQ(view.flips, static_cast<int>(fast.size())) << "each waits for a frame: one a frame";
    EXPECT_EQ(fast.back(), played.back());
    EXPECT_TRUE(view.caption.endsWith(QStringLiteral(" Punkte] (8×)")));
    while (game.Replaying())
        game.DXTimerTimer(1);

    // A run left before its end (Esc) ends as its game did, on the title screen, the
    // game's own too, with a shot clicked after its last frame.
    TRunRecording left = run;
    left.Frames.resize(100);
    left.GameFrames = 0;
    TRunRecording abortedRead;
    ASSERT_EQ(ReadRunFile(WriteRunFile(entry, aborted), "1.0", ignored, abortedRead), QString());
    EXPECT_EQ(abortedRead, aborted);
    for (const TRunRecording& played : {left, abortedRead}) {
        game.StartReplay(played, entry.Player);
        PlayUntilEnd(true, 200);
        EXPECT_TRUE(game.AttractMode);
    }
    EXPECT_EQ(view.replayFailures, 0);

    // A run that plays differently here than where it was recorded stops, and says so,
    // naming another kind of machine where it was recorded on one.
    run.Checksums[1] ^= 1;
    const QString other = RunMachine() == "arm64" ? "x86_64" : "arm64";
    for (const QString& machine : {RunMachine(), other, QString()}) {
        run.Machine = machine;
        game.StartReplay(run, entry.Player);
        PlayUntilEnd(true);
        EXPECT_TRUE(game.AttractMode);
        EXPECT_FALSE(game.Replaying());
        EXPECT_EQ(view.replayFailure.startsWith("Die Datei passt nicht"), machine != other);
        EXPECT_EQ(view.replayFailure.contains("anderen Computertyp (" + other + ")"),
                  machine == other);
    }
}

} // namespace
} // namespace fenu::test
