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
struct IStream;
#else
typedef struct IStream IStream;
#endif

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

/* Called once per row (or step) of a long operation; may be null. */
typedef void (*PxlProgressFn)(void);

/* A stream given as four callbacks, each called with the record itself first (embed the record
 * at the start of a structure of your own to carry more). seek origins: 0 start, 1 current, 2 end. */
typedef struct PxlStreamCallbacks PxlStreamCallbacks;
struct PxlStreamCallbacks {
    int32_t (*read)(PxlStreamCallbacks* self, void* buffer, int32_t count);   /* bytes read */
    int32_t (*write)(PxlStreamCallbacks* self, const void* buffer, int32_t count); /* bytes written */
    int32_t (*seek)(PxlStreamCallbacks* self, int32_t offset, int32_t origin);
    int32_t (*tell)(PxlStreamCallbacks* self);
};

/* What the library reports about an image file without loading it. */
typedef struct PxlFileInfo {
    int32_t formatId;
    char detailText[64];
    int32_t width;
    int32_t height;
    int32_t reserved1; /* always 0 */
    int32_t reserved2; /* always 0 */
    int32_t bitsPerPixel;
    int32_t fileSize;
    int32_t imageBytes;
    int32_t frameCount;
    int32_t rotationAngle;
} PxlFileInfo;

/* Format ids. */
#define PXL_FORMAT_PCX 10
#define PXL_FORMAT_GIF 20
#define PXL_FORMAT_TIFF 30
#define PXL_FORMAT_BMP 40
#define PXL_FORMAT_DIB 41
#define PXL_FORMAT_RLE 42
#define PXL_FORMAT_WPG 50
#define PXL_FORMAT_ICO 60
#define PXL_FORMAT_MACPAINT 70
#define PXL_FORMAT_TARGA 80
#define PXL_FORMAT_JPG 90
#define PXL_FORMAT_JPEG 91
#define PXL_FORMAT_PNG 100
#define PXL_FORMAT_BMI 110
#define PXL_FORMAT_PCD 120

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

/* Formats, detection and file information. */
PXL_API int16_t PXLCountImportFormats(void);
PXL_API int16_t PXLEnumerateImportFormats(int16_t index, PxlFormatRow* row);
PXL_API int16_t PXLCountExportFormats(void);
PXL_API int16_t PXLEnumerateExportFormats(int16_t index, PxlFormatRow* row);
PXL_API int16_t PXLGetFormatName(int16_t formatId, PxlFormatRow* row);
PXL_API int16_t PXLGetFormatFileExt(const char* path);
PXL_API int16_t PXLGetFormatFile(const char* path);
PXL_API int16_t PXLGetFormatFileOffset(const char* path, int32_t offset);
PXL_API int16_t PXLGetInfoFile(const char* path, PxlFileInfo* info);
PXL_API int16_t PXLGetInfoFileEx(const char* path, PxlFileInfo* info);
PXL_API int16_t PXLGetInfoFileOffset(const char* path, int32_t offset, PxlFileInfo* info);
PXL_API int16_t PXLGetInfoFileStreamCB(PxlStreamCallbacks* stream, PxlFileInfo* info);
PXL_API int16_t PXLSupportGifLicenseText(char* out, int16_t length);

