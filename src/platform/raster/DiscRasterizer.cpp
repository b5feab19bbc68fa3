#include "platform/raster/DiscRasterizer.h"

#include "platform/raster/RasterOps.h"

#include <algorithm>
#include <cmath>

namespace fenu {

namespace {

constexpr uint32_t OpaqueAlpha = 0xFF000000u;

// The farthest a subsample lies from its pixel's centre (half the diagonal of the
// subsample grid), with room for rounding.
constexpr double SampleReach = 0.5 * 1.4142135623730951 + 1e-6;

// fg over bg with coverage 0..255, each channel rounded once.
inline uint32_t Blend(uint32_t bg, uint32_t fg, uint32_t coverage) {
    return OpaqueAlpha | MixChannels(fg, coverage, bg, 255 - coverage);
}

} // namespace

const TDiscRasterizer::TMask& TDiscRasterizer::Mask(int boxWidth, int boxHeight, int penWidth,
                                                    int ratio) {
    const auto found = masks_.Find([&](const TMask& mask) {
        return mask.BoxWidth == boxWidth && mask.BoxHeight == boxHeight &&
               mask.PenWidth == penWidth && mask.Ratio == ratio;
    });
    if (!found.Hit) {
        TMask& mask = found.Entry;
        mask.BoxWidth = boxWidth;
        mask.BoxHeight = boxHeight;
        mask.PenWidth = penWidth;
        mask.Ratio = ratio;
        Build(mask);
    }
    return found.Entry;
}

void TDiscRasterizer::Build(TMask& mask) {
    const double ratio = mask.Ratio;
    // The outline runs through the centres of the box's outermost field pixels.
    const double cx = mask.BoxWidth * ratio / 2;
    const double cy = mask.BoxHeight * ratio / 2;
    const double a = (mask.BoxWidth - 1) * ratio / 2;
    const double b = (mask.BoxHeight - 1) * ratio / 2;
    const double halfPen = mask.PenWidth * ratio / 2;
    mask.OriginX = static_cast<int32_t>(std::floor(cx - a - halfPen));
    mask.OriginY = static_cast<int32_t>(std::floor(cy - b - halfPen));
    mask.Width = static_cast<int32_t>(std::ceil(cx + a + halfPen)) - mask.OriginX;
    mask.Height = static_cast<int32_t>(std::ceil(cy + b + halfPen)) - mask.OriginY;
    const size_t size = static_cast<size_t>(mask.Width) * static_cast<size_t>(mask.Height);
    mask.Fill.assign(size, 0);
    mask.Stroke.assign(size, 0);
    mask.Rows.assign(static_cast<size_t>(mask.Height), TSpan{});

    const bool circle = a == b;
    // A circle's subsamples are tested on squared distances, without a root each.
    const double radius2 = a * a;
    const double penInner2 = std::max(0.0, a - halfPen) * std::max(0.0, a - halfPen);
    const double penOuter2 = (a + halfPen) * (a + halfPen);
    constexpr int samples = Subsamples * Subsamples;
    for (int32_t j = 0; j < mask.Height; ++j) {
        TSpan& span = mask.Rows[static_cast<size_t>(j)];
        span.Begin = mask.Width;
        for (int32_t i = 0; i < mask.Width; ++i) {
            const size_t at =
                static_cast<size_t>(j) * static_cast<size_t>(mask.Width) + static_cast<size_t>(i);
            if (circle) {
                // Every subsample of a pixel lies within SampleReach of its centre, so a
                // pixel wholly inside or outside the disc and the pen's band gets the
                // value its subsamples would all give, without sampling them.
                const double px = mask.OriginX + i + 0.5 - cx;
                const double py = mask.OriginY + j + 0.5 - cy;
                const double r = std::sqrt(px * px + py * py);
                const double near = r - SampleReach, far = r + SampleReach;
                const bool fillKnown = far < a || near > a;
                const bool penKnown = halfPen <= 0 || far < a - halfPen || near > a + halfPen ||
                                      (near > a - halfPen && far < a + halfPen);
                if (fillKnown && penKnown) {
                    mask.Fill[at] = far < a ? 255 : 0;
                    mask.Stroke[at] =
                        halfPen > 0 && near > a - halfPen && far < a + halfPen ? 255 : 0;
                    if (mask.Fill[at] != 0 || mask.Stroke[at] != 0) {
                        span.Begin = std::min(span.Begin, i);
                        span.End = i + 1;
                    }
                    continue;
                }
            }
            int inside = 0, onPen = 0;
            for (int sj = 0; sj < Subsamples; ++sj) {
                const double dy = mask.OriginY + j + (sj + 0.5) / Subsamples - cy;
                for (int si = 0; si < Subsamples; ++si) {
                    const double dx = mask.OriginX + i + (si + 0.5) / Subsamples - cx;
                    if (circle) {
                        const double r2 = dx * dx + dy * dy;
                        inside += r2 <= radius2;
                        onPen += halfPen > 0 && r2 >= penInner2 && r2 <= penOuter2;
                        continue;
                    }
                    const double u = dx / a, v = dy / b;
                    const double f = std::sqrt(u * u + v * v);
                    inside += f <= 1;
                    if (halfPen <= 0)
                        continue;
                    // First-order distance to the ellipse: its implicit function over
                    // the length of its gradient.
                    const double gx = dx / (a * a), gy = dy / (b * b);
                    const double gradient = std::hypot(gx, gy) / std::max(f, 1e-12);
                    const double distance = f > 0 ? (f - 1) / gradient : -std::min(a, b);
                    onPen += std::fabs(distance) <= halfPen;
                }
            }
            mask.Fill[at] = static_cast<uint8_t>((inside * 255 + samples / 2) / samples);
            mask.Stroke[at] = static_cast<uint8_t>((onPen * 255 + samples / 2) / samples);
            if (mask.Fill[at] != 0 || mask.Stroke[at] != 0) {
                span.Begin = std::min(span.Begin, i);
                span.End = i + 1;
            }
        }
        if (span.End == 0)
            span.Begin = 0;
    }
    FindRuns(mask);
}

void TDiscRasterizer::FindRuns(TMask& mask) {
    mask.Runs.clear();
    mask.RowRuns.assign(1, 0);
    for (int32_t j = 0; j < mask.Height; ++j) {
        const size_t base = static_cast<size_t>(j) * static_cast<size_t>(mask.Width);
        const TSpan& span = mask.Rows[static_cast<size_t>(j)];
        for (int32_t i = span.Begin; i < span.End; ++i) {
            const uint8_t f = mask.Fill[base + static_cast<size_t>(i)];
            const uint8_t s = mask.Stroke[base + static_cast<size_t>(i)];
            if (f == 0 && s == 0)
                continue;
            const TRunKind kind = s == 255             ? TRunKind::Pen
                                  : s == 0 && f == 255 ? TRunKind::Brush
                                  : f == 255           ? TRunKind::PenOverBrush
                                                       : TRunKind::Blended;
            if (!mask.Runs.empty() && mask.Runs.size() > static_cast<size_t>(mask.RowRuns.back()) &&
                mask.Runs.back().End == i && mask.Runs.back().Kind == kind)
                mask.Runs.back().End = i + 1;
            else
                mask.Runs.push_back({i, i + 1, kind});
        }
        mask.RowRuns.push_back(static_cast<int32_t>(mask.Runs.size()));
    }
}

bool TDiscRasterizer::Draw(QImage& image, int ratio, int x1, int y1, int x2, int y2, TColor brush,
                           int penWidth, TColor pen) {
    const int64_t boxWidth = int64_t{x2} - x1;
    const int64_t boxHeight = int64_t{y2} - y1;
    if (ratio < 1 || boxWidth < 2 || boxHeight < 2 || boxWidth * ratio > MaxDeviceSize ||
        boxHeight * ratio > MaxDeviceSize || penWidth < 0 || penWidth * ratio > MaxDeviceSize ||
        image.format() != QImage::Format_RGB32)
        return false;
    const int64_t imageWidth = image.width();
    const int64_t imageHeight = image.height();
    // Wholly outside: nothing to draw, and no mask needed for it.
    const int64_t reach = int64_t{penWidth} * ratio + ratio;
    if (int64_t{x1} * ratio - reach >= imageWidth || int64_t{y1} * ratio - reach >= imageHeight ||
        int64_t{x2} * ratio + reach <= 0 || int64_t{y2} * ratio + reach <= 0)
        return true;

    const TMask& mask =
        Mask(static_cast<int>(boxWidth), static_cast<int>(boxHeight), penWidth, ratio);
    const int64_t left = int64_t{x1} * ratio + mask.OriginX;
    const int64_t top = int64_t{y1} * ratio + mask.OriginY;
    const uint32_t brushPixel = OpaqueAlpha | (brush & 0xFFFFFFu);
    const uint32_t penPixel = OpaqueAlpha | (pen & 0xFFFFFFu);
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int64_t firstRow = std::max<int64_t>(0, -top);
    const int64_t lastRow = std::min<int64_t>(mask.Height, imageHeight - top);
    // The edge pixels are read before they are blended, and a disc's rows are a
    // screen line apart: ask for all of them first, so their cache misses overlap.
    for (int64_t j = firstRow; j < lastRow; ++j) {
        const TSpan& span = mask.Rows[static_cast<size_t>(j)];
        const auto* row = reinterpret_cast<const uint32_t*>(bits + (top + j) * stride) + left;
        __builtin_prefetch(row + std::max<int64_t>(span.Begin, -left));
        __builtin_prefetch(row + std::min<int64_t>(span.End, imageWidth - left) - 1);
    }
    for (int64_t j = firstRow; j < lastRow; ++j) {
        auto* row = reinterpret_cast<uint32_t*>(bits + (top + j) * stride) + left;
        const size_t base = static_cast<size_t>(j) * static_cast<size_t>(mask.Width);
        const uint8_t* fill = mask.Fill.data() + base;
        const uint8_t* stroke = mask.Stroke.data() + base;
        const TRun* run = mask.Runs.data() + mask.RowRuns[static_cast<size_t>(j)];
        const TRun* last = mask.Runs.data() + mask.RowRuns[static_cast<size_t>(j) + 1];
        for (; run != last; ++run) {
            const int64_t begin = std::max<int64_t>(run->Begin, -left);
            const int64_t end = std::min<int64_t>(run->End, imageWidth - left);
            if (begin >= end)
                continue;
            switch (run->Kind) {
            case TRunKind::Brush:
                FillPixels(row + begin, end - begin, brushPixel);
                break;
            case TRunKind::Pen:
                FillPixels(row + begin, end - begin, penPixel);
                break;
            case TRunKind::PenOverBrush:
                // The brush at full coverage hides what lies below exactly.
                for (int64_t i = begin; i < end; ++i)
                    row[i] = Blend(brushPixel, penPixel, stroke[i]);
                break;
            case TRunKind::Blended:
                for (int64_t i = begin; i < end; ++i) {
                    const uint32_t f = fill[i];
                    const uint32_t s = stroke[i];
                    const uint32_t under = f != 0 ? Blend(row[i], brushPixel, f) : row[i];
                    row[i] = s != 0 ? Blend(under, penPixel, s) : under;
                }
                break;
            }
        }
    }
    return true;
}

} // namespace fenu
