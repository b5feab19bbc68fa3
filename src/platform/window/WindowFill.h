#pragma once

#include <cstdint>

class QRect;
class QWindow;

namespace fenu {

/// Fills part of a window on the window system's side: a frame of one colour then
/// costs one request instead of a copy of every pixel.
class WindowFill {
public:
    virtual ~WindowFill() = default;
    /// Fills device (the window's own device pixels) with pixel, a value as the
    /// window's backing store image holds it. False when it cannot.
    virtual bool Fill(QWindow& window, const QRect& device, uint32_t pixel) = 0;
};

} // namespace fenu
