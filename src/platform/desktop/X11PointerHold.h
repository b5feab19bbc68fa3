#pragma once

#include "platform/desktop/PointerHold.h"

#include <xcb/xcb.h>

namespace fenu {

/// An active pointer grab confined to an input-only child window of the game's
/// window, placed on the held area. The X server clamps every motion to that
/// window, synthetic ones included; XWayland turns such a grab into the
/// compositor's confinement to the whole window, where the clamp of what the game
/// reads narrows it to the area. The grab lets the game's own windows see their
/// events as usual (owner events) and keeps their cursor. The X server drops it when
/// the connection ends, so a crash never leaves the pointer held.
class X11PointerHold final : public PointerHold {
public:
    explicit X11PointerHold(xcb_connection_t* connection) : connection_(connection) {}
    ~X11PointerHold() override { Release(); }
    bool Hold(QWindow& window, const QRect& area) override;
    void Release() override;

private:
    xcb_connection_t* connection_;
    xcb_window_t parent_ = XCB_NONE;
    xcb_window_t confine_ = XCB_NONE;
    bool mapped_ = false;
    bool grabbed_ = false;
};

} // namespace fenu
