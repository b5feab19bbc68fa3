#include "game/Bullet.h"

#include "game/Random.h"
#include "support/GameFixture.h"

#include <gtest/gtest.h>

using fenu::BulletPass;
using fenu::GameRandom;
using fenu::RandomGenerator;
using fenu::TBullet;
using fenu::TCircle;
using fenu::test::GameFixture;

namespace {

TEST(BulletCreation, DrawsTheBallsValuesThenChannelsThenSteps) {
    GameFixture f(99);
    RandomGenerator reference;
    reference.SetSeed(99);
    auto* bullet = f.AddBullet(0, 0);

    reference.Next(6);   // colour
    reference.Next(625); // position, with radius 0
    reference.Next(500);
    for (int axis = 0; axis < 2; ++axis)
        while (reference.Next(13) - 6 == 0) {
        }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bullet->ColorChannels[i], reference.Next(65536));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bullet->ColorSteps[i], reference.Next(3001) - 1500);
    EXPECT_EQ(GameRandom().Seed(), reference.Seed());
    EXPECT_FALSE(bullet->Hit);
    EXPECT_EQ(bullet->Radius(), 15u);
    EXPECT_EQ(bullet->Width, 30);
}

TEST(BulletColour, ChannelsStopOnTheBoundsAndTurn) {
    GameFixture f;
    auto* bullet = f.AddBullet(0, 0);
    bullet->ColorChannels = {65535 - 535, 700, 1234};
    bullet->ColorSteps = {1000, -1000, 0};
    bullet->StepColor();
    EXPECT_EQ(bullet->ColorChannels, (std::array<uint16_t, 3>{65535, 0, 1234}));
    EXPECT_EQ(bullet->ColorSteps, (std::array<int16_t, 3>{-1000, 1000, 0}));
    bullet->StepColor();
    EXPECT_EQ(bullet->ColorChannels, (std::array<uint16_t, 3>{64535, 1000, 1234}));

    bullet->ColorChannels = {64535, 1000, 0};
    bullet->ColorSteps = {1000, -1000, -1};
    bullet->StepColor();
    EXPECT_EQ(bullet->ColorChannels, (std::array<uint16_t, 3>{65535, 0, 0}))
        << "landing exactly on a bound does not turn yet";
    EXPECT_EQ(bullet->ColorSteps, (std::array<int16_t, 3>{1000, -1000, 1}));
}

TEST(BulletColour, CurrentColourDividesEachChannelBy257) {
    GameFixture f;
    auto* bullet = f.AddBullet(0, 0);
    bullet->ColorChannels = {65535, 256, 257};
    EXPECT_EQ(bullet->CurrentColor(), 0xFF0001u);
    bullet->ColorChannels = {0, 65534, 12850};
    EXPECT_EQ(bullet->CurrentColor(), 0x00FE32u);
}

// Two alien balls 60 apart with a bullet between them touching both, the player far away.
struct TwoAliensAndABullet : ::testing::Test {
    TwoAliensAndABullet() {
        left = f.AddBall(100, 100, 20);
        right = f.AddBall(160, 100, 20);
        player = f.AddBall(500, 400, 25);
        bullet = f.AddBullet(135, 105);
        bullet->ColorChannels = {257 * 0x12, 257 * 0x34, 257 * 0x56};
    }
    GameFixture f;
    TCircle *left, *right, *player;
    TBullet* bullet;
};

TEST_F(TwoAliensAndABullet, ABulletStrikingTwoAliensInOneFrameScoresBothAndRecoloursBoth) {
    const int spritesBefore = f.Engine->SpriteTotal;
    f.Frame();
    EXPECT_EQ(f.State.BonusPoints, 20u);
    EXPECT_EQ(left->Color, 0x123456u);
    EXPECT_EQ(right->Color, 0x123456u);
    EXPECT_EQ(f.Sounds.Played, (std::vector<std::string>{"HIT", "HIT"}));
    EXPECT_TRUE(f.State.Bullets.empty()) << "the bullet pass removed the spent bullet";
    EXPECT_EQ(f.Engine->SpriteTotal, spritesBefore - 1);
    EXPECT_EQ(player->Touching, 0u);
}

