#include "game/Bullet.h"

#include "game/GameState.h"
#include "game/Random.h"

namespace fenu {

TBullet::TBullet(TGameState& fieldWindow) : TCircle(fieldWindow) {
    Hit = false;
    SetRadius(BulletRadius);
    // Channels first, then steps: the order of the draws fixes the colours a seed gives.
    for (auto& channel : ColorChannels)
        channel = static_cast<uint16_t>(Random(MaxChannel + 1));
    for (auto& step : ColorSteps)
        step = static_cast<int16_t>(Random(2 * MaxColorStep + 1) - MaxColorStep);
}

void TBullet::StepColor() {
    for (size_t i = 0; i < ColorChannels.size(); ++i) {
        const int32_t s = int32_t{ColorChannels[i]} + ColorSteps[i];
        if (s > MaxChannel) {
            ColorChannels[i] = static_cast<uint16_t>(MaxChannel);
            ColorSteps[i] = static_cast<int16_t>(-ColorSteps[i]);
        } else if (s < 0) {
            ColorChannels[i] = 0;
            ColorSteps[i] = static_cast<int16_t>(-ColorSteps[i]);
        } else {
            ColorChannels[i] = static_cast<uint16_t>(s);
        }
    }
}

TColor TBullet::CurrentColor() const {
    const auto channel = [this](size_t i) { return TColor{ColorChannels[i]} / ChannelDivisor; };
    return channel(0) << 16 | channel(1) << 8 | channel(2);
}

void BulletPass(TGameState& game) {
    auto& bullets = game.Bullets;
    for (size_t i = bullets.size(); i-- > 0;) {
        TBullet* bullet = bullets[i];
        if (bullet->Hit) {
            bullets.erase(bullets.begin() + static_cast<std::ptrdiff_t>(i));
            delete bullet; // leaves the sprite engine
        } else {
            bullet->CheckCollisions();
            bullet->TouchingBefore = bullet->Touching;
        }
    }
}

} // namespace fenu
