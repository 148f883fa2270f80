#include "effects/dialogs/dialog_settings.h"

#include "core/registry/library_state.h"
#include "effects/dialogs/effect_dialog_procs.h"
#include "effects/dialogs/effect_dialog_session.h"
#include "effects/dialogs/preview_windows.h"
#include "winplat/refusal.h"

namespace pixmill::effects {

namespace {

constexpr winplat::Refuser refuse("PXL32: effect dialog");

class DialogSettings final : public EffectSettingsProvider {
public:
    bool askSettings(const EffectRequest& request, EffectSettings& settings) override {
        const DLGPROC procedure = effectDialogProcedure(request.dialogId);
        if (!procedure) return refuse(false, "no dialog asks for the settings of this effect");
        // The settings and previews are module-wide: an effect asked from within another's
        // dialog (from its owner's help, say) would take them from under it.
        if (effectDialogIsOpen()) return refuse(false, "another effect dialog is open");
        RegisterPreviewClasses();
        EffectDialogCall call{request, &settings};
        const INT_PTR result = DialogBoxParamA(libraryInstance(), MAKEINTRESOURCEA(request.dialogId), request.parent,
                                               procedure, reinterpret_cast<LPARAM>(&call));
        if (result == -1) return refuse(false, "the effect dialog could not be made");
        return result == IDOK;
    }
    void beginWait() override { previous_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }
    void endWait() override { SetCursor(previous_); }

private:
    HCURSOR previous_ = nullptr;
};

}  // namespace

EffectSettingsProvider& dialogSettingsProvider() {
    static DialogSettings dialogs;
    return dialogs;
}

}  // namespace pixmill::effects
