// The player's steering, the cursor confinement and the mouse commands.
#include "FakeCursor.h"
#include "FakeGameView.h"
#include "FakeServices.h"
#include "ManualClock.h"
#include "WireGame.h"
#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/Game.h"
#include "game/Random.h"

#include <numbers>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

class GameCommands : public ::testing::Test, protected WiredGame {
protected:
    GameCommands() : WiredGame(777) { options.SetBonusPointsChecked(true); }

    /// A running game whose player's ball has its centre at (100, 100).
    TCircle& PlayerAt100(uint32_t radius, TVector velocity) {
        game.Neu1Click();
        TCircle& player = *game.PlayerBall();
        player.SetRadius(radius);
        player.X = 100.0 - radius;
        player.Y = 100.0 - radius;
        player.Velocity = velocity;
        return player;
    }

    void CursorAtClient(int x, int y) { cursor.position = {view.origin.X + x, view.origin.Y + y}; }
};

TEST_F(GameCommands, TheCursorOnTheRimCountsAsCaught) {
    TCircle& player = PlayerAt100(40, {3, 4});
    cursor.clip.reset();
    CursorAtClient(140, 100);
    EXPECT_FALSE(game.SteerPlayerBall());
    EXPECT_EQ(player.Velocity.X, 3);
    EXPECT_EQ(player.Velocity.Y, 4);
    CursorAtClient(141, 100);
    EXPECT_TRUE(game.SteerPlayerBall());
}

TEST_F(GameCommands, SteeringTurnsTheVelocityTowardTheCursorKeepingItsSpeed) {
    TCircle& player = PlayerAt100(10, {3, 4});
    cursor.clip.reset();
    CursorAtClient(200, 100);
    ASSERT_TRUE(game.SteerPlayerBall());
    EXPECT_NEAR(player.Velocity.X, 5, 1e-12);
    EXPECT_NEAR(player.Velocity.Y, 0, 1e-12);

    CursorAtClient(100, 300); // straight below
    ASSERT_TRUE(game.SteerPlayerBall());
    EXPECT_NEAR(player.Velocity.Angle(), std::numbers::pi / 2, 1e-12);
    CursorAtClient(100, 20); // straight above
    ASSERT_TRUE(game.SteerPlayerBall());
    EXPECT_NEAR(player.Velocity.Angle(), -std::numbers::pi / 2, 1e-12);
    CursorAtClient(20, 100); // same row, to the left
    ASSERT_TRUE(game.SteerPlayerBall());
    EXPECT_NEAR(player.Velocity.Angle(), std::numbers::pi, 1e-12);
    CursorAtClient(100 - 30, 100 + 40); // dx = -3, dy = 4 scaled
    ASSERT_TRUE(game.SteerPlayerBall());
    EXPECT_NEAR(player.Velocity.X, -3, 1e-12);
    EXPECT_NEAR(player.Velocity.Y, 4, 1e-12);
}

TEST_F(GameCommands, TheConfinementLeavesRoomForThePlayersRadius) {
    PlayerAt100(40, {1, 1});
    game.UpdateCursorClip();
    cursor.position = {-1000, -1000};
    EXPECT_EQ(cursor.Pos(), (TPoint{100 + 40, 50 + 40}));
    cursor.position = {5000, 5000};
    EXPECT_EQ(cursor.Pos(), (TPoint{100 + 584, 50 + 459}));

    // The window moved during the game: the next frame confines to the field's new place.
    view.origin = {300, 150};
    game.DXTimerTimer(1);
    EXPECT_EQ(cursor.Pos(), (TPoint{300 + 584, 150 + 459}));
}

TEST_F(GameCommands, PausingFreesTheCursorAndResumingConfinesItAgain) {
    PlayerAt100(40, {1, 1});
    game.Pause1Click();
    EXPECT_FALSE(cursor.clip.has_value());
    game.Pause1Click();
    EXPECT_TRUE(cursor.clip.has_value());
}

