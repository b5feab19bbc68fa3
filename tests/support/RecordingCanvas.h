#pragma once

#include "platform/Canvas.h"

#include <string>
#include <vector>

namespace fenu::test {

/// A canvas that draws nothing and records every call as one readable line, e.g.
/// "PenColor ff0000", "Ellipse 10 20 50 60", "TextOut 3 4 f e N U".
class RecordingCanvas final : public TCanvas {
public:
    void SetFontSize(int points) override;
    void SetFontColor(TColor color) override;
    void SetFontName(const QString& face) override;
    void SetFontBold(bool bold) override;
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TBrushStyle style) override;
    void SetPenColor(TColor color) override;
    void SetPenWidth(int width) override;
    void SetPenStyle(TPenStyle style) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const QString& text) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;

    /// The recorded lines that start with prefix, in order.
    std::vector<std::string> CallsOf(const std::string& prefix) const;

    std::vector<std::string> Calls;
    /// What TextWidth and TextHeight answer.
    int TextWidthValue = 41;
    int TextHeightValue = 15;
};

} // namespace fenu::test
