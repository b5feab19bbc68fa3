#include "ui/FreshDialogClicks.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace fenu {

TFreshDialogClicks::TFreshDialogClicks(QObject* parent, qint64 settleMs)
    : QObject(parent), settleMs_(settleMs) {
    clock_.start();
    qApp->installEventFilter(this);
}

TFreshDialogClicks::~TFreshDialogClicks() {
    qApp->removeEventFilter(this);
}

bool TFreshDialogClicks::Settling(const QWindow& window) const {
    const qint64 now = clock_.elapsed();
    const bool inBurst = lastPressAt_ >= 0 && now - lastPressAt_ < settleMs_;
    // A burst that began before the dialog goes on being ignored as long as it lasts.
    return newest_ != nullptr && newest_->windowHandle() == &window &&
           (now - shownAt_ < settleMs_ || (inBurst && lastPressIgnored_));
}

bool TFreshDialogClicks::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the program passes here, the frames' too: the cheap test first.
    const QEvent::Type type = event->type();
    if (type == QEvent::Show) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->isWindow() && widget->windowType() == Qt::Dialog) {
            newest_ = widget;
            shownAt_ = clock_.elapsed();
            // Presses just before count as the start of a burst into it.
            lastPressIgnored_ = true;
        }
        return false;
    }
    // A press is taken at its window, before it reaches a widget: the application
    // gives a widget the focus before any filter of the widget's own events, and a
    // button with the focus would be pressed by the next Enter.
    if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) ||
        !watched->isWindowType())
        return false;
    const bool ignore = Settling(*static_cast<QWindow*>(watched));
    lastPressAt_ = clock_.elapsed();
    lastPressIgnored_ = ignore;
    return ignore;
}

} // namespace fenu
