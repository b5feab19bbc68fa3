// Headless runs of many frames of ball work on a 625 x 500 field: walls, contacts
// and velocity exchanges checked against geometry computed here independently.
#include "game/Circle.h"
#include "game/Configuration.h"
#include "game/Random.h"
#include "support/GameFixture.h"

#include <cmath>
#include <set>
#include <utility>

#include <gtest/gtest.h>

using fenu::TCircle;
using fenu::TConfiguration;
using fenu::test::GameFixture;

namespace {

constexpr int Frames = 10000;

struct Simulation {
    Simulation(const TConfiguration& config, uint32_t seed) : f(seed) {
        f.State.CurrentConfig = config;
        for (int32_t radius : config.BallRadii) {
            auto* ball = new TCircle(f.State);
            ball->SetRadius(static_cast<uint32_t>(radius));
            f.State.Balls.push_back(ball);
        }
        auto* player = new TCircle(f.State);
        player->SetRadius(static_cast<uint32_t>(config.PlayerRadius));
        f.State.Balls.push_back(player);
    }

    std::vector<TCircle*>& Balls() { return f.State.Balls; }

    static bool InContact(const TCircle* a, const TCircle* b) {
        const auto ra = a->BoundsRect(), rb = b->BoundsRect();
        const bool squares =
            ra.Left < rb.Right && rb.Left < ra.Right && ra.Top < rb.Bottom && rb.Top < ra.Bottom;
        const double dx = b->MidX() - a->MidX(), dy = b->MidY() - a->MidY();
        return squares && std::hypot(dx, dy) <= double(a->Radius() + b->Radius());
    }

    std::set<std::pair<size_t, size_t>> Contacts() {
        std::set<std::pair<size_t, size_t>> pairs;
        for (size_t i = 0; i < Balls().size(); ++i)
            for (size_t j = i + 1; j < Balls().size(); ++j)
                if (InContact(Balls()[i], Balls()[j]))
                    pairs.emplace(i, j);
        return pairs;
    }

    double Energy() {
        double sum = 0;
        for (auto* ball : Balls())
            sum += ball->Velocity.X * ball->Velocity.X + ball->Velocity.Y * ball->Velocity.Y;
        return sum;
    }

    GameFixture f;
};

bool Inside(const TCircle* ball, int width, int height) {
    const double limitX = width - 2.0 * ball->Radius(), limitY = height - 2.0 * ball->Radius();
    return ball->X >= 0 && ball->X <= limitX && ball->Y >= 0 && ball->Y <= limitY;
}

TEST(Simulation, TheHardPresetKeepsBallsInsideAndExchangesOncePerContact) {
    Simulation sim(fenu::MakePresets()[2], 20240601);
    auto& balls = sim.Balls();
    const size_t n = balls.size();
    TCircle* player = balls.back();
    std::vector<bool> settled(n, false);
    std::set<std::pair<size_t, size_t>> previous;
    std::vector<int> partnersBefore(n, 0);
    const double energy = sim.Energy();
    int exchanges = 0, lasting = 0, playerContacts = 0;

    for (int frame = 0; frame < Frames; ++frame) {
        for (auto* ball : balls)
            ball->Touching = 0;
        sim.f.Engine->Move(1);
        for (size_t i = 0; i < n; ++i) {
            // A new ball may start with its square beyond the right or bottom wall;
            // once inside it must stay inside.
            if (settled[i]) {
                ASSERT_TRUE(Inside(balls[i], 625, 500)) << "ball " << i << " frame " << frame;
            }
            settled[i] = settled[i] || Inside(balls[i], 625, 500);
        }

        const auto contacts = sim.Contacts();
        std::vector<int> partners(n, 0);
        for (auto [i, j] : contacts)
            ++partners[i], ++partners[j];
        std::vector<fenu::TVector> before;
        for (auto* ball : balls)
            before.push_back(ball->Velocity);
        sim.f.Sounds.Clear();

        sim.f.CollisionPasses();

        for (size_t i = 0; i < n; ++i)
            if (partners[i] == 0) {
                ASSERT_EQ(balls[i]->Velocity.X, before[i].X) << "no contact, no change";
                ASSERT_EQ(balls[i]->Velocity.Y, before[i].Y);
            }
        for (auto [i, j] : contacts) {
            if (partners[i] != 1 || partners[j] != 1)
                continue; // clusters of three are not a single pair
            const bool changed =
                balls[i]->Velocity.X != before[i].X || balls[i]->Velocity.Y != before[i].Y;
            const bool wasIsolatedPair =
                previous.count({i, j}) && partnersBefore[i] == 1 && partnersBefore[j] == 1;
            if (!previous.count({i, j})) {
                EXPECT_TRUE(changed) << "first frame of a contact exchanges, frame " << frame;
                ++exchanges;
            } else if (wasIsolatedPair) {
                EXPECT_FALSE(changed) << "a lasting contact exchanges only once, frame " << frame;
                ++lasting;
            }
        }
        const bool isolatedPairsOnly =
            std::all_of(partners.begin(), partners.end(), [](int p) { return p <= 1; });
        if (isolatedPairsOnly) {
            EXPECT_EQ(sim.f.Sounds.Count("TOUCH"), static_cast<int>(contacts.size()))
                << "one sound per touching pair, frame " << frame;
        }
        if (partners[n - 1] > 0) {
            EXPECT_NE(player->Touching, 0u) << "frame " << frame;
            ++playerContacts;
        }
        ASSERT_NEAR(sim.Energy(), energy, energy * 1e-9) << "elastic exchange, frame " << frame;
        previous = contacts;
        partnersBefore = partners;
    }
    for (size_t i = 0; i < n; ++i)
        EXPECT_TRUE(settled[i]);
    // The run must actually exercise what it checks.
    EXPECT_GT(exchanges, 100);
    EXPECT_GT(lasting, 40);
    EXPECT_GT(playerContacts, 50);
}

TEST(Simulation, ACrowdedFieldStaysFiniteInsideAndReproducible) {
    TConfiguration crowd;
    crowd.BallRadii.assign(24, 20);
    crowd.PlayerRadius = 25;
    crowd.MaxStartSpeed = 8;

    auto run = [&](uint32_t seed, std::vector<std::pair<double, double>>& end) {
        Simulation sim(crowd, seed);
        auto& balls = sim.Balls();
        std::vector<bool> settled(balls.size(), false);
        const double energy = sim.Energy();
        for (int frame = 0; frame < Frames; ++frame) {
            sim.f.Frame();
            for (size_t i = 0; i < balls.size(); ++i) {
                if (settled[i]) {
                    ASSERT_TRUE(Inside(balls[i], 625, 500)) << "ball " << i << " frame " << frame;
                }
                settled[i] = settled[i] || Inside(balls[i], 625, 500);
            }
        }
        EXPECT_NEAR(sim.Energy(), energy, energy * 1e-9);
        EXPECT_GT(sim.f.Sounds.Count("TOUCH"), 5000);
        for (auto* ball : balls)
            end.emplace_back(ball->X, ball->Y);
    };
    std::vector<std::pair<double, double>> first, second;
    run(7, first);
    run(7, second);
    EXPECT_EQ(first, second) << "a fixed seed replays the same frames";
}

} // namespace
