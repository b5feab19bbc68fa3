#include "platform/app/QtIdleSlot.h"

#include <algorithm>

namespace fenu {

QtIdleSlot::QtIdleSlot() {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] { RunIdle(); });
}

void QtIdleSlot::Set(IdleHandler* handler) {
    handler_ = handler;
    if (handler_ != nullptr)
        timer_.start();
    else
        timer_.stop();
}

void QtIdleSlot::RunIdle() {
    IdleHandler* handler = handler_;
    if (handler == nullptr) {
        timer_.stop();
        return;
    }
    bool done = true;
    // An exception from the handler leaves the timer running, so the next idle
    // call comes as usual once the exception has been reported.
    handler->Idle(done);
    if (done && handler_ == handler)
        timer_.stop();
}

void ActivationNotices::Add(ActivationListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void ActivationNotices::Remove(ActivationListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void ActivationNotices::StateReported(bool active) {
    if (active == active_)
        return;
    active_ = active;
    // A listener may leave the list while it is told; walk by index.
    for (size_t i = 0; i < listeners_.size(); ++i) {
        ActivationListener* listener = listeners_[i];
        if (active)
            listener->ApplicationActivated();
        else
            listener->ApplicationDeactivated();
        if (i < listeners_.size() && listeners_[i] != listener)
            --i;
    }
}

} // namespace fenu
