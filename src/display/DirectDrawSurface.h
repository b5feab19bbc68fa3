#pragma once

#include "display/DirectDraw.h"
#include "display/FrameChanges.h"
#include "platform/Canvas.h"

#include <memory>

class QImage;

namespace fenu {

class TDirectDrawSurface;

/// The canvas of a surface. It keeps its own pen, brush and font, takes the
/// surface's device context when something is first drawn (or measured) and keeps
/// it until ReleaseCanvas. While it holds the device context the surface takes part
/// in no fill or copy, so release it before Flip and before the next Fill.
class TDirectDrawSurfaceCanvas final : public TCanvas {
public:
    explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface);
    ~TDirectDrawSurfaceCanvas() override;

    bool HasDeviceContext() const { return deviceContext_ != nullptr; }
    /// Gives the device context back to the platform, if held.
    void Release();

    void SetFontSize(int points) override;
    void SetFontColor(TColor color) override;
    void SetFontName(const QString& face) override;
    void SetFontBold(bool bold) override;
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TBrushStyle style) override;
    void SetPenColor(TColor color) override;
    void SetPenWidth(int width) override;
    void SetPenStyle(TPenStyle style) override;
    /// Drawing and measuring raise EInvalidOperation when no device context can be
    /// had.
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const QString& text) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;

private:
    TCanvas& DeviceContext();
    /// A call with the settings in force, its bounds widened by margin on every
    /// side; text calls with their text.
    TDrawCall Call(TDrawCall::TKind kind, int x1, int y1, int x2, int y2, int margin,
                   const QString* text = nullptr) const;
    /// False when the call's pixels were left standing through the last fill.
    bool NeedsDrawing(const TDrawCall& call);
    /// Draws a text left standing again where the last fill cleared into it.
    void DrawAgainWhereCleared(const TDrawCall& call, int x, int y, const QString& text);

    TDirectDrawSurface& surface_;
    TCanvas* deviceContext_ = nullptr;
    int fontSize_ = 8;
    TColor fontColor_ = 0x000000;
    QString fontName_ = QStringLiteral("DejaVu Sans");
    bool fontBold_ = false;
    TColor brushColor_ = 0xFFFFFF;
    TBrushStyle brushStyle_ = TBrushStyle::bsSolid;
    TColor penColor_ = 0x000000;
    int penWidth_ = 1;
    TPenStyle penStyle_ = TPenStyle::psSolid;
};

/// One platform surface with the description read after its creation; owns its
/// canvas.
class TDirectDrawSurface final : public TDirectX {
public:
    explicit TDirectDrawSurface(TDirectDraw& owner);
    ~TDirectDrawSurface() override;
    TDirectDrawSurface(const TDirectDrawSurface&) = delete;
    TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

    bool CreatePrimary();
    bool CreateOffscreen(int32_t width, int32_t height, bool systemMemory);
    /// Releases the platform surface (and the canvas's device context first).
    void ReleaseSurface();
    bool HasSurface() const { return surface_ != nullptr; }

    int32_t Width() const { return description_.Width; }
    int32_t Height() const { return description_.Height; }
    bool SystemMemory() const { return description_.SystemMemory; }

    /// Fills the whole surface with a raw pixel value (0x00RRGGBB on this system's
    /// 32-bit surfaces). Returns whether the platform accepted it.
    bool Fill(uint32_t rawValue);
    /// A fill in the colour the surface was last filled with clears only the bounds
    /// of what was drawn since, where the platform can.
    bool FillsOnlyDrawn = true;
    TDirectDrawSurfaceCanvas& Canvas();
    void ReleaseCanvas();

    /// Whether the platform reports the surface lost (a missing surface is not).
    bool IsLost();
    /// Raises EDirectDrawSurfaceError without a platform surface.
    bool Restore();
    void SetClipper(TDirectDrawClipper* clipper);
    void SetPalette(TDirectDrawPalette* palette);
    /// Copies the whole of source onto target of this surface.
    bool Blt(const TRect& target, TDirectDrawSurface& source);
    /// Blt of a back buffer onto this primary surface that hands the window only
    /// what differs from the picture last presented from source, or, without
    /// changedOnly, the whole picture.
    bool Present(const TRect& target, TDirectDrawSurface& source, bool changedOnly);
    /// What was filled and drawn since the picture last presented from this surface.
    TFrameChanges& Changes() { return changes_; }

    /// The pixels of an off-screen surface, for reading back; null otherwise.
    const QImage* Image() const;

private:
    friend class TDirectDrawSurfaceCanvas;
    bool AcquireDeviceContext(TCanvas*& deviceContext);
    bool FillDrawn(uint32_t rawValue, size_t standing);
    /// Puts the bounds of calls, clipped to the surface, into drawnBounds_.
    size_t ClippedBounds(std::span<const TDrawCall> calls);
    /// Clears what was left standing through the last fill and not drawn again.
    void ClearStaleStanding();
    void ReleaseDeviceContext();

    TDirectDraw& owner_;
    std::unique_ptr<PresentationSurface> surface_;
    TSurfaceDescription description_;
    std::unique_ptr<TDirectDrawSurfaceCanvas> canvas_;
    TFrameChanges changes_;
    std::vector<TRect> drawnBounds_ = std::vector<TRect>(TFrameChanges::MaxCalls);
    /// For each text left standing through the last fill, the box the fill cleared of
    /// it (empty: none).
    std::vector<TRect> standingCleared_ = std::vector<TRect>(TFrameChanges::MaxCalls);
};

} // namespace fenu
