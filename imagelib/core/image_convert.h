// Conversions the file front end needs of every image: a nearest-neighbour size change for
// previews, and attaching a transparency image.
#ifndef PIXMILL_CORE_IMAGE_CONVERT_H
#define PIXMILL_CORE_IMAGE_CONVERT_H

#include "pixmill/pixmill.h"

namespace pixmill {

// A new image of the given size whose pixels are the nearest source pixels; 0 on failure.
PxlImageId resizeNearest(PxlImageId id, int width, int height);

// Makes 'attached' the transparency image of 'id' (it owns that reference from then on) by the
// rules of PXLSetImageTransparentEx: 1 or 8 bits, the picture's size, no ownership cycle. Returns
// whether it was attached; a refused image stays the caller's.
bool attachTransparencyImage(PxlImageId id, PxlImageId attached);

}  // namespace pixmill

#endif
