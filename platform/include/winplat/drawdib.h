/* The video drawing service: draws DIBs onto device contexts, stretching (halftone on request) and
 * matching palettes. Here a software one over the layer's blits. */
#ifndef WINPLAT_DRAWDIB_H
#define WINPLAT_DRAWDIB_H

#include "winplat/gdi.h"
#include "winplat/types.h"

WINPLAT_DECLARE_HANDLE(HDRAWDIB);

#define DDF_SAME_HDC 0x0004
#define DDF_SAME_DRAW 0x0008
#define DDF_HALFTONE 0x1000

WINPLAT_BEGIN_C

WINPLAT_API HDRAWDIB DrawDibOpen(void);
WINPLAT_API BOOL DrawDibClose(HDRAWDIB drawdib);
WINPLAT_API BOOL DrawDibBegin(HDRAWDIB drawdib, HDC dc, int destWidth, int destHeight,
                              LPBITMAPINFOHEADER format, int sourceWidth, int sourceHeight, UINT flags);
/* Draws as StretchDIBits with SRCCOPY would, but the source rectangle counts rows from the top of
 * the picture; DDF_HALFTONE averages boxes of source pixels where the picture shrinks. -1 as the
 * source extents means the whole picture, as the destination extents the source's size. */
WINPLAT_API BOOL DrawDibDraw(HDRAWDIB drawdib, HDC dc, int x, int y, int width, int height,
                             LPBITMAPINFOHEADER format, LPVOID bits, int sx, int sy, int sw, int sh,
                             UINT flags);
WINPLAT_API BOOL DrawDibEnd(HDRAWDIB drawdib);
WINPLAT_API BOOL DrawDibSetPalette(HDRAWDIB drawdib, HPALETTE palette);
/* Selects the palette given to DrawDibSetPalette into the DC and realises it there (0 without one). */
WINPLAT_API UINT DrawDibRealize(HDRAWDIB drawdib, HDC dc, BOOL background);

WINPLAT_END_C

#endif
