#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace fenu {

/// One game configuration. Copies are independent, so changing the current
/// configuration never changes a preset.
struct TConfiguration {
    std::vector<int32_t> BallRadii; ///< one radius per alien ball, at least one ball
    int32_t PlayerRadius = 0;
    int32_t MaxStartSpeed = 0; ///< bound of each start-velocity component, at least 1
    friend bool operator==(const TConfiguration&, const TConfiguration&) = default;
};

/// The difficulty: 0..2 select a preset, 3 and above mean the custom configuration.
using TMode = uint8_t;
constexpr TMode CustomMode = 3;

/// What the custom configuration may hold: its dialog offers these ranges, and values
/// read from a file are clamped to them.
struct TRange {
    int32_t Min;
    int32_t Max;
};
constexpr TRange CustomBallCount{1, 20};
constexpr TRange CustomRadius{1, 100};
constexpr TRange CustomMaxStartSpeed{1, 30};

/// "Einfach", "Mittel", "Schwierig".
constexpr int PresetCount = 3;
std::array<TConfiguration, PresetCount> MakePresets();

} // namespace fenu
