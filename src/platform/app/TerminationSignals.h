#pragma once

#include <functional>

#include <QObject>

class QSocketNotifier;

namespace fenu {

/// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop (through a self-pipe, the
/// only safe way out of a signal handler), so the program can end the orderly way.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals() override;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace fenu
