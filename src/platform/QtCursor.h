#pragma once

#include "platform/Cursor.h"

#include <optional>

#include <QObject>

namespace fenu {

/// The real cursor through QCursor. While a confinement is set, every pointer
/// motion the application sees is pushed back inside it (where the window system
/// allows warping the pointer, as X11 does), and Pos() reports the clamped point
/// whatever the window system did. The confinement is released when this object
/// goes, so the cursor is free once the program has ended.
class QtCursor final : public QObject, public CursorService {
    Q_OBJECT
public:
    QtCursor();
    ~QtCursor() override;
    TPoint Pos() override;
    void Clip(const TRect* rect) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PushBackInside();
    std::optional<TRect> clip_;
};

} // namespace fenu
