#pragma once

#include "game/Circle.h"

#include <array>
#include <cstdint>

namespace fenu {

class TGameState;

/// A ball fired by the player: radius 15, a colour drifting every drawn frame,
/// spent (Hit) on its first contact with an alien ball.
class TBullet : public TCircle {
public:
    static constexpr uint32_t BulletRadius = 15;
    static constexpr int32_t MaxColorStep = 1500;
    static constexpr int32_t MaxChannel = 65535;
    /// A 16-bit channel divided by this gives the 8-bit one (65535 -> 255).
    static constexpr int32_t ChannelDivisor = 257;

    explicit TBullet(TGameState& fieldWindow);

    TBullet* AsBullet() override { return this; }

    /// Moves each channel by its step; a channel that would pass 0 or 65535 stops
    /// on the bound and its step turns round.
    void StepColor();
    TColor CurrentColor() const;

    bool Hit = false;
    std::array<uint16_t, 3> ColorChannels{}; ///< red, green, blue
    std::array<int16_t, 3> ColorSteps{};     ///< red, green, blue
};

/// The frame's pass over the bullets, last to first: spent bullets are destroyed
/// and leave the list, every other one runs its collision pass and then notes its
/// Touching as TouchingBefore.
void BulletPass(TGameState& game);

} // namespace fenu
