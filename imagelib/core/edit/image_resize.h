// Resized copies of an image drawn as the display draws them.
#ifndef PIXMILL_CORE_IMAGE_RESIZE_H
#define PIXMILL_CORE_IMAGE_RESIZE_H

#include "pixmill/pixmill.h"

namespace pixmill {

// A new image of width x height (each at least 1) and the source's depth and palette, the source
// drawn into it nearest-pixel through a memory DC; a rotated source gives the hatched
// placeholder. 0 for unknown ids or when the image cannot be made.
PxlImageId drawResized(PxlImageId id, int width, int height);

}  // namespace pixmill

#endif
