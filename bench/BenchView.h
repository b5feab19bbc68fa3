#pragma once

// The main window as the game controller sees it, for frame benchmarks: a real
// 625 x 500 back buffer (a QImage surface of the Qt presentation system) with its
// real canvas, and a sprite engine bound to it. Only the hand-over to a window is
// left out: Flip works out what differs from the frame before, as a presentation
// does, so a frame's figure is the frame's own work.

#include "display/DirectDraw.h"
#include "display/DirectDrawSurface.h"
#include "game/GameView.h"
#include "platform/window/QtPresentationDevice.h"
#include "sprites/Sprite.h"

#include <stdexcept>

namespace fenu::bench {

class BenchView final : public TGameView {
public:
    static constexpr int FieldWidth = 625;
    static constexpr int FieldHeight = 500;

    BenchView() : ddraw_(system_, true), surface_(ddraw_.NewSurface()) {
        if (!surface_.CreateOffscreen(FieldWidth, FieldHeight, false))
            throw std::runtime_error("no back buffer");
        engine_.SetSurface(&surface_);
    }
    ~BenchView() override { engine_.SetSurface(nullptr); }

    TSpriteEngine& Engine() { return engine_; }
    TDirectDrawSurface& Surface() { return surface_; }

    void Fill(uint32_t rawValue) override { surface_.Fill(rawValue); }
    TCanvas* Canvas() override { return &surface_.Canvas(); }
    void ReleaseCanvas() override { surface_.ReleaseCanvas(); }
    void Flip() override {
        surface_.Changes().Changes(TRect{0, 0, FieldWidth, FieldHeight});
        surface_.Changes().Presented();
        ++flips_;
    }
    TPoint ClientOrigin() override { return {0, 0}; }
    int ClientWidth() const override { return FieldWidth; }
    int ClientHeight() const override { return FieldHeight; }
    void DrawAll() override { engine_.Draw(); }
    void MoveAll(int32_t stepCount) override { engine_.Move(stepCount); }
    bool TimerEnabled() const override { return timerEnabled_; }
    void SetTimerEnabled(bool enabled) override { timerEnabled_ = enabled; }
    void SetCaption(const QString& caption) override { caption_ = caption; }
    QString FontFace() const override { return QStringLiteral("DejaVu Sans"); }
    void SetPauseChecked(bool) override {}
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    void RecordConfirmed() override {}
    void ShowRecords() override {}

    long Flips() const { return flips_; }
    const QString& Caption() const { return caption_; }

private:
    QtPresentationSystem system_;
    TDirectDraw ddraw_;
    TDirectDrawSurface& surface_;
    // Declared after the surface it draws on, so it is destroyed first.
    TSpriteEngine engine_;
    bool timerEnabled_ = false;
    long flips_ = 0;
    QString caption_;
};

} // namespace fenu::bench
