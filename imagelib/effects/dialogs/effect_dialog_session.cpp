#include "effects/dialogs/effect_dialog_session.h"

namespace pixmill::effects {

namespace {

struct OpenDialog {
    HWND window = nullptr;
    std::unique_ptr<EffectDialogController> controller;
};

// Dialogs live on the UI thread only, so the one open needs no lock. Never destroyed: a
// controller left at exit must not free its previews after the registry is gone.
OpenDialog& openDialog() {
    static OpenDialog* const open = new OpenDialog;
    return *open;
}

}  // namespace

void beginEffectDialog(HWND dialog, std::unique_ptr<EffectDialogController> controller) {
    openDialog().controller = std::move(controller);
    openDialog().window = dialog;
}

bool effectDialogIsOpen() { return openDialog().controller != nullptr; }

EffectDialogController* effectDialogOf(HWND dialog) {
    if (dialog == nullptr || openDialog().window != dialog) return nullptr;
    return openDialog().controller.get();
}

void endEffectDialog(HWND dialog) {
    if (dialog == nullptr || openDialog().window != dialog) return;
    openDialog().controller.reset();
    openDialog().window = nullptr;
}

}  // namespace pixmill::effects
