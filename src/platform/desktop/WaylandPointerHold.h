#pragma once

#include "platform/desktop/ConfineSequence.h"
#include "platform/desktop/PointerHold.h"

#include <cstdint>
#include <optional>

#include <QPointF>

struct wl_compositor;
struct wl_display;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_surface;
struct zwp_confined_pointer_v1;
struct zwp_locked_pointer_v1;
struct zwp_pointer_constraints_v1;

namespace fenu {

/// The compositor's pointer confinement (pointer-constraints protocol) on the
/// game's surface, with a region of the held area. Qt offers no interface for it,
/// so the hold binds the globals it needs on a registry of its own, once, when it
/// is first asked to hold, and follows the pointer on a wl_pointer of its own, in
/// the surface's coordinates, to bring it into the region first where it rests
/// outside (ConfineSequence). The hold counts as taken once the compositor reports
/// the confinement active. Where the compositor has no pointer constraints, holding
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
    void MakePointer();
    void Ask(ConfineSequence::Request request);
    std::optional<QPointF> PointerOnSurface() const;
    static void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version);
    static void Capabilities(void* data, wl_seat* seat, uint32_t capabilities);
    static void Enter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface,
                      int32_t x, int32_t y);
    static void Leave(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface);
    static void Motion(void* data, wl_pointer* pointer, uint32_t time, int32_t x, int32_t y);
    template <class Constraint, bool active> static void Report(void* data, Constraint*);

    wl_display* display_;
    bool bound_ = false;
    wl_compositor* compositor_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwp_pointer_constraints_v1* constraints_ = nullptr;
    uint32_t capabilities_ = 0;
    wl_pointer* pointer_ = nullptr;
    wl_surface* pointerSurface_ = nullptr; ///< the surface the pointer is over, if ours
    QPointF pointerAt_;
    wl_surface* surface_ = nullptr;
    ConfineSequence sequence_;
    zwp_locked_pointer_v1* locked_ = nullptr;
    zwp_confined_pointer_v1* confined_ = nullptr;
    bool active_ = false; ///< the lock or confinement asked for last
};

} // namespace fenu
