#include "platform/desktop/ConfineSequence.h"

#include <algorithm>
#include <cmath>

namespace fenu {

bool ConfineSequence::Outside(const std::optional<QPointF>& pointer) const {
    // Compositors test the pixel the pointer is in.
    return pointer && !region_.contains(static_cast<int>(std::floor(pointer->x())),
                                        static_cast<int>(std::floor(pointer->y())));
}

ConfineSequence::Request ConfineSequence::Lock(QPointF pointer) {
    // The middle of the region's pixel nearest the pointer: a warp that rounds lands
    // inside too.
    const auto nearest = [](double at, int low, int high) {
        return std::clamp(static_cast<int>(std::floor(at)), low, high) + 0.5;
    };
    hint_ = QPointF(nearest(pointer.x(), region_.left(), region_.right()),
                    nearest(pointer.y(), region_.top(), region_.bottom()));
    state_ = State::Locking;
    waited_ = 0;
    return Request::Lock;
}

ConfineSequence::Request ConfineSequence::Next(std::optional<QPointF> pointer, bool active) {
    switch (state_) {
    case State::Start:
        if (Outside(pointer))
            return Lock(*pointer);
        break;
    case State::Locking:
        // The hint was sent with the lock, and a frame committed since applies it.
        if (!active && ++waited_ < Patience)
            return Request::None;
        state_ = State::Unlocked;
        waited_ = 0;
        return Request::Unlock;
    case State::Unlocked:
        if (Outside(pointer)) {
            if (++waited_ < Patience)
                return Request::None;
            unheeded_ = true; // no warp: locking again would only stop the pointer
        }
        break;
    case State::Confining:
        // Still not active with the pointer outside: it came onto the surface outside
        // the region after the confinement was asked for.
        if (!active && !unheeded_ && Outside(pointer) && ++waited_ >= Patience)
            return Lock(*pointer);
        return Request::None;
    }
    state_ = State::Confining;
    waited_ = 0;
    return Request::Confine;
}

} // namespace fenu
