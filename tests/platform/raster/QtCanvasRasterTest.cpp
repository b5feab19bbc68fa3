#include "platform/raster/DiscRasterizer.h"
#include "platform/raster/QtCanvas.h"

#include <cstdlib>

#include <QImage>
#include <QPainter>
#include <QPen>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// The canvas draws discs and strokes into the pixels itself; QPainter, drawing the
// same shapes the same way (antialiased, the outline through the centres of the
// box's outermost pixels, the pen straddling it), is the reference for the look.

QImage Field(double ratio) {
    QImage image(static_cast<int>(200 * ratio), static_cast<int>(120 * ratio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(0xFF102030);
    return image;
}

struct TComparison {
    int Inside = 0;    ///< pixels that both drew fully in the fill or pen colour
    int Differing = 0; ///< pixels whose channels differ by more than the tolerance
    int Worst = 0;
};

TComparison Compare(const QImage& ours, const QImage& reference, int tolerance) {
    TComparison result;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = reference.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            result.Worst = std::max(result.Worst, d);
            result.Differing += d > tolerance;
        }
    return result;
}

void ReferenceEllipse(QImage& image, QRect box, QColor brush, int penWidth, QColor pen) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (penWidth > 0) {
        QPen qpen(pen);
        qpen.setWidth(penWidth);
        qpen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(qpen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(brush);
    painter.drawEllipse(QRectF(box.x() + 0.5, box.y() + 0.5, box.width() - 1, box.height() - 1));
}

class QtCanvasRasterTest : public ::testing::TestWithParam<double> {};

TEST_P(QtCanvasRasterTest, DiscsMatchQPainterInsideAndCloselyAtTheirEdges) {
    const double ratio = GetParam();
    QImage ours = Field(ratio), reference = Field(ratio);
    QtCanvas canvas;
    ASSERT_TRUE(canvas.Begin(ours));
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    // A bullet (outline 4), the player's ball (outline 3), alien balls without
    // outline, an odd size, a flattened ellipse and discs cut by the image's edges.
    struct TCase {
        QRect Box;
        TColor Brush;
        int Pen;
        TColor PenColor;
    };
    const TCase cases[] = {
        {{10, 10, 30, 30}, 0x33CC77, 4, 0xFFFFFF}, {{50, 10, 40, 40}, 0xFF0000, 3, 0xFF0000},
        {{100, 10, 60, 60}, 0x0000FF, 0, 0},       {{170, 5, 21, 21}, 0xFFFF00, 0, 0},
        {{10, 60, 50, 26}, 0xFF00FF, 2, 0x00FFFF}, {{-15, 90, 40, 40}, 0x00FFFF, 4, 0xFF0000},
        {{185, 100, 30, 30}, 0x00FF00, 0, 0}};
    for (const TCase& c : cases) {
        canvas.SetBrushColor(c.Brush);
        canvas.SetPenStyle(c.Pen > 0 ? TPenStyle::psSolid : TPenStyle::psClear);
        canvas.SetPenWidth(std::max(c.Pen, 1));
        canvas.SetPenColor(c.PenColor);
        canvas.Ellipse(c.Box.left(), c.Box.top(), c.Box.left() + c.Box.width(),
                       c.Box.top() + c.Box.height());
        ReferenceEllipse(reference, c.Box, QColor::fromRgb(0xFF000000u | c.Brush), c.Pen,
                         QColor::fromRgb(0xFF000000u | c.PenColor));
    }
    canvas.End();

    // Interiors are exactly the brush. At the edges the masks' sampled coverage and
    // QPainter's rasteriser disagree by a fraction of a pixel at most: never by
    // more than 100 of 255 levels, and rarely by more than an eighth of the range.
    EXPECT_EQ(ours.pixel(static_cast<int>(25 * ratio), static_cast<int>(25 * ratio)) & 0xFFFFFF,
              0x33CC77u);
    EXPECT_EQ(ours.pixel(static_cast<int>(130 * ratio), static_cast<int>(40 * ratio)) & 0xFFFFFF,
              0x0000FFu);
    const TComparison comparison = Compare(ours, reference, 100);
    EXPECT_EQ(comparison.Differing, 0) << "worst channel difference " << comparison.Worst;
    const TComparison close = Compare(ours, reference, 32);
    EXPECT_LT(close.Differing, static_cast<int>(120 * ratio * ratio));
    const TComparison exact = Compare(ours, reference, 0);
    EXPECT_GT(exact.Differing, 0) << "the canvas did draw its own way";
}

TEST_P(QtCanvasRasterTest, TheDirectionStrokeMatchesQPainterWithRoundCaps) {
    const double ratio = GetParam();
    QImage ours = Field(ratio), reference = Field(ratio);
    QtCanvas canvas;
    ASSERT_TRUE(canvas.Begin(ours));
    canvas.SetPenStyle(TPenStyle::psSolid);
    canvas.SetPenWidth(3);
    canvas.SetPenColor(0xFFFF00);
    canvas.Line(20, 20, 120, 70);
    canvas.Line(150, 100, 150, 30);
    canvas.Line(190, 60, 230, 60); // runs off the image
    canvas.End();
    {
        QPainter painter(&reference);
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(QColor(255, 255, 0));
        pen.setWidth(3);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(20.5, 20.5), QPointF(120.5, 70.5));
        painter.drawLine(QPointF(150.5, 100.5), QPointF(150.5, 30.5));
        painter.drawLine(QPointF(190.5, 60.5), QPointF(230.5, 60.5));
    }
    EXPECT_EQ(ours.pixel(static_cast<int>(150 * ratio), static_cast<int>(60 * ratio)) & 0xFFFFFF,
              0xFFFF00u);
    const TComparison comparison = Compare(ours, reference, 80);
    EXPECT_EQ(comparison.Differing, 0) << "worst channel difference " << comparison.Worst;
}

INSTANTIATE_TEST_SUITE_P(PixelRatios, QtCanvasRasterTest, ::testing::Values(1.0, 2.0));

TEST(QtCanvasRasterCacheTest, DiscsOfEveryColourShareOneMaskPerSize) {
    QImage image = Field(1);
    QtCanvas canvas;
    ASSERT_TRUE(canvas.Begin(image));
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.SetPenStyle(TPenStyle::psSolid);
    canvas.SetPenWidth(4);
    for (TColor colour = 0; colour < 0x1000000; colour += 0x10203)
        canvas.SetBrushColor(colour), canvas.Ellipse(40, 40, 70, 70);
    canvas.End();
    TDiscRasterizer rasterizer;
    for (int size = 2; size < 40; ++size)
        rasterizer.Draw(image, 1, 0, 0, size, size, 0xFFFFFF, 0, 0);
    EXPECT_EQ(rasterizer.MaskCount(), TDiscRasterizer::MaxMasks) << "the cache stays bounded";
    EXPECT_EQ(image.pixel(20, 20) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(QtCanvasRasterCacheTest, DiscsFarOutsideTheImageDrawNothingAndDoNotOverflow) {
    QImage image = Field(2);
    TDiscRasterizer rasterizer;
    EXPECT_TRUE(rasterizer.Draw(image, 2, 2'000'000'000, 5, 2'000'000'030, 35, 0xFF0000, 4, 0));
    EXPECT_TRUE(rasterizer.Draw(image, 2, -2'000'000'000, -5, -1'999'999'970, 25, 0xFF0000, 4, 0));
    EXPECT_EQ(rasterizer.MaskCount(), 0u);
    EXPECT_FALSE(rasterizer.Draw(image, 2, 0, 0, 1, 1, 0xFF0000, 0, 0)) << "degenerate box";
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), 0xFF102030u);
}

// fg over bg with coverage 0..255, one channel at a time, rounded to nearest.
uint32_t Over(uint32_t bg, uint32_t fg, uint32_t coverage) {
    uint32_t result = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t t =
            ((fg >> shift) & 0xFF) * coverage + ((bg >> shift) & 0xFF) * (255 - coverage) + 128;
        result |= ((t + (t >> 8)) >> 8) << shift;
    }
    return result;
}

