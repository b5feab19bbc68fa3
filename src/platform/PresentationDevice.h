#pragma once

#include "platform/Geometry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include <QString>

class QImage;

namespace fenu {

class TCanvas;
class DrawAreaWindow;

/// Result of a presentation call: 0 is success, anything else a failure code.
using TPlatformResult = int32_t;

/// The failure codes the drawing area tells apart; other non-zero values are
/// plain failures.
struct PlatformResult {
    static constexpr TPlatformResult Ok = 0;
    static constexpr TPlatformResult Failed = -1;
    /// The surface lost its memory and must be restored before use.
    static constexpr TPlatformResult SurfaceLost = -2;
    /// The surface's device context is out; fills and copies wait for its return.
    static constexpr TPlatformResult DeviceContextOut = -3;
    static constexpr TPlatformResult OutOfMemory = -4;
    static constexpr TPlatformResult NoWindow = -5;
};

/// What a created surface is: its size and where its memory lies.
struct TSurfaceDescription {
    int32_t Width = 0;
    int32_t Height = 0;
    bool Primary = false;
    bool SystemMemory = false;
};

struct TPaletteEntry {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    uint8_t Flags = 0;
};
using TPaletteEntries = std::array<TPaletteEntry, 256>;

/// What differs in a back buffer from the picture last presented from it: the whole
/// picture, or the listed rectangles in the buffer's field pixels (none: nothing).
///
/// A whole picture that is one fill with a few calls on it (a fade's frame) also
/// tells the fill's raw value, and Rects then hold everything not of that colour: a
/// window system that can fill on its side need be handed only those.
struct TChangedArea {
    bool Whole = true;
    std::span<const TRect> Rects;
    std::optional<uint32_t> Fill;
};

/// Capabilities of the driver or its emulation; only recorded by the drawing area.
struct TDeviceCaps {
    uint32_t Size = 0;
    uint32_t Caps = 0;
};

/// Limits copies onto the primary surface to the visible part of one window.
class PresentationClipper {
public:
    virtual ~PresentationClipper() = default;
    virtual TPlatformResult SetWindow(DrawAreaWindow* window) = 0;
    virtual DrawAreaWindow* Window() const = 0;
};

/// An 8-bit palette. On the 32-bit surfaces of this system it has no visible effect.
class PresentationPalette {
public:
    virtual ~PresentationPalette() = default;
    virtual TPlatformResult SetEntries(const TPaletteEntries& entries) = 0;
};

/// One surface: the primary surface (the visible window) or an off-screen buffer.
/// Off-screen pixels are 32-bit 0x00RRGGBB.
class PresentationSurface {
public:
    virtual ~PresentationSurface() = default;
    virtual TSurfaceDescription Description() const = 0;
    /// Fills the whole surface with a raw pixel value.
    virtual TPlatformResult Fill(uint32_t rawValue) = 0;
    /// Fills only the given rectangles (field pixels); Failed, with nothing filled,
    /// where the surface cannot or where a whole fill would do more (a new density).
    virtual TPlatformResult FillRects(uint32_t /*rawValue*/, std::span<const TRect> /*areas*/) {
        return PlatformResult::Failed;
    }
    /// Hands out the device context for 2-D drawing; it stays valid until ReleaseDC.
    virtual TPlatformResult GetDC(TCanvas*& deviceContext) = 0;
    virtual TPlatformResult ReleaseDC() = 0;
    /// 0 for a usable surface, SurfaceLost for a lost one.
    virtual TPlatformResult IsLost() = 0;
    virtual TPlatformResult Restore() = 0;
    virtual TPlatformResult SetClipper(PresentationClipper* clipper) = 0;
    virtual TPlatformResult SetPalette(PresentationPalette* palette) = 0;
    /// Copies the whole of source onto target (screen coordinates for the primary
    /// surface), stretching when the sizes differ; clipped by the clipper.
    virtual TPlatformResult Blt(const TRect& target, PresentationSurface& source) = 0;
    /// Blt of a back buffer onto the primary surface, told what differs from the
    /// picture last presented from it, so that only that part need reach the screen.
    virtual TPlatformResult PresentChanged(const TRect& target, PresentationSurface& source,
                                           const TChangedArea& /*changed*/) {
        return Blt(target, source);
    }
    /// The pixels of an off-screen surface; null for the primary surface.
    virtual const QImage* Image() const = 0;
};

/// The presentation device, the counterpart of the platform's DirectDraw object.
class PresentationDevice {
public:
    /// The interface generations a device may offer.
    enum class TInterface { Base, Version4, Version7 };

    virtual ~PresentationDevice() = default;
    virtual bool HasInterface(TInterface which) const = 0;
    virtual TPlatformResult GetCaps(TDeviceCaps& driver, TDeviceCaps& emulation) = 0;
    virtual TPlatformResult SetCooperativeLevel(DrawAreaWindow* form, bool fullScreen) = 0;
    virtual TPlatformResult CreatePrimarySurface(std::unique_ptr<PresentationSurface>& surface) = 0;
    virtual TPlatformResult
    CreateOffscreenSurface(int32_t width, int32_t height, bool systemMemory,
                           std::unique_ptr<PresentationSurface>& surface) = 0;
    virtual TPlatformResult CreateClipper(std::unique_ptr<PresentationClipper>& clipper) = 0;
    virtual TPlatformResult CreatePalette(const TPaletteEntries& entries,
                                          std::unique_ptr<PresentationPalette>& palette) = 0;
    /// Blocks until the beginning of the next vertical blank.
    virtual TPlatformResult WaitForVerticalBlank() = 0;
};

/// The entry points of the presentation library: loaded once per process.
class PresentationSystem {
public:
    /// Which creation entry point to use.
    enum class TEntry { Version7, Classic };

    virtual ~PresentationSystem() = default;
    /// Whether the library and its entry points are present.
    virtual bool Loaded() const = 0;
    virtual QString LibraryName() const = 0;
    virtual TPlatformResult CreateDevice(TEntry entry,
                                         std::unique_ptr<PresentationDevice>& device) = 0;
    /// The current system palette (used only on 8-bit desktops).
    virtual void SystemPalette(TPaletteEntries& entries) const = 0;
};

} // namespace fenu
