#include "platform/raster/RasterOps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace fenu {

namespace {

constexpr uint32_t OpaqueAlpha = 0xFF000000u;

// Each channel of pixel times alpha / 255, rounded.
inline uint32_t ScaleChannels(uint32_t pixel, uint32_t alpha) {
    return MixChannels(pixel, alpha, 0, 0);
}

inline uint32_t* Row(QImage& image, int64_t y) {
    return reinterpret_cast<uint32_t*>(image.bits() + y * image.bytesPerLine());
}

} // namespace

void FillDeviceRect(QImage& image, int64_t left, int64_t top, int64_t width, int64_t height,
                    TColor color) {
    const int64_t x0 = std::max<int64_t>(left, 0);
    const int64_t y0 = std::max<int64_t>(top, 0);
    const int64_t x1 = std::min<int64_t>(left + width, image.width());
    const int64_t y1 = std::min<int64_t>(top + height, image.height());
    if (x0 >= x1 || y0 >= y1)
        return;
    const uint32_t pixel = OpaqueAlpha | (color & 0xFFFFFFu);
    // Asked for once: each call checks whether the image must be detached.
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int64_t y = y0; y < y1; ++y)
        FillPixels(reinterpret_cast<uint32_t*>(bits + y * stride) + x0, x1 - x0, pixel);
}

TBlendablePicture::TBlendablePicture(QImage picture) : picture_(std::move(picture)) {
    for (int y = 0; y < picture_.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(picture_.constScanLine(y));
        for (int x = 0; x < picture_.width(); ++x) {
            const int begin = x;
            while (x < picture_.width() && (row[x] >> 24) != 0)
                ++x;
            if (x > begin)
                runs_.push_back({y, begin, x});
        }
    }
}

void BlendPicture(QImage& image, const TBlendablePicture& picture, int64_t left, int64_t top,
                  const QRect& clip) {
    const int64_t width = std::min<int64_t>(image.width(), int64_t{clip.left()} + clip.width());
    const int64_t height = std::min<int64_t>(image.height(), int64_t{clip.top()} + clip.height());
    const int64_t clipLeft = std::max(0, clip.left());
    const int64_t clipTop = std::max(0, clip.top());
    if (left >= width || top >= height || left + picture.picture_.width() <= 0 ||
        top + picture.picture_.height() <= 0)
        return;
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const uchar* sourceBits = picture.picture_.constBits();
    const qsizetype sourceStride = picture.picture_.bytesPerLine();
    for (const TBlendablePicture::TRun& run : picture.runs_) {
        const int64_t y = top + run.Row;
        if (y < clipTop || y >= height)
            continue;
        uint32_t* target = reinterpret_cast<uint32_t*>(bits + y * stride);
        const uint32_t* source =
            reinterpret_cast<const uint32_t*>(sourceBits + run.Row * sourceStride) - left;
        const int64_t end = std::min<int64_t>(left + run.End, width);
        for (int64_t x = std::max<int64_t>(left + run.Begin, clipLeft); x < end; ++x) {
            const uint32_t alpha = source[x] >> 24;
            target[x] = alpha == 255
                            ? source[x]
                            : OpaqueAlpha |
                                  ((source[x] & 0xFFFFFFu) + ScaleChannels(target[x], 255 - alpha));
        }
    }
}

void DrawRoundStroke(QImage& image, double ax, double ay, double bx, double by, double width,
                     TColor color) {
    const double half = width / 2;
    const int64_t x0 =
        std::max<int64_t>(0, static_cast<int64_t>(std::floor(std::min(ax, bx) - half - 1)));
    const int64_t y0 =
        std::max<int64_t>(0, static_cast<int64_t>(std::floor(std::min(ay, by) - half - 1)));
    const int64_t x1 = std::min<int64_t>(
        image.width(), static_cast<int64_t>(std::ceil(std::max(ax, bx) + half + 1)));
    const int64_t y1 = std::min<int64_t>(
        image.height(), static_cast<int64_t>(std::ceil(std::max(ay, by) + half + 1)));
    const double dx = bx - ax, dy = by - ay;
    const double lengthSquared = dx * dx + dy * dy;
    const uint32_t pen = color & 0xFFFFFFu;
    const double length = std::sqrt(lengthSquared);
    const double reach = half + 0.5; // pixels farther than this get nothing
    for (int64_t y = y0; y < y1; ++y) {
        uint32_t* row = Row(image, y);
        const double py = static_cast<double>(y) + 0.5 - ay;
        // The stroke's shape meets the row in one interval: the union of what the
        // two end discs and the band between them give.
        double from = INFINITY, to = -INFINITY;
        const auto disc = [&](double cx, double cy) {
            const double h = reach * reach - (py - cy) * (py - cy);
            if (h >= 0) {
                from = std::min(from, cx - std::sqrt(h));
                to = std::max(to, cx + std::sqrt(h));
            }
        };
        disc(0, 0);
        disc(dx, dy);
        if (length > 0) {
            // |px * dy - py * dx| <= reach * length and 0 <= px * dx + py * dy <= length^2.
            double lo = -INFINITY, hi = INFINITY;
            const auto within = [&](double slope, double offset, double low, double high) {
                // low <= slope * px + offset <= high
                if (slope == 0) {
                    if (offset < low || offset > high)
                        lo = INFINITY;
                    return;
                }
                double a = (low - offset) / slope, b = (high - offset) / slope;
                if (a > b)
                    std::swap(a, b);
                lo = std::max(lo, a);
                hi = std::min(hi, b);
            };
            within(dy, -py * dx, -reach * length, reach * length);
            within(dx, py * dy, 0, lengthSquared);
            if (lo <= hi) {
                from = std::min(from, lo);
                to = std::max(to, hi);
            }
        }
        if (!(from <= to))
            continue;
        const int64_t first =
            std::max<int64_t>(x0, static_cast<int64_t>(std::floor(from + ax)) - 1);
        const int64_t last = std::min<int64_t>(x1, static_cast<int64_t>(std::ceil(to + ax)) + 1);
        for (int64_t x = first; x < last; ++x) {
            const double px = static_cast<double>(x) + 0.5 - ax;
            // Distance from the pixel's centre to the segment.
            const double along =
                lengthSquared > 0 ? std::clamp((px * dx + py * dy) / lengthSquared, 0.0, 1.0) : 0.0;
            // Field distances are small: no hypot's care for overflow is needed.
            const double ex = px - along * dx, ey = py - along * dy;
            const double distance = std::sqrt(ex * ex + ey * ey);
            const double coverage = std::clamp(half - distance + 0.5, 0.0, 1.0);
            if (coverage <= 0)
                continue;
            const auto alpha = static_cast<uint32_t>(coverage * 255 + 0.5); // rounded, >= 0
            row[x] = OpaqueAlpha | (ScaleChannels(pen, alpha) + ScaleChannels(row[x], 255 - alpha));
        }
    }
}

} // namespace fenu