TEST_F(GameCommands, AClickFiresABulletAheadOfThePlayer) {
    TCircle& player = PlayerAt100(40, {3, 4});
    game.DXDrawMouseDown(TMouseButton::mbLeft, 0, 0);
    ASSERT_EQ(game.Bullets.size(), 1u);
    const TBullet& bullet = *game.Bullets[0];
    EXPECT_EQ(bullet.Velocity.X, 3);
    EXPECT_EQ(bullet.Velocity.Y, 4);
    EXPECT_DOUBLE_EQ(bullet.X + 15, player.MidX() + 60.0);
    EXPECT_DOUBLE_EQ(bullet.Y + 15, player.MidY() + 80.0);
}

TEST_F(GameCommands, ASlowPlayerFiresAtLeastRadiusPlus19Ahead) {
    TCircle& player = PlayerAt100(40, {1, 0});
    game.DXDrawMouseDown(TMouseButton::mbMiddle, 0, 0);
    ASSERT_EQ(game.Bullets.size(), 1u);
    EXPECT_NEAR(game.Bullets[0]->X + 15, player.MidX() + 59.0, 1e-12);
    EXPECT_NEAR(game.Bullets[0]->Y + 15, player.MidY(), 1e-12);
}

TEST_F(GameCommands, AnyButtonFiresAlsoWhilePausedButNotWithoutTheOptionOrAfterTheEnd) {
    PlayerAt100(40, {3, 4});
    game.DXDrawMouseDown(TMouseButton::mbRight, 0, 0);
    game.Pause1Click();
    game.DXDrawMouseDown(TMouseButton::mbLeft, 0, 0);
    EXPECT_EQ(game.Bullets.size(), 2u);
    options.SetBonusPointsChecked(false);
    game.DXDrawMouseDown(TMouseButton::mbLeft, 0, 0);
    EXPECT_EQ(game.Bullets.size(), 2u);
    options.SetBonusPointsChecked(true);
    game.GameOverStep = 5;
    game.DXDrawMouseDown(TMouseButton::mbLeft, 0, 0);
    EXPECT_EQ(game.Bullets.size(), 2u);
}

TEST_F(GameCommands, ABulletFiredBeyondTheRightWallComesBack) {
    game.Neu1Click();
    TCircle& player = *game.PlayerBall();
    player.X = 625 - 80;
    player.Velocity = {5, 0};
    game.DXDrawMouseDown(TMouseButton::mbLeft, 0, 0);
    TBullet& bullet = *game.Bullets[0];
    ASSERT_GT(bullet.X, 625 - 30);
    bullet.MoveStep(1);
    EXPECT_LT(bullet.Velocity.X, 0);
    EXPECT_LE(bullet.X, 625 - 30);
}

TEST_F(GameCommands, TitleScreenClicksAddAndRemoveDemoBallsWithinOneToSix) {
    game.StartAttractMode();
    while (game.Balls.size() > 1)
        game.DXDrawMouseDown(TMouseButton::mbRight, 0, 0);
    game.DXDrawMouseDown(TMouseButton::mbRight, 0, 0);
    EXPECT_EQ(game.Balls.size(), 1u);

    game.DXDrawMouseDown(TMouseButton::mbLeft, 100, 100);
    ASSERT_EQ(game.Balls.size(), 2u);
    const TCircle& added = *game.Balls.back();
    EXPECT_EQ(added.Radius(), 30u);
    EXPECT_EQ(added.X, 70);
    EXPECT_EQ(added.Y, 70);
    for (double v : {added.Velocity.X, added.Velocity.Y}) {
        EXPECT_NE(v, 0);
        EXPECT_LE(std::abs(v), 6);
        EXPECT_EQ(v, std::trunc(v));
    }
    game.DXDrawMouseDown(TMouseButton::mbMiddle, 10, 10);
    EXPECT_EQ(game.Balls.size(), 2u);
    while (game.Balls.size() < 6)
        game.DXDrawMouseDown(TMouseButton::mbLeft, 300, 200);
    game.DXDrawMouseDown(TMouseButton::mbLeft, 300, 200);
    EXPECT_EQ(game.Balls.size(), 6u);
    EXPECT_EQ(engine.SpriteTotal, 6);
}

} // namespace
} // namespace fenu::test
