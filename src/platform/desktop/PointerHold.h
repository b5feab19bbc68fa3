#pragma once

#include <memory>

class QRect;
class QWindow;

namespace fenu {

/// The window system's own hold on the pointer: while it is set, no motion takes the
/// pointer out of a rectangle of one window, so a flick cannot reach the desktop or
/// another program and a click cannot land there.
class PointerHold {
public:
    virtual ~PointerHold() = default;
    /// Holds the pointer inside area, in the window's own coordinates (a 1 x 1 area
    /// holds it on one point). False when the window system cannot take it now
    /// (another client holds the pointer, the window is not yet on screen, no pointer
    /// yet): the caller tries again later and never waits for it.
    virtual bool Hold(QWindow& window, const QRect& area) = 0;
    virtual void Release() = 0;
};

/// The hold of the window system the application runs on (X11, XWayland or native
/// Wayland); null where there is none (offscreen), where the clamp of what the game
/// reads is all there is.
std::unique_ptr<PointerHold> MakePointerHold();

} // namespace fenu
