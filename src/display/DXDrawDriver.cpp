#include "display/DXDrawDriver.h"

#include "display/DXErrors.h"

namespace fenu {

namespace {
using enum TDXDrawOption;
using enum TDrawAreaNotice;

/// Palette entries that the platform must not merge with others.
constexpr uint8_t PaletteNoCollapse = 0x04;
constexpr int SystemEntriesAtEachEnd = 10;
} // namespace

TDXDrawDriver::TDXDrawDriver(TCustomDXDraw& area)
    : area_(area),
      ddraw_(std::make_unique<TDirectDraw>(area.system_, area.options_.Contains(doDirectX7Mode))) {}

TDXDrawDriver::~TDXDrawDriver() {
    ReleaseSurfaces();
    ddraw_.reset();
}

void TDXDrawDriver::ReleaseSurfaces() {
    if (ddraw_ == nullptr)
        return;
    if (area_.surface_ != nullptr)
        ddraw_->Destroy(std::exchange(area_.surface_, nullptr));
    if (area_.primarySurface_ != nullptr)
        ddraw_->Destroy(std::exchange(area_.primarySurface_, nullptr));
    if (area_.clipper_ != nullptr)
        ddraw_->Destroy(std::exchange(area_.clipper_, nullptr));
    if (area_.palette_ != nullptr)
        ddraw_->Destroy(std::exchange(area_.palette_, nullptr));
}

bool TDXDrawDriver::SetSize(int32_t, int32_t) {
    return false;
}

TRect TDXDrawDriverBlt::FlipTarget(TPoint origin, int controlWidth, int controlHeight,
                                   int surfaceWidth, int surfaceHeight, TDXDrawOptions options) {
    if (options.Contains(doStretch))
        return TRect{origin.X, origin.Y, origin.X + controlWidth, origin.Y + controlHeight};
    if (options.Contains(doCenter)) {
        // Integer division truncates toward zero, also for a larger surface.
        origin.X += (controlWidth - surfaceWidth) / 2;
        origin.Y += (controlHeight - surfaceHeight) / 2;
    }
    return TRect{origin.X, origin.Y, origin.X + surfaceWidth, origin.Y + surfaceHeight};
}

void TDXDrawDriverBlt::Flip() {
    TDirectDrawSurface* primary = area_.primarySurface_;
    TDirectDrawSurface* back = area_.surface_;
    if (primary == nullptr || back == nullptr)
        return;
    const TRect target = FlipTarget(area_.ClientOrigin(), area_.ClientWidth(), area_.ClientHeight(),
                                    back->Width(), back->Height(), area_.effectiveOptions_);
    if (area_.effectiveOptions_.Contains(doWaitVBlank))
        ddraw_->WaitForVerticalBlank();
    back->FillsOnlyDrawn = area_.ChangesOnly;
    primary->Present(target, *back, area_.ChangesOnly);
}

void TDXDrawDriverBlt::CreateSurfaces() {
    TDirectDrawSurface& primary = ddraw_->NewSurface();
    area_.primarySurface_ = &primary;
    if (!primary.CreatePrimary())
        throw EDXDrawError(DXMessages::CannotBeMade("Primary Surface"));

    area_.surface_ = &ddraw_->NewSurface();
    TDirectDrawClipper& clipper = ddraw_->NewClipper();
    area_.clipper_ = &clipper;
    clipper.SetWindow(area_.window_);
    primary.SetClipper(&clipper);

    TPaletteEntries entries = area_.paletteTables_[0];
    for (TPaletteEntry& entry : entries)
        entry.Flags = PaletteNoCollapse;
    if (!area_.effectiveOptions_.Contains(doAllowPalette256)) {
        // The system keeps its static colours at both ends of the palette.
        TPaletteEntries system{};
        area_.system_.SystemPalette(system);
        for (int i = 0; i < SystemEntriesAtEachEnd; ++i) {
            entries[static_cast<size_t>(i)] = system[static_cast<size_t>(i)];
            entries[entries.size() - 1 - static_cast<size_t>(i)] =
                system[system.size() - 1 - static_cast<size_t>(i)];
        }
    }
    area_.palette_ = ddraw_->NewPalette(entries);
    primary.SetPalette(area_.palette_);

    CreateBackBuffer();
}

void TDXDrawDriverBlt::CreateBackBuffer() {
    TDirectDrawSurface& back = *area_.surface_;
    back.ReleaseSurface();
    area_.effectiveOptions_.Exclude(doSystemMemory);
    const int32_t width = std::max(area_.surfaceWidth_, 1);
    const int32_t height = std::max(area_.surfaceHeight_, 1);
    bool made = back.CreateOffscreen(width, height, area_.options_.Contains(doSystemMemory));
    if (!made)
        made = back.CreateOffscreen(width, height, true);
    if (!made)
        throw EDXDrawError(DXMessages::CannotBeMade("Surface"));
    if (back.SystemMemory())
        area_.effectiveOptions_.Include(doSystemMemory);
    back.FillsOnlyDrawn = area_.ChangesOnly;
    back.SetPalette(area_.palette_);
    back.Fill(0);
}

bool TDXDrawDriverBlt::SetSize(int32_t width, int32_t height) {
    area_.surfaceWidth_ = std::max(width, 1);
    area_.surfaceHeight_ = std::max(height, 1);
    ++area_.initNoticeDepth_;
    try {
        area_.Send(anSurfaceReleased);
        if (area_.surfaceEventDone_) {
            area_.surfaceEventDone_ = false;
            area_.Call(area_.OnFinalizeSurface);
        }
        CreateBackBuffer();
        area_.Send(anSurfaceReady);
        area_.surfaceEventDone_ = true;
        area_.Call(area_.OnInitializeSurface);
    } catch (...) {
        --area_.initNoticeDepth_;
        throw;
    }
    --area_.initNoticeDepth_;
    return true;
}

} // namespace fenu
