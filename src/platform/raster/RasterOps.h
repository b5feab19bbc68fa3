#pragma once

#include "platform/Geometry.h"

#include <climits>
#include <cstdint>
#include <vector>

#include <QImage>

namespace fenu {

/// Each colour channel of a * weightA + b * weightB over 255, rounded to nearest, with
/// weightA + weightB <= 255: (t + (t >> 8)) >> 8 with t = the sum + 128. Red and blue
/// go through together, 16 bits apart: no lane exceeds 65535 on the way. Alpha is 0.
inline uint32_t MixChannels(uint32_t a, uint32_t weightA, uint32_t b, uint32_t weightB) {
    uint32_t rb = (a & 0xFF00FFu) * weightA + (b & 0xFF00FFu) * weightB + 0x800080u;
    rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    uint32_t g = ((a >> 8) & 0xFFu) * weightA + ((b >> 8) & 0xFFu) * weightB + 128;
    g = (g + (g >> 8)) >> 8;
    return rb | g << 8;
}

/// Sets count pixels to pixel, four at a time: the compiler does not vectorise a
/// plain loop at this optimisation level, and clearing and filling are most of a
/// frame's pixel writes.
inline void FillPixels(uint32_t* pixels, int64_t count, uint32_t pixel) {
    using TQuad = uint32_t __attribute__((vector_size(16)));
    const TQuad quad = {pixel, pixel, pixel, pixel};
    int64_t i = 0;
    for (; i + 4 <= count; i += 4)
        __builtin_memcpy(pixels + i, &quad, sizeof quad);
    for (; i < count; ++i)
        pixels[i] = pixel;
}

// Plain pixel operations on a Format_RGB32 image in device pixels, for the few
// things a frame draws besides discs. Going through QPainter for them would mean
// beginning a painter every frame, and QPainter::begin allocates its state.

/// Fills the device rectangle (clipped to the image) with colour.
void FillDeviceRect(QImage& image, int64_t left, int64_t top, int64_t width, int64_t height,
                    TColor color);

/// A premultiplied ARGB picture (a text's) ready to be drawn over images again and
/// again: the runs of its rows' visible pixels found once. A text is mostly
/// transparent, and the transparent pixels cost nothing then.
class TBlendablePicture {
public:
    explicit TBlendablePicture(QImage picture);

    const QImage& Picture() const { return picture_; }

private:
    friend void BlendPicture(QImage& image, const TBlendablePicture& picture, int64_t left,
                             int64_t top, const QRect& clip);
    struct TRun {
        int32_t Row = 0;
        int32_t Begin = 0;
        int32_t End = 0;
    };

    QImage picture_;
    std::vector<TRun> runs_; ///< row by row, left to right
};

/// Draws the picture over the image with its top-left corner at the device position,
/// clipped to the image and to clip (device pixels; by default none) (source-over).
void BlendPicture(QImage& image, const TBlendablePicture& picture, int64_t left, int64_t top,
                  const QRect& clip = QRect(0, 0, INT_MAX, INT_MAX));

/// A stroke of the given width (device pixels) with round caps from (ax, ay) to
/// (bx, by) in device coordinates, its edges smoothed over one pixel.
void DrawRoundStroke(QImage& image, double ax, double ay, double bx, double by, double width,
                     TColor color);

} // namespace fenu
