// The original preview of an effect dialog: the source fitted into the preview window, or a 1:1
// detail of it centred on a clicked point, on black.
#ifndef PIXMILL_EFFECTS_DIALOGS_EFFECT_PREVIEWS_H
#define PIXMILL_EFFECTS_DIALOGS_EFFECT_PREVIEWS_H

#include "effects/dialogs/effect_dialog_controller.h"

namespace pixmill::effects {

// A new image of width x height: 8-bit sources keep their depth and palette (the shade effect
// reads them as they are), every other depth is shown in 24 bits. Fitted mode stretches the
// whole source over it (nearest pixel); detail mode draws the source at its own size so that
// the point of the source under the click (the click limited to the preview, scaled by source
// size / preview size, rounded) lands at the centre. 0 when there is no source, the size is
// empty, or no image could be made.
PxlImageId buildOriginalPreview(PxlImageId source, int width, int height, const PreviewView& view);

}  // namespace pixmill::effects

#endif
