// Applying a colour function to an image: to its palette, or to each of its 24-bit pixels.
#ifndef PIXMILL_EFFECTS_APPLY_COLOUR_FUNCTION_H
#define PIXMILL_EFFECTS_APPLY_COLOUR_FUNCTION_H

#include "core/registry/image_record.h"
#include "effects/colour_functions.h"
#include "effects/row_progress.h"

namespace pixmill::effects {

// In place: every palette entry of a 1-, 4- or 8-bit image (the caller publishes the colour
// table afterwards), or every pixel of a 24-bit one with progress after each row. false, with
// nothing changed, for other depths.
bool mapImageColours(ImageRecord& image, const ColourFunction& function, const RowProgress& progress);

// A new image: a copy of `image` (16- and 32-bit ones converted to 24 bits) with the function
// applied. 0 when no copy could be made.
PxlImageId applyColourFunction(PxlImageId image, const ColourFunction& function, const RowProgress& progress);

}  // namespace pixmill::effects

#endif
