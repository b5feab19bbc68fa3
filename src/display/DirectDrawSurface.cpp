#include "display/DirectDrawSurface.h"

#include "display/DXErrors.h"

#include <algorithm>

namespace fenu {

TDirectDrawSurfaceCanvas::TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface)
    : surface_(surface) {}

TDirectDrawSurfaceCanvas::~TDirectDrawSurfaceCanvas() {
    Release();
}

void TDirectDrawSurfaceCanvas::Release() {
    if (deviceContext_ == nullptr)
        return;
    deviceContext_ = nullptr;
    surface_.ReleaseDeviceContext();
}

TCanvas& TDirectDrawSurfaceCanvas::DeviceContext() {
    if (deviceContext_ != nullptr)
        return *deviceContext_;
    TCanvas* acquired = nullptr;
    if (!surface_.AcquireDeviceContext(acquired) || acquired == nullptr)
        throw EInvalidOperation(QString::fromUtf8(DXMessages::CanvasDoesNotAllowDrawing));
    // A fresh device context knows nothing of the canvas's pen, brush and font.
    acquired->SetFontSize(fontSize_);
    acquired->SetFontColor(fontColor_);
    acquired->SetFontName(fontName_);
    acquired->SetFontBold(fontBold_);
    acquired->SetBrushColor(brushColor_);
    acquired->SetBrushStyle(brushStyle_);
    acquired->SetPenColor(penColor_);
    acquired->SetPenWidth(penWidth_);
    acquired->SetPenStyle(penStyle_);
    deviceContext_ = acquired;
    return *deviceContext_;
}

void TDirectDrawSurfaceCanvas::SetFontSize(int points) {
    fontSize_ = points;
    if (deviceContext_ != nullptr)
        deviceContext_->SetFontSize(points);
}

void TDirectDrawSurfaceCanvas::SetFontColor(TColor color) {
    fontColor_ = color;
    if (deviceContext_ != nullptr)
        deviceContext_->SetFontColor(color);
}

void TDirectDrawSurfaceCanvas::SetFontName(const QString& face) {
    if (fontName_ != face)
        fontName_ = face;
    if (deviceContext_ != nullptr)
        deviceContext_->SetFontName(face);
}

void TDirectDrawSurfaceCanvas::SetFontBold(bool bold) {
    fontBold_ = bold;
    if (deviceContext_ != nullptr)
        deviceContext_->SetFontBold(bold);
}

void TDirectDrawSurfaceCanvas::SetBrushColor(TColor color) {
    brushColor_ = color;
    if (deviceContext_ != nullptr)
        deviceContext_->SetBrushColor(color);
}

void TDirectDrawSurfaceCanvas::SetBrushStyle(TBrushStyle style) {
    brushStyle_ = style;
    if (deviceContext_ != nullptr)
        deviceContext_->SetBrushStyle(style);
}

void TDirectDrawSurfaceCanvas::SetPenColor(TColor color) {
    penColor_ = color;
    if (deviceContext_ != nullptr)
        deviceContext_->SetPenColor(color);
}

void TDirectDrawSurfaceCanvas::SetPenWidth(int width) {
    penWidth_ = width;
    if (deviceContext_ != nullptr)
        deviceContext_->SetPenWidth(width);
}

void TDirectDrawSurfaceCanvas::SetPenStyle(TPenStyle style) {
    penStyle_ = style;
    if (deviceContext_ != nullptr)
        deviceContext_->SetPenStyle(style);
}

TDrawCall TDirectDrawSurfaceCanvas::Call(TDrawCall::TKind kind, int x1, int y1, int x2, int y2,
                                         int margin, const QString* text) const {
    TDrawCall call;
    call.Kind = kind;
    call.X1 = x1;
    call.Y1 = y1;
    call.X2 = x2;
    call.Y2 = y2;
    call.PenColor = penColor_;
    call.PenWidth = penWidth_;
    call.PenStyle = penStyle_;
    call.BrushColor = brushColor_;
    call.BrushStyle = brushStyle_;
    call.FontColor = fontColor_;
    call.FontSize = fontSize_;
    call.FontBold = fontBold_;
    if (text != nullptr) {
        call.FontName = fontName_;
        call.Text = *text;
    }
    // Antialiased edges and the rounding of a fractional pixel ratio reach a pixel
    // or two beyond the shape.
    constexpr int Edge = 2;
    call.Bounds = TRect{std::min(x1, x2) - margin - Edge, std::min(y1, y2) - margin - Edge,
                        std::max(x1, x2) + margin + Edge, std::max(y1, y2) + margin + Edge};
    return call;
}

bool TDirectDrawSurfaceCanvas::NeedsDrawing(const TDrawCall& call) {
    if (surface_.changes_.Standing(call))
        return false;
    if (!surface_.changes_.StaleStanding().empty()) {
        // The surface is cleared only while nobody holds its device context.
        Release();
        surface_.ClearStaleStanding();
    }
    return true;
}

void TDirectDrawSurfaceCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    // The outline is centred on the disc's edge.
    const TDrawCall call = Call(TDrawCall::TKind::Ellipse, x1, y1, x2, y2,
                                penStyle_ == TPenStyle::psSolid ? penWidth_ : 0);
    if (NeedsDrawing(call))
        DeviceContext().Ellipse(x1, y1, x2, y2);
    surface_.changes_.Drawn(call);
}

void TDirectDrawSurfaceCanvas::Line(int x1, int y1, int x2, int y2) {
    const TDrawCall call = Call(TDrawCall::TKind::Line, x1, y1, x2, y2, penWidth_);
    if (NeedsDrawing(call))
        DeviceContext().Line(x1, y1, x2, y2);
    surface_.changes_.Drawn(call);
}

void TDirectDrawSurfaceCanvas::TextOut(int x, int y, const QString& text) {
    TCanvas& context = DeviceContext();
    // Text is drawn from a picture of its advance and line height, clipped to it.
    const TDrawCall call = Call(TDrawCall::TKind::Text, x, y, x + context.TextWidth(text),
                                y + context.TextHeight(text), 0, &text);
    if (NeedsDrawing(call))
        DeviceContext().TextOut(x, y, text);
    else
        DrawAgainWhereCleared(call, x, y, text);
    surface_.changes_.Drawn(call);
}

void TDirectDrawSurfaceCanvas::DrawAgainWhereCleared(const TDrawCall& call, int x, int y,
                                                     const QString& text) {
    const TRect cleared = surface_.standingCleared_[surface_.changes_.DrawnSinceFill().size()];
    if (Empty(cleared))
        return;
    // Only where the fill cleared it: text drawn over itself is bolder at its edges.
    if (DeviceContext().TextOutClipped(x, y, text, cleared))
        return;
    Release();
    surface_.ClippedBounds(std::span<const TDrawCall>(&call, 1));
    surface_.Record(surface_.surface_->FillRects(
        surface_.changes_.DrawnFill(), std::span<const TRect>(surface_.drawnBounds_.data(), 1)));
    DeviceContext().TextOut(x, y, text);
}

int TDirectDrawSurfaceCanvas::TextWidth(const QString& text) {
    return DeviceContext().TextWidth(text);
}

int TDirectDrawSurfaceCanvas::TextHeight(const QString& text) {
    return DeviceContext().TextHeight(text);
}

TDirectDrawSurface::TDirectDrawSurface(TDirectDraw& owner) : owner_(owner) {}

TDirectDrawSurface::~TDirectDrawSurface() {
    canvas_.reset();
    surface_.reset();
}

bool TDirectDrawSurface::CreatePrimary() {
    ReleaseSurface();
    if (Record(owner_.Device().CreatePrimarySurface(surface_)) != PlatformResult::Ok ||
        surface_ == nullptr) {
        surface_.reset();
        return false;
    }
    description_ = surface_->Description();
    return true;
}

bool TDirectDrawSurface::CreateOffscreen(int32_t width, int32_t height, bool systemMemory) {
    ReleaseSurface();
    if (Record(owner_.Device().CreateOffscreenSurface(width, height, systemMemory, surface_)) !=
            PlatformResult::Ok ||
        surface_ == nullptr) {
        surface_.reset();
        return false;
    }
    description_ = surface_->Description();
    return true;
}

void TDirectDrawSurface::ReleaseSurface() {
    if (canvas_ != nullptr)
        canvas_->Release();
    changes_.Reset();
    surface_.reset();
    description_ = TSurfaceDescription{};
}

bool TDirectDrawSurface::Fill(uint32_t rawValue) {
    if (surface_ == nullptr)
        return false;
    ClearStaleStanding();
    if (FillsOnlyDrawn) {
        const size_t standing = changes_.StandingPrefix();
        if (FillDrawn(rawValue, standing)) {
            changes_.Filled(rawValue, standing);
            return true;
        }
    }
    if (Record(surface_->Fill(rawValue)) != PlatformResult::Ok)
        return false;
    changes_.Filled(rawValue);
    return true;
}

