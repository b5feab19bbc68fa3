#include "platform/desktop/SurfaceRegion.h"

#include <algorithm>
#include <cmath>

namespace fenu {

QRect SurfaceRegion(const QRect& area, const QMargins& frame, double factor,
                    std::optional<QPointF> pointer) {
    const QRectF inWindow(area.translated(frame.left(), frame.top()));
    if (pointer && area.width() == 1 && area.height() == 1) {
        const QPointF at = *pointer / factor;
        if (std::abs(at.x() - inWindow.x()) < 1 && std::abs(at.y() - inWindow.y()) < 1) {
            return QRect(static_cast<int>(std::floor(pointer->x())),
                         static_cast<int>(std::floor(pointer->y())), 1, 1);
        }
    }
    const int left = static_cast<int>(std::floor(inWindow.left() * factor));
    const int top = static_cast<int>(std::floor(inWindow.top() * factor));
    const int right = static_cast<int>(std::ceil(inWindow.right() * factor));
    const int bottom = static_cast<int>(std::ceil(inWindow.bottom() * factor));
    return QRect(left, top, std::max(1, right - left), std::max(1, bottom - top));
}

} // namespace fenu
