#include "platform/desktop/X11PointerHold.h"

#include "platform/PixelRatioSource.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include <QRect>
#include <QWindow>

namespace fenu {

bool X11PointerHold::Hold(QWindow& window, const QRect& area) {
    const auto parent = static_cast<xcb_window_t>(window.winId());
    const QRect device = ScaledPixels(area, window.devicePixelRatio());
    const int32_t x = device.x();
    const int32_t y = device.y();
    const auto width = static_cast<uint32_t>(std::max(1, device.width()));
    const auto height = static_cast<uint32_t>(std::max(1, device.height()));
    if (parent != parent_) {
        // A window of its own for the hold: the game's window is larger than the
        // field (menu bar), and a child moves with it. It selects no events, so the
        // pointer's events over it reach the game's window as before.
        parent_ = parent;
        confine_ = xcb_generate_id(connection_);
        xcb_create_window(connection_, 0, confine_, parent, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), static_cast<uint16_t>(width),
                          static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
    } else {
        const uint32_t geometry[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y), width,
                                     height};
        xcb_configure_window(connection_, confine_,
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                 XCB_CONFIG_WINDOW_HEIGHT,
                             geometry);
    }
    xcb_map_window(connection_, confine_);
    mapped_ = true;
    const xcb_grab_pointer_cookie_t cookie =
        xcb_grab_pointer(connection_, 1, parent, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                         confine_, XCB_NONE, XCB_CURRENT_TIME);
    const std::unique_ptr<xcb_grab_pointer_reply_t, decltype(&std::free)> reply(
        xcb_grab_pointer_reply(connection_, cookie, nullptr), &std::free);
    grabbed_ = reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS;
    return grabbed_;
}

void X11PointerHold::Release() {
    // Only what this hold set is undone: the window may be gone by now (with the
    // game's window), and a request naming it would be an error.
    if (!mapped_)
        return;
    if (grabbed_)
        xcb_ungrab_pointer(connection_, XCB_CURRENT_TIME);
    xcb_unmap_window(connection_, confine_);
    xcb_flush(connection_);
    grabbed_ = false;
    mapped_ = false;
}

} // namespace fenu
