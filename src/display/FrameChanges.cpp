#include "display/FrameChanges.h"

#include <algorithm>

namespace fenu {

namespace {

int64_t Area(const TRect& r) {
    return int64_t{r.Right - r.Left} * (r.Bottom - r.Top);
}

} // namespace

bool TDrawCall::SamePixels(const TDrawCall& other) const {
    if (Kind != other.Kind || X1 != other.X1 || Y1 != other.Y1 || X2 != other.X2 ||
        Y2 != other.Y2 || BrushStyle != other.BrushStyle)
        return false;
    // Settings a call does not use make no difference to its pixels: text has no
    // pen, a line no brush.
    if (Kind != TKind::Text && (PenStyle != other.PenStyle ||
                                (PenStyle == TPenStyle::psSolid &&
                                 (PenColor != other.PenColor || PenWidth != other.PenWidth))))
        return false;
    const bool brush = BrushStyle == TBrushStyle::bsSolid && Kind != TKind::Line;
    if (brush && BrushColor != other.BrushColor)
        return false;
    if (Kind != TKind::Text)
        return true;
    return FontColor == other.FontColor && FontSize == other.FontSize &&
           FontBold == other.FontBold && Text == other.Text && FontName == other.FontName;
}

TFrameChanges::TFrameChanges() {
    shown_.Calls.reserve(MaxCalls);
    drawn_.Calls.reserve(MaxCalls);
    standing_.reserve(MaxCalls);
}

void TFrameChanges::Filled(uint32_t rawValue, size_t standing) {
    standing = std::min(standing, drawn_.Calls.size());
    standing_.assign(drawn_.Calls.begin(), drawn_.Calls.begin() + static_cast<ptrdiff_t>(standing));
    drawn_.Known = true;
    drawn_.Fill = rawValue;
    drawn_.Calls.clear();
}

size_t TFrameChanges::StandingPrefix() const {
    const std::vector<TDrawCall>& calls = drawn_.Calls;
    size_t count = 0;
    while (count < calls.size() && calls[count].Kind == TDrawCall::TKind::Text) {
        for (size_t other = 0; other < count; ++other)
            if (!Empty(Intersection(calls[count].Bounds, calls[other].Bounds)))
                return count;
        ++count;
    }
    return count;
}

bool TFrameChanges::Standing(const TDrawCall& call) const {
    const size_t next = drawn_.Calls.size();
    return next < standing_.size() && standing_[next].SamePixels(call);
}

std::span<const TDrawCall> TFrameChanges::StaleStanding() const {
    const size_t drawnAgain = std::min(drawn_.Calls.size(), standing_.size());
    return std::span<const TDrawCall>(standing_).subspan(drawnAgain);
}

void TFrameChanges::Drawn(const TDrawCall& call) {
    if (!drawn_.Known)
        return;
    if (drawn_.Calls.size() == MaxCalls) {
        Overwritten();
        return;
    }
    drawn_.Calls.push_back(call);
}

void TFrameChanges::Overwritten() {
    drawn_.Known = false;
    drawn_.Calls.clear();
    standing_.clear();
}

void TFrameChanges::Reset() {
    Overwritten();
    shown_.Known = false;
    shown_.Calls.clear();
}

TChangedArea TFrameChanges::Changes(const TRect& bounds) {
    if (!drawn_.Known)
        return TChangedArea{};
    rectCount_ = 0;
    const std::vector<TDrawCall>& now = drawn_.Calls;
    if (!shown_.Known || drawn_.Fill != shown_.Fill) {
        for (const TDrawCall& call : now)
            Add(Intersection(call.Bounds, bounds));
        return TChangedArea{true, std::span<const TRect>(rects_.data(), rectCount_), drawn_.Fill};
    }
    const std::vector<TDrawCall>& before = shown_.Calls;
    const size_t common = std::min(now.size(), before.size());
    for (size_t i = 0; i < common; ++i) {
        if (now[i].SamePixels(before[i]))
            continue;
        Add(Intersection(now[i].Bounds, bounds));
        Add(Intersection(before[i].Bounds, bounds));
    }
    for (size_t i = common; i < now.size(); ++i)
        Add(Intersection(now[i].Bounds, bounds));
    for (size_t i = common; i < before.size(); ++i)
        Add(Intersection(before[i].Bounds, bounds));
    return TChangedArea{false, std::span<const TRect>(rects_.data(), rectCount_), {}};
}

void TFrameChanges::Presented() {
    shown_.Known = drawn_.Known;
    shown_.Fill = drawn_.Fill;
    shown_.Calls = drawn_.Calls; // within the capacity kept: no allocation
}

void TFrameChanges::Add(TRect rect) {
    if (Empty(rect))
        return;
    // Each rectangle costs a copy and a hand-over of its own: neighbours whose
    // common bounds cost less than the two apart are merged, and when the list is
    // full the last one takes the newcomer in.
    for (size_t i = 0; i < rectCount_;) {
        const TRect merged = Bounding(rects_[i], rect);
        if (Area(merged) <= Area(rects_[i]) + Area(rect) + RectOverhead ||
            (rectCount_ == MaxRects && i + 1 == rectCount_)) {
            rect = merged;
            rects_[i] = rects_[--rectCount_];
            i = 0;
            continue;
        }
        ++i;
    }
    rects_[rectCount_++] = rect;
}

} // namespace fenu
