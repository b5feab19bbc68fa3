#include "platform/desktop/X11WindowFill.h"

#include <QGuiApplication>
#include <QRect>
#include <QWindow>

namespace fenu {

xcb_connection_t* X11WindowFill::ApplicationConnection() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

X11WindowFill::~X11WindowFill() {
    // After the X server went away the connection takes no more requests; Qt
    // exits then anyway.
    if (context_ != 0 && xcb_connection_has_error(connection_) == 0)
        xcb_free_gc(connection_, context_);
}

bool X11WindowFill::Fill(QWindow& window, const QRect& device, uint32_t pixel) {
    if (connection_ == nullptr || xcb_connection_has_error(connection_) != 0 || device.isEmpty())
        return false;
    const auto target = static_cast<xcb_window_t>(window.winId());
    if (context_ == 0) {
        // A graphics context serves every window of its screen and depth: the game's
        // window is made once and keeps its depth.
        context_ = xcb_generate_id(connection_);
        const uint32_t values[] = {pixel, 0};
        xcb_create_gc(connection_, context_, target, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES,
                      values);
        foreground_ = pixel;
    } else if (foreground_ != pixel) {
        xcb_change_gc(connection_, context_, XCB_GC_FOREGROUND, &pixel);
        foreground_ = pixel;
    }
    const xcb_rectangle_t area{static_cast<int16_t>(device.x()), static_cast<int16_t>(device.y()),
                               static_cast<uint16_t>(device.width()),
                               static_cast<uint16_t>(device.height())};
    xcb_poly_fill_rectangle(connection_, target, context_, 1, &area);
    // Qt sends its copies of the frame when it flushes them; a frame of only the fill
    // has none, and is sent now.
    xcb_flush(connection_);
    return true;
}

} // namespace fenu
