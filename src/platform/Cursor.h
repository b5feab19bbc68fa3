#pragma once

#include "platform/Geometry.h"

namespace fenu {

/// The mouse cursor in screen coordinates and its system-wide confinement.
/// Positions read while a confinement is set always lie inside it, also where the
/// window system cannot hold the real pointer there.
class CursorService {
public:
    virtual ~CursorService() = default;
    virtual TPoint Pos() = 0;
    /// Confines the cursor to rect (Right and Bottom exclusive; a rect with
    /// Left == Right and Top == Bottom holds it on one point); null releases it.
    virtual void Clip(const TRect* rect) = 0;
};

/// Clamps a point into a confinement rectangle (Right/Bottom exclusive; an empty
/// extent holds the coordinate at Left/Top).
TPoint ClampToClip(TPoint point, const TRect& clip);

} // namespace fenu
