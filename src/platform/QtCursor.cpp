#include "platform/QtCursor.h"

#include <algorithm>

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace fenu {

TPoint ClampToClip(TPoint point, const TRect& clip) {
    const int32_t maxX = std::max(clip.Left, clip.Right - 1);
    const int32_t maxY = std::max(clip.Top, clip.Bottom - 1);
    return {std::clamp(point.X, clip.Left, maxX), std::clamp(point.Y, clip.Top, maxY)};
}

QtCursor::QtCursor() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

QtCursor::~QtCursor() {
    Clip(nullptr);
}

void QtCursor::SetArea(QWidget* area) {
    area_ = area;
    if (!hold_)
        hold_ = MakePointerHold();
    trackPointer_ = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (trackPointer_ && area != nullptr)
        area->setMouseTracking(true);
}

TPoint QtCursor::Pos() {
    const QPoint p = trackPointer_ && tracked_ ? *tracked_ : QCursor::pos();
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
        held_ = false;
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
}

void QtCursor::DropHold() {
    if (held_ && hold_)
        hold_->Release();
    held_ = false;
}

bool QtCursor::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (trackPointer_ && watched->isWidgetType()) {
            const auto* move = static_cast<QMouseEvent*>(event);
            tracked_ = static_cast<QWidget*>(watched)->mapToGlobal(move->position().toPoint());
        }
        break;
    case QEvent::Show:
    case QEvent::Hide:
        // A menu takes the pointer for itself and lets it go when it closes, our
        // hold with it: take it back once the last menu has gone.
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->windowType() == Qt::Popup &&
            clip_) {
            held_ = false;
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
