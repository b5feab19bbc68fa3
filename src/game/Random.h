#pragma once

#include <cstdint>

namespace fenu {

/// The program's one pseudo-random generator: a 32-bit linear congruential
/// generator, seed := seed * 134775813 + 1 (mod 2^32), result (seed * n) >> 32
/// with the product taken as an unsigned 64-bit number. Every random choice of the
/// game draws from it, so a fixed seed replays a game exactly.
class RandomGenerator {
public:
    void SetSeed(uint32_t seed) { seed_ = seed; }
    uint32_t Seed() const { return seed_; }

    /// A uniform whole number in 0 .. n-1; 0 when n is 0.
    int32_t Next(int32_t n) {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<int32_t>((static_cast<uint64_t>(seed_) * static_cast<uint32_t>(n)) >>
                                    32);
    }

private:
    uint32_t seed_ = 0;
};

/// The generator every part of the game shares.
RandomGenerator& GameRandom();

/// Random(n) of the game: a uniform whole number in 0 .. n-1 from GameRandom().
inline int32_t Random(int32_t n) {
    return GameRandom().Next(n);
}

/// Seeds GameRandom() once at start-up from the wall clock.
void Randomize();

} // namespace fenu
