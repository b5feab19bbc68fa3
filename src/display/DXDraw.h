#pragma once

// The drawing area: the game field on screen, with its off-screen back buffer.
//
// Wiring it into a Qt main window (ui/):
//     auto* area = new fenu::QtDrawAreaWidget(this);      // platform/QtDrawAreaWidget.h
//     area->setGeometry(0, 0, 625, 500);                  // the client area of the form
//     fenu::QtPresentationSystem presentation;            // one per process, outlives DXDraw
//     fenu::TDXDraw DXDraw(*area, presentation);          // e.g. a member of the form
//     DXDraw.OnMouseDown = [this](fenu::TMouseButton b, int x, int y) { ... };
//     DXDraw.Loaded();                                    // after its properties are set
// The first showing of the form initializes it (AutoInitialize). A frame:
//     DXDraw.Surface()->Fill(0);
//     fenu::TCanvas& canvas = DXDraw.Surface()->Canvas(); // draw ...
//     DXDraw.Surface()->ReleaseCanvas();                  // before Flip and the next Fill
//     DXDraw.Flip();                                      // waits for the 60 Hz frame boundary
// Surface() is null until the area is initialized (and after a failed initialization).

#include "display/DXDrawOptions.h"
#include "display/DirectDrawSurface.h"
#include "platform/DrawAreaWindow.h"

#include <functional>
#include <memory>
#include <vector>

namespace fenu {

class TCustomDXDraw;
class TDXDrawDriver;

/// The notices a drawing area sends to the components registered with it.
enum class TDrawAreaNotice {
    anDestroying = 0,
    anInitializing = 1,
    anInitialized = 2,
    anSurfaceReady = 3,
    anFinalized = 4,
    anSurfaceReleased = 5,
    anRestored = 6,
    anSizeChanged = 7,
};

/// A notice handler; (handler, context) pairs are registered, compared and removed
/// as a whole.
using TDXDrawNotifyHandler = void (*)(void* context, TCustomDXDraw& sender, TDrawAreaNotice notice);

class TCustomDXDraw : private DrawAreaWindowListener {
public:
    using TNotifyEvent = std::function<void(TCustomDXDraw& sender)>;
    using TMouseEvent = std::function<void(TMouseButton button, int x, int y)>;

    /// The control is created as if from a form description: set its properties,
    /// then call Loaded(). window must outlive the control or tell it of its end.
    TCustomDXDraw(DrawAreaWindow& window, PresentationSystem& system);
    ~TCustomDXDraw() override;
    TCustomDXDraw(const TCustomDXDraw&) = delete;
    TCustomDXDraw& operator=(const TCustomDXDraw&) = delete;

    /// The form description has been read.
    void Loaded();

    bool AutoInitialize = true;
    bool AutoSize = true;
    /// Flip hands the window only the part of the frame that differs from the frame
    /// before it, and a fill of the back buffer in its colour clears only what was
    /// drawn since; off, every frame is filled and goes whole.
    bool ChangesOnly = true;

    TDXDrawOptions Options() const { return options_; }
    void SetOptions(TDXDrawOptions options);
    TDXDrawOptions EffectiveOptions() const { return effectiveOptions_; }

    /// The back buffer's size: its real size while it exists, else the stored one.
    int32_t SurfaceWidth() const;
    int32_t SurfaceHeight() const;
    void SetSurfaceSize(int32_t width, int32_t height);

    bool Initialized() const { return initialized_; }
    bool Started() const { return started_; }
    bool Updating() const { return updating_; }
    bool AutoInitTried() const { return autoInitTried_; }

    /// The back buffer; null while not initialized.
    TDirectDrawSurface* Surface() const { return surface_; }
    TDirectDrawSurface* PrimarySurface() const { return primarySurface_; }
    TDirectDrawClipper* Clipper() const { return clipper_; }
    TDirectDrawPalette* Palette() const { return palette_; }
    TDirectDraw* DDraw() const;

    void Initialize();
    void Finalize();
    void Restore();
    /// Presents the back buffer when the area is usable; does nothing otherwise.
    void Flip();
    /// Whether the surfaces can be presented now (restoring lost ones first).
    bool CanDraw();

    void AddNotifyHandler(TDXDrawNotifyHandler handler, void* context);
    void RemoveNotifyHandler(TDXDrawNotifyHandler handler, void* context);

    /// The control's window client area: its screen origin and size.
    TPoint ClientOrigin() const;
    int ClientWidth() const;
    int ClientHeight() const;

    TNotifyEvent OnFinalize;
    TNotifyEvent OnFinalizeSurface;
    TNotifyEvent OnInitialize;
    TNotifyEvent OnInitializeSurface;
    TNotifyEvent OnInitializing;
    TNotifyEvent OnRestoreSurface;
    TMouseEvent OnMouseDown;

private:
    friend class TDXDrawDriver;
    friend class TDXDrawDriverBlt;

    struct TNotifyEntry {
        TDXDrawNotifyHandler Handler;
        void* Context;
    };

    void Send(TDrawAreaNotice notice);
    void Call(const TNotifyEvent& event) {
        if (event)
            event(*this);
    }
    void Paint();

    // What the window reports.
    void FormShown() override;
    void WindowDestroying() noexcept override;
    void PaintRequested() override;
    void Resized(int width, int height) override;
    void MouseDown(TMouseButton button, int x, int y) override;

    DrawAreaWindow* window_;
    PresentationSystem& system_;
    bool loading_ = true;
    bool initEventDone_ = false;
    bool surfaceEventDone_ = false;
    std::vector<TNotifyEntry> notifyHandlers_;
    bool initialized_ = false;
    bool autoInitTried_ = false;
    bool started_ = false;
    bool updating_ = false;
    TDXDrawOptions effectiveOptions_;
    TDXDrawOptions options_;
    int32_t initNoticeDepth_ = 0;
    std::unique_ptr<TDXDrawDriver> presenter_;
    TDirectDrawClipper* clipper_ = nullptr;
    TDirectDrawPalette* palette_ = nullptr;
    TDirectDrawSurface* primarySurface_ = nullptr;
    TDirectDrawSurface* surface_ = nullptr;
    int32_t surfaceWidth_ = 640;
    int32_t surfaceHeight_ = 480;
    TPaletteEntries paletteTables_[2];
};

/// The drawing area as the form uses it.
class TDXDraw final : public TCustomDXDraw {
public:
    using TCustomDXDraw::TCustomDXDraw;
};

} // namespace fenu
