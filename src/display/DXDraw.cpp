#include "display/DXDraw.h"

#include "display/DXDrawDriver.h"
#include "display/DXErrors.h"

#include <algorithm>
#include <exception>

namespace fenu {

namespace {
using enum TDXDrawOption;
using enum TDrawAreaNotice;

/// Runs step and keeps the first exception it raises in failure, so that the
/// steps after it still run.
template <class Step> void RunKeepingFirstFailure(std::exception_ptr& failure, Step&& step) {
    try {
        step();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
}
} // namespace

TCustomDXDraw::TCustomDXDraw(DrawAreaWindow& window, PresentationSystem& system)
    : window_(&window), system_(system) {
    options_ = DefaultDXDrawOptions;
    effectiveOptions_ = EffectiveDXDrawOptions(options_, effectiveOptions_, false);
    system_.SystemPalette(paletteTables_[0]);
    paletteTables_[1] = paletteTables_[0];
    window_->SetListener(this);
}

TCustomDXDraw::~TCustomDXDraw() {
    // A destructor cannot pass an exception on; an event handler that raises
    // during this last finalization is not reported.
    try {
        Finalize();
    } catch (...) {
    }
    try {
        Send(anDestroying);
    } catch (...) {
    }
    if (window_ != nullptr)
        window_->SetListener(nullptr);
}

void TCustomDXDraw::Loaded() {
    loading_ = false;
    if (AutoSize && window_ != nullptr) {
        surfaceWidth_ = window_->ClientWidth();
        surfaceHeight_ = window_->ClientHeight();
    }
    Send(anSizeChanged);
    if (AutoInitialize && (window_ == nullptr || !window_->HasForm()))
        Initialize();
}

void TCustomDXDraw::SetOptions(TDXDrawOptions options) {
    options_ = options;
    effectiveOptions_ = EffectiveDXDrawOptions(options_, effectiveOptions_, initialized_);
}

int32_t TCustomDXDraw::SurfaceWidth() const {
    return surface_ != nullptr && surface_->HasSurface() ? surface_->Width() : surfaceWidth_;
}

int32_t TCustomDXDraw::SurfaceHeight() const {
    return surface_ != nullptr && surface_->HasSurface() ? surface_->Height() : surfaceHeight_;
}

void TCustomDXDraw::SetSurfaceSize(int32_t width, int32_t height) {
    if (loading_) {
        surfaceWidth_ = width;
        surfaceHeight_ = height;
        return;
    }
    if ((width == SurfaceWidth() && height == SurfaceHeight()) || updating_)
        return;
    if (initialized_ && presenter_ != nullptr) {
        updating_ = true;
        bool resized = false;
        try {
            resized = presenter_->SetSize(width, height);
        } catch (...) {
            updating_ = false;
            Finalize();
            throw;
        }
        updating_ = false;
        if (!resized) {
            surfaceWidth_ = width;
            surfaceHeight_ = height;
        }
    } else {
        surfaceWidth_ = width;
        surfaceHeight_ = height;
    }
    Send(anSizeChanged);
}

TDirectDraw* TCustomDXDraw::DDraw() const {
    return presenter_ != nullptr ? &presenter_->DDraw() : nullptr;
}

void TCustomDXDraw::Initialize() {
    autoInitTried_ = true;
    Finalize();
    if (window_ == nullptr || !window_->HasForm())
        throw EDXDrawError(QString::fromLatin1(DXMessages::FormNotFound));

    try {
        Call(OnInitializing);
        updating_ = true;
        started_ = true;
        Send(anInitializing);
        // Full-screen presentation is not part of this system: the copying
        // presenter serves every drawing area.
        presenter_ = std::make_unique<TDXDrawDriverBlt>(*this);
        presenter_->DDraw().SetCooperativeLevel(window_, false);
        if (AutoSize) {
            surfaceWidth_ = window_->ClientWidth();
            surfaceHeight_ = window_->ClientHeight();
        }
        try {
            presenter_->CreateSurfaces();
        } catch (...) {
            updating_ = false;
            throw;
        }
        updating_ = false;
    } catch (...) {
        Finalize();
        throw;
    }

    initialized_ = true;
    ++initNoticeDepth_;
    try {
        Send(anSizeChanged);
        Send(anInitialized);
        initEventDone_ = true;
        Call(OnInitialize);
        Send(anSurfaceReady);
        surfaceEventDone_ = true;
        Call(OnInitializeSurface);
    } catch (...) {
        --initNoticeDepth_;
        throw;
    }
    --initNoticeDepth_;

    Restore();
}

void TCustomDXDraw::Finalize() {
    if (!started_)
        return;
    if (surface_ != nullptr && surface_->HasSurface()) {
        surfaceWidth_ = surface_->Width();
        surfaceHeight_ = surface_->Height();
    }
    updating_ = true;

    // Every step runs even when an event handler raises: the registered
    // components must always learn that the surface is gone, and the platform
    // objects must always be released. The first exception goes on afterwards.
    std::exception_ptr failure;
    if (surfaceEventDone_) {
        surfaceEventDone_ = false;
        RunKeepingFirstFailure(failure, [this] { Call(OnFinalizeSurface); });
    }
    RunKeepingFirstFailure(failure, [this] { Send(anSurfaceReleased); });
    if (initEventDone_) {
        initEventDone_ = false;
        RunKeepingFirstFailure(failure, [this] { Call(OnFinalize); });
    }
    RunKeepingFirstFailure(failure, [this] { Send(anFinalized); });

    started_ = false;
    initialized_ = false;
    effectiveOptions_ = EffectiveDXDrawOptions(options_, effectiveOptions_, false);
    if (presenter_ != nullptr)
        presenter_->ReleaseSurfaces();
    presenter_.reset();
    updating_ = false;
    if (failure)
        std::rethrow_exception(failure);
}

void TCustomDXDraw::Restore() {
    if (!initialized_ || updating_)
        return;
    updating_ = true;
    try {
        const bool primaryRestored = primarySurface_->Restore();
        const bool surfaceRestored = surface_->Restore();
        if (primaryRestored && surfaceRestored) {
            primarySurface_->Fill(0);
            surface_->Fill(0);
            primarySurface_->SetPalette(palette_);
            surface_->SetPalette(palette_);
            if (palette_ != nullptr)
                palette_->SetEntries(paletteTables_[0]);
            Send(anRestored);
            Call(OnRestoreSurface);
            if (palette_ != nullptr)
                palette_->SetEntries(paletteTables_[1]);
        }
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

bool TCustomDXDraw::CanDraw() {
    if (!initialized_ || updating_)
        return false;
    if (primarySurface_ == nullptr || !primarySurface_->HasSurface() || surface_ == nullptr)
        return false;
    if (!primarySurface_->IsLost() && !surface_->IsLost())
        return true;
    Restore();
    if (!initialized_)
        return false;
    // Usable only when neither surface reports any error after the restore.
    primarySurface_->IsLost();
    surface_->IsLost();
    return primarySurface_->DXResult() == PlatformResult::Ok &&
           surface_->DXResult() == PlatformResult::Ok;
}

void TCustomDXDraw::Flip() {
    if (!CanDraw())
        return;
    presenter_->Flip();
}

void TCustomDXDraw::Paint() {
    // The last frame reappears at once: no wait for the frame boundary.
    const bool waited = effectiveOptions_.Contains(doWaitVBlank);
    effectiveOptions_.Exclude(doWaitVBlank);
    try {
        Flip();
    } catch (...) {
        if (waited)
            effectiveOptions_.Include(doWaitVBlank);
        throw;
    }
    if (waited)
        effectiveOptions_.Include(doWaitVBlank);
    if (window_ != nullptr && window_->HasForm() && initialized_ && surface_ != nullptr &&
        !surface_->SystemMemory())
        window_->RequestParentRepaint();
}

void TCustomDXDraw::AddNotifyHandler(TDXDrawNotifyHandler handler, void* context) {
    RemoveNotifyHandler(handler, context);
    notifyHandlers_.push_back(TNotifyEntry{handler, context});
    handler(context, *this, anSizeChanged);
    if (initialized_) {
        handler(context, *this, anInitialized);
        if (surfaceEventDone_)
            handler(context, *this, anSurfaceReady);
        if (initNoticeDepth_ == 0)
            handler(context, *this, anRestored);
    }
}

void TCustomDXDraw::RemoveNotifyHandler(TDXDrawNotifyHandler handler, void* context) {
    auto found = std::find_if(notifyHandlers_.begin(), notifyHandlers_.end(),
                              [&](const TNotifyEntry& entry) {
                                  return entry.Handler == handler && entry.Context == context;
                              });
    if (found == notifyHandlers_.end())
        return;
    notifyHandlers_.erase(found);
    if (surfaceEventDone_)
        handler(context, *this, anSurfaceReleased);
    if (initialized_)
        handler(context, *this, anFinalized);
}

void TCustomDXDraw::Send(TDrawAreaNotice notice) {
    // Most recently registered first. A handler may unregister itself (or others)
    // while it is told, so the index is checked against the live list each time.
    for (size_t i = notifyHandlers_.size(); i-- > 0;) {
        if (i >= notifyHandlers_.size())
            continue;
        const TNotifyEntry entry = notifyHandlers_[i];
        entry.Handler(entry.Context, *this, notice);
    }
}

TPoint TCustomDXDraw::ClientOrigin() const {
    return window_ != nullptr ? window_->ClientOrigin() : TPoint{};
}

int TCustomDXDraw::ClientWidth() const {
    return window_ != nullptr ? window_->ClientWidth() : 0;
}

int TCustomDXDraw::ClientHeight() const {
    return window_ != nullptr ? window_->ClientHeight() : 0;
}

void TCustomDXDraw::FormShown() {
    if (AutoInitialize && !autoInitTried_)
        Initialize();
}

void TCustomDXDraw::WindowDestroying() noexcept {
    // Nothing may be presented into a window that is going away. This runs while
    // the window is destroyed, where no exception can be passed on: a raising
    // finalization event is dropped, the platform objects are released anyway.
    try {
        Finalize();
    } catch (...) {
    }
    window_ = nullptr;
}

void TCustomDXDraw::PaintRequested() {
    Paint();
}

void TCustomDXDraw::Resized(int width, int height) {
    if (AutoSize && !updating_)
        SetSurfaceSize(width, height);
}

void TCustomDXDraw::MouseDown(TMouseButton button, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(button, x, y);
}

} // namespace fenu
