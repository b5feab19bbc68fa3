#pragma once

#include <cstdint>

namespace fenu {

/// A pixel position. Screen or client coordinates, x to the right, y downward.
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

/// An integer rectangle whose Right and Bottom edges are exclusive, as the game's
/// sprite bounds and cursor confinement treat them.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

/// Strict overlap: rectangles that only share an edge do not overlap.
constexpr bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && a.Right > b.Left && a.Top < b.Bottom && a.Bottom > b.Top;
}

constexpr bool Empty(const TRect& r) {
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

constexpr TRect Intersection(const TRect& a, const TRect& b) {
    return TRect{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
                 a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
}

/// The smallest rectangle holding both.
constexpr TRect Bounding(const TRect& a, const TRect& b) {
    return TRect{a.Left < b.Left ? a.Left : b.Left, a.Top < b.Top ? a.Top : b.Top,
                 a.Right > b.Right ? a.Right : b.Right, a.Bottom > b.Bottom ? a.Bottom : b.Bottom};
}

/// A 24-bit colour as 0x00RRGGBB. Canvas colours are always given this way.
using TColor = uint32_t;

} // namespace fenu
