#pragma once

#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/app/QtIdleSlot.h"

#include <exception>
#include <functional>

#include <QApplication>
#include <QString>

namespace fenu {

/// Runs call and turns an exception escaping it into a call of report with the
/// exception's message; returns false in that case. No exception crosses the Qt
/// event loop this way.
template <class Call>
bool CallReportingExceptions(Call&& call, const std::function<void(const QString&)>& report) {
    try {
        call();
        return true;
    } catch (const Exception& error) {
        report(error.Message());
    } catch (const std::exception& error) {
        report(QString::fromUtf8(error.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
    return false;
}

/// The application object: the single idle slot, the activation notices, and the
/// error box for exceptions that escape an event handler.
///
/// Usage: create it in main() instead of a QApplication, then create the main window
/// and pass the application to the frame timer:
///     fenu::QtApplication app(argc, argv);
///     TDXTimer timer(app, clock);   // display/DXTimer.h
class QtApplication final : public QApplication, public Application {
public:
    /// The title of the error box.
    static constexpr const char* Title = "feNU";

    QtApplication(int& argc, char** argv);
    ~QtApplication() override;

    void SetIdleHandler(IdleHandler* handler) override { idle_.Set(handler); }
    IdleHandler* CurrentIdleHandler() const override { return idle_.Handler(); }
    bool Active() const override { return activation_.Active(); }
    void AddActivationListener(ActivationListener* listener) override { activation_.Add(listener); }
    void RemoveActivationListener(ActivationListener* listener) override {
        activation_.Remove(listener);
    }

    bool notify(QObject* receiver, QEvent* event) override;

    /// Shows the modal error box titled "feNU" with the message and a full stop.
    static void ShowErrorBox(const QString& message);

protected:
    bool event(QEvent* event) override;

private:
    QtIdleSlot idle_;
    ActivationNotices activation_;
};

} // namespace fenu
