#pragma once

#include "platform/DrawAreaWindow.h"
#include "platform/PixelRatioSource.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace fenu {

/// The drawing area's window: a plain child widget of the main form that shows the
/// frames presented into it, forwards mouse presses and shows the cross-hair
/// cursor. It also watches its form for the first showing.
///
/// The drawing area control (display/DXDraw.h) is not a widget; it drives this one
/// through DrawAreaWindow. Create the widget as a child of the main window, give it
/// its size, and hand it to the TDXDraw constructor.
///
/// On a high-density screen the back buffer (and the copy kept here) has the
/// screen's device pixel ratio, so frames reach the screen pixel for pixel; sizes and
/// positions given to and reported by the widget stay in field pixels.
class QtDrawAreaWidget final : public QWidget, public DrawAreaWindow, public PixelRatioSource {
public:
    /// The colour of the area before the first frame (the button face colour).
    static constexpr QRgb BackgroundColor = 0xFFF0F0F0;

    explicit QtDrawAreaWidget(QWidget* parent = nullptr);
    ~QtDrawAreaWidget() override;

    void SetListener(DrawAreaWindowListener* listener) override;
    bool HasForm() const override;
    bool HasParent() const override;
    void RequestParentRepaint() override;
    TPoint ClientOrigin() const override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    double DevicePixelRatio() const override { return devicePixelRatioF(); }
    /// Whether the window is on screen, so that what is presented is seen.
    bool Exposed() const;

    /// Copies source onto target (client coordinates in field pixels), stretching when
    /// the sizes differ, and gets it onto the screen at once.
    void Present(const QImage& source, const QRect& target);
    /// What the window shows now (for tests and screenshots), at the window's device
    /// pixel ratio.
    const QImage& Presented() const { return presented_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void WatchForm();
    void EnsurePresentedSize();

    DrawAreaWindowListener* listener_ = nullptr;
    QPointer<QWidget> form_;
    QImage presented_;
    bool presenting_ = false;
};

} // namespace fenu
