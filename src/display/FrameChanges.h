#pragma once

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/PresentationDevice.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include <QString>

namespace fenu {

/// One drawing call on a back buffer with everything that decides its pixels, and a
/// rectangle (field pixels) that holds every pixel it can touch.
struct TDrawCall {
    enum class TKind : uint8_t { Ellipse, Line, Text };

    TKind Kind = TKind::Ellipse;
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    TColor PenColor = 0;
    int PenWidth = 0;
    TPenStyle PenStyle = TPenStyle::psSolid;
    TColor BrushColor = 0;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    // Text only: the font and the text itself.
    TColor FontColor = 0;
    int FontSize = 0;
    bool FontBold = false;
    QString FontName;
    QString Text;
    TRect Bounds;

    bool SamePixels(const TDrawCall& other) const;
};

/// What a back buffer got since the picture last presented from it, kept so that a
/// presentation hands over only the part of the picture that differs.
///
/// A picture is a fill followed by drawing calls. Two pictures with the same fill can
/// differ only where a call of one is not matched, in the same order, by an equal
/// call of the other: every other pixel sees the same calls in the same order. So
/// the changed area is the bounds of the unmatched calls, and a title text drawn
/// unchanged in every frame is no part of it. Calls drawn without a fill go on top
/// of the last picture and are all new. Another fill colour, a copy onto the buffer
/// or a buffer never presented changes the whole picture.
///
/// A picture of more than MaxCalls calls (a field crowded with bullets) goes whole:
/// its bounds would cover most of the field, and keeping and comparing them would
/// cost more than the copy they save. So nothing here allocates after construction.
class TFrameChanges {
public:
    static constexpr size_t MaxCalls = 64;
    /// At most this many rectangles: a further one is merged into the last.
    static constexpr size_t MaxRects = 8;
    /// Pixels a rectangle of its own costs beyond its area (a separate copy and
    /// hand-over): rectangles closer than that are merged.
    static constexpr int64_t RectOverhead = 48 * 48;

    TFrameChanges();

    /// The buffer was filled with rawValue, except that the first standing calls
    /// drawn since the last fill were left on it (see StandingPrefix).
    void Filled(uint32_t rawValue, size_t standing = 0);
    void Drawn(const TDrawCall& call);

    /// How many of the calls drawn since the fill may stand through a fill in the
    /// same colour: texts at the start of the picture whose bounds meet no text before
    /// them. A title drawn unchanged in every frame then costs neither its clearing
    /// nor its drawing, which is most of such a frame; where a later call was drawn
    /// over it, the fill clears into it and only that part is drawn again. Only
    /// texts: a disc is cheaper to draw again than to compare, and it seldom stays
    /// where it was.
    size_t StandingPrefix() const;
    /// Whether call is the next of the calls left standing, in the same place: its
    /// pixels are on the buffer already, so it need not be drawn.
    bool Standing(const TDrawCall& call) const;
    /// The calls left standing that this picture has not drawn again, once it draws
    /// something else (or is presented): their bounds must be cleared first.
    std::span<const TDrawCall> StaleStanding() const;
    void DropStanding() { standing_.clear(); }
    /// Something other than a fill or a recorded call wrote the buffer.
    void Overwritten();
    /// The buffer was made anew: nothing of it has been presented.
    void Reset();

    /// Whether the buffer holds a fill of rawValue with only the recorded calls on
    /// it, so that clearing their bounds fills it again.
    bool FilledWith(uint32_t rawValue) const { return drawn_.Known && drawn_.Fill == rawValue; }
    std::span<const TDrawCall> DrawnSinceFill() const { return drawn_.Calls; }
    uint32_t DrawnFill() const { return drawn_.Fill; }

    /// What differs from the picture last presented, within bounds (the buffer's
    /// rectangle). The rectangles stay valid until the next call.
    TChangedArea Changes(const TRect& bounds);
    /// The picture as it stands now has been handed to the window.
    void Presented();

private:
    struct TPicture {
        bool Known = false;
        uint32_t Fill = 0;
        std::vector<TDrawCall> Calls;
    };

    void Add(TRect rect);

    TPicture shown_;
    TPicture drawn_;
    std::vector<TDrawCall> standing_;
    std::array<TRect, MaxRects> rects_{};
    size_t rectCount_ = 0;
};

} // namespace fenu
