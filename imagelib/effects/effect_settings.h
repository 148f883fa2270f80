// The settings of one effect and the seam through which they are asked for. The settings dialogs
// fill them unless a provider is installed; programs and tests without windows install one of
// their own that answers directly.
#ifndef PIXMILL_EFFECTS_EFFECT_SETTINGS_H
#define PIXMILL_EFFECTS_EFFECT_SETTINGS_H

#include <cstdint>
#include <optional>

#include "pixmill/pixmill.h"

namespace pixmill::effects {

// Light sources of the emboss effect, named by the ids of their buttons in the dialog.
enum LightSource : int {
    kLightBottom = 8056,
    kLightBottomLeft = 8057,
    kLightBottomRight = 8058,
    kLightLeft = 8059,
    kLightRight = 8060,
    kLightTop = 8061,
    kLightTopLeft = 8062,
    kLightTopRight = 8063,
};

// Every setting any effect reads; each kind uses its own few. Ranges are those the dialogs offer;
// the computation clamps what lies outside them.
struct EffectSettings {
    int brightness = 0;  // -127..127 (kinds 0, 10, 11)
    int contrast = 0;    // -127..127 (kinds 0, 10, 11)
    COLORREF shadeColour = RGB(0, 0, 0);  // kind 0: the ramp's darkest colour
    int method = 0;  // kind 1: 0 remapping, 1 ordered dithering, 2 Floyd-Steinberg
    COLORREF firstColour = RGB(0, 0, 0);        // kind 1: palette entry 0
    COLORREF secondColour = RGB(255, 255, 255);  // kind 1: palette entry 1
    int red = 0, green = 0, blue = 0;  // kind 12: -127..127 each
    int hue = 0;                       // kind 13: degrees, -359..359
    int saturation = 0, value = 0;     // kind 13: -127..127 each
    int degree = 0;                    // kinds 20 and 21: 0..5; kind 24: 1..50
    int lightSource = kLightTop;       // kind 22
    COLORREF coating = RGB(128, 128, 128);  // kind 22: the colour of flat areas
    bool inversion = false;                 // kind 23

    bool operator==(const EffectSettings&) const = default;
};

// What the settings dialog of a call is shown for.
struct EffectRequest {
    HWND parent = nullptr;
    PxlImageId source = 0;
    int kind = 0;
    int dialogId = 0;  // also the help topic of the dialog
    bool alreadyShaded = false;
};

// The kinds PXLBitmapEffect knows: the id of their dialog (0: none is shown).
struct EffectKind {
    int kind;
    int dialogId;
};
std::optional<EffectKind> findEffectKind(int kind);

// The settings a kind's dialog opens with.
EffectSettings startSettings(int kind);

// Whether the settings ask for a change at all: a focus or soften degree of 0 and a posterize
// block of 1 do not, and then no image is made.
bool asksForChange(int kind, const EffectSettings& settings);

class EffectSettingsProvider {
public:
    virtual ~EffectSettingsProvider() = default;
    // Shows the settings for the request, starting from `settings`; true (OK) with the chosen
    // settings left in `settings`, false (Cancel).
    virtual bool askSettings(const EffectRequest& request, EffectSettings& settings) = 0;
    // Around the computation after OK (the wait cursor).
    virtual void beginWait() {}
    virtual void endWait() {}
};

// The provider every later call asks; null (the start) means the effect's settings dialog asks.
// Returns the previous one. The provider stays the caller's.
EffectSettingsProvider* setEffectSettingsProvider(EffectSettingsProvider* provider);
EffectSettingsProvider* effectSettingsProvider();

}  // namespace pixmill::effects

#endif
