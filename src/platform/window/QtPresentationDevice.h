#pragma once

#include "platform/FramePacer.h"
#include "platform/PixelRatioSource.h"
#include "platform/PresentationDevice.h"
#include "platform/raster/QtCanvas.h"
#include "platform/window/FrameClock.h"
#include "platform/window/FrameLog.h"

#include <QImage>

namespace fenu {

class QtDrawAreaWidget;

/// An off-screen surface: a 32-bit image whose raw pixel is 0x00RRGGBB.
///
/// Given a pixel ratio source (the window its frames go to), the image has that many
/// device pixels per field pixel: its description, the canvas's coordinates and the
/// copy targets stay in field pixels, Fill covers every device pixel. When the ratio
/// changes (the window moved to a screen of another density) the next Fill re-makes
/// the image at the new ratio; the surface is never lost.
class QtOffscreenSurface final : public PresentationSurface {
public:
    QtOffscreenSurface(int32_t width, int32_t height, const PixelRatioSource* ratio = nullptr);
    bool Valid() const { return !image_.isNull(); }
    double DevicePixelRatio() const { return image_.devicePixelRatio(); }
    bool DeviceContextOut() const { return canvas_.Active(); }

    TSurfaceDescription Description() const override;
    TPlatformResult Fill(uint32_t rawValue) override;
    TPlatformResult FillRects(uint32_t rawValue, std::span<const TRect> areas) override;
    TPlatformResult GetDC(TCanvas*& deviceContext) override;
    TPlatformResult ReleaseDC() override;
    TPlatformResult IsLost() override { return PlatformResult::Ok; }
    TPlatformResult Restore() override { return PlatformResult::Ok; }
    TPlatformResult SetClipper(PresentationClipper*) override { return PlatformResult::Ok; }
    TPlatformResult SetPalette(PresentationPalette*) override { return PlatformResult::Ok; }
    TPlatformResult Blt(const TRect& target, PresentationSurface& source) override;
    const QImage* Image() const override { return &image_; }

private:
    double WantedRatio() const;
    static QImage MakeImage(int32_t width, int32_t height, double ratio);

    int32_t width_;
    int32_t height_;
    const PixelRatioSource* ratio_;
    QImage image_;
    QtCanvas canvas_;
};

/// The visible screen, seen through the clipper's window: copies onto it land in
/// that window (the drawing area's widget); without a window nothing is shown.
class QtPrimarySurface final : public PresentationSurface {
public:
    explicit QtPrimarySurface(FrameLog* log = nullptr) : log_(log) {}
    TSurfaceDescription Description() const override;
    TPlatformResult Fill(uint32_t rawValue) override;
    TPlatformResult GetDC(TCanvas*& deviceContext) override;
    TPlatformResult ReleaseDC() override { return PlatformResult::Failed; }
    TPlatformResult IsLost() override { return PlatformResult::Ok; }
    TPlatformResult Restore() override { return PlatformResult::Ok; }
    TPlatformResult SetClipper(PresentationClipper* clipper) override;
    TPlatformResult SetPalette(PresentationPalette*) override { return PlatformResult::Ok; }
    TPlatformResult Blt(const TRect& target, PresentationSurface& source) override;
    TPlatformResult PresentChanged(const TRect& target, PresentationSurface& source,
                                   const TChangedArea& changed) override;
    const QImage* Image() const override { return nullptr; }

private:
    QtDrawAreaWidget* Window() const;
    PresentationClipper* clipper_ = nullptr;
    FrameLog* log_;
};

class QtClipper final : public PresentationClipper {
public:
    TPlatformResult SetWindow(DrawAreaWindow* window) override;
    DrawAreaWindow* Window() const override { return window_; }

private:
    DrawAreaWindow* window_ = nullptr;
};

/// Palettes mean nothing to 32-bit surfaces; the entries are only kept.
class QtPalette final : public PresentationPalette {
public:
    explicit QtPalette(const TPaletteEntries& entries) : entries_(entries) {}
    TPlatformResult SetEntries(const TPaletteEntries& entries) override;

private:
    TPaletteEntries entries_;
};

/// The device. Off-screen surfaces take their pixel ratio from the window given to
/// SetCooperativeLevel (when it has one); without a window they have ratio 1.
class QtPresentationDevice final : public PresentationDevice {
public:
    /// current: where the system keeps the device that is there (this one from now).
    explicit QtPresentationDevice(FrameClock& frameClock, FrameLog* log = nullptr,
                                  QtPresentationDevice** current = nullptr);
    ~QtPresentationDevice() override;
    /// WaitForVerticalBlank ahead of the frame: the frame's own wait then returns at once.
    void AwaitBoundary();
    bool HasInterface(TInterface) const override { return true; }
    TPlatformResult GetCaps(TDeviceCaps& driver, TDeviceCaps& emulation) override;
    TPlatformResult SetCooperativeLevel(DrawAreaWindow* form, bool fullScreen) override;
    TPlatformResult CreatePrimarySurface(std::unique_ptr<PresentationSurface>& surface) override;
    TPlatformResult CreateOffscreenSurface(int32_t width, int32_t height, bool systemMemory,
                                           std::unique_ptr<PresentationSurface>& surface) override;
    TPlatformResult CreateClipper(std::unique_ptr<PresentationClipper>& clipper) override;
    TPlatformResult CreatePalette(const TPaletteEntries& entries,
                                  std::unique_ptr<PresentationPalette>& palette) override;
    TPlatformResult WaitForVerticalBlank() override;

private:
    FrameClock& frameClock_;
    FrameLog* log_;
    const PixelRatioSource* ratio_ = nullptr;
    const class QtDrawAreaWidget* window_ = nullptr;
    bool shownExposed_ = false;
    int64_t firstWait_ = 0;
    QtPresentationDevice** current_;
    bool boundaryAwaited_ = false;
};

/// The Qt presentation library. One per process; its frame clock is shared by every
/// device so that re-creating the device keeps the frame rhythm. Its frame log records
/// what the environment asks for (platform/FrameLog.h).
class QtPresentationSystem final : public PresentationSystem, public FramePacer {
public:
    QtPresentationSystem();
    /// The current device's wait for the next frame boundary (none without a device).
    void AwaitFrame() override;
    FrameLog& Log() { return log_; }
    bool Loaded() const override { return true; }
    QString LibraryName() const override;
    TPlatformResult CreateDevice(TEntry entry,
                                 std::unique_ptr<PresentationDevice>& device) override;
    void SystemPalette(TPaletteEntries& entries) const override;

private:
    FrameClock frameClock_;
    FrameLog log_;
    QtPresentationDevice* device_ = nullptr;
};

} // namespace fenu
