#include "platform/app/QtApplication.h"

#include <QApplicationStateChangeEvent>
#include <QEvent>
#include <QMessageBox>

namespace fenu {

QtApplication::QtApplication(int& argc, char** argv) : QApplication(argc, argv) {}

QtApplication::~QtApplication() = default;

bool QtApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    CallReportingExceptions([&] { result = QApplication::notify(receiver, event); },
                            &QtApplication::ShowErrorBox);
    return result;
}

void QtApplication::ShowErrorBox(const QString& message) {
    QMessageBox::critical(activeWindow(), QString::fromLatin1(Title), ErrorBoxText(message));
}

bool QtApplication::event(QEvent* event) {
    if (event->type() == QEvent::ApplicationStateChange) {
        const auto state = static_cast<QApplicationStateChangeEvent*>(event)->applicationState();
        activation_.StateReported(state == Qt::ApplicationActive);
    }
    return QApplication::event(event);
}

} // namespace fenu
