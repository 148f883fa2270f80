// A canvas that writes one text line per drawing call, in pixel coordinates, with the pen and
// brush the call draws with, so a test of drawing code compares a list of lines (and can check
// the pixels too: with a bitmap it also draws). Lines look like
//   LineTo 10,20 -> 30,20 pen 000000ff w1 solid copy
//   Rectangle 0,0 40,30 pen 00000000 w1 solid copy brush 00ffffff solid
//   TextOut 5,5 "Hello" font "Arial" -11 00000000 brush clear
// Colours are the COLORREF in hex (red in the low byte); MoveTo, Pixel reads and state changes
// make no line.
#ifndef WINFORMS_RECORDING_CANVAS_H
#define WINFORMS_RECORDING_CANVAS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "winforms/bitmap.h"
#include "winforms/canvas.h"

namespace winforms {

class WINFORMS_API RecordingCanvas : public Canvas {
public:
    // Records only.
    RecordingCanvas();
    // Records and draws onto a bitmap of that size (24 bits, white at the start).
    RecordingCanvas(int width, int height);
    ~RecordingCanvas() override;

    const std::vector<std::string>& Lines() const { return lines_; }
    // How many lines start with the call's name.
    size_t Count(std::string_view call) const;
    void Clear() { lines_.clear(); }
    // The bitmap drawn on; empty when recording only.
    const Bitmap& Target() const { return target_; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(std::span<const POINT> points) override;
    void Polygon(std::span<const POINT> points) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FillRect(const RECT& rect) override;
    void FrameRect(const RECT& rect) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) override;
    void Chord(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) override;
    void Pie(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) override;
    void SetPixel(int x, int y, COLORREF color) override;
    void TextOut(int x, int y, std::string_view text) override;
    void TextRect(const RECT& rect, int x, int y, std::string_view text) override;
    void CopyRect(const RECT& dest, const Canvas& source, const RECT& sourceRect) override;
    void Draw(int x, int y, const Bitmap& bitmap) override;
    void StretchDraw(const RECT& dest, const Bitmap& bitmap) override;

private:
    void Log(std::string line);
    std::string PenText() const;
    std::string BrushText() const;
    std::string FontText() const;

    std::vector<std::string> lines_;
    Bitmap target_;
};

// The words the lines use for a pen's style and mode and a brush's style ("dash", "notxor",
// "bdiagonal").
WINFORMS_API std::string_view NameOf(PenStyle style);
WINFORMS_API std::string_view NameOf(PenMode mode);
WINFORMS_API std::string_view NameOf(BrushStyle style);

}  // namespace winforms

#endif
