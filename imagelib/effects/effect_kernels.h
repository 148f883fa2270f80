// The kernels of the focus, contour and emboss effects.
#ifndef PIXMILL_EFFECTS_EFFECT_KERNELS_H
#define PIXMILL_EFFECTS_EFFECT_KERNELS_H

#include <optional>

#include "effects/kernel_5x5.h"
#include "pixmill/pixmill.h"

namespace pixmill::effects {

// The diagonal neighbours taken off the pixel: flat areas keep their colour.
EffectKernel sharpenKernel();
// The pixel against all eight neighbours: flat areas become black.
EffectKernel contourKernel();
// Grey relief lit from the light source (a LightSource of effect_settings.h), flat areas taking
// the coating colour. Nothing for an unknown light source.
std::optional<EffectKernel> embossKernel(int lightSource, COLORREF coating);

}  // namespace pixmill::effects

#endif
