#include "platform/desktop/QtCursor.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace fenu {

QtCursor::QtCursor(std::unique_ptr<PointerHold> hold) : hold_(std::move(hold)) {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

QtCursor::~QtCursor() {
    Clip(nullptr);
}

void QtCursor::SetArea(QWidget* area) {
    if (area != area_ && clip_)
        DropHold(); // held again below, on the new area's window
    area_ = area;
    if (!hold_)
        hold_ = MakePointerHold();
    trackPointer_ = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (area != nullptr)
        area->setMouseTracking(true);
    TakeHold();
}

TPoint QtCursor::Pos() {
    // Asking the X server costs a round trip every frame; while our hold stands every
    // move of the pointer comes to our windows, so the last one is where it is.
    const bool trackedHere = trackPointer_ || (held_ && movedInHold_);
    const QPoint p = trackedHere && tracked_ ? *tracked_ : QCursor::pos();
    const TPoint point{p.x(), p.y()};
    if (!clip_)
        return point;
    TakeHold(); // a hold refused before is tried again at every frame
    return ClampToClip(point, *clip_);
}

void QtCursor::Clip(const TRect* rect) {
    if (rect == nullptr) {
        clip_.reset();
        DropHold();
        return;
    }
    if (clip_ != *rect)
        held_ = false; // held again on the new area
    clip_ = *rect;
    TakeHold();
}

void QtCursor::TakeHold() {
    if (held_ || !hold_ || !clip_ || area_ == nullptr || !active_ ||
        QApplication::activePopupWidget() != nullptr)
        return;
    QWidget* form = area_->window();
    QWindow* window = form->windowHandle();
    if (window == nullptr || !form->isVisible())
        return;
    const QPoint origin = form->mapToGlobal(QPoint(0, 0));
    const QRect area(clip_->Left - origin.x(), clip_->Top - origin.y(),
                     std::max(1, clip_->Right - clip_->Left),
                     std::max(1, clip_->Bottom - clip_->Top));
    held_ = hold_->Hold(*window, area);
    movedInHold_ = false; // the window system may have moved the pointer into the area
}

void QtCursor::DropHold() {
    // Whatever came in between (a menu, a refused grab, another program active),
    // the window system may still hold something of ours: release unconditionally.
    if (hold_)
        hold_->Release();
    held_ = false;
}

void QtCursor::Track(QObject* watched, QEvent* event) {
    if (!(trackPointer_ || held_) || !watched->isWidgetType() || !event->isSinglePointEvent())
        return;
    movedInHold_ = held_;
    // Compositors differ in what follows wl_pointer.enter (KWin and sway send no
    // motion), so every event with a position counts, not only moves.
    const auto* pointer = static_cast<QSinglePointEvent*>(event);
    tracked_ = static_cast<QWidget*>(watched)->mapToGlobal(pointer->position().toPoint());
}

bool QtCursor::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Enter:
    case QEvent::Wheel:
        Track(watched, event);
        break;
    case QEvent::Show:
    case QEvent::Hide:
        // A menu needs the pointer for itself: the hold lets go before the menu
        // grabs it (X refuses a menu's grab while ours stands), and comes back once
        // the last menu has gone, if the game still asks for it.
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->windowType() == Qt::Popup) {
            if (event->type() == QEvent::Show)
                DropHold();
            else if (clip_)
                QTimer::singleShot(0, this, [this] { TakeHold(); });
        }
        break;
    case QEvent::ApplicationStateChange:
        // Another program is active: the rest of the desktop must stay usable.
        active_ = static_cast<QApplicationStateChangeEvent*>(event)->applicationState() ==
                  Qt::ApplicationActive;
        if (active_)
            TakeHold();
        else
            DropHold();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fenu
