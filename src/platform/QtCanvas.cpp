#include "platform/QtCanvas.h"

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
    if (!painter_.begin(&image))
        return false;
    image_ = &image;
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setFont(font_);
    return true;
}

void QtCanvas::End() {
    if (image_ == nullptr)
        return;
    painter_.end();
    image_ = nullptr;
}

void QtCanvas::FontChanged() {
    metrics_ = QFontMetrics(font_);
    if (image_ != nullptr)
        painter_.setFont(font_);
}

void QtCanvas::SetFontSize(int points) {
    const int pixels = PointsToPixels(points);
    if (font_.pixelSize() == pixels)
        return;
    font_.setPixelSize(pixels);
    FontChanged();
}

void QtCanvas::SetFontColor(TColor color) {
    fontColor_ = color;
}

void QtCanvas::SetFontName(const QString& face) {
    if (font_.family() == face)
        return;
    font_.setFamily(face);
    FontChanged();
}

void QtCanvas::SetFontBold(bool bold) {
    if (font_.bold() == bold)
        return;
    font_.setBold(bold);
    FontChanged();
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

void QtCanvas::ApplyShapeState() {
    if (penStyle_ == TPenStyle::psClear) {
        painter_.setPen(Qt::NoPen);
    } else {
        QPen pen(ToQColor(penColor_));
        pen.setWidth(penWidth_);
        pen.setJoinStyle(Qt::RoundJoin);
        painter_.setPen(pen);
    }
    if (brushStyle_ == TBrushStyle::bsClear)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(ToQColor(brushColor_));
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (image_ == nullptr)
        return;
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    ApplyShapeState();
    // The box's right and bottom edges are exclusive: the outline runs through the
    // centres of the outermost pixels x1 .. x2-1 and y1 .. y2-1.
    painter_.drawEllipse(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
}

void QtCanvas::Line(int x1, int y1, int x2, int y2) {
    if (image_ == nullptr || penStyle_ == TPenStyle::psClear || (x1 == x2 && y1 == y2))
        return;
    QPen pen(ToQColor(penColor_));
    pen.setWidth(penWidth_);
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double length = std::hypot(dx, dy);
    QPointF from(x1 + 0.5, y1 + 0.5);
    QPointF to(x2 + 0.5, y2 + 0.5);
    if (penWidth_ <= 1) {
        // A thin line covers its start pixel but not its end pixel: stop one pixel
        // short and let the square cap reach the near edge of the last pixel.
        pen.setCapStyle(Qt::SquareCap);
        to -= QPointF(dx / length, dy / length);
    } else {
        pen.setCapStyle(Qt::RoundCap);
    }
    painter_.setPen(pen);
    painter_.drawLine(from, to);
}

void QtCanvas::TextOut(int x, int y, const QString& text) {
    if (image_ == nullptr || text.isEmpty())
        return;
    if (brushStyle_ == TBrushStyle::bsSolid)
        painter_.fillRect(QRect(x, y, metrics_.horizontalAdvance(text), metrics_.height()),
                          ToQColor(brushColor_));
    if (font_.pixelSize() >= CachedTextPixels) {
        painter_.drawImage(QPoint(x, y), TextPicture(text));
        return;
    }
    painter_.setPen(ToQColor(fontColor_));
    painter_.drawText(QPoint(x, y + metrics_.ascent()), text);
}

const QImage& QtCanvas::TextPicture(const QString& text) {
    // The picture has the density of the image it is drawn onto, so that it is
    // copied pixel for pixel and the text stays as sharp as if drawn directly.
    const double ratio = image_->devicePixelRatio();
    for (size_t i = 0; i < textPictures_.size(); ++i) {
        TTextPicture& entry = textPictures_[i];
        if (entry.Color == fontColor_ && entry.Ratio == ratio && entry.Text == text &&
            entry.Font == font_) {
            std::rotate(textPictures_.begin(), textPictures_.begin() + static_cast<long>(i),
                        textPictures_.begin() + static_cast<long>(i) + 1);
            return textPictures_.front().Picture;
        }
    }
    const auto devicePixels = [ratio](int fieldPixels) {
        return static_cast<int>(std::ceil(std::max(1, fieldPixels) * ratio));
    };
    TTextPicture entry{text, font_, fontColor_, ratio,
                       QImage(devicePixels(metrics_.horizontalAdvance(text)),
                              devicePixels(metrics_.height()),
                              QImage::Format_ARGB32_Premultiplied)};
    entry.Picture.setDevicePixelRatio(ratio);
    entry.Picture.fill(Qt::transparent);
    {
        QPainter painter(&entry.Picture);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font_);
        painter.setPen(ToQColor(fontColor_));
        painter.drawText(QPoint(0, metrics_.ascent()), text);
    }
    if (textPictures_.size() >= CachedTextEntries)
        textPictures_.pop_back();
    textPictures_.insert(textPictures_.begin(), std::move(entry));
    return textPictures_.front().Picture;
}

int QtCanvas::TextWidth(const QString& text) {
    return metrics_.horizontalAdvance(text);
}

int QtCanvas::TextHeight(const QString&) {
    return metrics_.height();
}

} // namespace fenu
