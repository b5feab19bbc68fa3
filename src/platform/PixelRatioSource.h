#pragma once

#include <cmath>

#include <QRect>

namespace fenu {

/// Pixels times a ratio (device per logical, or its inverse), rounded to nearest.
inline int ScaledPixels(int pixels, double ratio) {
    return static_cast<int>(std::lround(pixels * ratio));
}

/// A rectangle times a ratio, its edges rounded, so that rectangles that meet still
/// meet after scaling.
inline QRect ScaledPixels(const QRect& rect, double ratio) {
    const int left = ScaledPixels(rect.left(), ratio);
    const int top = ScaledPixels(rect.top(), ratio);
    return QRect(left, top, ScaledPixels(rect.left() + rect.width(), ratio) - left,
                 ScaledPixels(rect.top() + rect.height(), ratio) - top);
}

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
