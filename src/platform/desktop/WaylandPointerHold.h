#pragma once

#include "platform/desktop/PointerHold.h"

#include <cstdint>

struct wl_compositor;
struct wl_display;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct zwp_confined_pointer_v1;
struct zwp_pointer_constraints_v1;

namespace fenu {

/// The compositor's pointer confinement (pointer-constraints protocol) on the
/// game's surface, with a region of the held area. Qt offers no interface for it,
/// so the hold binds the globals it needs on a registry of its own, once, when it
/// is first asked to hold. Where the compositor has no pointer constraints, holding
/// "succeeds" without effect and the clamp of what the game reads is all there is.
/// The compositor drops the confinement when the connection ends.
class WaylandPointerHold final : public PointerHold {
public:
    explicit WaylandPointerHold(wl_display* display) : display_(display) {}
    ~WaylandPointerHold() override;
    bool Hold(QWindow& window, const QRect& area) override;
    void Release() override;

private:
    void BindGlobals();
    static void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version);
    static void Capabilities(void* data, wl_seat* seat, uint32_t capabilities);

    wl_display* display_;
    bool bound_ = false;
    wl_compositor* compositor_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwp_pointer_constraints_v1* constraints_ = nullptr;
    uint32_t capabilities_ = 0;
    wl_pointer* pointer_ = nullptr;
    zwp_confined_pointer_v1* confined_ = nullptr;
};

} // namespace fenu
