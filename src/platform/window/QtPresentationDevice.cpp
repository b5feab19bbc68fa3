#include "platform/window/QtPresentationDevice.h"

#include "platform/raster/RasterOps.h"
#include "platform/window/QtDrawAreaWidget.h"

#include <cmath>
#include <utility>

#include <QPainter>

namespace fenu {

namespace {
// The X byte of an X8R8G8B8 pixel is not part of the raw value; Qt wants it set.
constexpr uint32_t OpaqueBits = 0xFF000000u;
constexpr uint32_t RgbBits = 0x00FFFFFFu;
} // namespace

QtOffscreenSurface::QtOffscreenSurface(int32_t width, int32_t height, const PixelRatioSource* ratio)
    : width_(width), height_(height), ratio_(ratio),
      image_(MakeImage(width, height, WantedRatio())) {}

QImage QtOffscreenSurface::MakeImage(int32_t width, int32_t height, double ratio) {
    QImage image(ScaledPixels(width, ratio), ScaledPixels(height, ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

double QtOffscreenSurface::WantedRatio() const {
    if (ratio_ == nullptr)
        return 1.0;
    const double ratio = ratio_->DevicePixelRatio();
    return ratio > 0.0 ? ratio : 1.0;
}

TSurfaceDescription QtOffscreenSurface::Description() const {
    // Every Qt surface lives in main memory. The size is in field pixels, whatever
    // the density of the pixels behind it.
    return TSurfaceDescription{width_, height_, false, true};
}

TPlatformResult QtOffscreenSurface::Fill(uint32_t rawValue) {
    if (DeviceContextOut())
        return PlatformResult::DeviceContextOut;
    // A new density is taken here, where the whole picture is drawn anew anyway:
    // until then the surface keeps the last frame, so a repaint meanwhile shows it
    // (scaled) rather than an empty surface.
    const double ratio = WantedRatio();
    if (ratio != image_.devicePixelRatio()) {
        QImage remade = MakeImage(width_, height_, ratio);
        if (remade.isNull())
            return PlatformResult::OutOfMemory;
        image_ = std::move(remade);
    }
    image_.fill(OpaqueBits | (rawValue & RgbBits));
    return PlatformResult::Ok;
}

TPlatformResult QtOffscreenSurface::FillRects(uint32_t rawValue, std::span<const TRect> areas) {
    if (DeviceContextOut())
        return PlatformResult::DeviceContextOut;
    const double ratio = image_.devicePixelRatio();
    if (WantedRatio() != ratio)
        return PlatformResult::Failed;
    for (const TRect& area : areas) {
        // Every device pixel the field rectangle touches.
        const auto left = static_cast<int64_t>(std::floor(area.Left * ratio));
        const auto top = static_cast<int64_t>(std::floor(area.Top * ratio));
        FillDeviceRect(image_, left, top,
                       static_cast<int64_t>(std::ceil(area.Right * ratio)) - left,
                       static_cast<int64_t>(std::ceil(area.Bottom * ratio)) - top, rawValue);
    }
    return PlatformResult::Ok;
}

TPlatformResult QtOffscreenSurface::GetDC(TCanvas*& deviceContext) {
    deviceContext = nullptr;
    if (DeviceContextOut() || !canvas_.Begin(image_))
        return PlatformResult::Failed;
    deviceContext = &canvas_;
    return PlatformResult::Ok;
}

TPlatformResult QtOffscreenSurface::ReleaseDC() {
    if (!DeviceContextOut())
        return PlatformResult::Failed;
    canvas_.End();
    return PlatformResult::Ok;
}

TPlatformResult QtOffscreenSurface::Blt(const TRect& target, PresentationSurface& source) {
    const QImage* pixels = source.Image();
    auto* offscreen = dynamic_cast<QtOffscreenSurface*>(&source);
    if (pixels == nullptr || DeviceContextOut() ||
        (offscreen != nullptr && offscreen->DeviceContextOut()))
        return PlatformResult::DeviceContextOut;
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(
        QRect(target.Left, target.Top, target.Right - target.Left, target.Bottom - target.Top),
        *pixels);
    return PlatformResult::Ok;
}

TSurfaceDescription QtPrimarySurface::Description() const {
    const QtDrawAreaWidget* window = Window();
    if (window == nullptr)
        return TSurfaceDescription{0, 0, true, false};
    return TSurfaceDescription{window->width(), window->height(), true, false};
}

TPlatformResult QtPrimarySurface::Fill(uint32_t) {
    // The screen belongs to the window system; only copies reach it.
    return PlatformResult::Failed;
}

TPlatformResult QtPrimarySurface::GetDC(TCanvas*& deviceContext) {
    deviceContext = nullptr;
    return PlatformResult::Failed;
}

TPlatformResult QtPrimarySurface::SetClipper(PresentationClipper* clipper) {
    clipper_ = clipper;
    return PlatformResult::Ok;
}

QtDrawAreaWidget* QtPrimarySurface::Window() const {
    if (clipper_ == nullptr)
        return nullptr;
    return dynamic_cast<QtDrawAreaWidget*>(clipper_->Window());
}

TPlatformResult QtPrimarySurface::Blt(const TRect& target, PresentationSurface& source) {
    return PresentChanged(target, source, TChangedArea{});
}

TPlatformResult QtPrimarySurface::PresentChanged(const TRect& target, PresentationSurface& source,
                                                 const TChangedArea& changed) {
    QtDrawAreaWidget* window = Window();
    if (window == nullptr)
        return PlatformResult::NoWindow;
    auto* offscreen = dynamic_cast<QtOffscreenSurface*>(&source);
    if (offscreen == nullptr || offscreen->Image() == nullptr)
        return PlatformResult::Failed;
    if (offscreen->DeviceContextOut())
        return PlatformResult::DeviceContextOut;
    const TPoint origin = window->ClientOrigin();
    window->Present(*offscreen->Image(),
                    QRect(target.Left - origin.X, target.Top - origin.Y, target.Right - target.Left,
                          target.Bottom - target.Top),
                    changed);
    if (log_ != nullptr && log_->Recording())
        log_->Presented(window->Exposed());
    return PlatformResult::Ok;
}

TPlatformResult QtClipper::SetWindow(DrawAreaWindow* window) {
    window_ = window;
    return PlatformResult::Ok;
}

TPlatformResult QtPalette::SetEntries(const TPaletteEntries& entries) {
    entries_ = entries;
    return PlatformResult::Ok;
}

TPlatformResult QtPresentationDevice::GetCaps(TDeviceCaps& driver, TDeviceCaps& emulation) {
    driver.Caps = 0;
    emulation.Caps = 0;
    return PlatformResult::Ok;
}

TPlatformResult QtPresentationDevice::SetCooperativeLevel(DrawAreaWindow* form, bool fullScreen) {
    if (fullScreen)
        return PlatformResult::Failed;
    // The back buffer is made for the density of the screen this window is on.
    ratio_ = dynamic_cast<const PixelRatioSource*>(form);
    window_ = dynamic_cast<const QtDrawAreaWidget*>(form);
    return PlatformResult::Ok;
}

TPlatformResult
QtPresentationDevice::CreatePrimarySurface(std::unique_ptr<PresentationSurface>& surface) {
    surface = std::make_unique<QtPrimarySurface>(log_);
    return PlatformResult::Ok;
}

TPlatformResult
QtPresentationDevice::CreateOffscreenSurface(int32_t width, int32_t height, bool,
                                             std::unique_ptr<PresentationSurface>& surface) {
    surface.reset();
    if (width <= 0 || height <= 0)
        return PlatformResult::Failed;
    auto created = std::make_unique<QtOffscreenSurface>(width, height, ratio_);
    if (!created->Valid())
        return PlatformResult::OutOfMemory;
    surface = std::move(created);
    return PlatformResult::Ok;
}

TPlatformResult QtPresentationDevice::CreateClipper(std::unique_ptr<PresentationClipper>& clipper) {
    clipper = std::make_unique<QtClipper>();
    return PlatformResult::Ok;
}

TPlatformResult QtPresentationDevice::CreatePalette(const TPaletteEntries& entries,
                                                    std::unique_ptr<PresentationPalette>& palette) {
    palette = std::make_unique<QtPalette>(entries);
    return PlatformResult::Ok;
}

QtPresentationDevice::QtPresentationDevice(FrameClock& frameClock, FrameLog* log,
                                           QtPresentationDevice** current)
    : frameClock_(frameClock), log_(log), current_(current) {
    if (current_ != nullptr)
        *current_ = this;
}

QtPresentationDevice::~QtPresentationDevice() {
    if (current_ != nullptr && *current_ == this)
        *current_ = nullptr;
}

void QtPresentationDevice::AwaitBoundary() {
    boundaryAwaited_ = false;
    WaitForVerticalBlank();
    boundaryAwaited_ = true;
}

TPlatformResult QtPresentationDevice::WaitForVerticalBlank() {
    if (std::exchange(boundaryAwaited_, false))
        return PlatformResult::Ok;
    // Frames before the window is on screen are seen by nobody, and sleeping through
    // them only delays the moment it appears: until then (for at most a second, so a
    // window that starts hidden does not keep a core busy) frames do not wait, and the
    // first frame that can be seen goes out at once and starts the 60 Hz grid. The
    // paint that first shows one of the frames before is the start-up's end.
    bool wait = true;
    if (!shownExposed_ && window_ != nullptr) {
        const int64_t now = FrameClock::Now();
        if (firstWait_ == 0)
            firstWait_ = now;
        if (window_->Exposed()) {
            shownExposed_ = true;
            frameClock_.Restart();
        } else if (now - firstWait_ < FrameClock::NanosecondsPerSecond) {
            wait = false;
        }
    }
    if (wait)
        frameClock_.WaitForNextFrame();
    if (log_ != nullptr && log_->Recording())
        log_->BoundaryReached(wait);
    return PlatformResult::Ok;
}

QtPresentationSystem::QtPresentationSystem()
    : log_(FrameLog::EnvironmentPath(FrameLog::FrameVariable),
           FrameLog::EnvironmentPath(FrameLog::StartupVariable)) {}

QString QtPresentationSystem::LibraryName() const {
    return QStringLiteral("Qt6Gui");
}

TPlatformResult QtPresentationSystem::CreateDevice(TEntry,
                                                   std::unique_ptr<PresentationDevice>& device) {
    device = std::make_unique<QtPresentationDevice>(frameClock_, &log_, &device_);
    return PlatformResult::Ok;
}

void QtPresentationSystem::AwaitFrame() {
    if (device_ != nullptr)
        device_->AwaitBoundary();
}

void QtPresentationSystem::SystemPalette(TPaletteEntries& entries) const {
    // A true-colour desktop has no system palette; a grey ramp stands in.
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto level = static_cast<uint8_t>(i);
        entries[i] = TPaletteEntry{level, level, level, 0};
    }
}

} // namespace fenu
