#include "platform/raster/QtCanvas.h"

#include "platform/raster/RasterOps.h"

#include <algorithm>
#include <cmath>

namespace fenu {

namespace {
constexpr int DefaultFontPoints = 8;
const char* const DefaultFontFace = "DejaVu Sans";
} // namespace

QColor ToQColor(TColor color) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | (color & 0x00FFFFFFu)));
}

int QtCanvas::PointsToPixels(int points) {
    // Rounded to nearest like the platform's MulDiv(points, 96, 72).
    const int scaled = points * PixelsPerInch;
    return std::max(1, (scaled + PointsPerInch / 2) / PointsPerInch);
}

QtCanvas::QtCanvas() : font_(QString::fromLatin1(DefaultFontFace)), metrics_(font_) {
    font_.setPixelSize(PointsToPixels(DefaultFontPoints));
    // Hinting would make widths depend on the platform plugin; full outlines keep
    // the metrics identical headless and on screen.
    font_.setHintingPreference(QFont::PreferNoHinting);
    font_.setStyleStrategy(QFont::PreferAntialias);
    FontChanged();
}

QtCanvas::~QtCanvas() {
    End();
}

bool QtCanvas::Begin(QImage& image) {
    End();
    if (image.isNull() || image.paintingActive())
        return false;
    image_ = &image;
    return true;
}

void QtCanvas::End() {
    if (painter_.isActive())
        painter_.end();
    image_ = nullptr;
}

QPainter& QtCanvas::Painter() {
    // Begun only when something needs it: beginning allocates the painter's state,
    // and a usual frame draws everything without it.
    if (!painter_.isActive() && painter_.begin(image_)) {
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
        painter_.setFont(font_);
    }
    return painter_;
}

void QtCanvas::FontChanged() {
    metrics_ = QFontMetrics(font_);
    if (painter_.isActive())
        painter_.setFont(font_);
}

