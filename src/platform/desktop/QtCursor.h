#pragma once

#include "platform/Cursor.h"
#include "platform/desktop/PointerHold.h"

#include <memory>
#include <optional>

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace fenu {

/// The real cursor. While a confinement is set, the window system holds the pointer
/// inside it (a pointer grab on X11 and XWayland, the pointer-constraints protocol on
/// Wayland), and Pos() reports the clamped point whatever the window system did.
///
/// What the game asks for (clip_) and what the window system holds for us (held_)
/// are kept apart: the hold gives way where the desktop needs the pointer, to the
/// game's own menus and while another program is active, and comes back only while
/// the game still asks for it; a release always ends whatever is held. Wayland has
/// no global pointer position, so there the position is the last one an event of
/// the game's windows carried; on X11 too while the hold stands and a pointer event
/// has come since it was taken. The confinement is released when this object goes,
/// so the cursor is free once the program has ended.
class QtCursor final : public QObject, public CursorService {
    Q_OBJECT
public:
    /// hold: the window system's hold; by default the one of the platform the
    /// application runs on, made when the area is set.
    explicit QtCursor(std::unique_ptr<PointerHold> hold = nullptr);
    ~QtCursor() override;
    /// The drawing area the confinement lies in; the hold is made on its window, and
    /// moves to the new area's window when the area changes while the game holds.
    void SetArea(QWidget* area);
    TPoint Pos() override;
    void Clip(const TRect* rect) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TakeHold();
    void DropHold();
    void Track(QObject* watched, QEvent* event);

    std::optional<TRect> clip_;
    std::unique_ptr<PointerHold> hold_;
    QPointer<QWidget> area_;
    bool held_ = false;
    bool active_ = true;
    bool trackPointer_ = false;
    bool movedInHold_ = false;
    std::optional<QPoint> tracked_;
};

} // namespace fenu
