// Replacing one colour of an image by another, the pixels chosen by the image itself.
#ifndef PIXMILL_CORE_COLOUR_REPLACE_H
#define PIXMILL_CORE_COLOUR_REPLACE_H

#include "pixmill/pixmill.h"

namespace pixmill {

// The pixels of the image that show exactly `from` become `to`; 1, or 0 with nothing changed
// (as PXLChangeColorToColorRef with the image as its own reference).
int16_t changeColorToColor(PxlImageId id, COLORREF from, COLORREF to);

}  // namespace pixmill

#endif