void QtCanvas::SelectFont(const QString& family, int pixels, bool bold) {
    // Fonts already made are switched to by sharing them: changing the one in use
    // would detach it from its metrics and pictures, which allocates, and the
    // frame switches between the title's font and the balls' font every time.
    for (const TPreparedFont& prepared : fonts_)
        if (prepared.Pixels == pixels && prepared.Bold == bold && prepared.Family == family) {
            font_ = prepared.Font;
            metrics_ = prepared.Metrics;
            if (painter_.isActive())
                painter_.setFont(font_);
            return;
        }
    QFont font = font_;
    font.setFamily(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    if (fonts_.size() >= CachedFonts)
        fonts_.erase(fonts_.begin());
    fonts_.push_back({family, pixels, bold, font, QFontMetrics(font)});
    font_ = font;
    FontChanged();
}

void QtCanvas::SetFontSize(int points) {
    const int pixels = PointsToPixels(points);
    if (font_.pixelSize() != pixels)
        SelectFont(font_.family(), pixels, font_.bold());
}

void QtCanvas::SetFontColor(TColor color) {
    fontColor_ = color;
}

void QtCanvas::SetFontName(const QString& face) {
    if (font_.family() != face)
        SelectFont(face, font_.pixelSize(), font_.bold());
}

void QtCanvas::SetFontBold(bool bold) {
    if (font_.bold() != bold)
        SelectFont(font_.family(), font_.pixelSize(), bold);
}

void QtCanvas::SetBrushColor(TColor color) {
    brushColor_ = color;
}
void QtCanvas::SetBrushStyle(TBrushStyle style) {
    brushStyle_ = style;
}
void QtCanvas::SetPenColor(TColor color) {
    penColor_ = color;
}
void QtCanvas::SetPenWidth(int width) {
    penWidth_ = std::max(1, width);
}
void QtCanvas::SetPenStyle(TPenStyle style) {
    penStyle_ = style;
}

const QPen& QtCanvas::CachedPen(TColor color, int width, Qt::PenCapStyle cap) {
    const auto found = pens_.Find([&](const TCachedPen& entry) {
        return entry.Color == color && entry.Width == width && entry.Cap == cap;
    });
    TCachedPen& entry = found.Entry;
    if (!found.Hit) {
        entry.Color = color;
        entry.Width = width;
        entry.Cap = cap;
        entry.Pen = QPen(ToQColor(color));
        entry.Pen.setWidth(width);
        entry.Pen.setCapStyle(cap);
        entry.Pen.setJoinStyle(Qt::RoundJoin);
    }
    return entry.Pen;
}

int QtCanvas::WholeRatio() const {
    const double ratio = image_->devicePixelRatio();
    const int whole = static_cast<int>(std::lround(ratio));
    return whole >= 1 && whole == ratio ? whole : 0;
}

void QtCanvas::ApplyShapeState() {
    QPainter& painter = Painter();
    if (penStyle_ == TPenStyle::psClear)
        painter.setPen(Qt::NoPen);
    else
        painter.setPen(CachedPen(penColor_, penWidth_, Qt::SquareCap));
    if (brushStyle_ == TBrushStyle::bsClear)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(ToQColor(brushColor_));
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (image_ == nullptr)
        return;
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    // Solid discs, with or without an outline, are what the game draws by the
    // thousand: straight into the pixels from a coverage mask of their size.
    if (brushStyle_ == TBrushStyle::bsSolid) {
        if (const int ratio = WholeRatio();
            ratio > 0 && discs_.Draw(*image_, ratio, x1, y1, x2, y2, brushColor_,
                                     penStyle_ == TPenStyle::psClear ? 0 : penWidth_, penColor_))
            return;
    }
    ApplyShapeState();
    // The box's right and bottom edges are exclusive: the outline runs through the
    // centres of the outermost pixels x1 .. x2-1 and y1 .. y2-1.
    Painter().drawEllipse(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
}

void QtCanvas::Line(int x1, int y1, int x2, int y2) {
    if (image_ == nullptr || penStyle_ == TPenStyle::psClear || (x1 == x2 && y1 == y2))
        return;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double length = std::hypot(dx, dy);
    QPointF from(x1 + 0.5, y1 + 0.5);
    QPointF to(x2 + 0.5, y2 + 0.5);
    if (penWidth_ <= 1) {
        // A thin line covers its start pixel but not its end pixel: stop one pixel
        // short and let the square cap reach the near edge of the last pixel.
        Painter().setPen(CachedPen(penColor_, penWidth_, Qt::SquareCap));
        to -= QPointF(dx / length, dy / length);
    } else if (const int ratio = WholeRatio(); ratio > 0) {
        DrawRoundStroke(*image_, from.x() * ratio, from.y() * ratio, to.x() * ratio, to.y() * ratio,
                        penWidth_ * ratio, penColor_);
        return;
    } else {
        Painter().setPen(CachedPen(penColor_, penWidth_, Qt::RoundCap));
    }
    Painter().drawLine(from, to);
}

void QtCanvas::TextOut(int x, int y, const QString& text) {
    if (image_ == nullptr || text.isEmpty())
        return;
    const TTextPicture& picture = TextPicture(text);
    if (const int ratio = WholeRatio(); ratio > 0) {
        if (brushStyle_ == TBrushStyle::bsSolid)
            FillDeviceRect(*image_, int64_t{x} * ratio, int64_t{y} * ratio,
                           int64_t{picture.Advance} * ratio, int64_t{metrics_.height()} * ratio,
                           brushColor_);
        BlendPicture(*image_, picture.Picture, int64_t{x} * ratio, int64_t{y} * ratio);
        return;
    }
    if (brushStyle_ == TBrushStyle::bsSolid)
        Painter().fillRect(QRect(x, y, picture.Advance, metrics_.height()), ToQColor(brushColor_));
    Painter().drawImage(QPoint(x, y), picture.Picture.Picture());
}

bool QtCanvas::TextOutClipped(int x, int y, const QString& text, const TRect& clip) {
    const int ratio = WholeRatio();
    if (image_ == nullptr || ratio <= 0)
        return false;
    if (text.isEmpty())
        return true;
    const TTextPicture& picture = TextPicture(text);
    const QRect deviceClip =
        QRect(clip.Left * ratio, clip.Top * ratio, (clip.Right - clip.Left) * ratio,
              (clip.Bottom - clip.Top) * ratio)
            .intersected(image_->rect());
    if (brushStyle_ == TBrushStyle::bsSolid) {
        const QRect cell =
            QRect(x * ratio, y * ratio, picture.Advance * ratio, metrics_.height() * ratio)
                .intersected(deviceClip);
        if (!cell.isEmpty())
            FillDeviceRect(*image_, cell.left(), cell.top(), cell.width(), cell.height(),
                           brushColor_);
    }
    BlendPicture(*image_, picture.Picture, int64_t{x} * ratio, int64_t{y} * ratio, deviceClip);
    return true;
}

const QtCanvas::TTextPicture& QtCanvas::TextPicture(const QString& text) {
    // The picture has the density of the image it is drawn onto, so that it is
    // copied pixel for pixel and the text stays as sharp as if drawn directly.
    const double ratio = image_->devicePixelRatio();
    for (size_t i = 0; i < textPictures_.size(); ++i) {
        TTextPicture& entry = textPictures_[i];
        if (entry.Color == fontColor_ && entry.Ratio == ratio && entry.Text == text &&
            entry.Font == font_) {
            std::rotate(textPictures_.begin(), textPictures_.begin() + static_cast<long>(i),
                        textPictures_.begin() + static_cast<long>(i) + 1);
            return textPictures_.front();
        }
    }
    const auto devicePixels = [ratio](int fieldPixels) {
        return static_cast<int>(std::ceil(std::max(1, fieldPixels) * ratio));
    };
    const int advance = metrics_.horizontalAdvance(text);
    QImage picture(devicePixels(advance), devicePixels(metrics_.height()),
                   QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font_);
        painter.setPen(ToQColor(fontColor_));
        painter.drawText(QPoint(0, metrics_.ascent()), text);
    }
    if (textPictures_.size() >= CachedTextEntries)
        textPictures_.pop_back();
    textPictures_.insert(textPictures_.begin(),
                         TTextPicture{text, font_, fontColor_, ratio, advance,
                                      TBlendablePicture(std::move(picture))});
    return textPictures_.front();
}

int QtCanvas::TextWidth(const QString& text) {
    // Measuring lays the text out, which allocates; a text drawn before knows it.
    for (const TTextPicture& entry : textPictures_)
        if (entry.Text == text && entry.Font == font_)
            return entry.Advance;
    return metrics_.horizontalAdvance(text);
}

int QtCanvas::TextHeight(const QString&) {
    return metrics_.height();
}

} // namespace fenu
