#include "display/DXTimer.h"

#include <algorithm>

namespace fenu {

TCustomDXTimer::TCustomDXTimer(Application& application, Clock& clock)
    : application_(application), clock_(clock) {
    activeOnly_ = true;
    SetEnabled(true);
    SetInterval(DefaultInterval);
    application_.AddActivationListener(this);
}

TCustomDXTimer::~TCustomDXTimer() {
    Stop();
    application_.RemoveActivationListener(this);
}

void TCustomDXTimer::Loaded() {
    loading_ = false;
    if (enabled_)
        Start();
}

void TCustomDXTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (loading_)
        return;
    if (enabled_)
        Start();
    else
        Stop();
}

void TCustomDXTimer::SetInterval(uint32_t interval) {
    if (interval == interval_)
        return;
    interval_ = interval;
    intervalDivisor_ = std::max<uint32_t>(interval, 1);
}

void TCustomDXTimer::Start() {
    Stop();
    if (!activeOnly_ || application_.Active())
        InstallIdleHook();
    initialized_ = true;
}

void TCustomDXTimer::Stop() {
    if (!initialized_)
        return;
    RemoveIdleHook();
    initialized_ = false;
}

void TCustomDXTimer::InstallIdleHook() {
    lastTick_ = clock_.Milliseconds();
    frameAwaited_ = false;
    application_.SetIdleHandler(this);
}

void TCustomDXTimer::RemoveIdleHook() {
    // The slot is emptied only while it is still this timer's; whoever took it
    // since keeps it.
    if (application_.CurrentIdleHandler() == this)
        application_.SetIdleHandler(nullptr);
}

void TCustomDXTimer::Idle(bool& done) {
    done = false;
    // The wait for the frame's boundary comes before the frame, and the event loop
    // turns between them: the input that came during the wait reaches the frame shown
    // at that boundary rather than the one after.
    if (pacer_ != nullptr) {
        if (!frameAwaited_) {
            pacer_->AwaitFrame();
            frameAwaited_ = true;
            turnsBeforeFrame_ = TurnsForInput;
            return;
        }
        if (turnsBeforeFrame_-- > 0)
            return;
        frameAwaited_ = false;
    }
    const uint32_t now = clock_.Milliseconds();
    const uint32_t elapsed = now - lastTick_; // unsigned: a wrap of the clock does no harm
    if (elapsed < interval_)
        return;
    lastTick_ = now;
    const uint32_t lagCount = std::max<uint32_t>(elapsed / intervalDivisor_, 1);
    if (OnTimer)
        OnTimer(*this, static_cast<int32_t>(lagCount));
}

void TCustomDXTimer::ApplicationActivated() {
    if (OnActivate)
        OnActivate(*this);
    if (initialized_ && activeOnly_)
        InstallIdleHook();
}

void TCustomDXTimer::ApplicationDeactivated() {
    if (OnDeactivate)
        OnDeactivate(*this);
    if (initialized_ && activeOnly_)
        RemoveIdleHook();
}

} // namespace fenu