/* One block of a GIF file as PXLGetGifDetails lists it, in file order. */
#define PXL_GIF_BLOCK_OTHER 0           /* an extension of another label */
#define PXL_GIF_BLOCK_HEADER 1
#define PXL_GIF_BLOCK_GLOBAL_TABLE 2
#define PXL_GIF_BLOCK_COMMENT 3
#define PXL_GIF_BLOCK_APPLICATION 4
#define PXL_GIF_BLOCK_GRAPHIC_CONTROL 5
#define PXL_GIF_BLOCK_LOCAL_TABLE 6
#define PXL_GIF_BLOCK_IMAGE 7
#define PXL_GIF_BLOCK_PLAIN_TEXT 8
typedef struct PxlGifBlockEntry {
    int32_t kind;   /* PXL_GIF_BLOCK_* */
    int32_t start;  /* file position: the end of the entry before (0 for the header) */
    int32_t length; /* bytes from start to the end of the block; an image with a local table is
                     * listed as the table (from the separator, the table's size) and then the
                     * image (from after the table, the rest of its data plus 10) */
    int32_t width;  /* header: logical screen width; image: its width */
    int32_t height; /* header: logical screen height; image: its height */
    int32_t value;  /* colour tables: bits (1-8); graphic control: its packed byte, sign-extended */
    char text[48];  /* header: the 6-byte signature, zero-terminated; comment: its first 45
                     * characters, ".." after them when it is longer; application: the 11
                     * identifier bytes (not terminated) */
} PxlGifBlockEntry;
/* Lists the blocks of a GIF file into entries (null: only counts them) and returns their number,
 * 0 when the file cannot be read as a GIF (entries written before that stay). Fields a kind does
 * not name are left as they were. Size the array by a first call with null. */
PXL_API int16_t PXLGetGifDetails(const char* path, PxlGifBlockEntry* entries);

/* Loading and saving. Loads return a new image id, 0 on failure; a load broken off with
 * PXLBreakLoad leaves no image. Saves return 1 when the file was written; the old file at the
 * path stays untouched unless the new one was written completely. */
PXL_API PxlImageId PXLLoadImage(int32_t reserved, const char* path, PxlProgressFn progress);
PXL_API PxlImageId PXLLoadImageOffset(int32_t reserved, const char* path, int32_t offset, PxlProgressFn progress);
PXL_API PxlImageId PXLLoadImagePreviewOffset(int32_t reserved, const char* path, int32_t offset, int16_t boxWidth,
                                             int16_t boxHeight, PxlProgressFn progress);
PXL_API PxlImageId PXLLoadImageOleStream(int32_t reserved, IStream* stream, PxlProgressFn progress);
PXL_API PxlImageId PXLLoadImageStreamCB(int32_t reserved, PxlStreamCallbacks* stream, PxlProgressFn progress);
PXL_API int16_t PXLSaveImage(PxlImageId id, const char* path, int16_t formatId, int32_t option1, int16_t option2,
                             PxlProgressFn progress);
PXL_API int16_t PXLSaveImageOleStream(PxlImageId id, IStream* stream, int16_t formatId);
PXL_API int16_t PXLSaveImageStreamCB(PxlImageId id, PxlStreamCallbacks* stream, int16_t formatId);
PXL_API int16_t PXLNewSizeCalculateProp(int32_t width, int32_t height, int32_t* boxWidth, int32_t* boxHeight);
/* Asks a running load to stop (from any thread); 0 while PXLLockBreakLoad(1) holds. */
PXL_API int16_t PXLBreakLoad(void);
PXL_API int16_t PXLLockBreakLoad(int lock);

/* The palette index nearest to a colour by dropping low bits until a palette entry matches. */
PXL_API int16_t PXLGetNearestColorIndex(PxlImageId id, COLORREF color);

/* Transparency and masks. Masks are 1-bit images of the picture's size whose set bits mark
 * transparent pixels; alpha images are 8-bit images of the picture's size, 255 fully transparent.
 * An image attached as a mask or transparency image belongs to the image from then on; one of
 * another size, of a depth other than 1 or 8, or owning the picture itself is refused (0) and
 * stays the caller's. */
PXL_API int16_t PXLIsImageTransparent(PxlImageId id);
/* The image's own entry array (valid while the image lives) and its count; null and 0 if none. */
PXL_API PxlTransparencyEntry* PXLGetImageTransparentData(PxlImageId id, int32_t* count);
/* Up to 10 entries are kept; null or 0 entries clear them. The derived mask is always dropped. */
PXL_API int16_t PXLSetImageTransparent(PxlImageId id, const PxlTransparencyEntry* entries, int32_t count);
/* The previous mask (or transparency image) is deleted first, so id 0 just removes it (result 0). */
PXL_API int16_t PXLSetImageTransparentMask(PxlImageId id, PxlImageId mask);
PXL_API int16_t PXLSetImageTransparentEx(PxlImageId id, PxlImageId transparencyImage);
/* The attached transparency image, not a new reference; 0 if none. */
PXL_API PxlImageId PXLGetImageTransparentImageEx(PxlImageId id);
/* A new reference to the image's mask (built from the entries when needed), else to its
 * transparency image; 0 when it has neither. */
