#pragma once

#include "platform/Geometry.h"
#include "platform/raster/RecentlyUsed.h"

#include <cstdint>
#include <vector>

#include <QImage>

namespace fenu {

/// Filled and outlined ellipses drawn straight into a 32-bit image from coverage
/// masks made once per size. Bullets by the thousand made QPainter's path filling
/// and stroking the bulk of a frame; the masks reproduce its antialiased look
/// (the same ellipse, the pen straddling the outline) at a fraction of the cost.
class TDiscRasterizer {
public:
    /// Masks kept, least recently used dropped first: sizes, pen widths and pixel
    /// ratios, never colours, so a handful covers a whole game.
    static constexpr size_t MaxMasks = 24;
    /// Boxes larger than this (device pixels per side) are left to the caller.
    static constexpr int MaxDeviceSize = 1024;
    /// Subsamples per device pixel and axis when a mask is made.
    static constexpr int Subsamples = 16;

    /// Draws the ellipse inscribed in the field box (x1, y1) inclusive to (x2, y2)
    /// exclusive, its outline through the centres of the box's outermost pixels,
    /// filled with brush and, with penWidth > 0, outlined by a pen of that width
    /// (field pixels) centred on the outline. ratio is the image's device pixels
    /// per field pixel. Returns false, drawing nothing, for what it does not
    /// handle (a degenerate or huge box); the caller then draws it another way.
    bool Draw(QImage& image, int ratio, int x1, int y1, int x2, int y2, TColor brush, int penWidth,
              TColor pen);

    size_t MaskCount() const { return masks_.Size(); }

private:
    struct TSpan {
        int32_t Begin = 0; ///< first column with any coverage
        int32_t End = 0;   ///< one past the last
    };
    /// A run of one row's pixels that are drawn alike: wholly brush, wholly pen, pen
    /// partly over the wholly covered brush (the inner edge of the outline, which
    /// does not depend on what lies below), or partly covered and blended with what
    /// lies below one by one. Most of a disc is in the first two, which are plain
    /// fills.
    enum class TRunKind : uint8_t { Brush, Pen, PenOverBrush, Blended };
    struct TRun {
        int32_t Begin = 0;
        int32_t End = 0;
        TRunKind Kind = TRunKind::Blended;
    };
    struct TMask {
        int32_t BoxWidth = 0, BoxHeight = 0, PenWidth = 0, Ratio = 0;
        int32_t OriginX = 0, OriginY = 0; ///< device offset of the mask from the box corner
        int32_t Width = 0, Height = 0;
        std::vector<uint8_t> Fill;   ///< coverage of the ellipse's inside, 0..255
        std::vector<uint8_t> Stroke; ///< coverage of the pen
        std::vector<TSpan> Rows;
        std::vector<TRun> Runs;
        std::vector<int32_t> RowRuns; ///< Height + 1 offsets into Runs
    };

    const TMask& Mask(int boxWidth, int boxHeight, int penWidth, int ratio);
    static void Build(TMask& mask);
    static void FindRuns(TMask& mask);

    TRecentlyUsed<TMask> masks_{MaxMasks};
};

} // namespace fenu
