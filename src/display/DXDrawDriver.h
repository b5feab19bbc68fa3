#pragma once

#include "display/DXDraw.h"
#include "display/DXDrawOptions.h"
#include "display/DirectDraw.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>

namespace fenu {

/// The presenter: creates the surfaces and presents the frame.
class TDXDrawDriver {
public:
    /// Creates the device wrapper (which may raise).
    explicit TDXDrawDriver(TCustomDXDraw& area);
    virtual ~TDXDrawDriver();
    TDXDrawDriver(const TDXDrawDriver&) = delete;
    TDXDrawDriver& operator=(const TDXDrawDriver&) = delete;

    TDirectDraw& DDraw() { return *ddraw_; }
    /// Releases every surface, the clipper and the palette.
    virtual void ReleaseSurfaces();
    virtual void Flip() = 0;
    virtual void CreateSurfaces() = 0;
    /// Re-creates the back buffer for a new size; false when this presenter cannot.
    virtual bool SetSize(int32_t width, int32_t height);

protected:
    TCustomDXDraw& area_;
    std::unique_ptr<TDirectDraw> ddraw_;
};

/// The copying presenter of a windowed drawing area.
class TDXDrawDriverBlt final : public TDXDrawDriver {
public:
    using TDXDrawDriver::TDXDrawDriver;
    void Flip() override;
    void CreateSurfaces() override;
    bool SetSize(int32_t width, int32_t height) override;

    /// Where Flip puts the back buffer: the rectangle on screen, from the control's
    /// client origin and size, the surface size and the options.
    static TRect FlipTarget(TPoint origin, int controlWidth, int controlHeight, int surfaceWidth,
                            int surfaceHeight, TDXDrawOptions options);

private:
    void CreateBackBuffer();
};

} // namespace fenu
