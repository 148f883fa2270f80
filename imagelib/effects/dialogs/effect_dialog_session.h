// The effect dialog open now. The effect settings are module-wide, so one dialog runs at a time;
// its preview windows find the dialog's controller here.
#ifndef PIXMILL_EFFECTS_DIALOGS_EFFECT_DIALOG_SESSION_H
#define PIXMILL_EFFECTS_DIALOGS_EFFECT_DIALOG_SESSION_H

#include <memory>

#include "effects/dialogs/effect_dialog_controller.h"

namespace pixmill::effects {

// The dialog window becomes the open one with its controller; one open before is dropped.
void beginEffectDialog(HWND dialog, std::unique_ptr<EffectDialogController> controller);
// Whether an effect dialog is open now.
bool effectDialogIsOpen();
// The controller of `dialog` while it is the open one; null for any other window.
EffectDialogController* effectDialogOf(HWND dialog);
// Drops the controller of `dialog` (its previews go with it) when it is the open one.
void endEffectDialog(HWND dialog);

}  // namespace pixmill::effects

#endif
