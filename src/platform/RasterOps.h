#pragma once

#include "platform/Geometry.h"

#include <QImage>

namespace fenu {

// Plain pixel operations on a Format_RGB32 image in device pixels, for the few
// things a frame draws besides discs. Going through QPainter for them would mean
// beginning a painter every frame, and QPainter::begin allocates its state.

/// Fills the device rectangle (clipped to the image) with colour.
void FillDeviceRect(QImage& image, int64_t left, int64_t top, int64_t width, int64_t height,
                    TColor color);

/// Draws a premultiplied ARGB picture over the image with its top-left corner at
/// the device position, clipped to the image (source-over).
void BlendPicture(QImage& image, const QImage& picture, int64_t left, int64_t top);

/// A stroke of the given width (device pixels) with round caps from (ax, ay) to
/// (bx, by) in device coordinates, its edges smoothed over one pixel.
void DrawRoundStroke(QImage& image, double ax, double ay, double bx, double by, double width,
                     TColor color);

} // namespace fenu
