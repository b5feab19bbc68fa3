#include "ui/DialogPlacement.h"

#include <algorithm>

#include <QScreen>
#include <QWidget>

namespace fenu {

void CenterOnOwnerWindow(QWidget& dialog) {
    if (dialog.parentWidget() == nullptr)
        return;
    const QWidget& window = *dialog.parentWidget()->window();
    const QRect windowFrame = window.frameGeometry();
    const QSize frameExtra = windowFrame.size() - window.geometry().size();
    QRect frame(QPoint(0, 0), dialog.size() + frameExtra);
    frame.moveCenter(windowFrame.center());
    if (const QScreen* screen = window.screen()) {
        const QRect available = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), available.right()));
        frame.moveBottom(std::min(frame.bottom(), available.bottom()));
        frame.moveLeft(std::max(frame.left(), available.left()));
        frame.moveTop(std::max(frame.top(), available.top()));
    }
    dialog.move(frame.topLeft());
}

} // namespace fenu
