// A record's run recorded, written, read back and played again, on fake services.
#include "WireGame.h"
#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/run/RunFile.h"

#include <bit>

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
    // After a game with shots in the same session, the run holds only its own.
    game.Neu1Click();
    PlayUntilEnd(false, 40);
    ASSERT_FALSE(game.LastRun().Shots.empty());
    game.Abbrechen1Click();
    game.Neu1Click();
    const auto played = PlayUntilEnd(false);
    ASSERT_NE(game.PlayerBall()->Touching, 0u) << "the game ends by a touch";
    const uint32_t points = game.TimePoints + game.BonusPoints;
    Fade();
    ASSERT_EQ(view.prompts, 1);
    EXPECT_GT(game.BonusPoints, 0u) << "bullets hit";

    const QByteArray file = WriteRunFile({points, QStringLiteral("Zoë"), "1.0"}, game.LastRun());
    TRunEntry entry;
    TRunRecording run;
    ASSERT_EQ(ReadRunFile(file, "1.0", entry, run), QString());
    EXPECT_EQ(run, game.LastRun());
    EXPECT_EQ(entry.Points, points);
    EXPECT_GT(run.Shots.size(), 1u);
    // Damaged and foreign files are refused with their reason.
    QByteArray flipped = file, otherFormat = file;
    flipped[file.size() / 2] = static_cast<char>(flipped[file.size() / 2] ^ 0x10);
    otherFormat[4] = 2;
    const std::pair<QByteArray, QString> refused[] = {
        {file.first(file.size() - 3), "unvollständig"},
        {file.first(5), "unvollständig"},
        {flipped, "Prüfsumme"},
        {QByteArray("[Settings]\r\nMode=1\r\n"), "kein Rekordlauf"},
        {otherFormat, "anderes Format"}};
    TRunEntry ignored;
    TRunRecording unread;
    for (const auto& [bytes, reason] : refused)
        EXPECT_TRUE(ReadRunFile(bytes, "1.0", ignored, unread).contains(reason))
            << reason.toStdString();
    EXPECT_TRUE(ReadRunFile(file, "1.1", ignored, unread).contains("Programmversion (1.0)"));
    // Another version's text is shown only short and printable.
    for (const QString& version : {QString(1000, u'9'), QStringLiteral("1.0\x1b]0;x\a")}) {
        const QString reason =
            ReadRunFile(WriteRunFile({points, {}, version}, run), "1.1", ignored, unread);
        EXPECT_TRUE(reason.contains("Programmversion") && reason.size() < 80 &&
                    !reason.contains(u'\x1b'))
            << reason.toStdString();
    }

    const uint32_t seed = GameRandom().Seed();
    game.StartReplay(run, entry.Player);
    EXPECT_FALSE(cursor.clip) << "the pointer is free";
    EXPECT_EQ(PlayUntilEnd(true), played) << "the player's cursor and clicks do nothing";
    EXPECT_EQ(game.TimePoints + game.BonusPoints, points);
    EXPECT_EQ(view.caption, QStringLiteral("feNU - Rekordlauf von Zoë [%1 Punkte]").arg(points));
    Fade();
    EXPECT_FALSE(game.Replaying());
    EXPECT_FALSE(view.timerEnabled) << "the last picture stays";
    EXPECT_EQ(view.prompts, 1) << "no record from a replay";
    EXPECT_EQ(GameRandom().Seed(), seed) << "watching decides nothing of the next game";

    // A run that plays differently here than where it was recorded stops.
    run.Checksums[1] ^= 1;
    game.StartReplay(run, entry.Player);
    PlayUntilEnd(true);
    EXPECT_TRUE(game.AttractMode);
    EXPECT_FALSE(game.Replaying());
}

// Numbers at the edges of their encoded lengths, written and read back: differences
// whose codes are 127|128 (a cursor step of -64|64 px), 16383|16384, 2^28 - 1|2^28 and
// the largest, and shots 127, 128, 16383 and 16384 frames apart.
TEST(RunFileNumbers, ValuesAtTheEdgesOfTheirLengthsReadBack) {
    TRunRecording run;
    run.Settings = {2, true, MakePresets()[2], 625, 500, 0xFFFFFFFFu};
    const auto add = [](int32_t value, int32_t step) {
        return static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(step));
    };
    TRunFrame frame;
    for (const int32_t step : {-64, 64, -8192, 8192, -(1 << 27), 1 << 27, INT32_MIN, INT32_MAX}) {
        frame = {frame.Elapsed + static_cast<uint32_t>(step),
                 {add(frame.Cursor.X, step), add(frame.Cursor.Y, -step)}};
        run.Frames.push_back(frame);
        run.Shots.push_back({0, frame.Cursor});
    }
    for (const uint32_t later : {127u, 128u, 16383u, 16384u})
        run.Shots.push_back({run.Shots.back().Frame + later, {}});
    run.Frames.resize(run.Shots.back().Frame + 1, frame);
    run.GameFrames = static_cast<uint32_t>(run.Frames.size());
    run.Checksums = {0, 0xFFFFFFFFu};
    const TRunEntry entry{0xFFFFFFFFu, QStringLiteral("Zoë"), "1.0"};
    TRunEntry entryRead;
    TRunRecording runRead;
    ASSERT_EQ(ReadRunFile(WriteRunFile(entry, run), "1.0", entryRead, runRead), QString());
    EXPECT_EQ(entryRead, entry);
    EXPECT_EQ(runRead, run);
}

} // namespace
} // namespace fenu::test
