/* Device-independent bitmaps, device-dependent bitmaps, memory device contexts and palettes.
 *
 * Structures keep their Windows field order and widths; none of them is ever written to a file as
 * a block (stored formats are read and written field by field). */
#ifndef WINPLAT_GDI_H
#define WINPLAT_GDI_H

#include "winplat/types.h"

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; /* > 0 bottom-up, < 0 top-down */
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER;

/* The colour table (or, for BI_BITFIELDS, three DWORD masks) follows the header. */
typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO;

typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP;

typedef struct tagDIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
} DIBSECTION;

typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY;

typedef struct tagLOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
} LOGPALETTE;

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3

#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

#define CBM_INIT 0x04

#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFF

WINPLAT_BEGIN_C

/* Memory device contexts. A fresh one holds a 1 x 1 monochrome bitmap, so a bitmap made
 * compatible with it is monochrome until a colour bitmap is selected. NULL: compatible with the
 * screen (32 bits per pixel). */
WINPLAT_API HDC CreateCompatibleDC(HDC dc);
WINPLAT_API BOOL DeleteDC(HDC dc);
/* Selects a bitmap into a memory DC and returns the one it replaces; NULL (and nothing changes)
 * when the bitmap is already selected into another DC or the DC is not a memory DC. */
WINPLAT_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
/* FALSE for an invalid handle and for a bitmap still selected into a DC. */
WINPLAT_API BOOL DeleteObject(HGDIOBJ object);
/* Bitmaps: sizeof(BITMAP), or for DIB sections sizeof(DIBSECTION) when the buffer is that large;
 * palettes: a WORD entry count. Returns the bytes written, 0 on failure; a null buffer asks for
 * the size. */
WINPLAT_API int GetObjectA(HANDLE object, int size, LPVOID buffer);

/* A DIB section: the layer owns the zero-filled bits, which stay at one address until
 * DeleteObject. 1, 4, 8, 16, 24 and 32 bits; BI_RGB, or BI_BITFIELDS for 16 and 32 bits. */
WINPLAT_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                     DWORD offset);
/* Device-dependent bitmaps: 1 bit (monochrome) or 32 bits. */
WINPLAT_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
WINPLAT_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
WINPLAT_API HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                   const BITMAPINFO* info, UINT usage);

/* Copies rows of a bitmap out in the format the header asks for (colours of indexed targets found
 * with the nearest-index rule); with null bits only fills in the header (and colour table).
 * Returns the rows copied, 0 on failure. */
WINPLAT_API int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage);
WINPLAT_API int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
                          UINT usage);
/* The colour table of the DIB section selected into the DC; the number of entries copied. */
WINPLAT_API UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
WINPLAT_API UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);

WINPLAT_API HPALETTE CreatePalette(const LOGPALETTE* palette);
WINPLAT_API UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
/* Exact match first, else the least squared RGB distance, the lowest index on ties: the one rule
 * the layer uses for every colour-to-index conversion. CLR_INVALID for an invalid palette. */
WINPLAT_API UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);

WINPLAT_END_C

#endif
