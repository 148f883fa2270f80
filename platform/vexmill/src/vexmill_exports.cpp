// The flat exports. Not built yet: every call refuses.
#include "vexmill/vexmill.h"

extern "C" {

uint16_t VXLLoadImage(const char*, VXLLOADCALLBACK) { return 0; }
uint16_t VXLLoadImageOffset2(const char*, int32_t, int32_t, VXLLOADCALLBACK) { return 0; }
int16_t VXLWidth(uint16_t) { return 0; }
int16_t VXLHeight(uint16_t) { return 0; }
BOOL VXLStretchDraw(uint16_t, HDC, int, int, int, int) { return FALSE; }
BOOL VXLDeleteImage(uint16_t) { return FALSE; }

}