PXL_API PxlImageId PXLGetImageTransparentImage(PxlImageId id);
/* Makes the palette index under pixel (x, y) (or, with clear, nothing) the transparent colour of
 * the one-frame GIF file at path, rewriting it in place. 1; 0, with the file untouched, for other
 * formats, animations, a pixel outside the picture or a failed save. */
PXL_API int16_t PXLSetImageTransparentOrig(const char* path, int x, int y, int clear);
/* A new reference to the first non-zero of the three ids (no pixels are merged); 0 if all are 0. */
PXL_API PxlImageId PXLCreateMaskCombine(PxlImageId a, PxlImageId b, PxlImageId c);
PXL_API PxlImageId PXLCreateTranspCombine(PxlImageId a, PxlImageId b, PxlImageId c);
/* A new mask with the 4-connected region around the entry's seed set: the pixels whose red, green
 * and blue each lie within the entry's tolerance of its colour. 0 when the seed lies outside the
 * image or does not match, and for images other than 1, 4, 8 or 24 bits. */
PXL_API PxlImageId PXLFloodFillMask(PxlImageId id, const PxlTransparencyEntry* entry);
/* Sets (set != 0) or clears the mask bits of every pixel whose channels lie within color +/-
 * tolerance (both COLORREF-packed, bounds clamped to 0..255). The mask must be 1-bit and of the
 * image's size. */
PXL_API int16_t PXLMaskFillByColor(PxlImageId image, PxlImageId mask, COLORREF color, COLORREF tolerance,
                                   int16_t set);
/* Draws the image through its mask (maskId, else its own transparency) and an optional alpha image
 * (alphaId, else its transparency image when useTransparencyImage is set) into a 24-bit bottom-up
 * DIB, stretched to left..right-1, top..bottom-1 and clipped to the DIB. plate 2..5 draws that
 * separation plate (keep as PXLCreateImageSeparateColor). 0, with the DIB untouched, for a picture
 * without transparency, a destination that is not 24-bit bottom-up, or a rectangle off the DIB. */
PXL_API int16_t PXLStretchBltTransparent(HDC ignored, const BITMAPINFOHEADER* destHeader, uint8_t* destBits,
                                         int left, int top, int right, int bottom, PxlImageId id,
                                         int16_t useTransparencyImage, PxlImageId alphaId, PxlImageId maskId,
                                         int16_t plate, int16_t keep);

#include "pixmill/pixmill_frames.h"

/* Colour and index replacement through a 1-bit mask. */
/* Every pixel whose mask bit is set gets the colour: B, G, R on 24 bits, the low byte on 8 bits,
 * its low nibble on 4 bits, bit set when the low byte is 1 on 1 bit. 0, with nothing changed, for
 * unknown ids, a mask that is not 1-bit or not of the image's size, and 16- or 32-bit images. */
PXL_API int16_t PXLImageFillByColor(PxlImageId id, PxlImageId maskId, COLORREF color);
/* The pixels of the image whose pixel in the reference shows exactly `from` become `to` (a palette
 * image takes the first palette entry equal to `to`). 0, with nothing changed, for id 0, unknown
 * ids, a `to` missing from the palette, or a reference of another size. */
PXL_API int16_t PXLChangeColorToColorRef(PxlImageId id, PxlImageId referenceId, COLORREF from, COLORREF to);
/* The pixels of a palette image whose pixel in the (palette) reference has index `from` get index
 * `to` (low bytes of both). 0, with nothing changed, for id 0, unknown ids, an image without
 * palette, a `to` beyond its palette, or a reference of another size. */
