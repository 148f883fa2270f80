// The 24-bit copy that the pixel effects work on.
#ifndef PIXMILL_EFFECTS_TRUE_COLOUR_COPY_H
#define PIXMILL_EFFECTS_TRUE_COLOUR_COPY_H

#include "pixmill/pixmill.h"

namespace pixmill::effects {

// A new 24-bit image with the picture of `image`: a plain copy (transparency entries included)
// when it already has 24 bits, else the depth converter's undithered conversion. 0 when none
// could be made.
PxlImageId trueColourCopy(PxlImageId image);

// A plain copy for 1-, 4-, 8- and 24-bit images, whose pixels the colour functions can map; the
// conversion to 24 bits for 16- and 32-bit ones. 0 when none could be made.
PxlImageId mappableCopy(PxlImageId image);

}  // namespace pixmill::effects

#endif
