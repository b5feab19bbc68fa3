#pragma once

#include "platform/Application.h"

#include <vector>

#include <QObject>
#include <QTimer>

namespace fenu {

/// The application's single idle slot on Qt: a 0 ms timer that calls the handler
/// each time the event loop has nothing else to do, and stops while the handler
/// says it is done (or the slot is empty).
class QtIdleSlot final : public QObject {
public:
    QtIdleSlot();
    void Set(IdleHandler* handler);
    IdleHandler* Handler() const { return handler_; }
    bool Running() const { return timer_.isActive(); }

private:
    void RunIdle();

    QTimer timer_;
    IdleHandler* handler_ = nullptr;
};

/// The application's activation state and its listeners. Active from the start
/// until the first deactivation; only real changes are announced.
class ActivationNotices {
public:
    bool Active() const { return active_; }
    void Add(ActivationListener* listener);
    void Remove(ActivationListener* listener);
    /// The window system reports the application's state; listeners hear of a change
    /// before anything else handles it.
    void StateReported(bool active);

private:
    bool active_ = true;
    std::vector<ActivationListener*> listeners_;
};

} // namespace fenu