bool TDirectDrawSurface::FillDrawn(uint32_t rawValue, size_t standing) {
    if (!changes_.FilledWith(rawValue))
        return false;
    const TRect buffer{0, 0, Width(), Height()};
    size_t count = ClippedBounds(changes_.DrawnSinceFill().subspan(standing));
    int64_t area = 0;
    for (size_t i = 0; i < count; ++i) {
        const TRect& r = drawnBounds_[i];
        area += int64_t{r.Right - r.Left} * (r.Bottom - r.Top);
    }
    // Past half the buffer, clearing rectangle by rectangle gains nothing.
    if (area > int64_t{buffer.Right} * buffer.Bottom / 2)
        return false;
    // Where a call drawn over a text left standing is cleared, so is the text: the box
    // of those parts is cleared whole, and the text drawn again in it.
    const std::span<const TDrawCall> texts = changes_.DrawnSinceFill().first(standing);
    const size_t others = count;
    for (size_t t = 0; t < standing; ++t) {
        TRect& box = standingCleared_[t];
        box = TRect{};
        for (size_t i = 0; i < others; ++i) {
            const TRect part = Intersection(texts[t].Bounds, drawnBounds_[i]);
            if (!Empty(part))
                box = Empty(box) ? part : Bounding(box, part);
        }
        if (!Empty(box))
            drawnBounds_[count++] = box;
    }
    // A refusal (a new pixel ratio) is overwritten by the whole fill that follows.
    return Record(surface_->FillRects(
               rawValue, std::span<const TRect>(drawnBounds_.data(), count))) == PlatformResult::Ok;
}

size_t TDirectDrawSurface::ClippedBounds(std::span<const TDrawCall> calls) {
    const TRect buffer{0, 0, Width(), Height()};
    size_t count = 0;
    for (const TDrawCall& call : calls) {
        const TRect& r = call.Bounds;
        const TRect clipped{std::max(r.Left, buffer.Left), std::max(r.Top, buffer.Top),
                            std::min(r.Right, buffer.Right), std::min(r.Bottom, buffer.Bottom)};
        if (clipped.Right > clipped.Left && clipped.Bottom > clipped.Top)
            drawnBounds_[count++] = clipped;
    }
    return count;
}

void TDirectDrawSurface::ClearStaleStanding() {
    const std::span<const TDrawCall> stale = changes_.StaleStanding();
    if (stale.empty())
        return;
    const size_t count = ClippedBounds(stale);
    changes_.DropStanding();
    if (Record(surface_->FillRects(changes_.DrawnFill(),
                                   std::span<const TRect>(drawnBounds_.data(), count))) !=
        PlatformResult::Ok)
        changes_.Overwritten(); // what stood is still there: the next fill is whole
}

TDirectDrawSurfaceCanvas& TDirectDrawSurface::Canvas() {
    if (canvas_ == nullptr)
        canvas_ = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
    return *canvas_;
}

void TDirectDrawSurface::ReleaseCanvas() {
    if (canvas_ != nullptr)
        canvas_->Release();
}

bool TDirectDrawSurface::AcquireDeviceContext(TCanvas*& deviceContext) {
    deviceContext = nullptr;
    if (surface_ == nullptr)
        return false;
    return Record(surface_->GetDC(deviceContext)) == PlatformResult::Ok && deviceContext != nullptr;
}

void TDirectDrawSurface::ReleaseDeviceContext() {
    if (surface_ != nullptr)
        Record(surface_->ReleaseDC());
}

bool TDirectDrawSurface::IsLost() {
    if (surface_ == nullptr)
        return false;
    return Record(surface_->IsLost()) != PlatformResult::Ok;
}

bool TDirectDrawSurface::Restore() {
    if (surface_ == nullptr)
        throw EDirectDrawSurfaceError(DXMessages::NotMade("IDirectDrawSurface7"));
    return Record(surface_->Restore()) == PlatformResult::Ok;
}

void TDirectDrawSurface::SetClipper(TDirectDrawClipper* clipper) {
    if (surface_ != nullptr)
        Record(surface_->SetClipper(clipper != nullptr ? clipper->Platform() : nullptr));
}

void TDirectDrawSurface::SetPalette(TDirectDrawPalette* palette) {
    if (surface_ != nullptr)
        Record(surface_->SetPalette(palette != nullptr ? palette->Platform() : nullptr));
}

bool TDirectDrawSurface::Blt(const TRect& target, TDirectDrawSurface& source) {
    if (surface_ == nullptr || source.surface_ == nullptr)
        return false;
    source.ClearStaleStanding();
    changes_.Overwritten();
    return Record(surface_->Blt(target, *source.surface_)) == PlatformResult::Ok;
}

bool TDirectDrawSurface::Present(const TRect& target, TDirectDrawSurface& source,
                                 bool changedOnly) {
    if (surface_ == nullptr || source.surface_ == nullptr)
        return false;
    source.ClearStaleStanding();
    const TChangedArea changed =
        changedOnly ? source.changes_.Changes(TRect{0, 0, source.Width(), source.Height()})
                    : TChangedArea{};
    if (Record(surface_->PresentChanged(target, *source.surface_, changed)) != PlatformResult::Ok)
        return false;
    source.changes_.Presented();
    return true;
}

const QImage* TDirectDrawSurface::Image() const {
    return surface_ != nullptr ? surface_->Image() : nullptr;
}

} // namespace fenu
