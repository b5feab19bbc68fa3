#include "game/Random.h"

#include <chrono>

namespace fenu {

RandomGenerator& GameRandom() {
    static RandomGenerator generator;
    return generator;
}

void Randomize() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    GameRandom().SetSeed(
        static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

} // namespace fenu