PXL_API int16_t PXLChangeIndexToIndexRef(PxlImageId id, PxlImageId referenceId, int fromIndex, int toIndex);

/* Colour conversion */
/* A new image of another depth made from `image` (left unchanged). `bits` is normalised to its
 * class (1, 4, 8 or 24; 16 gives 24) and is 8 when `grey` is set. ditherType: 0 none, 1 ordered
 * 8x8, 2 Floyd-Steinberg, 3 Burkes (off for 24-bit targets and grey). paletteMode: 0 the caller's
 * palette (at least as many entries as the target's palette) or the target's default, 1 a
 * popularity palette of the source; bit 0x80 leaves the last entry unused. A 32-bit source always
 * gives plain 24 bits. `progress` is called once per row. 0 for unknown ids, palette modes other
 * than 0 and 1, dither types above 3, targets of 25 bits and more, or when memory runs out. */
PXL_API PxlImageId PXLColorConvert(PxlImageId image, int16_t bits, int16_t ditherType, int16_t paletteMode,
                                   int32_t grey, const PALETTEENTRY* palette, PxlProgressFn progress);
/* Reduces the 24-bit `source` into the 8-bit `target` of the same size, palette and pixels: the
 * palette by splitting colour boxes (`colours` entries, 2..256), keeping the target's first
 * `fixed` entries; pixels whose bit in the 1-bit `mask` (0 = none, same size) is 0 get a last
 * entry (128,128,128) that becomes the target's palette-index transparency. ditherType: 0 none,
 * 1 ordered, 2 and 3 serpentine error diffusion. 1, or 0 for bad ids, depths or sizes, or an
 * image whose every pixel is masked out. */
PXL_API int32_t PXLFineColorConvert(PxlImageId target, PxlImageId source, PxlImageId mask, int32_t colours,
                                    int32_t ditherType, int32_t fixed);
/* A new 8-bit copy of a 24-bit image: the 192 most frequent colours at 4 bits a channel, then the
 * 4x4x4 cube in entries 192..255; each pixel takes the entry nearest its 4-bit cell (least sum of
 * channel differences, lowest index on ties), and pure white takes 255. 0 when the source is not
 * 24-bit or no image could be made. */
PXL_API PxlImageId PXLCreateImage8from24(PxlImageId image);
/* A new 16-bit 5-6-5 copy of a 24-bit image, each channel rounded to its bits (green reaches 63
 * from 247 on). 0 for id 0, a source that cannot be taken or is not 24-bit, or when the new
 * image cannot be made. */
PXL_API PxlImageId PXLCreateImage16from24(PxlImageId image);

/* Palette quantisation. Colours are matched by dropping low bits from both sides (red first,
 * then green, then blue, in turn) until they are equal; the lowest index wins. Palette buffers
 * are 256 entries. */
/* Copies min(source, target palette size) colour-table entries from source to target. 0, with
 * nothing changed, for unknown ids or when either image has no palette. */
PXL_API int16_t PXLSetNewColorPaletteFrom(PxlImageId target, PxlImageId source);
/* A new 8-bit copy of a 24-bit image at 6 bits a channel: the first 254 occupied 6-6-6 cells in
 * cell order get indices 0..253 and the rest show index 1; entries after the numbered ones get
 * 255 in their fourth byte; the entries the three exact colours fall on are set to those colours.
 * *colorCount (may be null) receives the number of occupied cells. 0 when the source is not
 * 24-bit or no image could be made. */
PXL_API PxlImageId PXLColorConvert24to8(PxlImageId id, COLORREF exact1, COLORREF exact2, COLORREF exact3,
                                        int32_t* colorCount);
/* Fills a 256-entry buffer with a palette fit for the frames from `image` on and returns the
 * index left free for transparency (0): for one frame its own palette with the free entry (its
 * palette-index transparency, else 238, 15 or 1 by depth) swapped into slot 0, which becomes the
 * lightest grey the rest of the palette lacks. -1 for a null buffer or an unknown id. */
