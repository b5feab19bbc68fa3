#pragma once

namespace fenu {

/// Tells an off-screen surface how many device pixels make one pixel of the field on
/// the screen its frames go to (2 on a typical high-density screen). The surfaces keep
/// their size, and everything drawn keeps its coordinates, in field pixels; only the
/// pixel store behind them grows, so circles and text are drawn at full resolution.
class PixelRatioSource {
public:
    virtual ~PixelRatioSource() = default;
    virtual double DevicePixelRatio() const = 0;
};

} // namespace fenu
