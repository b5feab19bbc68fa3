#include "game/Random.h"

#include <array>

#include <gtest/gtest.h>

using fenu::RandomGenerator;

namespace {

TEST(RandomGenerator, TakesTheProductOfSeedAndRangeInSixtyFourBits) {
    RandomGenerator g;
    // The next seed becomes 0xFFFFFFFF; a 32-bit product would lose the high word.
    g.SetSeed(0x4D60AE66u);
    EXPECT_EQ(g.Next(0x7FFFFFFF), 0x7FFFFFFE);
    EXPECT_EQ(g.Seed(), 0xFFFFFFFFu);
}

TEST(RandomGenerator, AdvancesTheSeedAsAThirtyTwoBitCongruence) {
    RandomGenerator g;
    g.SetSeed(0);
    const std::array<int32_t, 5> expected{0, 3, 86, 20, 27};
    for (int32_t value : expected)
        EXPECT_EQ(g.Next(100), value);
    g.SetSeed(0xFFFFFFFFu);
    g.Next(1);
    EXPECT_EQ(g.Seed(), 0xFFFFFFFFu * 134775813u + 1u) << "wraps modulo 2^32";
}

TEST(RandomGenerator, StaysInRangeAndReachesEveryValue) {
    RandomGenerator g;
    g.SetSeed(2024);
    std::array<int, 6> seen{};
    for (int i = 0; i < 6000; ++i) {
        const int32_t v = g.Next(6);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 6);
        ++seen[v];
    }
    for (int count : seen)
        EXPECT_GT(count, 800) << "roughly uniform";
    g.SetSeed(77);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(g.Next(1), 0);
}

} // namespace
