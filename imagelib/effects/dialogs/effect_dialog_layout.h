// What each effect settings dialog holds: its preview windows, its sliders with their edits and
// spins, and whether it offers Restore. The dialog controller and the resource templates both
// follow this one table.
#ifndef PIXMILL_EFFECTS_DIALOGS_EFFECT_DIALOG_LAYOUT_H
#define PIXMILL_EFFECTS_DIALOGS_EFFECT_DIALOG_LAYOUT_H

#include <span>

#include "effects/effect_settings.h"

namespace pixmill::effects {

// Commands the dialogs post to themselves, and Restore.
enum EffectDialogCommand : int {
    kCommandRecompute = 1000,
    kCommandReady = 1001,
    kCommandPreviewClicked = 1002,
    kCommandRestore = 8064,
};

// One setting shown as a slider, an edit and a spin (up-down) kept in step. The spin has the
// slider's range; the line size is always 1.
struct SliderSetting {
    int sliderId;
    int editId;
    int spinId;
    int minimum;
    int maximum;
    int tickFrequency;
    int pageSize;
    int EffectSettings::*value;
};

struct EffectDialogLayout {
    int dialogId;
    int originalPreviewId;
    int editedPreviewId;
    std::span<const SliderSetting> sliders;
    bool hasRestore;
    std::span<const int> options;  // radio buttons and check boxes
};

// The layout of a dialog by its resource id; null for any other id.
const EffectDialogLayout* findDialogLayout(int dialogId);

// Every dialog, in resource id order.
std::span<const EffectDialogLayout> dialogLayouts();

// The slider setting whose slider, edit or spin has this control id; null when none has.
const SliderSetting* findSliderSetting(const EffectDialogLayout& layout, int controlId);

}  // namespace pixmill::effects

#endif
