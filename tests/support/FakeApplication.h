#pragma once

#include "platform/Application.h"

#include <algorithm>
#include <vector>

namespace fenu::test {

/// An application object the test drives: idle calls and activation changes
/// happen only when the test asks for them.
class FakeApplication final : public Application {
public:
    void SetIdleHandler(IdleHandler* handler) override { handler_ = handler; }
    IdleHandler* CurrentIdleHandler() const override { return handler_; }
    bool Active() const override { return active_; }
    void AddActivationListener(ActivationListener* listener) override {
        listeners_.push_back(listener);
    }
    void RemoveActivationListener(ActivationListener* listener) override {
        listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener),
                         listeners_.end());
    }

    /// One idle call as the message loop makes it when its queue is empty; returns
    /// the done flag, or true when the slot is empty.
    bool RunIdle() {
        if (handler_ == nullptr)
            return true;
        bool done = true;
        handler_->Idle(done);
        return done;
    }
    void Deactivate() { Change(false); }
    void Activate() { Change(true); }

private:
    void Change(bool active) {
        if (active == active_)
            return;
        active_ = active;
        for (ActivationListener* listener : std::vector<ActivationListener*>(listeners_)) {
            if (active)
                listener->ApplicationActivated();
            else
                listener->ApplicationDeactivated();
        }
    }

    IdleHandler* handler_ = nullptr;
    bool active_ = true;
    std::vector<ActivationListener*> listeners_;
};

} // namespace fenu::test
