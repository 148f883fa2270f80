// The palette of the shade effect: a ramp of 256 colours from a chosen dark colour upwards.
#ifndef PIXMILL_EFFECTS_SHADE_PALETTE_H
#define PIXMILL_EFFECTS_SHADE_PALETTE_H

#include "core/registry/image_record.h"

namespace pixmill::effects {

// Entry i of an 8-bit image becomes the colour less its smallest channel, plus i on every channel
// (at most 255): black gives the plain grey ramp. Other depths are left unchanged. The caller
// publishes the colour table afterwards.
void makeShadePalette(ImageRecord& image, COLORREF colour);

}  // namespace pixmill::effects

#endif
