#include "platform/desktop/PointerHold.h"

#include "platform/desktop/WaylandPointerHold.h"
#include "platform/desktop/X11PointerHold.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

namespace fenu {

std::unique_ptr<PointerHold> MakePointerHold() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            return std::make_unique<X11PointerHold>(x11->connection());
    } else if (platform.startsWith(QLatin1String("wayland"))) {
        // Qt 6.4 offers the display only through its platform's native interface.
        auto* display = static_cast<wl_display*>(
            QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("wl_display"));
        if (display != nullptr)
            return std::make_unique<WaylandPointerHold>(display);
    }
    return nullptr;
}

} // namespace fenu
