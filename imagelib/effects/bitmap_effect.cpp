// The effect exports: settings asked through the installed provider or else the effect's dialog, then the effect computed on a new image.
#include "effects/apply_colour_function.h"
#include "effects/colour_functions.h"
#include "effects/dialogs/dialog_settings.h"
#include "effects/effect_compute.h"
#include "effects/effect_settings.h"

using namespace pixmill::effects;

namespace {

// Shows the wait state for as long as it lives.
class WaitState {
public:
    explicit WaitState(EffectSettingsProvider* provider) : provider_(provider) {
        if (provider_) provider_->beginWait();
    }
    ~WaitState() {
        if (provider_) provider_->endWait();
    }
    WaitState(const WaitState&) = delete;
    WaitState& operator=(const WaitState&) = delete;

private:
    EffectSettingsProvider* provider_;
};

}  // namespace

extern "C" {

PXL_API PxlImageId PXLBitmapEffect(HWND parent, PxlImageId image, int16_t kind, int16_t flag,
                                   PxlProgressFn progress) {
    const std::optional<EffectKind> effect = findEffectKind(kind);
    // An unknown image gets no dialog: there would be nothing to preview or compute.
    if (!effect || image == 0 || PXLbpp(image) == 0) return 0;
    const EffectRequest request{parent, image, kind, effect->dialogId, flag != 0};
    EffectSettings settings = startSettings(kind);
    EffectSettingsProvider* provider = effectSettingsProvider();
    if (!provider) provider = &dialogSettingsProvider();
    if (effect->dialogId != 0 && !provider->askSettings(request, settings)) return 0;
    if (!asksForChange(kind, settings)) return 0;
    const WaitState wait(provider);
    return computeEffect(request, settings, progress);
}

PXL_API PxlImageId PXLBitmapEffect_Bright(PxlImageId image, int16_t brightness) {
    if (image == 0) return 0;
    return applyColourFunction(image, BrightnessContrast(brightness, 0), {});
}

}  // extern "C"
