#pragma once

// The frame timer: ticks from the application's idle processing, at most once per
// Interval milliseconds.
//
// Wiring (as the main form's description sets it up):
//     fenu::TDXTimer DXTimer(app, clock);   // app: fenu::Application (QtApplication),
//                                           // clock: fenu::Clock (SystemClock)
//     DXTimer.SetActiveOnly(true);
//     DXTimer.SetEnabled(false);
//     DXTimer.SetInterval(1);
//     DXTimer.OnTimer = [this](fenu::TCustomDXTimer&, int32_t lagCount) { DXTimerTimer(lagCount);
//     }; DXTimer.OnActivate = ...; DXTimer.OnDeactivate = ...; DXTimer.Loaded(); // properties
//     read: from now on Enabled acts

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/FramePacer.h"

#include <cstdint>
#include <functional>

namespace fenu {

class TCustomDXTimer : private IdleHandler, private ActivationListener {
public:
    using TDXTimerEvent = std::function<void(TCustomDXTimer& sender, int32_t lagCount)>;
    using TNotifyEvent = std::function<void(TCustomDXTimer& sender)>;

    static constexpr uint32_t DefaultInterval = 1000;
    /// Turns of the event loop between a frame's wait and the frame. Input reaches the
    /// program in two of them on X11 (the connection's queue, then the window system's
    /// events): one turn left a click to the frame after (25 ms from click to screen
    /// against 9 ms with two).
    static constexpr int TurnsForInput = 2;

    /// Created as if from a form description: until Loaded(), setting Enabled only
    /// stores the value.
    TCustomDXTimer(Application& application, Clock& clock);
    ~TCustomDXTimer() override;
    TCustomDXTimer(const TCustomDXTimer&) = delete;
    TCustomDXTimer& operator=(const TCustomDXTimer&) = delete;

    void Loaded();

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t interval);
    bool ActiveOnly() const { return activeOnly_; }
    void SetActiveOnly(bool activeOnly) { activeOnly_ = activeOnly; }
    /// The timer was started and not stopped since (it may be silent while the
    /// application is inactive).
    bool Initialized() const { return initialized_; }
    /// With a pacer, each frame first waits for its boundary and lets the event loop
    /// take the input that came meanwhile; without one, the frame's Flip waits.
    void SetPacer(FramePacer* pacer) { pacer_ = pacer; }

    TDXTimerEvent OnTimer;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

private:
    void Start();
    void Stop();
    void InstallIdleHook();
    void RemoveIdleHook();

    void Idle(bool& done) override;
    void ApplicationActivated() override;
    void ApplicationDeactivated() override;

    Application& application_;
    Clock& clock_;
    bool loading_ = true;
    bool activeOnly_ = true;
    bool enabled_ = false;
    bool initialized_ = false;
    uint32_t interval_ = 0;
    uint32_t intervalDivisor_ = 1;
    uint32_t lastTick_ = 0;
    FramePacer* pacer_ = nullptr;
    bool frameAwaited_ = false;
    int turnsBeforeFrame_ = 0;
};

class TDXTimer final : public TCustomDXTimer {
public:
    using TCustomDXTimer::TCustomDXTimer;
};

} // namespace fenu
