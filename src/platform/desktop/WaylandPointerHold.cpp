#include "platform/desktop/WaylandPointerHold.h"

#include "platform/PixelRatioSource.h"
#include "pointer-constraints-unstable-v1-client-protocol.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <wayland-client.h>

#include <QGuiApplication>
#include <QRect>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qplatformwindow.h>

namespace fenu {

namespace {

template <class Proxy> void Forget(Proxy*& proxy, void (*destroy)(Proxy*)) {
    if (proxy != nullptr)
        destroy(proxy);
    proxy = nullptr;
}

void NoSeatName(void*, wl_seat*, const char*) {}
void NoGlobalRemoved(void*, wl_registry*, uint32_t) {}

} // namespace

WaylandPointerHold::~WaylandPointerHold() {
    Release();
    Forget(pointer_, wl_pointer_destroy);
    Forget(constraints_, zwp_pointer_constraints_v1_destroy);
    Forget(seat_, wl_seat_destroy);
    Forget(compositor_, wl_compositor_destroy);
}

void WaylandPointerHold::Global(void* data, wl_registry* registry, uint32_t name,
                                const char* interface, uint32_t version) {
    auto& self = *static_cast<WaylandPointerHold*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && self.compositor_ == nullptr) {
        self.compositor_ = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && self.seat_ == nullptr) {
        static const wl_seat_listener seatListener{&Capabilities, &NoSeatName};
        self.seat_ = static_cast<wl_seat*>(
            wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5U)));
        wl_seat_add_listener(self.seat_, &seatListener, &self);
    } else if (std::strcmp(interface, zwp_pointer_constraints_v1_interface.name) == 0 &&
               self.constraints_ == nullptr) {
        self.constraints_ = static_cast<zwp_pointer_constraints_v1*>(
            wl_registry_bind(registry, name, &zwp_pointer_constraints_v1_interface, 1));
    }
}

void WaylandPointerHold::Capabilities(void* data, wl_seat*, uint32_t capabilities) {
    static_cast<WaylandPointerHold*>(data)->capabilities_ = capabilities;
}

void WaylandPointerHold::BindGlobals() {
    bound_ = true;
    // A queue of its own for the start, so that waiting for the globals dispatches
    // none of Qt's events; afterwards Qt's dispatch delivers the seat's news.
    wl_event_queue* queue = wl_display_create_queue(display_);
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display_));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    static const wl_registry_listener registryListener{&Global, &NoGlobalRemoved};
    wl_registry_add_listener(registry, &registryListener, this);
    wl_display_roundtrip_queue(display_, queue); // the globals
    wl_display_roundtrip_queue(display_, queue); // the seat's capabilities
    for (void* proxy : {static_cast<void*>(compositor_), static_cast<void*>(seat_),
                        static_cast<void*>(constraints_)}) {
        if (proxy != nullptr)
            wl_proxy_set_queue(static_cast<wl_proxy*>(proxy), nullptr);
    }
    wl_registry_destroy(registry);
    wl_event_queue_destroy(queue);
}

bool WaylandPointerHold::Hold(QWindow& window, const QRect& area) {
    if (!bound_)
        BindGlobals();
    if (compositor_ == nullptr || seat_ == nullptr || constraints_ == nullptr)
        return true;
    // A seat may gain its pointer later (a mouse plugged in); asking for the pointer of
    // a seat that never had one is a protocol error.
    if ((capabilities_ & WL_SEAT_CAPABILITY_POINTER) == 0)
        return false;
    auto* surface = static_cast<wl_surface*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", &window));
    if (surface == nullptr)
        return false;
    if (pointer_ == nullptr)
        pointer_ = wl_seat_get_pointer(seat_);
    Release();
    // The surface includes the decorations a client draws itself, and its coordinates
    // are Qt's own times the scale factor set for Qt (QT_SCALE_FACTOR); the screen's
    // density is the compositor's business.
    const QMargins frame = window.frameMargins();
    const QPlatformWindow* native = window.handle();
    const double factor =
        native != nullptr ? window.devicePixelRatio() / native->devicePixelRatio() : 1.0;
    const QRect scaled = ScaledPixels(area.translated(frame.left(), frame.top()), factor);
    wl_region* region = wl_compositor_create_region(compositor_);
    wl_region_add(region, scaled.x(), scaled.y(), std::max(1, scaled.width()),
                  std::max(1, scaled.height()));
    confined_ = zwp_pointer_constraints_v1_confine_pointer(
        constraints_, surface, pointer_, region, ZWP_POINTER_CONSTRAINTS_V1_LIFETIME_PERSISTENT);
    wl_region_destroy(region);
    wl_display_flush(display_);
    return true;
}

void WaylandPointerHold::Release() {
    if (confined_ == nullptr)
        return;
    Forget(confined_, zwp_confined_pointer_v1_destroy);
    wl_display_flush(display_);
}

} // namespace fenu
