// The effect kinds with their dialogs and start settings, and the provider that asks for them.
#include "effects/effect_settings.h"

#include <array>
#include <atomic>

namespace pixmill::effects {

namespace {

constexpr std::array<EffectKind, 12> kKinds{{
    {PXL_EFFECT_SHADE, 8096},
    {PXL_EFFECT_BICOLOR, 8097},
    {PXL_EFFECT_INVERT, 0},
    {PXL_EFFECT_BRIGHTNESS, 8095},
    {PXL_EFFECT_CONTRAST, 8095},
    {PXL_EFFECT_RGB, 8103},
    {PXL_EFFECT_HSV, 8101},
    {PXL_EFFECT_FOCUS, 8100},
    {PXL_EFFECT_SOFTEN, 8104},
    {PXL_EFFECT_EMBOSS, 8099},
    {PXL_EFFECT_CONTOUR, 8098},
    {PXL_EFFECT_POSTERIZE, 8102},
}};

std::atomic<EffectSettingsProvider*> currentProvider{nullptr};

}  // namespace

std::optional<EffectKind> findEffectKind(int kind) {
    for (const EffectKind& k : kKinds) {
        if (k.kind == kind) return k;
    }
    return std::nullopt;
}

EffectSettings startSettings(int kind) {
    EffectSettings settings;
    // Posterizing by blocks of one pixel is no change, so its dialog starts there.
    if (kind == PXL_EFFECT_POSTERIZE) settings.degree = 1;
    return settings;
}

bool asksForChange(int kind, const EffectSettings& settings) {
    switch (kind) {
        case PXL_EFFECT_FOCUS:
        case PXL_EFFECT_SOFTEN: return settings.degree > 0;
        case PXL_EFFECT_POSTERIZE: return settings.degree > 1;
        default: return true;
    }
}

EffectSettingsProvider* setEffectSettingsProvider(EffectSettingsProvider* provider) {
    return currentProvider.exchange(provider);
}

EffectSettingsProvider* effectSettingsProvider() { return currentProvider.load(); }

}  // namespace pixmill::effects
