#include "game/run/RunRecording.h"

#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/GameState.h"
#include "game/run/Crc32.h"

#include <QSysInfo>

namespace fenu {

void TRunRecording::Reserve() {
    Frames.reserve(TypicalFrames);
    Shots.reserve(TypicalShots);
    Checksums.reserve(TypicalFrames / 60 + 2);
}

void TRunRecording::Clear(const TRunSettings& settings) {
    Settings = settings;
    Frames.clear();
    GameFrames = 0;
    Shots.clear();
    Checksums.clear();
}

namespace {

uint32_t AddBall(uint32_t crc, const TCircle& ball) {
    const double values[] = {ball.X.Value(), ball.Y.Value(), ball.Velocity.X, ball.Velocity.Y};
    return Crc32(values, sizeof values, crc);
}

} // namespace

uint32_t StateChecksum(const TGameState& game) {
    uint32_t crc = Crc32(&game.BonusPoints, sizeof game.BonusPoints);
    for (const TCircle* ball : game.Balls)
        crc = AddBall(crc, *ball);
    for (const TBullet* bullet : game.Bullets)
        crc = AddBall(crc, *bullet);
    return crc;
}

QString RunMachine() {
    return QSysInfo::currentCpuArchitecture();
}

} // namespace fenu
