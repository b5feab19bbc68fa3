// Frame cost of the drawing area on a real 625 x 500 Qt surface, next to the floor
// of touching that much memory at all, and the pacing of Flip in a real window.
//   QT_QPA_PLATFORM=offscreen build/bench/display_bench
//   xvfb-run -a build/bench/display_bench --benchmark_filter=Pacing   (on an X server)
#include "FloorBenchmark.h"
#include "display/DXDraw.h"
#include "platform/window/FrameClock.h"
#include "platform/window/QtDrawAreaWidget.h"
#include "platform/window/QtPresentationDevice.h"

#include <cmath>
#include <cstring>
#include <sys/resource.h>
#include <vector>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

constexpr int FieldWidth = 625;
constexpr int FieldHeight = 500;
constexpr int BallCount = 21;

using fenu::bench::BM_Floor_MemsetAndMemcpy;
BENCHMARK(BM_Floor_MemsetAndMemcpy)->Repetitions(9)->ReportAggregatesOnly(true);

/// A 625 x 500 off-screen surface on the real Qt presentation device.
struct FieldSurface {
    fenu::QtPresentationSystem System;
    fenu::TDirectDraw DirectDraw{System, true};
    fenu::TDirectDrawSurface& Surface = DirectDraw.NewSurface();
    bool Ready(benchmark::State& state) {
        if (Surface.CreateOffscreen(FieldWidth, FieldHeight, false))
            return true;
        state.SkipWithError("no surface");
        return false;
    }
};

/// Draws the balls as the game does: a filled disc each, the player's ball with
/// its outline and direction stroke.
void DrawBalls(fenu::TCanvas& canvas, int frame) {
    static constexpr fenu::TColor Palette[] = {0xFF0000, 0x00FF00, 0x0000FF,
                                               0xFFFF00, 0xFF00FF, 0x00FFFF};
    canvas.SetPenStyle(fenu::TPenStyle::psClear);
    canvas.SetBrushStyle(fenu::TBrushStyle::bsSolid);
    for (int i = 0; i < BallCount - 1; ++i) {
        const int radius = 8 + (i % 4) * 4;
        const int x = (37 * i + 3 * frame) % (FieldWidth - 2 * radius);
        const int y = (53 * i + 2 * frame) % (FieldHeight - 2 * radius);
        canvas.SetBrushColor(Palette[i % 6]);
        canvas.Ellipse(x, y, x + 2 * radius, y + 2 * radius);
    }
    canvas.SetPenStyle(fenu::TPenStyle::psSolid);
    canvas.SetPenColor(0xFFFFFF);
    canvas.SetPenWidth(2);
    canvas.SetBrushColor(0xFF0000);
    canvas.Ellipse(300, 230, 340, 270);
    canvas.Line(320, 250, 340 + frame % 10, 262);
}

