// Attaching a transparency image, as the file front end does for every image it loads.
#ifndef PIXMILL_CORE_IMAGE_CONVERT_H
#define PIXMILL_CORE_IMAGE_CONVERT_H

#include "pixmill/pixmill.h"

namespace pixmill {

// Makes 'attached' the transparency image of 'id' (it owns that reference from then on) by the
// rules of PXLSetImageTransparentEx: 1 or 8 bits, the picture's size, no ownership cycle. Returns
// whether it was attached; a refused image stays the caller's.
bool attachTransparencyImage(PxlImageId id, PxlImageId attached);

}  // namespace pixmill

#endif
