#include "winforms/recording_canvas.h"

#include <cstdio>

namespace winforms {
namespace {

std::string Hex(COLORREF color) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(color));
    return text;
}

std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

std::string Box(int left, int top, int right, int bottom) { return Point(left, top) + " " + Point(right, bottom); }

std::string Box(const RECT& r) { return Box(r.left, r.top, r.right, r.bottom); }

std::string Points(std::span<const POINT> points) {
    std::string text;
    for (const POINT& p : points) {
        if (!text.empty()) text += ' ';
        text += Point(p.x, p.y);
    }
    return text;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string_view NameOf(PenStyle style) {
    static constexpr std::string_view names[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "clear",
                                                 "insideframe"};
    return names[static_cast<size_t>(style)];
}

std::string_view NameOf(PenMode mode) {
    static constexpr std::string_view names[] = {"black", "notmerge", "masknotpen", "notcopy", "maskpennot", "not",
                                                 "xor",   "notmask",  "mask",       "notxor",  "nop",        "mergenotpen",
                                                 "copy",  "mergepennot", "merge",   "white"};
    return names[static_cast<size_t>(mode)];
}

std::string_view NameOf(BrushStyle style) {
    static constexpr std::string_view names[] = {"solid", "clear", "horizontal", "vertical", "fdiagonal",
                                                 "bdiagonal", "cross", "diagcross"};
    return names[static_cast<size_t>(style)];
}

RecordingCanvas::RecordingCanvas() = default;

RecordingCanvas::RecordingCanvas(int width, int height) : target_(width, height, PixelFormat::Bits24) {
    SetHandle(target_.DC());
}

RecordingCanvas::~RecordingCanvas() {
    // The base lets the bitmap's DC go before the bitmap itself goes.
    SetHandle(nullptr);
}

size_t RecordingCanvas::Count(std::string_view call) const {
    size_t count = 0;
    for (const std::string& line : lines_) {
        if (line.size() >= call.size() && line.compare(0, call.size(), call) == 0 &&
            (line.size() == call.size() || line[call.size()] == ' '))
            ++count;
    }
    return count;
}

void RecordingCanvas::Log(std::string line) { lines_.push_back(std::move(line)); }

std::string RecordingCanvas::PenText() const {
    const Pen& pen = GetPen();
    return "pen " + Hex(pen.Color()) + " w" + std::to_string(pen.Width()) + " " + std::string(NameOf(pen.Style())) +
           " " + std::string(NameOf(pen.Mode()));
}

std::string RecordingCanvas::BrushText() const {
    const Brush& brush = GetBrush();
    if (brush.Style() == BrushStyle::Clear) return "brush clear";
    return "brush " + Hex(brush.Color()) + " " + std::string(NameOf(brush.Style()));
}

std::string RecordingCanvas::FontText() const {
    const Font& font = GetFont();
    return "font " + Quoted(font.Name()) + " " + std::to_string(font.Height()) + " " + Hex(font.Color());
}

void RecordingCanvas::MoveTo(int x, int y) { Canvas::MoveTo(x, y); }

void RecordingCanvas::LineTo(int x, int y) {
    const POINT from = PenPos();
    Log("LineTo " + Point(from.x, from.y) + " -> " + Point(x, y) + " " + PenText());
    Canvas::LineTo(x, y);
}

void RecordingCanvas::Polyline(std::span<const POINT> points) {
    Log("Polyline " + Points(points) + " " + PenText());
    Canvas::Polyline(points);
}

void RecordingCanvas::Polygon(std::span<const POINT> points) {
    Log("Polygon " + Points(points) + (GetFillRule() == FillRule::Winding ? " winding " : " alternate ") + PenText() +
        " " + BrushText());
    Canvas::Polygon(points);
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
    Log("Rectangle " + Box(left, top, right, bottom) + " " + PenText() + " " + BrushText());
    Canvas::Rectangle(left, top, right, bottom);
}

void RecordingCanvas::FillRect(const RECT& rect) {
    Log("FillRect " + Box(rect) + " " + BrushText());
    Canvas::FillRect(rect);
}

void RecordingCanvas::FrameRect(const RECT& rect) {
    Log("FrameRect " + Box(rect) + " " + BrushText());
    Canvas::FrameRect(rect);
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
    Log("Ellipse " + Box(left, top, right, bottom) + " " + PenText() + " " + BrushText());
    Canvas::Ellipse(left, top, right, bottom);
}

void RecordingCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    Log("Arc " + Box(left, top, right, bottom) + " " + Box(startX, startY, endX, endY) + " " + PenText());
    Canvas::Arc(left, top, right, bottom, startX, startY, endX, endY);
}

void RecordingCanvas::Chord(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    Log("Chord " + Box(left, top, right, bottom) + " " + Box(startX, startY, endX, endY) + " " + PenText() + " " +
        BrushText());
    Canvas::Chord(left, top, right, bottom, startX, startY, endX, endY);
}

void RecordingCanvas::Pie(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    Log("Pie " + Box(left, top, right, bottom) + " " + Box(startX, startY, endX, endY) + " " + PenText() + " " +
        BrushText());
    Canvas::Pie(left, top, right, bottom, startX, startY, endX, endY);
}

void RecordingCanvas::SetPixel(int x, int y, COLORREF color) {
    Log("SetPixel " + Point(x, y) + " " + Hex(color));
    Canvas::SetPixel(x, y, color);
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text) {
    Log("TextOut " + Point(x, y) + " " + Quoted(text) + " " + FontText() + " " + BrushText());
    Canvas::TextOut(x, y, text);
}

void RecordingCanvas::TextRect(const RECT& rect, int x, int y, std::string_view text) {
    Log("TextRect " + Box(rect) + " " + Point(x, y) + " " + Quoted(text) + " " + FontText() + " " + BrushText());
    Canvas::TextRect(rect, x, y, text);
}

void RecordingCanvas::CopyRect(const RECT& dest, const Canvas& source, const RECT& sourceRect) {
    Log("CopyRect " + Box(dest) + " from " + Box(sourceRect) + " rop " + Hex(CopyMode()));
    Canvas::CopyRect(dest, source, sourceRect);
}

void RecordingCanvas::Draw(int x, int y, const Bitmap& bitmap) {
    Log("Draw " + Point(x, y) + " bitmap " + std::to_string(bitmap.Width()) + "x" + std::to_string(bitmap.Height()) +
        (bitmap.Transparent() ? " transparent " + Hex(bitmap.TransparentColor()) : ""));
    Canvas::Draw(x, y, bitmap);
}

void RecordingCanvas::StretchDraw(const RECT& dest, const Bitmap& bitmap) {
    Log("StretchDraw " + Box(dest) + " bitmap " + std::to_string(bitmap.Width()) + "x" +
        std::to_string(bitmap.Height()));
    Canvas::StretchDraw(dest, bitmap);
}

}  // namespace winforms
