/* Drawing on device contexts: state, pens and brushes, blits with raster operations, simple
 * shapes, clipping to rectangles (regions in region.h), palettes on 8-bit surfaces and device
 * capabilities. */
#ifndef WINPLAT_DRAW_H
#define WINPLAT_DRAW_H

#include "winplat/gdi.h"
#include "winplat/types.h"

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;

/* Ternary raster operations. */
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

/* Binary raster operations (pens). */
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

#define TRANSPARENT 1
#define OPAQUE 2

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6

#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define DEFAULT_PALETTE 15

/* GetDeviceCaps. */
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113

#define DT_PLOTTER 0
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define DT_METAFILE 5
#define RC_BITBLT 0x0001
#define RC_BITMAP64 0x0008
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_PAL 5
#define OBJ_BITMAP 7

#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3

WINPLAT_BEGIN_C

/* The screen's DC (hwnd NULL) or a window's client-area DC, and its release (user.h has the
 * other window DCs). GetDCOrgEx: where the DC's logical (0, 0) lies on the screen. */
WINPLAT_API HDC GetDC(HWND window);
WINPLAT_API int ReleaseDC(HWND window, HDC dc);
WINPLAT_API BOOL GetDCOrgEx(HDC dc, LPPOINT origin);
/* MM_TEXT's one transform: logical (0, 0) moved to (x, y) in device coordinates. Saved and
 * restored with the DC's state; clipping regions stay in device coordinates. */
WINPLAT_API BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
WINPLAT_API BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);

WINPLAT_API HPEN CreatePen(int style, int width, COLORREF color);
WINPLAT_API HBRUSH CreateSolidBrush(COLORREF color);
WINPLAT_API HBRUSH CreateHatchBrush(int hatch, COLORREF color);
WINPLAT_API HBRUSH CreatePatternBrush(HBITMAP pattern);
WINPLAT_API HGDIOBJ GetStockObject(int object);
WINPLAT_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);

WINPLAT_API COLORREF SetTextColor(HDC dc, COLORREF color);
WINPLAT_API COLORREF GetTextColor(HDC dc);
WINPLAT_API COLORREF SetBkColor(HDC dc, COLORREF color);
WINPLAT_API COLORREF GetBkColor(HDC dc);
WINPLAT_API int SetBkMode(HDC dc, int mode);
WINPLAT_API int GetBkMode(HDC dc);
WINPLAT_API int SetStretchBltMode(HDC dc, int mode);
WINPLAT_API int GetStretchBltMode(HDC dc);
WINPLAT_API int SetROP2(HDC dc, int rop2);
WINPLAT_API int GetROP2(HDC dc);
WINPLAT_API int SaveDC(HDC dc);
WINPLAT_API BOOL RestoreDC(HDC dc, int saved);

/* Stretching samples the nearest source pixel: source x = left + floor((2 * i + 1) * width /
 * (2 * destination width)) for destination column i, likewise for rows; negative extents mirror. */
/* Every stretch mode samples so, except HALFTONE, which averages the source pixels under each
 * destination pixel along an axis that shrinks. Raster operations combine stored values (indices on
 * indexed surfaces). A monochrome source bitmap gives 0 the destination's text colour and 1 its
 * background colour; onto a monochrome destination the source DC's background colour becomes 1 and
 * every other colour 0 (for DIBs, the destination DC's background colour). Only pixels inside the
 * destination, its clip and the source are drawn. */
WINPLAT_API BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop);
WINPLAT_API BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw,
                            int sh, DWORD rop);
WINPLAT_API BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
/* Rows copied, 0 on failure (GDI_ERROR never: callers test for 0). */
WINPLAT_API int StretchDIBits(HDC dc, int x, int y, int width, int height, int sx, int sy, int sw, int sh,
                              const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
WINPLAT_API int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int sx, int sy,
                                  UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                                  UINT usage);

/* Shapes exclude the right and bottom edge; with the null pen a rectangle's fill is one pixel
 * narrower and lower. LineTo leaves out the end point. Both apply the DC's binary raster operation;
 * FillRect copies its brush. SetPixel and GetPixel give CLR_INVALID outside the DC's clip. */
WINPLAT_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
WINPLAT_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
WINPLAT_API BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
WINPLAT_API BOOL LineTo(HDC dc, int x, int y);
WINPLAT_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
WINPLAT_API COLORREF GetPixel(HDC dc, int x, int y);

/* Lines through the points in turn, as successive LineTo calls would draw them (a one-pixel pen
 * leaves out the last point; a styled pen's pattern runs on round the corners); the current
 * position stays where it was. Polygon fills the pixels whose centres lie inside by the DC's fill
 * mode (ALTERNATE or WINDING; left edges in, right edges out) with the brush, then outlines the
 * closed figure, every vertex once. At least 2 points. PolyPolygon fills its polygons (counts[i]
 * points each, at least 2, one after another in points) together as one figure by the fill mode,
 * so under WINDING an inner ring running against the outer one leaves a hole and one running with
 * it does not; then it outlines each polygon closed. */
WINPLAT_API BOOL Polyline(HDC dc, const POINT* points, int count);
WINPLAT_API BOOL Polygon(HDC dc, const POINT* points, int count);
WINPLAT_API BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
WINPLAT_API int SetPolyFillMode(HDC dc, int mode);
WINPLAT_API int GetPolyFillMode(HDC dc);

/* The ellipse inscribed in the box, its right and bottom edges outside: pixels whose centres lie
 * inside. The one-pixel pen draws those of them with an outside pixel beside, above or below; a
 * wider pen is centred on the box's edge (wholly inside with PS_INSIDEFRAME); the brush fills the
 * rest. Arc draws the outline's pixels whose centres lie in the sweep running counter-clockwise
 * on the screen from the ray through (x3, y3) to the ray through (x4, y4), both from the box's
 * centre (equal rays: all of it); Chord adds the straight line between the arc's ends and Pie
 * the two lines to the centre, each filling its inside with the brush. RoundRect is the rectangle
 * with its corners cut by quarters of the cornerWidth x cornerHeight ellipse (each clamped to the
 * box; 0 leaves a corner square), outlined and filled as the ellipse is. */
WINPLAT_API BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
WINPLAT_API BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
WINPLAT_API BOOL Arc(HDC dc, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
WINPLAT_API BOOL Chord(HDC dc, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
WINPLAT_API BOOL Pie(HDC dc, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);

/* Clipping to rectangles; results are the kind of the clip the DC now draws through (NULLREGION,
 * SIMPLEREGION, COMPLEXREGION) or ERROR. The other clipping calls are in region.h. */
WINPLAT_API int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
WINPLAT_API int GetClipBox(HDC dc, LPRECT rect);

/* Palettes matter on 8-bit surfaces only; a 32-bit screen realises nothing (0). */
WINPLAT_API HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL background);
WINPLAT_API UINT RealizePalette(HDC dc);
WINPLAT_API BOOL UnrealizeObject(HGDIOBJ object);

WINPLAT_API int GetDeviceCaps(HDC dc, int index);
WINPLAT_API BOOL GdiFlush(void);

WINPLAT_END_C

#endif
