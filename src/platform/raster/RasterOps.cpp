#include "platform/raster/RasterOps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace fenu {

namespace {

constexpr uint32_t OpaqueAlpha = 0xFF000000u;

// Each channel of pixel times alpha / 255, rounded.
inline uint32_t ScaleChannels(uint32_t pixel, uint32_t alpha) {
    return MixChannels(pixel, alpha, 0, 0);
}

// Source-over of one premultiplied pixel; a pixel of alpha 0 leaves the target alone.
inline void BlendPixel(uint32_t& target, uint32_t source) {
    const uint32_t alpha = source >> 24;
    if (alpha == 0)
        return;
    target = alpha == 255
                 ? OpaqueAlpha | source
                 : OpaqueAlpha | ((source & 0xFFFFFFu) + ScaleChannels(target, 255 - alpha));
}

// Whether all of the count pixels have alpha 0.
inline bool Transparent(const uint32_t* pixels, int64_t count) {
    uint32_t any = 0;
    for (int64_t i = 0; i < count; ++i)
        any |= pixels[i];
    return (any >> 24) == 0;
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
    const uint32_t pixel = OpaqueAlpha | (color & 0xFFFFFFu);
    for (int64_t y = y0; y < y1; ++y)
        std::fill(Row(image, y) + x0, Row(image, y) + std::max(x0, x1), pixel);
}

void BlendPicture(QImage& image, const QImage& picture, int64_t left, int64_t top) {
    // Most of a text picture is transparent; those pixels are passed over a group at a
    // time, with one test instead of a branch per pixel.
    constexpr int64_t Group = 8;
    const int64_t x0 = std::max<int64_t>(left, 0);
    const int64_t y0 = std::max<int64_t>(top, 0);
    const int64_t x1 = std::min<int64_t>(left + picture.width(), image.width());
    const int64_t y1 = std::min<int64_t>(top + picture.height(), image.height());
    if (x0 >= x1)
        return;
    for (int64_t y = y0; y < y1; ++y) {
        uint32_t* row = Row(image, y);
        const auto* source =
            reinterpret_cast<const uint32_t*>(picture.constScanLine(static_cast<int>(y - top))) -
            left;
        int64_t x = x0;
        while (x < x1) {
            while (x + Group <= x1 && Transparent(source + x, Group))
                x += Group;
            for (const int64_t end = std::min(x + Group, x1); x < end; ++x)
                BlendPixel(row[x], source[x]);
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
            const double distance = std::hypot(px - along * dx, py - along * dy);
            const double coverage = std::clamp(half - distance + 0.5, 0.0, 1.0);
            if (coverage <= 0)
                continue;
            const auto alpha = static_cast<uint32_t>(std::lround(coverage * 255));
            row[x] = OpaqueAlpha | (ScaleChannels(pen, alpha) + ScaleChannels(row[x], 255 - alpha));
        }
    }
}

} // namespace fenu
