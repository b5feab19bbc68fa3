#include "platform/desktop/ExpectedFrame.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

namespace fenu {

namespace {
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr),
                                               &std::free);
    return reply != nullptr ? reply->atom : XCB_NONE;
}

/// The 32-bit values of a window's property (at most count of them).
Reply<xcb_get_property_reply_t> Property(xcb_connection_t* connection, xcb_window_t window,
                                         xcb_atom_t property, xcb_atom_t type, uint32_t count) {
    const auto cookie = xcb_get_property(connection, 0, window, property, type, 0, count);
    return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(connection, cookie, nullptr),
                                           &std::free);
}

bool Supports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t request) {
    const auto supported =
        Property(connection, root, Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 1024);
    if (supported == nullptr || supported->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const int count = xcb_get_property_value_length(supported.get()) / 4;
    return std::find(atoms, atoms + count, request) != atoms + count;
}

std::optional<QMargins> FrameExtents(xcb_connection_t* connection, xcb_window_t window,
                                     xcb_atom_t extents) {
    const auto reply = Property(connection, window, extents, XCB_ATOM_CARDINAL, 4);
    if (reply == nullptr || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    // The property lists left, right, top, bottom.
    const auto* sides = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]),
                    static_cast<int>(sides[1]), static_cast<int>(sides[3]));
}

// Waits, through the event loop, for the window manager to set the window's frame
// extents, and hands them on once; after a moment without an answer, zero.
class FrameAnswer final : public QObject, public QAbstractNativeEventFilter {
public:
    FrameAnswer(QObject* context, QWindow& window, xcb_connection_t* connection, xcb_window_t id,
                std::function<void(QMargins)> ready)
        : QObject(context), window_(window), connection_(connection), id_(id),
          extents_(Atom(connection, "_NET_FRAME_EXTENTS")), ready_(std::move(ready)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        // A window manager answers within milliseconds; one that claims to offer the
        // estimate but stays silent must not keep the window from showing.
        QTimer::singleShot(std::chrono::milliseconds(100), this, [this] { Finish({}); });
    }
    ~FrameAnswer() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_property_notify_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY || event->window != id_ ||
            event->atom != extents_)
            return false;
        if (const auto frame = FrameExtents(connection_, id_, extents_)) {
            // After Qt has seen the event too (it then knows the frame), and not from
            // inside the event dispatch, where showing the window would start another
            // round of it.
            QMetaObject::invokeMethod(
                this, [this, margins = *frame] { Finish(margins); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void Finish(QMargins frame) {
        if (finished_)
            return;
        finished_ = true;
        ready_(frame / window_.devicePixelRatio()); // each side rounded
        deleteLater();
    }

    QWindow& window_;
    xcb_connection_t* connection_;
    xcb_window_t id_;
    xcb_atom_t extents_;
    std::function<void(QMargins)> ready_;
    bool finished_ = false;
};

} // namespace

void RequestExpectedFrame(QWindow& window, QObject* context, std::function<void(QMargins)> ready) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) // not X11 (the offscreen platform offers no connection)
        return ready({});
    const auto id = static_cast<xcb_window_t>(window.winId());
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
    // Without a window manager that offers the estimate nobody would answer.
    const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    if (geometry == nullptr || !Supports(connection, geometry->root, request))
        return ready({});
    // Listening before asking, so that the answer cannot slip past.
    new FrameAnswer(context, window, connection, id, std::move(ready));
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

} // namespace fenu
