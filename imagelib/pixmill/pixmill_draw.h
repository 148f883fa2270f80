/* Pixmill: drawing images on device contexts (part of pixmill.h; include that). */
#ifndef PIXMILL_DRAW_H
#define PIXMILL_DRAW_H

#include "winplat/draw.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Drawing modes. */
#define PXL_DRAW_PLACEHOLDER 0 /* a grey hatch and an outline instead of the picture */
#define PXL_DRAW_TILED_GDI 1   /* tiles, never through the video drawing service */
#define PXL_DRAW_WHOLE 2       /* the whole picture in one call */
#define PXL_DRAW_TILED 3       /* tiles that meet the clip rectangle only */

/* Rectangles are left, top, right, bottom. Results: 1 when drawn (or when the placeholder was
 * drawn), 0 when nothing was drawn. */
PXL_API int16_t PXLStretchBlt(HDC dc, int left, int top, int right, int bottom, PxlImageId id, int clipLeft,
                              int clipTop, int clipRight, int clipBottom, int16_t mode, DWORD rop);
PXL_API int16_t PXLBitBlt(HDC dc, int left, int top, int right, int bottom, PxlImageId id, int clipLeft, int clipTop,
                          int clipRight, int clipBottom, int16_t mode, DWORD rop, int ignored);
PXL_API int16_t PXLStretchBltZoom(HDC dc, int left, int top, int right, int bottom, PxlImageId id, int clipLeft,
                                  int clipTop, int clipRight, int clipBottom, int16_t mode, DWORD rop, int ignored,
                                  int zoomPercent);
PXL_API int16_t PXLStretchBltSeparate(HDC dc, int left, int top, int right, int bottom, PxlImageId id,
                                      int clipLeft, int clipTop, int clipRight, int clipBottom, int16_t mode,
                                      DWORD rop, int16_t plate, int16_t keep);
PXL_API int16_t PXLBitmapDrawVFW(PxlImageId id, const BITMAPINFO* info, const uint8_t* bits, HDC dc, int left,
                                 int top, int right, int bottom, int sourceLeft, int sourceTop, int sourceRight,
                                 int sourceBottom, int clipLeft, int clipTop, int clipRight, int clipBottom,
                                 int16_t mode, DWORD rop, HBITMAP bitmap);
PXL_API int16_t PXLBitmapDrawVFWWhole(const BITMAPINFO* info, const uint8_t* bits, HDC dc, int left, int top,
                                      int right, int bottom, int sourceX, int sourceY, HDC sourceDc);
/* Realises the library's 256-colour palette on an 8-bit device; 0 on other depths. */
PXL_API int16_t PXLSet256PaletteToDC(HDC dc, int16_t forceBackground);
/* 1 when white printed through a DIB comes out as the printer's own white. */
PXL_API int16_t PXLIsPrintedColorWhite(HDC dc);

#ifdef __cplusplus
}
#endif

#endif
