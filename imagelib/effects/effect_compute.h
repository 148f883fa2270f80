// Computing an effect once its settings are known; the settings dialogs' previews use it as well.
#ifndef PIXMILL_EFFECTS_EFFECT_COMPUTE_H
#define PIXMILL_EFFECTS_EFFECT_COMPUTE_H

#include "effects/effect_settings.h"
#include "effects/row_progress.h"

namespace pixmill::effects {

// A new image: the request's source with the effect of its kind applied (the source never
// changes). 0, with nothing left behind, for an unknown kind, settings that ask for no change, an
// unknown light source, or when an image cannot be made.
PxlImageId computeEffect(const EffectRequest& request, const EffectSettings& settings, PxlProgressFn progress);

}  // namespace pixmill::effects

#endif
