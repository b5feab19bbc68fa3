#include "platform/raster/RasterOps.h"

#include <cstdint>
#include <random>

#include <QImage>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// Source-over of a premultiplied pixel, one pixel at a time and written out the long
// way: each channel is source + target * (255 - alpha) / 255, rounded to nearest
// (255 is odd, so there is never a tie). A pixel of alpha 0 leaves the target alone
// even if its colour bits are not zero.
uint32_t SourceOver(uint32_t target, uint32_t source) {
    const uint32_t alpha = source >> 24;
    if (alpha == 0)
        return target;
    uint32_t result = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t kept = ((target >> shift) & 0xFF) * (255 - alpha);
        result |= (((source >> shift) & 0xFF) + (2 * kept + 255) / 510) << shift;
    }
    return result;
}

void BlendOneByOne(QImage& image, const QImage& picture, int left, int top) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (image.rect().contains(left + x, top + y)) {
                auto* target = reinterpret_cast<uint32_t*>(image.scanLine(top + y)) + left + x;
                *target = SourceOver(
                    *target, reinterpret_cast<const uint32_t*>(picture.constScanLine(y))[x]);
            }
}

// Rows of a text picture: long transparent stretches, opaque strokes, antialiased
// edges between them; now and then a stray pixel of alpha 0 with colour bits set.
QImage TextLikePicture(std::mt19937& random, int width, int height) {
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.scanLine(y));
        int x = 0;
        while (x < width) {
            const int run = 1 + static_cast<int>(random() % 20);
            const int kind = static_cast<int>(random() % 4);
            for (int i = 0; i < run && x < width; ++i, ++x) {
                const uint32_t alpha = kind == 0 ? 255u : 1 + random() % 254;
                const uint32_t colour = random() & 0xFFFFFFu;
                if (kind <= 1) { // opaque or partly covered, premultiplied
                    row[x] = alpha << 24;
                    for (int shift = 0; shift <= 16; shift += 8)
                        row[x] |= ((colour >> shift) & 0xFF) * alpha / 255 << shift;
                } else {
                    row[x] = random() % 50 == 0 ? colour : 0u;
                }
            }
        }
    }
    return picture;
}

TEST(BlendPicture, MatchesPixelByPixelSourceOverWhereverThePictureLies) {
    std::mt19937 random(20261207);
    for (int trial = 0; trial < 300; ++trial) {
        const QImage picture = TextLikePicture(random, 1 + static_cast<int>(random() % 70),
                                               1 + static_cast<int>(random() % 12));
        QImage expected(61, 23, QImage::Format_RGB32);
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                expected.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
        // Partly off every edge as often as inside.
        const int left = static_cast<int>(random() % 110) - 70;
        const int top = static_cast<int>(random() % 40) - 14;
        QImage blended = expected.copy();
        BlendOneByOne(expected, picture, left, top);
        BlendPicture(blended, TBlendablePicture(picture), left, top);
        ASSERT_EQ(blended, expected) << "trial " << trial << ": " << picture.width() << "x"
                                     << picture.height() << " at " << left << "," << top;
    }
}

TEST(BlendPicture, LeavesTheImageAloneOutsideThePictureAndUnderTransparentPixels) {
    QImage image(40, 10, QImage::Format_RGB32);
    image.fill(0xFF123456);
    QImage picture(24, 3, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    // The only visible pixel is the last of its row.
    reinterpret_cast<uint32_t*>(picture.scanLine(1))[23] = 0xFFFF0000u;
    const TBlendablePicture blendable(picture);
    BlendPicture(image, blendable, 5, 4);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(image.pixel(x, y), x == 28 && y == 5 ? 0xFFFF0000u : 0xFF123456u)
                << x << "," << y;
    BlendPicture(image, blendable, -1'000'000'000'000LL, 3); // far off: nothing, no overflow
    BlendPicture(image, blendable, 3, 1'000'000'000'000LL);
    EXPECT_EQ(image.pixel(28, 5), 0xFFFF0000u);
}

} // namespace
} // namespace fenu
