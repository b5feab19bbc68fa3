#pragma once

#include "platform/DrawAreaWindow.h"
#include "platform/PresentationDevice.h"
#include "platform/raster/QtCanvas.h"

#include <memory>
#include <set>
#include <vector>

#include <QImage>

namespace fenu::test {

class FakeSurface;

/// What a fake presentation system is told to fail and what it saw. Shared by the
/// system, its devices and their surfaces.
struct FakePresentationState {
    // Failures to inject.
    bool Loaded = true;
    bool CreateDeviceFails = false;
    std::set<PresentationDevice::TInterface> MissingInterfaces;
    bool PrimaryFails = false;
    bool VideoMemoryFails = false;
    bool SystemMemoryFails = false;
    bool ClipperFails = false;
    bool PaletteFails = false;
    bool GetDCFails = false;
    bool RestoreFails = false;

    // What happened.
    PresentationSystem::TEntry EntryUsed = PresentationSystem::TEntry::Classic;
    int DevicesCreated = 0;
    int VerticalBlankWaits = 0;
    std::vector<TRect> PrimaryCopies; ///< target rectangles of copies onto the primary
    bool LastOffscreenAskedSystemMemory = false;
    std::vector<FakeSurface*> LiveSurfaces;

    /// Marks every live surface lost (or usable again).
    void SetAllLost(bool lost);
};

class FakeSurface final : public PresentationSurface {
public:
    FakeSurface(FakePresentationState& state, int32_t width, int32_t height, bool primary,
                bool systemMemory);
    ~FakeSurface() override;

    bool Lost = false;
    bool DeviceContextOut() const { return canvas_.Active(); }

    TSurfaceDescription Description() const override { return description_; }
    TPlatformResult Fill(uint32_t rawValue) override;
    TPlatformResult GetDC(TCanvas*& deviceContext) override;
    TPlatformResult ReleaseDC() override;
    TPlatformResult IsLost() override;
    TPlatformResult Restore() override;
    TPlatformResult SetClipper(PresentationClipper* clipper) override;
    TPlatformResult SetPalette(PresentationPalette* palette) override;
    TPlatformResult Blt(const TRect& target, PresentationSurface& source) override;
    const QImage* Image() const override { return description_.Primary ? nullptr : &image_; }

    PresentationClipper* Clipper() const { return clipper_; }
    PresentationPalette* Palette() const { return palette_; }

private:
    FakePresentationState& state_;
    TSurfaceDescription description_;
    QImage image_;
    QtCanvas canvas_;
    PresentationClipper* clipper_ = nullptr;
    PresentationPalette* palette_ = nullptr;
};

class FakeClipper final : public PresentationClipper {
public:
    TPlatformResult SetWindow(DrawAreaWindow* window) override {
        window_ = window;
        return PlatformResult::Ok;
    }
    DrawAreaWindow* Window() const override { return window_; }

private:
    DrawAreaWindow* window_ = nullptr;
};

class FakePalette final : public PresentationPalette {
public:
    TPlatformResult SetEntries(const TPaletteEntries&) override {
        ++EntriesSet;
        return PlatformResult::Ok;
    }
    int EntriesSet = 0;
};

class FakeDevice final : public PresentationDevice {
public:
    explicit FakeDevice(FakePresentationState& state) : state_(state) {}
    bool HasInterface(TInterface which) const override;
    TPlatformResult GetCaps(TDeviceCaps&, TDeviceCaps&) override { return PlatformResult::Ok; }
    TPlatformResult SetCooperativeLevel(DrawAreaWindow*, bool) override {
        return PlatformResult::Ok;
    }
    TPlatformResult CreatePrimarySurface(std::unique_ptr<PresentationSurface>& surface) override;
    TPlatformResult CreateOffscreenSurface(int32_t width, int32_t height, bool systemMemory,
                                           std::unique_ptr<PresentationSurface>& surface) override;
    TPlatformResult CreateClipper(std::unique_ptr<PresentationClipper>& clipper) override;
    TPlatformResult CreatePalette(const TPaletteEntries& entries,
                                  std::unique_ptr<PresentationPalette>& palette) override;
    /// Counts the wait; never sleeps.
    TPlatformResult WaitForVerticalBlank() override;

private:
    FakePresentationState& state_;
};

/// A presentation system whose every creation step can be made to fail.
class FakePresentationSystem final : public PresentationSystem {
public:
    FakePresentationState State;

    bool Loaded() const override { return State.Loaded; }
    QString LibraryName() const override { return QStringLiteral("FakeDraw.dll"); }
    TPlatformResult CreateDevice(TEntry entry,
                                 std::unique_ptr<PresentationDevice>& device) override;
    void SystemPalette(TPaletteEntries& entries) const override { entries = TPaletteEntries{}; }
};

/// A drawing-area window that the test drives by hand.
class FakeDrawAreaWindow final : public DrawAreaWindow {
public:
    FakeDrawAreaWindow(int width = 625, int height = 500) : Width(width), Height(height) {}
    ~FakeDrawAreaWindow() override { Destroy(); }

    bool InForm = true;
    TPoint Origin{100, 50};
    int Width;
    int Height;
    int ParentRepaints = 0;

    void ShowForm() {
        if (listener_ != nullptr)
            listener_->FormShown();
    }
    void Destroy() {
        if (listener_ != nullptr)
            listener_->WindowDestroying();
        listener_ = nullptr;
    }
    void RequestPaint() {
        if (listener_ != nullptr)
            listener_->PaintRequested();
    }
    void Resize(int width, int height) {
        Width = width;
        Height = height;
        if (listener_ != nullptr)
            listener_->Resized(width, height);
    }
    void Press(TMouseButton button, int x, int y) {
        if (listener_ != nullptr)
            listener_->MouseDown(button, x, y);
    }
    DrawAreaWindowListener* Listener() const { return listener_; }

    void SetListener(DrawAreaWindowListener* listener) override { listener_ = listener; }
    bool HasForm() const override { return InForm; }
    void RequestParentRepaint() override { ++ParentRepaints; }
    TPoint ClientOrigin() const override { return Origin; }
    int ClientWidth() const override { return Width; }
    int ClientHeight() const override { return Height; }

private:
    DrawAreaWindowListener* listener_ = nullptr;
};

} // namespace fenu::test
