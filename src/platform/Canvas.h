#pragma once

#include "platform/Geometry.h"

#include <QString>

namespace fenu {

enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psClear };

/// The 2-D drawing operations the game uses on the back buffer. Settings (pen,
/// brush, font) stay in force until changed, also from one sprite to the next.
/// Colours are 0x00RRGGBB. Rectangles given to Ellipse are (x1, y1) inclusive to
/// (x2, y2) exclusive; Line draws up to but not including its end point.
class TCanvas {
public:
    virtual ~TCanvas() = default;

    virtual void SetFontSize(int points) = 0;
    virtual void SetFontColor(TColor color) = 0;
    virtual void SetFontName(const QString& face) = 0;
    virtual void SetFontBold(bool bold) = 0;

    virtual void SetBrushColor(TColor color) = 0;
    virtual void SetBrushStyle(TBrushStyle style) = 0;

    virtual void SetPenColor(TColor color) = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual void SetPenStyle(TPenStyle style) = 0;

    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    /// Text with its top-left corner at (x, y); on a solid brush the text cell
    /// gets the brush colour as background, on a clear brush none.
    virtual void TextOut(int x, int y, const QString& text) = 0;
    /// TextOut drawing only the pixels within clip (field pixels); false, with nothing
    /// drawn, where the canvas cannot clip.
    virtual bool TextOutClipped(int, int, const QString&, const TRect&) { return false; }
    virtual int TextWidth(const QString& text) = 0;
    virtual int TextHeight(const QString& text) = 0;
};

} // namespace fenu
