#include "GameFixture.h"

#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/Random.h"

namespace fenu::test {

GameFixture::GameFixture(uint32_t seed) : Engine(std::make_unique<TSpriteEngine>()) {
    GameRandom().SetSeed(seed);
    Engine->SurfaceBounds = {0, 0, 625, 500};
    State.Engine = Engine.get();
    State.ClientWidth = 625;
    State.ClientHeight = 500;
    State.CurrentConfig.MaxStartSpeed = 6;
    State.TickClock = &Clock;
    State.Sounds = &Sounds;
    State.Options = &Options;
    State.SetCanvas(&Canvas);
}

GameFixture::~GameFixture() {
    for (TBullet* bullet : State.Bullets)
        delete bullet;
    State.Bullets.clear();
    for (TCircle* ball : State.Balls)
        delete ball;
    State.Balls.clear();
}

TCircle* GameFixture::AddBall(double x, double y, uint32_t radius, double vx, double vy) {
    auto* ball = new TCircle(State);
    ball->SetRadius(radius);
    ball->X = x;
    ball->Y = y;
    ball->Velocity = {vx, vy};
    State.Balls.push_back(ball);
    return ball;
}

TBullet* GameFixture::AddBullet(double x, double y, double vx, double vy) {
    auto* bullet = new TBullet(State);
    bullet->X = x;
    bullet->Y = y;
    bullet->Velocity = {vx, vy};
    State.Bullets.push_back(bullet);
    return bullet;
}

void GameFixture::CollisionPasses() {
    for (TCircle* ball : State.Balls) {
        ball->CheckCollisions();
        ball->TouchingBefore = ball->Touching;
    }
}

void GameFixture::Frame() {
    for (TCircle* ball : State.Balls)
        ball->Touching = 0;
    Engine->Move(1);
    CollisionPasses();
    BulletPass(State);
}

} // namespace fenu::test
