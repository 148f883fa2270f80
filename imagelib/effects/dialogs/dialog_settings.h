// The settings of an effect asked through its dialog, with the wait cursor shown while the effect
// is computed afterwards: what PXLBitmapEffect asks when no other provider is installed.
#ifndef PIXMILL_EFFECTS_DIALOGS_DIALOG_SETTINGS_H
#define PIXMILL_EFFECTS_DIALOGS_DIALOG_SETTINGS_H

#include "effects/effect_settings.h"

namespace pixmill::effects {

EffectSettingsProvider& dialogSettingsProvider();

}  // namespace pixmill::effects

#endif
