// The one blit engine behind BitBlt, StretchBlt, StretchDIBits, SetDIBitsToDevice and DrawDib.
#ifndef WINPLAT_SRC_GDI_BLIT_H
#define WINPLAT_SRC_GDI_BLIT_H

#include <cstdint>
#include <vector>

#include "gdi/dib_format.h"
#include "gdi/objects.h"

namespace winplat::gdi {

// A rectangle given as a corner and extents that may be negative (the rectangle then lies on the
// other side of the corner, and a sign differing from the other rectangle's mirrors).
struct SignedRect {
    int64_t x = 0;
    int64_t y = 0;
    int64_t width = 0;
    int64_t height = 0;
};

// Whether every corner and extent lies within the coordinate range drawing accepts.
bool rectFits(const SignedRect& rect);

// Draws the part of a checked DIB given by 'source' (rows counted from the top of the picture)
// into 'dest' on the DC with a raster operation; a box filter instead of nearest sampling where
// 'halftone' and the picture shrinks. Nothing is drawn on a metafile DC. Caller holds the GDI lock.
void drawDibRect(DeviceContextObject& dc, const DibLayout& layout, const std::vector<RGBQUAD>& colors,
                 const void* bits, const SignedRect& dest, const SignedRect& source, uint8_t ropIndex,
                 bool halftone);

}  // namespace winplat::gdi

#endif
