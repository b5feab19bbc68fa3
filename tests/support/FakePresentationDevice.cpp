#include "support/FakePresentationDevice.h"

#include <algorithm>

#include <QPainter>

namespace fenu::test {

void FakePresentationState::SetAllLost(bool lost) {
    for (FakeSurface* surface : LiveSurfaces)
        surface->Lost = lost;
}

FakeSurface::FakeSurface(FakePresentationState& state, int32_t width, int32_t height, bool primary,
                         bool systemMemory)
    : state_(state), description_{width, height, primary, systemMemory} {
    if (!primary)
        image_ = QImage(width, height, QImage::Format_RGB32);
    state_.LiveSurfaces.push_back(this);
}

FakeSurface::~FakeSurface() {
    canvas_.End();
    auto& live = state_.LiveSurfaces;
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

TPlatformResult FakeSurface::Fill(uint32_t rawValue) {
    if (Lost)
        return PlatformResult::SurfaceLost;
    if (DeviceContextOut())
        return PlatformResult::DeviceContextOut;
    if (!description_.Primary)
        image_.fill(0xFF000000u | rawValue);
    return PlatformResult::Ok;
}

TPlatformResult FakeSurface::GetDC(TCanvas*& deviceContext) {
    deviceContext = nullptr;
    if (state_.GetDCFails || Lost || description_.Primary || DeviceContextOut())
        return PlatformResult::Failed;
    if (!canvas_.Begin(image_))
        return PlatformResult::Failed;
    deviceContext = &canvas_;
    return PlatformResult::Ok;
}

TPlatformResult FakeSurface::ReleaseDC() {
    if (!DeviceContextOut())
        return PlatformResult::Failed;
    canvas_.End();
    return PlatformResult::Ok;
}

TPlatformResult FakeSurface::IsLost() {
    return Lost ? PlatformResult::SurfaceLost : PlatformResult::Ok;
}

TPlatformResult FakeSurface::Restore() {
    if (state_.RestoreFails)
        return PlatformResult::Failed;
    Lost = false;
    return PlatformResult::Ok;
}

TPlatformResult FakeSurface::SetClipper(PresentationClipper* clipper) {
    clipper_ = clipper;
    return PlatformResult::Ok;
}

TPlatformResult FakeSurface::SetPalette(PresentationPalette* palette) {
    palette_ = palette;
    return PlatformResult::Ok;
}

TPlatformResult FakeSurface::Blt(const TRect& target, PresentationSurface& source) {
    auto* from = dynamic_cast<FakeSurface*>(&source);
    if (Lost || from == nullptr || from->Lost)
        return PlatformResult::SurfaceLost;
    if (DeviceContextOut() || from->DeviceContextOut())
        return PlatformResult::DeviceContextOut;
    if (description_.Primary) {
        state_.PrimaryCopies.push_back(target);
    } else {
        QPainter painter(&image_);
        painter.drawImage(
            QRect(target.Left, target.Top, target.Right - target.Left, target.Bottom - target.Top),
            from->image_);
    }
    return PlatformResult::Ok;
}

bool FakeDevice::HasInterface(TInterface which) const {
    return state_.MissingInterfaces.count(which) == 0;
}

TPlatformResult FakeDevice::CreatePrimarySurface(std::unique_ptr<PresentationSurface>& surface) {
    if (state_.PrimaryFails)
        return PlatformResult::Failed;
    surface = std::make_unique<FakeSurface>(state_, 0, 0, true, false);
    return PlatformResult::Ok;
}

TPlatformResult FakeDevice::CreateOffscreenSurface(int32_t width, int32_t height, bool systemMemory,
                                                   std::unique_ptr<PresentationSurface>& surface) {
    state_.LastOffscreenAskedSystemMemory = systemMemory;
    if ((systemMemory && state_.SystemMemoryFails) || (!systemMemory && state_.VideoMemoryFails))
        return PlatformResult::OutOfMemory;
    surface = std::make_unique<FakeSurface>(state_, width, height, false, systemMemory);
    return PlatformResult::Ok;
}

TPlatformResult FakeDevice::CreateClipper(std::unique_ptr<PresentationClipper>& clipper) {
    if (state_.ClipperFails)
        return PlatformResult::Failed;
    clipper = std::make_unique<FakeClipper>();
    return PlatformResult::Ok;
}

TPlatformResult FakeDevice::CreatePalette(const TPaletteEntries&,
                                          std::unique_ptr<PresentationPalette>& palette) {
    if (state_.PaletteFails)
        return PlatformResult::Failed;
    palette = std::make_unique<FakePalette>();
    return PlatformResult::Ok;
}

TPlatformResult FakeDevice::WaitForVerticalBlank() {
    ++state_.VerticalBlankWaits;
    return PlatformResult::Ok;
}

TPlatformResult FakePresentationSystem::CreateDevice(TEntry entry,
                                                     std::unique_ptr<PresentationDevice>& device) {
    State.EntryUsed = entry;
    if (State.CreateDeviceFails)
        return PlatformResult::Failed;
    ++State.DevicesCreated;
    device = std::make_unique<FakeDevice>(State);
    return PlatformResult::Ok;
}

} // namespace fenu::test
