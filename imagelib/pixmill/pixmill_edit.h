/* Pixmill: editing images: flip, resize, crop, invert, colour picking, rotation, fills and
 * comparisons (part of pixmill.h; include that). Rectangles are inclusive unless said otherwise;
 * rows and columns count from the top-left. */
#ifndef PIXMILL_EDIT_H
#define PIXMILL_EDIT_H

#include "winplat/draw.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Flip flags. */
#define PXL_FLIP_LEFT_RIGHT 1
#define PXL_FLIP_TOP_BOTTOM 2

/* Resize modes. */
#define PXL_RESIZE_DRAWN \
    0 /* drawn as the display draws it (nearest pixel; a rotated image as the placeholder) */
#define PXL_RESIZE_NEAREST 1  /* the nearest pixel */
#define PXL_RESIZE_BILINEAR 2 /* linear between the four nearest pixels */
#define PXL_RESIZE_BOX 3      /* the average of the covered area (reductions; enlargements are bilinear) */

/* Mirrors the image in place (flags 1 left-right, 2 top-bottom, 3 both), with its mask and
 * transparency image; a cached rotated copy is dropped and made again when next needed. 1; 0 for
 * unknown ids or when memory runs out (the image unchanged). */
PXL_API int16_t PXLFlipImage(PxlImageId id, int16_t flags);
/* A new image of width x height: PXLNewSizeImageEx in mode 0. */
PXL_API PxlImageId PXLNewSizeImage(PxlImageId id, int16_t width, int16_t height, PxlProgressFn tick);
/* A new image of width x height (each at least 2) in a resize mode; the same size gives a copy.
 * Modes other than 0 take 1-bit images and images of more than 8 bits; mode 3 enlarging in either
 * direction works as mode 2. tick (may be null) is called height / 2 times before the work and as
 * often after it. 0 for unknown ids, unknown modes, or when the image cannot be made. */
PXL_API PxlImageId PXLNewSizeImageEx(PxlImageId id, int16_t width, int16_t height, int16_t mode,
                                     PxlProgressFn tick);
/* A new image of the pixels left..right, top..bottom; the corners are put in order and each is
 * kept inside the image. 0 for unknown ids or when the image cannot be made. */
PXL_API PxlImageId PXLCropImage(PxlImageId id, int32_t left, int32_t top, int32_t right, int32_t bottom);
/* PXLCropImage; with withTransparency the crop also gets the transparency entries (as they are)
 * and a crop of the transparency image. */
PXL_API PxlImageId PXLCropImageEx(PxlImageId id, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                  int16_t withTransparency);
/* The average colour of the pixels in the rectangle (cut to the image); -1 for unknown ids or
 * when none of the rectangle's four corners lies inside the image. */
PXL_API int32_t PXLSuckColor(PxlImageId id, int32_t left, int32_t top, int32_t right, int32_t bottom);
/* The palette index of pixel (x, y) of a 1-, 4- or 8-bit image; -1 otherwise. */
PXL_API int16_t PXLSuckColorIndex(PxlImageId id, int16_t x, int16_t y);

/* A new image of the picture turned clockwise by angle degrees (mod 360). Quarter turns are exact;
 * other angles take the nearest source pixel, turning by (k + 1) x 360 / 256 degrees where k is
 * angle x 0.71111 rounded (so 45 turns by about 46.4 and 358 or 359 not at all), on a canvas of the
 * turned corners plus 2 pixels filled with white (the palette index nearest white when
 * whiteBackground is set on 1-, 4- and 8-bit images, else bytes 0xFF). tick (may be null) is called
 * once per row. 0 for unknown ids, 16- and 32-bit images, or when the image cannot be made. */
PXL_API PxlImageId PXLRotateImage(PxlImageId id, int32_t angle, int16_t whiteBackground, PxlProgressFn tick);
/* The display rotation (low 16 bits); 0 for unknown ids. */
PXL_API int16_t PXLGetImageRotateAngle(PxlImageId id);
/* Sets the display rotation (mod 360) and drops the rotated copies made for the old one. 1; 0 for
 * unknown ids. */
PXL_API int16_t PXLSetImageRotateAngle(PxlImageId id, int32_t angle);
/* The image turned by its display rotation, made once and kept with the image (not a new
 * reference: the caller does not delete it), with a 1-bit transparency image of the uncovered
 * corners. 0 when the rotation is 0 or for unknown ids. */