PXL_API int32_t PXLCalculateOptimPalette256(PxlImageId image, PALETTEENTRY* palette);
/* Moves an 8-bit image onto the given palette, each old entry going to its match; the image's
 * palette-index transparent entry and the given index (0..255) take no part, and old entries left
 * unmatched take the given index, which becomes the image's only transparency entry. With an
 * index outside 0..255 every old entry is matched and the transparency is cleared. 0 for unknown
 * ids, a null palette or a depth other than 8. */
PXL_API int16_t PXLConvertImageOnNewPalette(PxlImageId id, const PALETTEENTRY* palette, int32_t transparentIndex);
/* table[i] = the position in palette A matching entry i of palette B, for i below the larger
 * palette size (entries beyond a palette's size count as black); 0 from there to 255. Palette
 * sizes are those of the depths, bounded by biClrUsed when it is smaller. 0 for null pointers or
 * a depth without palette. */
PXL_API int16_t PXLConvertPaletteTable(const BITMAPINFO* a, const BITMAPINFO* b, int32_t* table);
/* Merges matching entries (the lowest index stays) with ever more bits dropped until fewer than
 * count (clamped to 2..256) are left, packs them to the front and repeats entry 0 after them.
 * 0 for a null palette. */
PXL_API int16_t PXLReducePalette256(PALETTEENTRY* palette, int32_t count);
/* Fills 256 rows of 7 bytes (pixel count as little-endian 32 bits, then R, G, B of the entry) for
 * a 1-, 4- or 8-bit image; with skipTransparent, pixels of its palette-index transparent entry
 * are not counted. Returns the number of entries (2, 16 or 256), or 0 for unknown ids, a null
 * buffer or another depth. */
PXL_API int16_t PXLGenerateHistogramIndexImage(PxlImageId id, uint8_t* rows, int32_t skipTransparent);

/* Inverts the colours in place: true-colour bytes are complemented, 1-bit pixels swap indices 0
 * and 1, 4- and 8-bit images complement their palette entries. 1, or 0 for id 0 or unknown ids. */
PXL_API int16_t PXLInvert(PxlImageId id);

/* Effects. PXLBitmapEffect asks the effect's settings (through the settings dialog, which the
 * parent window owns) and returns a new image with the effect applied; the source never changes.
 * 0 when the settings were cancelled or ask for no change, for id 0, unknown ids and kinds, and
 * when an image cannot be made. flag: the image is already in 256 shades of grey (kind 0 only).
 * Progress is called once per row of the work. */
#define PXL_EFFECT_SHADE 0
#define PXL_EFFECT_BICOLOR 1
#define PXL_EFFECT_INVERT 2 /* asks nothing */
#define PXL_EFFECT_BRIGHTNESS 10
#define PXL_EFFECT_CONTRAST 11
#define PXL_EFFECT_RGB 12
#define PXL_EFFECT_HSV 13
#define PXL_EFFECT_FOCUS 20
#define PXL_EFFECT_SOFTEN 21
#define PXL_EFFECT_EMBOSS 22
#define PXL_EFFECT_CONTOUR 23
#define PXL_EFFECT_POSTERIZE 24
PXL_API PxlImageId PXLBitmapEffect(HWND parent, PxlImageId image, int16_t kind, int16_t flag, PxlProgressFn progress);
/* A new image with the brightness (-127..127) changed, asking nothing. */
PXL_API PxlImageId PXLBitmapEffect_Bright(PxlImageId image, int16_t brightness);

#ifdef __cplusplus
}

/* Blurs the 24- or 32-bit source into the target (the same image, or one of its size and depth)
 * with a centre-weighted filter reaching `degree` (1..5) pixels each way; edges are replicated.
 * 1, or 0 with nothing changed for other depths, sizes or degrees. Exported with C++ linkage. */
PXL_API int IPLBlurCenter(short source, short target, int degree);
#endif

#include "pixmill/pixmill_draw.h"
#include "pixmill/pixmill_edit.h"

#endif
