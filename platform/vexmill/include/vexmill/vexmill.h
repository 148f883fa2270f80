/* Vexmill: the vector-picture library's exported interface.
 *
 * Pictures are Windows metafiles (placeable or plain), loaded once and named by 16-bit ids
 * (1, 2, ...; the smallest free one; 0 means failure). Paths are Windows paths in cp1250. A picture
 * draws itself stretched into a destination rectangle of any DC; its natural size is in pixels at
 * 96 DPI. Calls are safe from several threads; one id is drawn by one thread at a time. */
#ifndef VEXMILL_H
#define VEXMILL_H

#include <stdint.h>

#include "winplat/gdi.h"
#include "winplat/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VXL_API __attribute__((visibility("default")))

/* Called now and then while a picture loads, with the share read so far (0-100); a nonzero return
 * abandons the load. May be null. */
typedef int (*VXLLOADCALLBACK)(int percent);

/* Loads the whole file as a picture. 0 on failure (the reason goes to the debug output). */
VXL_API uint16_t VXLLoadImage(const char* path, VXLLOADCALLBACK callback);

/* Loads a picture stored inside a larger file: length bytes from offset (length 0: to the end). */
VXL_API uint16_t VXLLoadImageOffset2(const char* path, int32_t offset, int32_t length,
                                     VXLLOADCALLBACK callback);

/* The picture's natural size in pixels at 96 DPI; 0 for an unknown id. */
VXL_API int16_t VXLWidth(uint16_t id);
VXL_API int16_t VXLHeight(uint16_t id);

/* Draws the picture into the rectangle (x, y, width, height) of dc (in the DC's own coordinates);
 * the DC's objects, mapping and modes are as before afterwards. FALSE for an unknown id. */
VXL_API BOOL VXLStretchDraw(uint16_t id, HDC dc, int x, int y, int width, int height);

/* Frees the picture; its id may be given out again. FALSE for an unknown id. */
VXL_API BOOL VXLDeleteImage(uint16_t id);

#ifdef __cplusplus
}
#endif

#endif
