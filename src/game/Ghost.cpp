#include "game/Ghost.h"

#include "platform/Canvas.h"

#include <algorithm>

namespace fenu {

void TGhost::Draw(TCanvas& canvas, const TGhostPath& path, size_t frame) {
    if (path.Centres.empty())
        return;
    const size_t last = path.Centres.size() - 1;
    const TPoint centre = path.Centres[std::min(frame, last)];
    const int32_t r = path.Radius;
    canvas.SetPenStyle(TPenStyle::psSolid);
    canvas.SetPenWidth(RingWidth);
    canvas.SetPenColor(RingColor);
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    canvas.Ellipse(centre.X - r, centre.Y - r, centre.X + r, centre.Y + r);
    if (frame < last)
        return;
    // Where it was caught or touched (or left): a cross, corner to corner of the
    // square inside the ring.
    const int32_t d = r * 7 / 10;
    canvas.Line(centre.X - d, centre.Y - d, centre.X + d, centre.Y + d);
    canvas.Line(centre.X - d, centre.Y + d, centre.X + d, centre.Y - d);
}

} // namespace fenu