PXL_API PxlImageId PXLGetImageRotateImage(PxlImageId id);
/* For a rotated image, the corners mask of its rotated copy (0 until the copy is made). For an
 * unrotated image (the mask or transparency image of a rotated picture), the image itself turned
 * by angle with the uncovered corners set (bits 1, bytes 255), made once per angle and kept with
 * the image. Not a new reference. 0 for unknown ids, and for an unrotated image and a whole turn. */
PXL_API PxlImageId PXLGetImageRotateImageMask(PxlImageId id, int32_t angle);

/* Paints a 24-bit image as a chessboard of cellWidth x cellHeight cells starting phaseX, phaseY
 * into the pattern: colour1 at the top-left for phase (0, 0). Cell width 0 paints colour2, cell
 * height 0 colour1. 1; 0 for unknown ids and other depths. */
PXL_API int16_t PXLFillImageByChessBoard(PxlImageId id, int32_t cellWidth, int32_t cellHeight, int32_t phaseX,
                                         int32_t phaseY, COLORREF colour1, COLORREF colour2);
/* Sets every pixel of a 1-, 4- or 8-bit image to the index (1 bit: set for index 1). 1; 0 for
 * unknown ids and other depths. */
PXL_API int16_t PXLFillImageByIndexColor(PxlImageId id, int16_t index);
/* Paints the whole image one colour: palette images with PXLGetNearestColorIndex's index, 24-bit
 * images with the colour. 0 for unknown ids and 16- and 32-bit images. */
PXL_API int16_t PXLFillImageByRGBColor(PxlImageId id, COLORREF colour);
/* Paints the rectangle (cut to the image) of an 8-bit image with the nearest index, of a 24-bit
 * image with the colour. 1; 0 for unknown ids and other depths. */
PXL_API int16_t PXLFillImageByRGBColor2(PxlImageId id, COLORREF colour, int32_t left, int32_t top,
                                        int32_t right, int32_t bottom);
/* With the 8-bit alpha image's top-left corner placed at (x, y) of the 8- or 24-bit image, paints
 * the colour (its low byte on 8 bits) over every pixel outside the alpha image and every pixel
 * under an alpha of 255. 1; 0 for unknown ids and other depths. */
PXL_API int16_t PXLImageClearByAlpha(PxlImageId id, PxlImageId alphaId, int32_t x, int32_t y,
                                     COLORREF colour);
/* Pixels of index a become b and palette entry a takes b's colour, so a is left unused; with swap
 * b's pixels become a and the two entries change places, so the picture looks the same. 1; 0 for
 * unknown ids, a equal to b, indexes beyond the palette and images without one. */
PXL_API int16_t PXLChangeIndexToIndex(PxlImageId id, int16_t a, int16_t b, int16_t swap);
/* Finds an index of the 8-bit image for "unchanged" (its one palette-index transparency, else an
 * unused index, else one freed by merging the two closest entries), gives it a colour no entry is
 * near unless the image has exactly one transparency entry, and sets it in every pixel equal to
 * the 8- or 24-bit reference pixel under it (the image placed at x, y of the reference). The
 * index; -1 for unknown ids, other depths or an image not inside the reference. */
PXL_API int16_t PXLCompareImagesAndFillByUniqueColor(PxlImageId id, PxlImageId referenceId, int32_t x,
                                                     int32_t y);
/* The smallest rectangle (inclusive) holding every pixel of a 1-, 4- or 8-bit image that is not
 * the background index. 1 when every pixel is background (then top > bottom), else 0; images of
 * more than 8 bits give 0 and the whole picture. */
PXL_API int16_t PXLGetOptimalRect(RECT* rect, PxlImageId id, int16_t backgroundIndex);
/* 1 when every byte of every pixel of a 24-bit image equals fill; 0 otherwise. */
PXL_API int16_t PXLIsImageBlank(PxlImageId id, uint8_t fill);

#ifdef __cplusplus
}

/* The resampler behind resize modes 1-3: fills `target` (of width x height, the source's depth)
 * from `source`. Mode 1 takes any depth, modes 2 and 3 1-bit images (each pixel the nearer of the
 * two indexes to the resampled value) and images of more than 8 bits. 1, or 0 with the target
 * untouched. Exported with C++ linkage. */
PXL_API int IPLResize(short source, short target, int width, int height, int mode);
#endif

#endif
