/* Regions: sets of pixels made from rectangles, ellipses, round rectangles and polygons, combined,
 * hit-tested, painted, and selected as a DC's clipping region.
 *
 * A region covers the pixels whose centres lie inside its shape: a rectangle [left, right) x
 * [top, bottom) without its right and bottom edges, an ellipse inscribed in such a box, a polygon by
 * its fill mode with the top-left rule on its edges. Coordinates are device pixels (the layer has
 * no mapping modes) within +-2^27; region calls that fail return ERROR (0) or NULL, and
 * GetLastError says ERROR_INVALID_HANDLE for a handle that is not a live region. */
#ifndef WINPLAT_REGION_H
#define WINPLAT_REGION_H

#include "winplat/draw.h"
#include "winplat/types.h"

/* CombineRgn and ExtSelectClipRgn. */
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

/* Polygon fill modes. */
#define ALTERNATE 1
#define WINDING 2

/* GetObjectType. */
#define OBJ_DC 3
#define OBJ_METADC 4
#define OBJ_REGION 8
#define OBJ_MEMDC 10

WINPLAT_BEGIN_C

/* Rectangles may be given corner by corner in either order. */
WINPLAT_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
WINPLAT_API HRGN CreateRectRgnIndirect(const RECT* rect);
WINPLAT_API HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
WINPLAT_API HRGN CreateEllipticRgnIndirect(const RECT* rect);
/* width and height: the size of the ellipse that rounds the corners. */
WINPLAT_API HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
/* Fewer than three points make an empty region. */
WINPLAT_API HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
WINPLAT_API BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);

/* dest = source1 <mode> source2 (RGN_COPY: source1); dest may be either source. Returns the
 * result's kind: NULLREGION, SIMPLEREGION (one rectangle), COMPLEXREGION, or ERROR. */
WINPLAT_API int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode);
WINPLAT_API int OffsetRgn(HRGN region, int dx, int dy);
WINPLAT_API BOOL EqualRgn(HRGN a, HRGN b);
WINPLAT_API BOOL PtInRegion(HRGN region, int x, int y);
WINPLAT_API BOOL RectInRegion(HRGN region, const RECT* rect);
/* The bounding box (all zero for an empty region) and the region's kind. */
WINPLAT_API int GetRgnBox(HRGN region, LPRECT rect);

/* FillRgn copies the brush; PaintRgn uses the DC's brush and binary raster operation; InvertRgn
 * inverts the stored values; FrameRgn paints the region's border, width pixels thick on its left
 * and right sides and height pixels on its top and bottom, inside the region. */
WINPLAT_API BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
WINPLAT_API BOOL PaintRgn(HDC dc, HRGN region);
WINPLAT_API BOOL InvertRgn(HDC dc, HRGN region);
WINPLAT_API BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);

/* The DC keeps a copy of the region (NULL: no clipping region); the results are the kind of the
 * new clipping region. Without a clipping region, the combining modes start from the whole
 * device. */
WINPLAT_API int SelectClipRgn(HDC dc, HRGN region);
WINPLAT_API int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
/* Copies the DC's clipping region into 'region': 1, or 0 when the DC has none; -1 on failure. */
WINPLAT_API int GetClipRgn(HDC dc, HRGN region);
WINPLAT_API int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
WINPLAT_API int OffsetClipRgn(HDC dc, int dx, int dy);

/* OBJ_PEN, OBJ_BRUSH, OBJ_DC, OBJ_METADC, OBJ_PAL, OBJ_FONT, OBJ_BITMAP, OBJ_REGION, OBJ_MEMDC;
 * 0 for a handle that is not a live GDI object. */
WINPLAT_API DWORD GetObjectType(HGDIOBJ object);

WINPLAT_END_C

#endif
