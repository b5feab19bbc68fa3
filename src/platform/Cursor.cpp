#include "platform/Cursor.h"

#include <algorithm>

namespace fenu {

TPoint ClampToClip(TPoint point, const TRect& clip) {
    const int32_t maxX = std::max(clip.Left, clip.Right - 1);
    const int32_t maxY = std::max(clip.Top, clip.Bottom - 1);
    return {std::clamp(point.X, clip.Left, maxX), std::clamp(point.Y, clip.Top, maxY)};
}

} // namespace fenu
