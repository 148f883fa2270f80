// A canvas: drawing on a device context with a pen, a brush and a font held as values.
//
// Pixel conventions are the platform GDI's: a line leaves out its end point, and shapes leave out
// their box's right and bottom edge. The pen draws outlines through its mode (the DC's binary
// raster operation), the brush fills, the font colours text; text is drawn over the brush colour
// unless the brush is clear.
//
// The drawing calls are virtual, so a recording canvas can log them (recording_canvas.h); every
// other call is built on them or only reads state. A canvas borrows its DC: it selects its own
// objects into it while it draws and puts the DC's original objects back when it lets the DC go.
#ifndef WINFORMS_CANVAS_H
#define WINFORMS_CANVAS_H

#include <span>
#include <string_view>

#include "winforms/graphics.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"

namespace winforms {

class Bitmap;

// How a polygon's inside is decided where its outline crosses itself.
enum class FillRule : uint8_t {
    Alternate,  // a point is inside when a ray from it crosses the outline an odd number of times
    Winding,    // inside when the outline winds round it
};

class WINFORMS_API Canvas {
public:
    // A canvas without a DC: drawing does nothing until SetHandle.
    Canvas();
    // A canvas over a DC the caller keeps alive for as long as the canvas uses it.
    explicit Canvas(HDC dc);
    virtual ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Handle() const { return dc_; }
    // Lets the old DC go (its objects put back) and takes the new one; null: none.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    // The drawing tools. Changes take effect at the next drawing call.
    Pen& GetPen() { return pen_; }
    const Pen& GetPen() const { return pen_; }
    void SetPen(const Pen& pen) { pen_ = pen; }
    Brush& GetBrush() { return brush_; }
    const Brush& GetBrush() const { return brush_; }
    void SetBrush(const Brush& brush) { brush_ = brush; }
    Font& GetFont() { return font_; }
    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font) { font_ = font; }

    // The raster operation of CopyRect, Draw and StretchDraw (SRCCOPY by default).
    DWORD CopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD rop) { copyMode_ = rop; }
    FillRule GetFillRule() const { return fillRule_; }
    void SetFillRule(FillRule rule) { fillRule_ = rule; }

    // Where the next LineTo starts.
    POINT PenPos() const { return penPos_; }
    void SetPenPos(POINT point) { MoveTo(point.x, point.y); }

    virtual void MoveTo(int x, int y);
    // A line from the pen position, its end point left out for one-pixel pens; the pen position
    // moves to (x, y). A styled pen's pattern runs on from one LineTo to the next.
    virtual void LineTo(int x, int y);
    // Lines through the points in turn (the last point left out); the pen position is unchanged.
    virtual void Polyline(std::span<const POINT> points);
    // The closed outline through the points, filled with the brush by the fill rule.
    virtual void Polygon(std::span<const POINT> points);
    // The pen outlines [left, right) x [top, bottom) and the brush fills inside the outline.
    virtual void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    // The brush alone, over the whole rectangle, copied (whatever the pen mode).
    virtual void FillRect(const RECT& rect);
    // A one-pixel frame along the rectangle's inner edge in the brush.
    virtual void FrameRect(const RECT& rect);
    // The ellipse inscribed in the box, outlined with the pen and filled with the brush.
    virtual void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const RECT& rect) { Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
    // The part of the box's ellipse that runs counter-clockwise (as seen on the screen) from the
    // ray through (startX, startY) to the ray through (endX, endY), both from the box's centre;
    // equal rays give the whole ellipse.
    virtual void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY);
    // The arc's ends joined by a straight line (Chord) or by two lines through the centre (Pie),
    // filled with the brush.
    virtual void Chord(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY);
    virtual void Pie(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY);

    // The pixel's colour; CLR_INVALID outside the DC's clip.
    virtual COLORREF Pixel(int x, int y) const;
    virtual void SetPixel(int x, int y, COLORREF color);

    // Text whose cell's top-left corner is (x, y), in the font's colour, over the brush colour
    // unless the brush is clear; the pen position moves to the text's end (x + width, y).
    virtual void TextOut(int x, int y, std::string_view text);
    // The same, kept inside 'rect' (which the brush fills first unless it is clear).
    virtual void TextRect(const RECT& rect, int x, int y, std::string_view text);
    SIZE TextExtent(std::string_view text) const;
    int TextWidth(std::string_view text) const { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) const { return TextExtent(text).cy; }

    // Copies a rectangle of another canvas into 'dest' (stretched when the sizes differ) through
    // the copy mode.
    virtual void CopyRect(const RECT& dest, const Canvas& source, const RECT& sourceRect);
    // A bitmap at (x, y), whole size; a transparent bitmap leaves its transparent colour's pixels
    // alone.
    virtual void Draw(int x, int y, const Bitmap& bitmap);
    // A bitmap stretched (or shrunk) to fill 'dest'.
    virtual void StretchDraw(const RECT& dest, const Bitmap& bitmap);

    // The rectangle drawing is kept to (the DC's clip box); SetClipRect replaces the DC's clipping
    // by the rectangle, and an empty rectangle clears it.
    RECT ClipRect() const;
    void SetClipRect(const RECT& rect);

protected:
    // Selects the pen, the brush and the font as they stand now, and sets the pen mode, the text
    // colour and the background mode; false when there is no DC.
    bool Prepare() const;

private:
    void Release();
    void DrawBitmap(const RECT& dest, const Bitmap& bitmap);

    HDC dc_ = nullptr;
    Pen pen_;
    Brush brush_;
    Font font_;
    DWORD copyMode_ = SRCCOPY;
    FillRule fillRule_ = FillRule::Alternate;
    POINT penPos_{0, 0};
    // The objects the canvas selected (kept alive while selected) and those the DC held before.
    mutable SharedGdiObject selectedPen_, selectedBrush_, selectedFont_;
    mutable HGDIOBJ originalPen_ = nullptr, originalBrush_ = nullptr, originalFont_ = nullptr;
};

}  // namespace winforms

#endif
