#pragma once

#include <optional>

#include <QMargins>
#include <QPointF>
#include <QRect>

namespace fenu {

/// The region of a Wayland surface that holds the pointer in an area of its window
/// (window coordinates; frame: the decorations Qt draws on the surface; factor: the
/// surface's pixels per window pixel, Qt's own scale factor). Every surface pixel the
/// area covers, partly covered ones included, so that each position the game reads
/// as inside lies in it. A one-point area is the pixel the pointer (surface
/// coordinates, where known) is in, when it lies within the window pixel Qt rounded
/// its position to (in surface pixels, and again in window pixels where scaled): the
/// game read it resting there, and compositors activate a confinement only with the
/// pointer inside.
QRect SurfaceRegion(const QRect& area, const QMargins& frame, double factor,
                    std::optional<QPointF> pointer);

} // namespace fenu
