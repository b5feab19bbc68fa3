#pragma once

#include <QMargins>

class QWindow;

namespace fenu {

/// The frame the window manager is going to draw around a window that is made but
/// not yet shown (left, top, right, bottom, in the window's own pixels), so that the
/// window can be placed frame included before it appears. On X11 the window manager
/// is asked for its estimate and given a moment to answer. Zero without a window
/// manager, without an answer, and on window systems that place windows themselves.
QMargins ExpectedFrame(QWindow& window);

} // namespace fenu
