#pragma once

#include "platform/PresentationDevice.h"

#include <memory>
#include <vector>

namespace fenu {

class DrawAreaWindow;
class TDirectDrawSurface;

/// Base of the platform object wrappers: keeps the result of the last platform call.
/// Failures are recorded here, not raised, except where the drawing area says so.
class TDirectX {
public:
    virtual ~TDirectX() = default;
    TPlatformResult DXResult() const { return result_; }

protected:
    TPlatformResult Record(TPlatformResult result) {
        result_ = result;
        return result;
    }

private:
    TPlatformResult result_ = PlatformResult::Ok;
};

class TDirectDrawClipper final : public TDirectX {
public:
    explicit TDirectDrawClipper(std::unique_ptr<PresentationClipper> clipper);
    /// Binds the clipper to a window; raises EDirectDrawClipperError without a
    /// platform clipper.
    void SetWindow(DrawAreaWindow* window);
    PresentationClipper* Platform() const { return clipper_.get(); }

private:
    std::unique_ptr<PresentationClipper> clipper_;
};

class TDirectDrawPalette final : public TDirectX {
public:
    explicit TDirectDrawPalette(std::unique_ptr<PresentationPalette> palette);
    /// Raises EDirectDrawPaletteError without a platform palette.
    void SetEntries(const TPaletteEntries& entries);
    PresentationPalette* Platform() const { return palette_.get(); }

private:
    std::unique_ptr<PresentationPalette> palette_;
};

/// The presentation device object. It owns every surface, clipper and palette made
/// on it, so whatever is left of them goes with it.
class TDirectDraw final : public TDirectX {
public:
    /// Creates the device through the version-7 entry point or the classic one.
    /// Raises Exception ("%s not loaded") when the library is missing and
    /// EDirectDrawError when the device or a needed interface cannot be had.
    TDirectDraw(PresentationSystem& system, bool version7);
    ~TDirectDraw() override;
    TDirectDraw(const TDirectDraw&) = delete;
    TDirectDraw& operator=(const TDirectDraw&) = delete;

    PresentationDevice& Device() const;

    void SetCooperativeLevel(DrawAreaWindow* form, bool fullScreen);
    void WaitForVerticalBlank();

    /// A surface wrapper without a platform surface yet.
    TDirectDrawSurface& NewSurface();
    /// Raises EDirectDrawClipperError ("Clipper cannot be made") on failure.
    TDirectDrawClipper& NewClipper();
    /// A palette wrapper; on failure it has no platform palette (null returned).
    TDirectDrawPalette* NewPalette(const TPaletteEntries& entries);

    void Destroy(TDirectDrawSurface* surface);
    void Destroy(TDirectDrawClipper* clipper);
    void Destroy(TDirectDrawPalette* palette);

private:
    std::unique_ptr<PresentationDevice> device_;
    std::vector<std::unique_ptr<TDirectDrawSurface>> surfaces_;
    std::vector<std::unique_ptr<TDirectDrawClipper>> clippers_;
    std::vector<std::unique_ptr<TDirectDrawPalette>> palettes_;
};

} // namespace fenu