TEST_F(TwoAliensAndABullet, ABulletTouchingOnlyThePlayerSurvivesAndIsIgnoredLater) {
    bullet->X = player->X + 30;
    bullet->Y = player->Y;
    f.Frame();
    EXPECT_EQ(f.Sounds.Played, std::vector<std::string>{"TOUCH"});
    EXPECT_EQ(f.State.BonusPoints, 0u);
    ASSERT_EQ(f.State.Bullets.size(), 1u);
    EXPECT_FALSE(bullet->Hit);
    EXPECT_EQ(player->Touching, bullet->Id());

    // Still in contact: the bullet's link to the player is never cleared.
    f.Frame();
    EXPECT_EQ(f.Sounds.Played.size(), 1u);
    EXPECT_EQ(player->Touching, 0u);
    EXPECT_EQ(f.State.Bullets.size(), 1u);
}

TEST(BulletPair, TwoBulletsBounceOnceAndPassThroughAtTheirNextMeeting) {
    GameFixture f;
    auto* player = f.AddBall(550, 420, 25);
    auto* a = f.AddBullet(100, 100, 3, 0);
    auto* b = f.AddBullet(125, 100, -2, 0);
    BulletPass(f.State);
    EXPECT_EQ(f.Sounds.Played, std::vector<std::string>{"TOUCH"});
    EXPECT_NEAR(a->Velocity.X, -2, 1e-12);
    EXPECT_NEAR(b->Velocity.X, 3, 1e-12);
    EXPECT_EQ(f.State.BonusPoints, 0u);

    // Apart for a while, then together again.
    b->X = 300;
    BulletPass(f.State);
    b->X = 125;
    a->Velocity.X = 3;
    b->Velocity.X = -2;
    BulletPass(f.State);
    EXPECT_EQ(f.Sounds.Played.size(), 1u) << "their links still name each other";
    EXPECT_EQ(a->Velocity.X, 3);

    // Once both have touched something else, they meet afresh.
    a->X = player->X - 20;
    a->Y = player->Y;
    player->CheckCollisions();
    a->X = 100;
    a->Y = 100;
    b->X = player->X;
    b->Y = player->Y + 40;
    player->Touching = 0;
    player->CheckCollisions();
    b->X = 300;
    b->Y = 100;
    BulletPass(f.State); // a frame apart updates TouchingBefore
    b->X = 125;
    a->Velocity = {3, 0};
    b->Velocity = {-2, 0};
    f.Sounds.Clear();
    BulletPass(f.State);
    EXPECT_EQ(f.Sounds.Played, std::vector<std::string>{"TOUCH"});
    EXPECT_NEAR(a->Velocity.X, -2, 1e-12);
}

TEST(BulletPassOrder, RemovesSpentBulletsAndNotesTouchingForTheOthers) {
    GameFixture f;
    auto* a = f.AddBullet(10, 10);
    auto* spent = f.AddBullet(200, 10);
    auto* c = f.AddBullet(400, 10);
    spent->Hit = true;
    a->Touching = 777;
    c->Touching = 778;
    BulletPass(f.State);
    EXPECT_EQ(f.State.Bullets, (std::vector<TBullet*>{a, c}));
    EXPECT_EQ(a->TouchingBefore, 777u);
    EXPECT_EQ(c->TouchingBefore, 778u);
    EXPECT_EQ(f.Engine->SpriteTotal, 2);

    a->Hit = true;
    c->Hit = true;
    BulletPass(f.State);
    EXPECT_TRUE(f.State.Bullets.empty());
    EXPECT_EQ(f.Engine->SpriteTotal, 0);
}

} // namespace
