#pragma once

namespace fenu {

/// The application's single idle slot: called whenever the message queue is empty.
/// Setting done to false asks for the next call at once; leaving it true lets the
/// application sleep until its slot is filled again.
class IdleHandler {
public:
    virtual ~IdleHandler() = default;
    virtual void Idle(bool& done) = 0;
};

/// Told of every activation change of the application, before the framework's
/// own handling of it.
class ActivationListener {
public:
    virtual ~ActivationListener() = default;
    virtual void ApplicationActivated() = 0;
    virtual void ApplicationDeactivated() = 0;
};

/// What the frame timer needs of the application object. The application counts
/// as active from its start until its first deactivation.
class Application {
public:
    virtual ~Application() = default;
    /// Takes the single idle slot, replacing whatever was there; null empties it.
    virtual void SetIdleHandler(IdleHandler* handler) = 0;
    virtual IdleHandler* CurrentIdleHandler() const = 0;
    virtual bool Active() const = 0;
    virtual void AddActivationListener(ActivationListener* listener) = 0;
    virtual void RemoveActivationListener(ActivationListener* listener) = 0;
};

} // namespace fenu
