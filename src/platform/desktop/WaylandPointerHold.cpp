#include "platform/desktop/WaylandPointerHold.h"

#include "platform/desktop/SurfaceRegion.h"
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
void NoButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void NoAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void NoFrame(void*, wl_pointer*) {}
void NoAxisSource(void*, wl_pointer*, uint32_t) {}
void NoAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void NoAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

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

void WaylandPointerHold::Enter(void* data, wl_pointer*, uint32_t, wl_surface* surface, int32_t x,
                               int32_t y) {
    auto& self = *static_cast<WaylandPointerHold*>(data);
    self.pointerSurface_ = surface;
    self.pointerAt_ = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void WaylandPointerHold::Leave(void* data, wl_pointer*, uint32_t, wl_surface*) {
    static_cast<WaylandPointerHold*>(data)->pointerSurface_ = nullptr;
}

void WaylandPointerHold::Motion(void* data, wl_pointer*, uint32_t, int32_t x, int32_t y) {
    static_cast<WaylandPointerHold*>(data)->pointerAt_ =
        QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
}

template <class Constraint, bool active> void WaylandPointerHold::Report(void* data, Constraint*) {
    static_cast<WaylandPointerHold*>(data)->active_ = active;
}

void WaylandPointerHold::MakePointer() {
    // A pointer of its own: Qt's tells nothing of where it is in the surface's
    // coordinates, which the compositor's test for the region uses.
    // Named one by one: later versions of the header add events this version of the
    // seat never sends.
    static const wl_pointer_listener listener = [] {
        wl_pointer_listener events{};
        events.enter = &Enter;
        events.leave = &Leave;
        events.motion = &Motion;
        events.button = &NoButton;
        events.axis = &NoAxis;
        events.frame = &NoFrame;
        events.axis_source = &NoAxisSource;
        events.axis_stop = &NoAxisStop;
        events.axis_discrete = &NoAxisDiscrete;
        return events;
    }();
    pointer_ = wl_seat_get_pointer(seat_);
    wl_pointer_add_listener(pointer_, &listener, this);
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
    if (seat_ != nullptr && (capabilities_ & WL_SEAT_CAPABILITY_POINTER) != 0) {
        MakePointer();
        wl_display_roundtrip_queue(display_, queue); // where the pointer is now
    }
    for (void* proxy : {static_cast<void*>(compositor_), static_cast<void*>(seat_),
                        static_cast<void*>(constraints_), static_cast<void*>(pointer_)}) {
        if (proxy != nullptr)
            wl_proxy_set_queue(static_cast<wl_proxy*>(proxy), nullptr);
    }
    wl_registry_destroy(registry);
    wl_event_queue_destroy(queue);
}

std::optional<QPointF> WaylandPointerHold::PointerOnSurface() const {
    if (surface_ == nullptr || pointerSurface_ != surface_)
        return std::nullopt;
    return pointerAt_;
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
    static const QByteArray surfaceResource("surface"); // asked every frame until held
    auto* surface = static_cast<wl_surface*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForWindow(surfaceResource,
                                                                            &window));
    if (surface == nullptr)
        return false;
    if (pointer_ == nullptr)
        MakePointer();
    // The surface includes the decorations a client draws itself, and its coordinates
    // are Qt's own times the scale factor set for Qt (QT_SCALE_FACTOR); the screen's
    // density is the compositor's business.
    const QMargins frame = window.frameMargins();
    const QPlatformWindow* native = window.handle();
    const double factor =
        native != nullptr ? window.devicePixelRatio() / native->devicePixelRatio() : 1.0;
    const QRect region = SurfaceRegion(
        area, frame, factor, surface == pointerSurface_ ? std::optional(pointerAt_) : std::nullopt);
    if (surface != surface_ || region != sequence_.Region()) {
        Release();
        surface_ = surface;
        sequence_ = ConfineSequence(region);
    }
    Ask(sequence_.Next(PointerOnSurface(), active_));
    return active_ && confined_ != nullptr;
}

void WaylandPointerHold::Ask(ConfineSequence::Request request) {
    switch (request) {
    case ConfineSequence::Request::None:
        return;
    case ConfineSequence::Request::Lock: {
        // A surface takes one constraint at a time.
        Forget(confined_, zwp_confined_pointer_v1_destroy);
        static const zwp_locked_pointer_v1_listener listener{&Report<zwp_locked_pointer_v1, true>,
                                                             &Report<zwp_locked_pointer_v1, false>};
        locked_ = zwp_pointer_constraints_v1_lock_pointer(
            constraints_, surface_, pointer_, nullptr, ZWP_POINTER_CONSTRAINTS_V1_LIFETIME_ONESHOT);
        zwp_locked_pointer_v1_add_listener(locked_, &listener, this);
        const QPointF hint = sequence_.Hint();
        zwp_locked_pointer_v1_set_cursor_position_hint(locked_, wl_fixed_from_double(hint.x()),
                                                       wl_fixed_from_double(hint.y()));
        break;
    }
    case ConfineSequence::Request::Unlock:
        Forget(locked_, zwp_locked_pointer_v1_destroy);
        break;
    case ConfineSequence::Request::Confine: {
        Forget(locked_, zwp_locked_pointer_v1_destroy);
        static const zwp_confined_pointer_v1_listener listener{
            &Report<zwp_confined_pointer_v1, true>, &Report<zwp_confined_pointer_v1, false>};
        const QRect& held = sequence_.Region();
        wl_region* region = wl_compositor_create_region(compositor_);
        wl_region_add(region, held.x(), held.y(), held.width(), held.height());
        confined_ = zwp_pointer_constraints_v1_confine_pointer(
            constraints_, surface_, pointer_, region,
            ZWP_POINTER_CONSTRAINTS_V1_LIFETIME_PERSISTENT);
        zwp_confined_pointer_v1_add_listener(confined_, &listener, this);
        wl_region_destroy(region);
        break;
    }
    }
    active_ = false;
    wl_display_flush(display_);
}

void WaylandPointerHold::Release() {
    sequence_ = ConfineSequence(sequence_.Region());
    active_ = false;
    if (locked_ == nullptr && confined_ == nullptr)
        return;
    Forget(locked_, zwp_locked_pointer_v1_destroy);
    Forget(confined_, zwp_confined_pointer_v1_destroy);
    wl_display_flush(display_);
}

} // namespace fenu
