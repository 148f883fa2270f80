/* Pixmill: the image library's exported interface.
 *
 * Images are named by 16-bit ids (1, 2, ...; 0 means none). Exports return an id (0 = failure),
 * 1 or 0, a count, or -1 for a colour or palette index that cannot be had. Id 0 and unknown ids
 * give the failure value and change nothing. New images belong to the caller with one reference.
 * Colours are COLORREF values (red in the low byte); palette tables handed across the interface are
 * 4-byte entries red, green, blue, 0. Images are bottom-up DIB sections of 1, 4, 8, 16 (5-6-5, asked
 * for as 16000), 24 or 32 bits; rows and coordinates in the exports count from the top-left. */
#ifndef PIXMILL_H
#define PIXMILL_H

#include <stdint.h>

#include "winplat/gdi.h"
#include "winplat/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PXL_API __attribute__((visibility("default")))

typedef int16_t PxlImageId;

/* Depth to ask for a 16-bit 5-6-5 image. */
#define PXL_BITS_565 16000

/* Transparency entry kinds. */
#define PXL_TRANSPARENT_COLOR 0
#define PXL_TRANSPARENT_INDEX 1
#define PXL_TRANSPARENT_REGION 2

typedef struct PxlTransparencyEntry {
    int32_t red;       /* kind 0: red to match */
    int32_t green;     /* kind 0: green to match */
    int32_t blue;      /* kind 0: blue to match; kind 1: palette index in the low byte */
    int32_t tolerance; /* kind 0: largest difference allowed per channel */
    int32_t kind;      /* PXL_TRANSPARENT_* */
    int32_t seedX;     /* kind 2: seed column */
    int32_t seedY;     /* kind 2: seed row, from the top */
} PxlTransparencyEntry;

/* A row of the format table as callers receive it. */
typedef struct PxlFormatRow {
    char extension[8]; /* with the leading dot, lower case */
    int32_t formatId;
    char name[52];
} PxlFormatRow;

/* Colour separation plates. */
#define PXL_PLATE_CYAN 2
#define PXL_PLATE_MAGENTA 3
#define PXL_PLATE_YELLOW 4
#define PXL_PLATE_BLACK 5

/* Start-up and compression. The compression exports wrap zlib's whole-buffer calls: *destLen holds
 * the capacity of dest on entry and the produced length on return; the result is zlib's code
 * (0 success, -3 corrupt input, -4 out of memory, -5 dest too small). */
PXL_API int16_t PXLcompress(uint8_t* dest, uint32_t* destLen, const uint8_t* source, uint32_t sourceLen);
PXL_API int16_t PXLdecompress(uint8_t* dest, uint32_t* destLen, const uint8_t* source, uint32_t sourceLen);
PXL_API int16_t PXLUseVFW(void);

/* Registry and deletion. */
PXL_API int16_t PXLDeleteImage(PxlImageId id);
PXL_API int16_t PXLClearTemporaryImages(PxlImageId id);

/* Creation. */
PXL_API PxlImageId PXLCreateImage(int width, int height, int bitsPerPixel);
PXL_API PxlImageId PXLCreateImageFromGlobal(HGLOBAL packedDib);
PXL_API PxlImageId PXLCreateImageFrom(PxlImageId id, int16_t share);
PXL_API PxlImageId PXLCreateImageFromBitmap(HBITMAP bitmap);
PXL_API PxlImageId PXLCreateImageFromClipboard(HWND owner);
PXL_API PxlImageId PXLCreateImageAttach(HBITMAP dibSection);
PXL_API PxlImageId PXLCreateImageSeparateColor(PxlImageId id, int16_t plate, int16_t keep);
PXL_API PxlImageId PXLCreateMaskImageFrom(PxlImageId id, const PxlTransparencyEntry* entries, int16_t count);
PXL_API int16_t PXLCopyImageToClipboard(HWND owner, PxlImageId id, int16_t format, int16_t empty);

/* Accessors. */
PXL_API HBITMAP PXLDeleteImageDetach(PxlImageId id);
PXL_API HBITMAP PXLGetBitmap(PxlImageId id);
PXL_API int16_t PXLWidth(PxlImageId id);
PXL_API int16_t PXLHeight(PxlImageId id);
PXL_API int16_t PXLbpp(PxlImageId id);
PXL_API int32_t PXLSizeImage(PxlImageId id);
PXL_API BITMAPINFO* PXLGetBitmapInfoHeader(PxlImageId id);
PXL_API uint8_t* PXLGetBits(PxlImageId id);
PXL_API int16_t PXLGetScanBytes(PxlImageId id);
PXL_API int16_t PXLCalcScanBytes(int width, int bitsPerPixel);
PXL_API HGLOBAL PXLGetGlobalBlock(PxlImageId id);
PXL_API int16_t PXLCompareImages(PxlImageId a, PxlImageId b);

/* Palettes. The fixed tables belong to the library. */
PXL_API const PALETTEENTRY* PXLGetHardPalette(void);
PXL_API const PALETTEENTRY* PXLGetWindows16Palette(void);
PXL_API const PALETTEENTRY* PXLGetFinePalette(void);
PXL_API HPALETTE PXLGetHPalette(void);
PXL_API int16_t PXLSetNewPalette(PxlImageId id, const PALETTEENTRY* entries, int count);
PXL_API int16_t PXLSetColorToPalette(PxlImageId id, int index, COLORREF color);
PXL_API int32_t PXLGetColorFromPalette(PxlImageId id, int index);
PXL_API int16_t PXLGetColorIndexFromPalette(PxlImageId id, COLORREF color);
PXL_API int16_t PXLNumColorUsed(PxlImageId id, int32_t counts[256]);
PXL_API int16_t PXLFillDIBColorTable(PxlImageId id);

#ifdef __cplusplus
}
#endif

#endif
