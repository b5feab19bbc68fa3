#include "display/DirectDrawSurface.h"
#include "sprites/Sprite.h"

namespace fenu {

void TSpriteEngine::SetSurface(TDirectDrawSurface* surface) {
    surface_ = surface;
    if (surface_ == nullptr)
        return; // the bounds keep their last value
    SurfaceBounds = TRect{0, 0, surface_->Width(), surface_->Height()};
    Width = surface_->Width();
    Height = surface_->Height();
}

} // namespace fenu
