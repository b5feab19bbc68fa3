// `fenu --verify` on a five-minute run: the run played again headless, as fast as
// the machine goes, in frames of the game per second of wall time (frames_per_s).
// The run is recorded first on fake services: a custom game of two aliens of radius
// 1 (the scripted cursor survives five minutes only among few and small ones; a
// frame's cost grows with the balls), the cursor always in the corner farthest from
// the player's ball, and at five minutes the cursor on the ball, which catches it
// and ends the game.
//   build/bench/verify_bench
#include "WireGame.h"
#include "game/Circle.h"
#include "game/run/RunPlayback.h"

#include <cstdio>

#include <benchmark/benchmark.h>

namespace {

constexpr uint32_t FiveMinutes = 5 * 60 * 1000;

fenu::TRunRecording FiveMinuteRun() {
    fenu::test::WiredGame wired(31337);
    fenu::TGame& game = wired.game;
    game.Mode = fenu::CustomMode;
    game.CurrentConfig = {std::vector<int32_t>(2, 1), 3, 1};
    wired.clock.Set(1'000'000);
    game.Neu1Click();
    for (int frame = 0; game.GameOverStep == 0; ++frame) {
        const fenu::TCircle* player = game.PlayerBall();
        const fenu::TPoint aim =
            wired.clock.Milliseconds() - game.StartTicks < FiveMinutes
                ? fenu::TPoint{player->MidX() < 312 ? 600 : 20, player->MidY() < 250 ? 480 : 20}
                : fenu::TPoint{player->MidX(), player->MidY()};
        wired.cursor.position = {wired.view.origin.X + aim.X, wired.view.origin.Y + aim.Y};
        wired.clock.Advance(16 + frame % 3 / 2);
        game.DXTimerTimer(1);
    }
    for (int frame = 1; frame < fenu::TGame::FadeLength; ++frame)
        game.DXTimerTimer(1);
    return game.LastRun();
}

void BM_VerifyFiveMinuteRun(benchmark::State& state) {
    static const fenu::TRunRecording run = FiveMinuteRun();
    fenu::TRunPlayback replay;
    for (auto _ : state) {
        replay = fenu::PlayRunHeadless(run);
        benchmark::DoNotOptimize(replay.Points);
    }
    if (!replay.ReachedEnd)
        state.SkipWithError("the run did not play to its end");
    state.counters["game_frames"] = static_cast<double>(replay.GameFrames);
    state.counters["game_s"] = static_cast<double>(replay.Points);
    state.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(run.Frames.size()) *
                                                            static_cast<double>(state.iterations()),
                                                        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VerifyFiveMinuteRun)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