TEST(QtCanvasRasterCacheTest, DiscsAreTheirCoverageComposedPixelByPixelOverAnyBackground) {
    // The rasterizer draws runs of like pixels at once; every pixel must still be
    // the brush over what lay below by the fill coverage, then the pen over that by
    // the stroke coverage - also where the image clips the disc. The coverages are
    // read from the same disc drawn white over black (the fill without a pen, the
    // stroke over a black brush).
    std::srand(7);
    TDiscRasterizer rasterizer;
    for (int trial = 0; trial < 120; ++trial) {
        const int ratio = 1 + trial % 2;
        QImage image(97 * ratio, 61 * ratio, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, 0xFF000000u | static_cast<uint32_t>(std::rand() & 0xFFFFFF));
        const QImage before = image.copy();
        const int width = 2 + std::rand() % 40, height = 2 + std::rand() % 40;
        const int pen = std::rand() % 6;
        const int x1 = std::rand() % 120 - 30, y1 = std::rand() % 90 - 30;
        const uint32_t brush = 0xFF000000u | static_cast<uint32_t>(std::rand() & 0xFFFFFF);
        const uint32_t penColor = 0xFF000000u | static_cast<uint32_t>(std::rand() & 0xFFFFFF);
        ASSERT_TRUE(
            rasterizer.Draw(image, ratio, x1, y1, x1 + width, y1 + height, brush, pen, penColor));
        QImage fill(image.size(), QImage::Format_RGB32), stroke(image.size(), QImage::Format_RGB32);
        fill.fill(0xFF000000u);
        stroke.fill(0xFF000000u);
        rasterizer.Draw(fill, ratio, x1, y1, x1 + width, y1 + height, 0xFFFFFF, 0, 0);
        rasterizer.Draw(stroke, ratio, x1, y1, x1 + width, y1 + height, 0, pen, 0xFFFFFF);
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const uint32_t filled = Over(before.pixel(x, y), brush, qRed(fill.pixel(x, y)));
                const uint32_t expected = Over(filled, penColor, qRed(stroke.pixel(x, y)));
                differing += image.pixel(x, y) != expected;
            }
        ASSERT_EQ(differing, 0) << "box " << width << "x" << height << " pen " << pen << " at "
                                << x1 << "," << y1 << " ratio " << ratio;
    }
}

} // namespace
} // namespace fenu
