#pragma once

#include "platform/Canvas.h"
#include "platform/raster/DiscRasterizer.h"
#include "platform/raster/RasterOps.h"
#include "platform/raster/RecentlyUsed.h"

#include <cstdint>
#include <vector>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>

namespace fenu {

/// The device context of a Qt surface: the 2-D canvas operations drawn with QPainter
/// onto a 32-bit image. Font sizes are points at 96 dpi, so an 8-point font is
/// 11 pixels high whatever the screen, and text metrics are the same headless and
/// under X. Shapes are antialiased. Coordinates are field pixels; an image with a
/// device pixel ratio above 1 gets everything drawn at its full resolution.
class QtCanvas final : public TCanvas {
public:
    static constexpr int PixelsPerInch = 96;
    static constexpr int PointsPerInch = 72;
    /// Text is drawn from a picture of it made once per text, font, colour and
    /// pixel ratio: glyphs at least CachedTextPixels high do not fit Qt's glyph cache
    /// and would be rasterised anew in every frame, and smaller text laid out anew
    /// allocates in every frame.
    static constexpr int CachedTextPixels = 40;
    static constexpr size_t CachedTextEntries = 16;
    /// Fonts kept ready by family, size and weight.
    static constexpr size_t CachedFonts = 8;
    /// Pens kept ready by colour, width and cap, so that setting one allocates nothing.
    static constexpr size_t CachedPens = 16;

    QtCanvas();
    ~QtCanvas() override;

    /// Starts drawing onto image; the settings made so far stay in force.
    bool Begin(QImage& image);
    void End();
    bool Active() const { return image_ != nullptr; }

    void SetFontSize(int points) override;
    void SetFontColor(TColor color) override;
    void SetFontName(const QString& face) override;
    void SetFontBold(bool bold) override;
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TBrushStyle style) override;
    void SetPenColor(TColor color) override;
    void SetPenWidth(int width) override;
    void SetPenStyle(TPenStyle style) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const QString& text) override;
    bool TextOutClipped(int x, int y, const QString& text, const TRect& clip) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;

    /// Pixel height of a font of the given point size (rounded as the platform does).
    static int PointsToPixels(int points);

private:
    struct TTextPicture {
        QString Text;
        QFont Font;
        TColor Color = 0;
        double Ratio = 1.0; ///< device pixels per field pixel of the picture
        int Advance = 0;    ///< width of the text in field pixels
        TBlendablePicture Picture;
    };
    struct TCachedPen {
        TColor Color = 0;
        int Width = 0;
        Qt::PenCapStyle Cap = Qt::SquareCap;
        QPen Pen;
    };
    struct TPreparedFont {
        QString Family;
        int Pixels = 0;
        bool Bold = false;
        QFont Font;
        QFontMetrics Metrics;
    };
    const TTextPicture& TextPicture(const QString& text);
    void SelectFont(const QString& family, int pixels, bool bold);
    void FontChanged();
    void ApplyShapeState();
    QPainter& Painter();
    const QPen& CachedPen(TColor color, int width, Qt::PenCapStyle cap);
    /// Whole device pixels per field pixel of the image, or 0 when fractional.
    int WholeRatio() const;

    QImage* image_ = nullptr;
    QPainter painter_;
    QFont font_;
    QFontMetrics metrics_;
    TColor fontColor_ = 0x000000;
    TColor brushColor_ = 0xFFFFFF;
    TBrushStyle brushStyle_ = TBrushStyle::bsSolid;
    TColor penColor_ = 0x000000;
    int penWidth_ = 1;
    TPenStyle penStyle_ = TPenStyle::psSolid;
    std::vector<TTextPicture> textPictures_; ///< most recently used first
    TRecentlyUsed<TCachedPen> pens_{CachedPens};
    std::vector<TPreparedFont> fonts_;
    TDiscRasterizer discs_;
};

/// QColor of a 0x00RRGGBB value.
QColor ToQColor(TColor color);

} // namespace fenu
