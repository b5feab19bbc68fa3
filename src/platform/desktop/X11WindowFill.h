#pragma once

#include "platform/window/WindowFill.h"

#include <xcb/xcb.h>

namespace fenu {

/// Fills through the X server with one graphics context, on the connection Qt draws
/// through, so that the fill reaches the server in order with Qt's own copies.
class X11WindowFill final : public WindowFill {
public:
    /// The application's X connection; null where it runs on another window system.
    static xcb_connection_t* ApplicationConnection();

    explicit X11WindowFill(xcb_connection_t* connection) : connection_(connection) {}
    ~X11WindowFill() override;
    X11WindowFill(const X11WindowFill&) = delete;
    X11WindowFill& operator=(const X11WindowFill&) = delete;

    bool Fill(QWindow& window, const QRect& device, uint32_t pixel) override;

private:
    xcb_connection_t* connection_;
    xcb_gcontext_t context_ = 0;
    uint32_t foreground_ = 0;
};

} // namespace fenu
