#include "display/DirectDraw.h"

#include "display/DXErrors.h"
#include "display/DirectDrawSurface.h"

#include <algorithm>

namespace fenu {

namespace {
template <class T> void Erase(std::vector<std::unique_ptr<T>>& list, T* item) {
    auto found = std::find_if(list.begin(), list.end(), [item](const std::unique_ptr<T>& owned) {
        return owned.get() == item;
    });
    if (found != list.end())
        list.erase(found);
}
} // namespace

TDirectDrawClipper::TDirectDrawClipper(std::unique_ptr<PresentationClipper> clipper)
    : clipper_(std::move(clipper)) {}

void TDirectDrawClipper::SetWindow(DrawAreaWindow* window) {
    if (clipper_ == nullptr)
        throw EDirectDrawClipperError(DXMessages::NotMade("IDirectDrawClipper"));
    Record(clipper_->SetWindow(window));
}

TDirectDrawPalette::TDirectDrawPalette(std::unique_ptr<PresentationPalette> palette)
    : palette_(std::move(palette)) {}

void TDirectDrawPalette::SetEntries(const TPaletteEntries& entries) {
    if (palette_ == nullptr)
        throw EDirectDrawPaletteError(DXMessages::NotMade("IDirectDrawPalette"));
    Record(palette_->SetEntries(entries));
}

TDirectDraw::TDirectDraw(PresentationSystem& system, bool version7) {
    if (!system.Loaded())
        throw Exception(DXMessages::NotLoaded(system.LibraryName()));
    const auto entry =
        version7 ? PresentationSystem::TEntry::Version7 : PresentationSystem::TEntry::Classic;
    if (Record(system.CreateDevice(entry, device_)) != PlatformResult::Ok || device_ == nullptr) {
        device_.reset();
        throw EDirectDrawError(DXMessages::CannotBeInitialized("DirectDraw"));
    }
    using TInterface = PresentationDevice::TInterface;
    if (version7) {
        if (!device_->HasInterface(TInterface::Base) ||
            !device_->HasInterface(TInterface::Version4))
            throw EDirectDrawError(QString::fromLatin1(DXMessages::NecessaryDirectX7));
    } else if (!device_->HasInterface(TInterface::Version4)) {
        throw EDirectDrawError(QString::fromLatin1(DXMessages::NecessaryDirectX6));
    }
    // Asked for as the interface requires; nothing here depends on them.
    TDeviceCaps driverCaps{}, emulationCaps{};
    driverCaps.Size = emulationCaps.Size = sizeof(TDeviceCaps);
    Record(device_->GetCaps(driverCaps, emulationCaps));
}

TDirectDraw::~TDirectDraw() {
    // Surfaces first: a primary surface may still point at a clipper or palette.
    surfaces_.clear();
    clippers_.clear();
    palettes_.clear();
}

PresentationDevice& TDirectDraw::Device() const {
    return *device_;
}

void TDirectDraw::SetCooperativeLevel(DrawAreaWindow* form, bool fullScreen) {
    Record(device_->SetCooperativeLevel(form, fullScreen));
}

void TDirectDraw::WaitForVerticalBlank() {
    Record(device_->WaitForVerticalBlank());
}

TDirectDrawSurface& TDirectDraw::NewSurface() {
    surfaces_.push_back(std::make_unique<TDirectDrawSurface>(*this));
    return *surfaces_.back();
}

TDirectDrawClipper& TDirectDraw::NewClipper() {
    std::unique_ptr<PresentationClipper> platform;
    if (Record(device_->CreateClipper(platform)) != PlatformResult::Ok || platform == nullptr)
        throw EDirectDrawClipperError(DXMessages::CannotBeMade("Clipper"));
    clippers_.push_back(std::make_unique<TDirectDrawClipper>(std::move(platform)));
    return *clippers_.back();
}

TDirectDrawPalette* TDirectDraw::NewPalette(const TPaletteEntries& entries) {
    std::unique_ptr<PresentationPalette> platform;
    if (Record(device_->CreatePalette(entries, platform)) != PlatformResult::Ok ||
        platform == nullptr)
        return nullptr;
    palettes_.push_back(std::make_unique<TDirectDrawPalette>(std::move(platform)));
    return palettes_.back().get();
}

void TDirectDraw::Destroy(TDirectDrawSurface* surface) {
    Erase(surfaces_, surface);
}
void TDirectDraw::Destroy(TDirectDrawClipper* clipper) {
    Erase(clippers_, clipper);
}
void TDirectDraw::Destroy(TDirectDrawPalette* palette) {
    Erase(palettes_, palette);
}

} // namespace fenu
