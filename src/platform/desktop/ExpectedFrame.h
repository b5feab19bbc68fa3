#pragma once

#include <functional>

#include <QMargins>

class QObject;
class QWindow;

namespace fenu {

/// Asks for the frame the window manager is going to draw around a window that is
/// made but not yet shown, and hands it to ready (left, top, right, bottom, in the
/// window's own pixels), so that the window can be placed frame included before it
/// appears. On X11 the window manager is asked for its estimate, and its answer comes
/// through the event loop: nothing waits for it. Zero at once without a window manager
/// that offers the estimate and on window systems that place windows themselves; zero
/// after a moment without an answer. Not called once context is gone.
void RequestExpectedFrame(QWindow& window, QObject* context, std::function<void(QMargins)> ready);

} // namespace fenu
