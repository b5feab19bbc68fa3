#include "platform/QtCursor.h"

#include <algorithm>

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>

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

TPoint QtCursor::Pos() {
    const QPoint p = QCursor::pos();
    const TPoint point{p.x(), p.y()};
    return clip_ ? ClampToClip(point, *clip_) : point;
}

void QtCursor::Clip(const TRect* rect) {
    if (rect)
        clip_ = *rect;
    else
        clip_.reset();
    PushBackInside();
}

void QtCursor::PushBackInside() {
    if (!clip_)
        return;
    const QPoint p = QCursor::pos();
    const TPoint inside = ClampToClip({p.x(), p.y()}, *clip_);
    if (inside.X != p.x() || inside.Y != p.y())
        QCursor::setPos(inside.X, inside.Y);
}

bool QtCursor::eventFilter(QObject* watched, QEvent* event) {
    // A quick flick takes the pointer out of the window in one motion, and past the
    // window we see no more motions: leaving is the last chance to fetch it back.
    if (clip_ && (event->type() == QEvent::MouseMove || event->type() == QEvent::Leave))
        PushBackInside();
    return QObject::eventFilter(watched, event);
}

} // namespace fenu
