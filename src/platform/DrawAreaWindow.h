#pragma once

#include "platform/Geometry.h"
#include "platform/MouseButton.h"

namespace fenu {

/// What the drawing area's window reports to the control that draws into it.
class DrawAreaWindowListener {
public:
    virtual ~DrawAreaWindowListener() = default;
    /// The form that holds the window was shown (called once per showing).
    virtual void FormShown() = 0;
    /// The window is about to go away; nothing may be presented into it afterwards.
    /// Called from the window's destruction, so it must not raise.
    virtual void WindowDestroying() noexcept = 0;
    /// The window must show its content again (uncovered, exposed).
    virtual void PaintRequested() = 0;
    /// The window's client size changed.
    virtual void Resized(int width, int height) = 0;
    /// A mouse button went down at (x, y) in client pixels.
    virtual void MouseDown(TMouseButton button, int x, int y) = 0;
};

/// The window of the drawing area on screen: the child window of the main form that
/// the back buffer is presented into. Stands in for the control's window handle.
class DrawAreaWindow {
public:
    virtual ~DrawAreaWindow() = default;
    virtual void SetListener(DrawAreaWindowListener* listener) = 0;
    /// Whether the window sits in a form (a top-level window of its own), which can
    /// also be asked to repaint.
    virtual bool HasForm() const = 0;
    virtual void RequestParentRepaint() = 0;
    /// Screen position of the top-left client pixel.
    virtual TPoint ClientOrigin() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
};

} // namespace fenu
