#pragma once

#include <optional>

#include <QPointF>
#include <QRect>

namespace fenu {

/// The order of requests that confines the pointer to a region of the game's surface,
/// also where the compositor activates a confinement only if the pointer is inside its
/// region when the confinement is asked for or when the pointer enters the surface
/// (mutter, which neither warps the pointer in nor narrows an active confinement to a
/// new region). A pointer resting on the surface outside the region (over the menu bar,
/// or the title bar Qt draws) is first locked, then unlocked with a position hint inside
/// the region, where compositors warp it, and confined once it is reported there. Where
/// no warp comes, it is confined after a while anyway, and not locked again: the
/// confinement then takes hold where the compositor confines a pointer entering the
/// region later (KWin) or warps it in itself (sway).
class ConfineSequence {
public:
    enum class Request { None, Lock, Unlock, Confine };

    explicit ConfineSequence(const QRect& region = {}) : region_(region) {}
    const QRect& Region() const { return region_; }
    /// The request due now, given where the pointer is on the surface (none while it
    /// is elsewhere) and whether the lock or confinement last asked for is active.
    /// Asked once a frame while the confinement is not active.
    Request Next(std::optional<QPointF> pointer, bool active);
    /// Where unlocking should leave the pointer: the point of the region nearest it.
    QPointF Hint() const { return hint_; }

private:
    enum class State { Start, Locking, Unlocked, Confining };
    // Frames to wait for a compositor that does not answer (no lock, no warp, no
    // confinement for a pointer inside the region) before the next step.
    static constexpr int Patience = 10;

    bool Outside(const std::optional<QPointF>& pointer) const;
    Request Lock(QPointF pointer);

    QRect region_;
    State state_ = State::Start;
    int waited_ = 0;
    bool unheeded_ = false; ///< a hint brought no warp
    QPointF hint_;
};

} // namespace fenu
