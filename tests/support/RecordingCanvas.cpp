#include "RecordingCanvas.h"

#include <cstdio>

namespace fenu::test {

namespace {

std::string Hex(TColor color) {
    char text[16];
    std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(color));
    return text;
}

std::string Ints(std::initializer_list<int> values) {
    std::string text;
    for (int v : values)
        text += ' ' + std::to_string(v);
    return text;
}

} // namespace

void RecordingCanvas::SetFontSize(int points) {
    Calls.push_back("FontSize" + Ints({points}));
}
void RecordingCanvas::SetFontColor(TColor color) {
    Calls.push_back("FontColor " + Hex(color));
}
void RecordingCanvas::SetFontName(const QString& face) {
    Calls.push_back("FontName " + face.toStdString());
}
void RecordingCanvas::SetFontBold(bool bold) {
    Calls.push_back(bold ? "FontBold on" : "FontBold off");
}
void RecordingCanvas::SetBrushColor(TColor color) {
    Calls.push_back("BrushColor " + Hex(color));
}
void RecordingCanvas::SetBrushStyle(TBrushStyle style) {
    Calls.push_back(style == TBrushStyle::bsSolid ? "BrushStyle solid" : "BrushStyle clear");
}
void RecordingCanvas::SetPenColor(TColor color) {
    Calls.push_back("PenColor " + Hex(color));
}
void RecordingCanvas::SetPenWidth(int width) {
    Calls.push_back("PenWidth" + Ints({width}));
}
void RecordingCanvas::SetPenStyle(TPenStyle style) {
    Calls.push_back(style == TPenStyle::psSolid ? "PenStyle solid" : "PenStyle clear");
}
void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Calls.push_back("Ellipse" + Ints({x1, y1, x2, y2}));
}
void RecordingCanvas::Line(int x1, int y1, int x2, int y2) {
    Calls.push_back("Line" + Ints({x1, y1, x2, y2}));
}
void RecordingCanvas::TextOut(int x, int y, const QString& text) {
    Calls.push_back("TextOut" + Ints({x, y}) + ' ' + text.toStdString());
}
int RecordingCanvas::TextWidth(const QString& text) {
    Calls.push_back("TextWidth " + text.toStdString());
    return TextWidthValue;
}
int RecordingCanvas::TextHeight(const QString& text) {
    Calls.push_back("TextHeight " + text.toStdString());
    return TextHeightValue;
}

std::vector<std::string> RecordingCanvas::CallsOf(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const auto& call : Calls)
        if (call.rfind(prefix, 0) == 0)
            matching.push_back(call);
    return matching;
}

} // namespace fenu::test
