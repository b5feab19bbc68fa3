// Whole frames of the game controller on a real 625 x 500 back buffer and canvas
// (presentation left out), next to the floor of touching that much memory at all:
// a memset of the buffer plus one memcpy of it. At the end a table gives every
// frame's median as a multiple of the floor's median from the same run.
//   QT_QPA_PLATFORM=offscreen build/bench/game_frame_bench
// A counting operator new reports the allocations made inside the frames
// (allocs_per_frame); a steady frame must make none.
#include "BenchView.h"
#include "FakeCursor.h"
#include "FakeServices.h"
#include "FloorBenchmark.h"
#include "ManualClock.h"
#include "RunWithReporter.h"
#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/Configuration.h"
#include "game/Game.h"
#include "game/Random.h"
#include "platform/Sound.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {
// Counted only while a frame runs, so set-up and the bullets topped up between
// frames do not show.
std::atomic<bool> countingAllocations{false};
std::atomic<long long> allocations{0};
} // namespace

void* operator new(std::size_t size) {
    if (countingAllocations.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using fenu::TBullet;
using fenu::TCircle;
using fenu::TGame;
using fenu::bench::BenchView;

constexpr uint32_t BenchSeed = 20240607;
constexpr uint32_t StartTicks = 5'000'000;
// Inside the grace period, so a contact of the player's ball never ends the game
// and every measured frame is a game frame.
constexpr uint32_t PlayingTime = 1000;

/// Counts the sounds instead of playing them, without allocating.
class CountingSoundPlayer final : public fenu::SoundPlayer {
public:
    void Play(const char*) override { ++Played; }
    long Played = 0;
};

/// The game controller wired to a bench view and fake services, as the main
/// window wires it to the real ones.
struct BenchGame {
    BenchView view;
    fenu::test::FakeCursor cursor;
    fenu::test::ManualClock clock{StartTicks};
    CountingSoundPlayer sounds;
    fenu::test::FakeOptionMarks options;
    TGame game{view, cursor};

    BenchGame() {
        fenu::GameRandom().SetSeed(BenchSeed);
        game.Engine = &view.Engine();
        game.TickClock = &clock;
        game.Sounds = &sounds;
        game.Options = &options;
        game.Presets = fenu::MakePresets();
        game.CurrentConfig = game.Presets[0];
        options.SetSoundsChecked(true);
        options.SetBonusPointsChecked(true);
    }

    void NewGame(const fenu::TConfiguration& config) {
        game.CurrentConfig = config;
        clock.Set(StartTicks);
        game.Neu1Click();
        clock.Set(StartTicks + PlayingTime);
    }

    /// Holds the cursor in the corner farthest from the player's ball, so the
    /// steering never catches it.
    void AimAway() {
        const TCircle* player = game.PlayerBall();
        cursor.position = {
            player->MidX() < BenchView::FieldWidth / 2 ? BenchView::FieldWidth - 5 : 5,
            player->MidY() < BenchView::FieldHeight / 2 ? BenchView::FieldHeight - 5 : 5};
    }

    /// Bullets spread over the field with random velocities, as a busy player
    /// leaves them; replaces those the last frame spent.
    void TopUpBullets(size_t count) {
        while (game.Bullets.size() < count)
            game.Bullets.push_back(new TBullet(game));
    }

    void Frame() {
        countingAllocations.store(true, std::memory_order_relaxed);
        game.DXTimerTimer(1);
        countingAllocations.store(false, std::memory_order_relaxed);
    }
};

void ReportAllocations(benchmark::State& state, long long before) {
    state.counters["allocs_per_frame"] = benchmark::Counter(
        static_cast<double>(allocations.load() - before), benchmark::Counter::kAvgIterations);
}

using fenu::bench::BM_Floor_MemsetAndMemcpy;

/// The title screen with the most demo balls: fill, title text, the balls drawn,
/// moved and checked against each other.
void BM_Frame_Title6DemoBalls(benchmark::State& state) {
    BenchGame bench;
    bench.game.StartAttractMode();
    while (bench.game.Balls.size() < static_cast<size_t>(TGame::MaxDemoBalls))
        bench.game.DXDrawMouseDown(fenu::TMouseButton::mbLeft, 300, 250);
    for (int warm = 0; warm < 10; ++warm)
        bench.Frame();
    const long long before = allocations.load();
    for (auto _ : state)
        bench.Frame();
    ReportAllocations(state, before);
    state.counters["balls"] = static_cast<double>(bench.game.Balls.size());
}

/// A running game of a given configuration with a given number of bullets.
void RunGameFrames(benchmark::State& state, const fenu::TConfiguration& config, size_t bullets) {
    BenchGame bench;
    bench.NewGame(config);
    bench.TopUpBullets(bullets);
    for (int warm = 0; warm < 10; ++warm) {
        bench.AimAway();
        bench.Frame();
        bench.TopUpBullets(bullets);
    }
    long long spentBullets = 0;
    const long long before = allocations.load();
    for (auto _ : state) {
        bench.AimAway();
        bench.Frame();
        if (bullets > 0) {
            state.PauseTiming();
            spentBullets += static_cast<long long>(bullets - bench.game.Bullets.size());
            bench.TopUpBullets(bullets);
            state.ResumeTiming();
        }
    }
    ReportAllocations(state, before);
    state.counters["balls"] = static_cast<double>(bench.game.Balls.size());
    state.counters["bullets"] = static_cast<double>(bullets);
    state.counters["spent_per_frame"] =
        benchmark::Counter(static_cast<double>(spentBullets), benchmark::Counter::kAvgIterations);
    if (bench.game.GameOverStep != 0 || bench.game.AttractMode)
        state.SkipWithError("the game did not keep running");
}

void BM_Frame_GameSchwierig(benchmark::State& state) {
    RunGameFrames(state, fenu::MakePresets()[2], 0);
}

fenu::TConfiguration CustomConfig(int balls) {
    fenu::TConfiguration config = fenu::MakePresets()[1];
    config.BallRadii.assign(static_cast<size_t>(balls), 0);
    for (int i = 0; i < balls; ++i)
        config.BallRadii[static_cast<size_t>(i)] = 10 + 5 * (i % 5);
    return config;
}

void BM_Frame_Game20CustomBalls(benchmark::State& state) {
    RunGameFrames(state, CustomConfig(20), 0);
}

/// 20 alien balls plus the player's ball and the given number of bullets.
void BM_Frame_Game21BallsBullets(benchmark::State& state) {
    RunGameFrames(state, CustomConfig(20), static_cast<size_t>(state.range(0)));
}

/// A replay eight times as fast as it was played: eight of the game's steps in one
/// frame of the clock, a recorded game started again whenever it ends.
void BM_Frame_Replay8x(benchmark::State& state) {
    BenchGame bench;
    bench.NewGame(fenu::MakePresets()[0]);
    for (int frame = 0; frame < 3000 && bench.game.GameOverStep == 0; ++frame) {
        bench.AimAway();
        bench.clock.Advance(16);
        bench.Frame();
    }
    const fenu::TRunRecording run = bench.game.LastRun();
    const auto replay = [&] {
        bench.game.StartReplay(run, QStringLiteral("Bench"));
        for (int faster = 0; faster < 3; ++faster)
            bench.game.ChangeReplaySpeed(true);
    };
    replay();
    const long long before = allocations.load();
    for (auto _ : state) {
        if (!bench.game.Replaying() || bench.game.GameOverStep != 0) {
            state.PauseTiming();
            replay();
            state.ResumeTiming();
        }
        bench.Frame();
    }
    ReportAllocations(state, before);
    state.counters["recorded_frames"] = static_cast<double>(run.Frames.size());
}

constexpr int Repetitions = 7;

BENCHMARK(BM_Floor_MemsetAndMemcpy)
    ->Repetitions(Repetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame_Title6DemoBalls)
    ->Repetitions(Repetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame_GameSchwierig)
    ->Repetitions(Repetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame_Game20CustomBalls)
    ->Repetitions(Repetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame_Replay8x)
    ->Repetitions(Repetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame_Game21BallsBullets)
    ->Arg(100)
    ->Arg(500)
    ->Arg(2000)
    ->Repetitions(Repetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

/// The console output as usual, then a table of every median as a multiple of the
/// floor's median.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median" || run.error_occurred)
                continue;
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            std::string name = run.run_name.str();
            medians_.emplace_back(name, seconds);
            if (auto it = run.counters.find("allocs_per_frame"); it != run.counters.end())
                allocs_[name] = it->second.value;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        double floor = 0;
        for (const auto& [name, seconds] : medians_)
            if (name.rfind("BM_Floor", 0) == 0)
                floor = seconds;
        std::printf("\n%-40s %12s %12s %14s\n", "median (wall time)", "ms", "x floor",
                    "allocs/frame");
        for (const auto& [name, seconds] : medians_) {
            const auto allocs = allocs_.find(name);
            std::printf("%-40s %12.4f %12.2f %14s\n", name.c_str(), seconds * 1e3,
                        floor > 0 ? seconds / floor : 0.0,
                        allocs == allocs_.end() ? "-" : std::to_string(allocs->second).c_str());
        }
    }

private:
    std::vector<std::pair<std::string, double>> medians_;
    std::map<std::string, double> allocs_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", "/usr/share/fonts/truetype/dejavu");
    QApplication app(argc, argv);
    RatioReporter reporter;
    return fenu::bench::RunWithReporter(argc, argv, reporter);
}