void BM_Frame_FillBallsRelease(benchmark::State& state) {
    FieldSurface field;
    if (!field.Ready(state))
        return;
    fenu::TDirectDrawSurface& surface = field.Surface;
    int frame = 0;
    for (auto _ : state) {
        surface.Fill(0);
        DrawBalls(surface.Canvas(), frame++);
        surface.ReleaseCanvas();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Frame_FillBallsRelease)->Repetitions(9)->ReportAggregatesOnly(true);

/// The drawing of a frame crowded with bullets: fill, then 500 outlined discs of
/// radius 15 at positions that scatter them over the field as a busy player does.
void BM_Frame_Fill500Bullets(benchmark::State& state) {
    FieldSurface field;
    if (!field.Ready(state))
        return;
    fenu::TDirectDrawSurface& surface = field.Surface;
    constexpr int Bullets = 500, Diameter = 30;
    int frame = 0;
    for (auto _ : state) {
        surface.Fill(0);
        fenu::TCanvas& canvas = surface.Canvas();
        canvas.SetPenStyle(fenu::TPenStyle::psSolid);
        canvas.SetPenWidth(4);
        canvas.SetBrushStyle(fenu::TBrushStyle::bsSolid);
        for (int i = 0; i < Bullets; ++i) {
            const int x = (7919 * i + 3 * frame) % (FieldWidth - Diameter);
            const int y = (104729 * i + 2 * frame) % (FieldHeight - Diameter);
            canvas.SetPenColor(frame % 60 < 30 ? 0xFFFFFF : 0x000000);
            canvas.SetBrushColor(static_cast<fenu::TColor>(0x10305 * i) & 0xFFFFFF);
            canvas.Ellipse(x, y, x + Diameter, y + Diameter);
        }
        surface.ReleaseCanvas();
        ++frame;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Frame_Fill500Bullets)->Repetitions(9)->ReportAggregatesOnly(true);

/// The title screen's text: 60 points, bold, white on a clear brush.
void BM_Frame_TitleText(benchmark::State& state) {
    FieldSurface field;
    if (!field.Ready(state))
        return;
    fenu::TDirectDrawSurface& surface = field.Surface;
    const QString title = QStringLiteral("f e N U");
    for (auto _ : state) {
        fenu::TCanvas& canvas = surface.Canvas();
        canvas.SetFontSize(60);
        canvas.SetFontColor(0xFFFFFF);
        canvas.SetFontBold(true);
        canvas.SetBrushStyle(fenu::TBrushStyle::bsClear);
        const int x = (FieldWidth - canvas.TextWidth(title)) / 2;
        const int y = (FieldHeight - canvas.TextHeight(title)) / 2;
        canvas.TextOut(x, y, title);
        surface.ReleaseCanvas();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Frame_TitleText)->Repetitions(5)->ReportAggregatesOnly(true);

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// 600 frames in a real window, each flipped at the 60 Hz frame boundary: the
/// standard deviation of the intervals between presented frames, and the process's
/// processor use meanwhile.
void BM_Pacing_600FramesInAWindow(benchmark::State& state) {
    constexpr int Frames = 600;
    QWidget form;
    form.resize(FieldWidth, FieldHeight);
    auto* area = new fenu::QtDrawAreaWidget(&form);
    area->setGeometry(0, 0, FieldWidth, FieldHeight);
    fenu::QtPresentationSystem system;
    fenu::TDXDraw draw(*area, system);
    draw.Loaded();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form) || !draw.Initialized()) {
        state.SkipWithError("the window did not come up");
        return;
    }
    std::vector<int64_t> presented;
    presented.reserve(Frames + 1);
    double stddevMs = 0, meanMs = 0, cpuShare = 0, late = 0;
    for (auto _ : state) {
        presented.clear();
        const double cpuBefore = CpuSeconds();
        const int64_t wallBefore = fenu::FrameClock::Now();
        for (int frame = 0; frame <= Frames; ++frame) {
            fenu::TDirectDrawSurface& back = *draw.Surface();
            back.Fill(0);
            DrawBalls(back.Canvas(), frame);
            back.ReleaseCanvas();
            draw.Flip();
            presented.push_back(fenu::FrameClock::Now());
            QCoreApplication::processEvents();
        }
        const double wall = static_cast<double>(fenu::FrameClock::Now() - wallBefore) / 1e9;
        cpuShare = (CpuSeconds() - cpuBefore) / wall;
        double sum = 0, sumSquares = 0;
        late = 0;
        for (int i = 1; i <= Frames; ++i) {
            const double interval = static_cast<double>(presented[i] - presented[i - 1]) / 1e6;
            late += interval > 25.0; // a frame boundary was missed
            sum += interval;
            sumSquares += interval * interval;
        }
        meanMs = sum / Frames;
        stddevMs = std::sqrt(std::max(0.0, sumSquares / Frames - meanMs * meanMs));
    }
    state.counters["interval_mean_ms"] = meanMs;
    state.counters["interval_stddev_ms"] = stddevMs;
    state.counters["cpu_share_of_core"] = cpuShare;
    state.counters["missed_boundaries"] = late;
}
BENCHMARK(BM_Pacing_600FramesInAWindow)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
