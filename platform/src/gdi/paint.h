// What every drawing call shares: where a DC's pixels are, colours as the
// surface stores them, and brushes turned into rows of stored values.
//
// Callers hold the GDI lock for everything here.
#ifndef WINPLAT_SRC_GDI_PAINT_H
#define WINPLAT_SRC_GDI_PAINT_H

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "gdi/clip_area.h"
#include "gdi/objects.h"
#include "gdi/surface.h"

namespace winplat::gdi {

// Coordinates and extents beyond this are refused: every product the drawing code forms from two
// of them then fits in 64 bits with room to spare.
constexpr int64_t kMaxCoordinate = int64_t{1} << 27;
bool coordinatesFit(std::initializer_list<int64_t> values);

// The surface a DC draws on: the bitmap selected into a memory DC, the surface of a display or a
// printer page; null for a metafile DC. Where on it the DC may draw is effectiveClip's answer
// (clip_area.h).
Surface* drawingSurface(const DeviceContextObject& dc);

// The colour a COLORREF names on a DC: RGB, or with high byte 1 an entry of the selected palette.
RGBQUAD colorOf(const DeviceContextObject& dc, COLORREF color);
inline COLORREF colorRefOf(const RGBQUAD& color) {
    return RGB(color.rgbRed, color.rgbGreen, color.rgbBlue);
}
// The value a surface stores for a colour: the nearest entry of an indexed surface's table, else
// the colour packed into the surface's format.
uint32_t valueOf(const Surface& surface, const RGBQUAD& color);
// The colour a stored value shows.
RGBQUAD colorOfValue(const Surface& surface, uint32_t value);

// A brush turned into the values it lays on one destination surface. Hatch lines and pattern
// brushes are aligned to the DC's origin (a window's corner for a window DC), so a window's
// pattern stays the same wherever the window lies on the screen.
class BrushPaint {
  public:
    // A null brush (or none) paints nothing: empty() is true.
    static BrushPaint resolve(const BrushObject* brush, const DeviceContextObject& dc, const Surface& target);
    static BrushPaint solid(uint32_t value);

    bool empty() const { return kind_ == Kind::None; }
    // True when some pixels are to be left alone (the gaps of a hatch drawn transparently).
    bool leavesGaps() const { return kind_ == Kind::Hatch && transparentGaps_; }
    // The values for 'count' pixels of device row y from column x; keep[i] is set for a pixel the
    // brush leaves alone (only when leavesGaps()).
    void row(int x, int y, int count, uint32_t* values, uint8_t* keep) const;

  private:
    enum class Kind { None, Solid, Hatch, Pattern };
    Kind kind_ = Kind::None;
    uint32_t foreground_ = 0;
    uint32_t background_ = 0;
    bool transparentGaps_ = false;
    uint8_t hatchRows_[8] = {};  // bit 7 - x of row y set on the hatch lines
    std::vector<uint32_t> pattern_;
    int patternWidth_ = 0;
    int patternHeight_ = 0;
    POINT origin_{};  // the DC's origin: where the pattern's (0, 0) lies
};

// The 8 x 8 bits of a hatch style, row by row (bit 7 is column 0); all zero for an unknown style.
void hatchPattern(int style, uint8_t rows[8]);

// Applies a raster operation that takes no source to an area already cut to the surface.
void fillArea(Surface& surface, const DeviceRect& area, const BrushPaint& paint, uint8_t ropIndex);
// The same for the pieces of 'rect' inside the clip.
void fillClipped(Surface& surface, const ClipArea& clip, const DeviceRect& rect, const BrushPaint& paint,
                 uint8_t ropIndex);

// The shared screen surface behind GetDC(NULL) and every window DC: the framebuffer, 32-bit XRGB,
// screenExtent() in size.
uint32_t screenBitmap();
// A new display DC over the framebuffer, released with ReleaseDC: origin (0, 0) and no system
// region, as GetDC(NULL) gives it; the window manager makes window DCs from it. 'made' (may be
// null) receives the object, which the caller may set up before anything else can use it.
HDC newScreenDc(std::shared_ptr<DeviceContextObject>* made);

}  // namespace winplat::gdi

#endif
