#pragma once

#include "platform/DrawAreaWindow.h"
#include "platform/PixelRatioSource.h"
#include "platform/PresentationDevice.h"
#include "platform/window/WindowFill.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class QPainter;

namespace fenu {

/// The drawing area's window: a plain child widget of the main form that shows the
/// frames presented into it, forwards mouse presses and shows the cross-hair
/// cursor. It also watches its form for the first showing.
///
/// The drawing area control (display/DXDraw.h) is not a widget; it drives this one
/// through DrawAreaWindow. Create the widget as a child of the main window, give it
/// its size, and hand it to the TDXDraw constructor.
///
/// On a high-density screen the back buffer has the screen's device pixel ratio, so
/// frames reach the screen pixel for pixel; sizes and positions given to and reported
/// by the widget stay in field pixels.
///
/// A frame of the window's own size and density is painted straight from the back
/// buffer during the synchronous repaint, without a copy of its own; the widget keeps
/// no reference to it afterwards, and a paint request from the window system asks the
/// listener to present its frame again. Frames that must be scaled, frames presented
/// with no listener and frames the window could not paint at once (hidden) go into a
/// kept image instead; that image also shows around a frame smaller than the window
/// and wherever a paint request gets no frame.
///
/// A frame presented with the part that differs from the frame before it repaints
/// only that part, so the backing store hands only it on to the window system. That
/// needs the window to show the frame before in full, at the same place, size and
/// density: after a resize, a paint request from the window system, a frame the
/// window could not paint or a scaled one, the next frame goes whole. Where the
/// window system allows it (X11 with shared memory), a frame presented outside a
/// paint request is written into the backing store and flushed, without a paint; and
/// a frame of one fill colour with little on it is filled there by the X server.
class QtDrawAreaWidget final : public QWidget, public DrawAreaWindow, public PixelRatioSource {
public:
    /// The colour of the area before the first frame (the button face colour).
    static constexpr QRgb BackgroundColor = 0xFFF0F0F0;

    explicit QtDrawAreaWidget(QWidget* parent = nullptr);
    ~QtDrawAreaWidget() override;

    void SetListener(DrawAreaWindowListener* listener) override;
    bool HasForm() const override;
    void RequestParentRepaint() override;
    TPoint ClientOrigin() const override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    double DevicePixelRatio() const override { return devicePixelRatioF(); }
    /// Whether the window is on screen, so that what is presented is seen.
    bool Exposed() const;

    /// Puts source onto target (client coordinates in field pixels), stretching when
    /// the sizes differ, and gets it onto the screen at once. Source need only live
    /// until the call returns. changed tells what differs from the source presented
    /// before (field pixels of source).
    void Present(const QImage& source, const QRect& target,
                 const TChangedArea& changed = TChangedArea{});
    /// Frames of one colour with little on it (a fade) are filled by the window
    /// system through fill, where it can (null: never).
    void SetWindowFill(WindowFill* fill) { windowFill_ = fill; }
    /// Device pixels the last frame presented outside a paint request repainted (for
    /// tests and measurements).
    qint64 RepaintedPixels() const { return repaintedPixels_; }
    /// What the window shows (for tests and screenshots), at the window's device pixel
    /// ratio: the window painted as for a paint request from the window system, so the
    /// listener presents its frame again.
    QImage Presented();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    /// A frame being presented without a copy: valid only while presenting_.
    struct TDirectFrame {
        const QImage* Source = nullptr;
        QRect Target;       // field pixels of the window
        QRect DeviceTarget; // device pixels of the window
        bool Painted = false;
    };
    class TPresentingScope;

    void WatchForm();
    // The kept frame is made (and grown) when it is first needed, not when the window
    // is shown or resized: a window that can always paint its frames never needs it.
    void EnsurePresentedSize();
    void CopyIntoPresented(const QImage& source, const QRect& target);
    void PaintFromPresented(QPainter& painter, const QRect& area);
    void PaintArea(QPainter& painter, const QRect& area);
    /// The part of the window that a frame with changed must repaint, the area standing
    /// at inWindow in its window.
    QRegion RepaintRegion(const QImage& source, const QRect& target, const QRect& visible,
                          const TChangedArea& changed, QPoint inWindow) const;
    /// Puts region (of the area, standing at inWindow in its window) of a frame of the
    /// window's density into the backing store and flushes it, without a paint; false
    /// where that cannot be.
    bool FlushChanges(const QImage& source, const QRect& deviceTarget, const QRegion& region,
                      QPoint inWindow);
    /// A frame of one fill outside drawn: the window system fills the visible area,
    /// and only drawn is copied and flushed; false where that cannot be.
    bool FlushFilled(const QImage& source, const QRect& deviceTarget, const QRect& visible,
                     const QRegion& drawn, uint32_t fill, QPoint inWindow);
    /// The backing store's image, where it may be written between paints and holds
    /// the whole area standing at inWindow; null otherwise.
    QImage* WritableStore(QPoint inWindow);
    void CopyToStore(QImage& store, const QImage& source, const QRect& deviceTarget,
                     const QRegion& region, QPoint inWindow);

    DrawAreaWindowListener* listener_ = nullptr;
    WindowFill* windowFill_ = nullptr;
    struct TStoreChecked {
        const uchar* Bits = nullptr;
        bool Writable = false;
    } storeChecked_; // whether the backing store's image at Bits may be written
    QPointer<QWidget> form_;
    QImage presented_;
    bool presentedShared_ = false; // presented_ is the frame itself, not a copy
    bool presenting_ = false;
    TDirectFrame direct_;
    // What the window shows in full since its last repaint from a frame: that
    // frame's place, size and density; an empty target when nothing is known.
    struct TShownFrame {
        QRect Target;
        QSize Size;
        double Ratio = 0.0;
        QPoint InWindow; ///< where the area stood in its window
    } shown_;
    qint64 repaintedPixels_ = 0;
};

} // namespace fenu
