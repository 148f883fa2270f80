// What the dialog manager keeps for each dialog beside its window words: the font (owned when the
// template named one), its base units, the default button's id, where the focus was, and whether
// EndDialog ended it with what result. It is kept with the dialog's window (user/window_state.h)
// from just after the window is made until its WM_NCDESTROY.
#ifndef WINPLAT_SRC_DIALOGS_DIALOG_STATE_H
#define WINPLAT_SRC_DIALOGS_DIALOG_STATE_H

#include <memory>
#include <optional>

#include "winplat/dialogs.h"
#include "winplat/owners.h"

namespace winplat::dialogs {

struct DialogState {
    GdiObject<HFONT> ownedFont;  // the template's font; none for the system font
    HFONT font = nullptr;        // what the controls were given
    SIZE baseUnits{};
    std::optional<WORD> defaultId;  // DM_SETDEFID's
    HWND savedFocus = nullptr;   // the control to give the focus back to
    HWND lastFocus = nullptr;    // the focus the default button was last tracked for
    bool ended = false;
    INT_PTR result = 0;
};

// The state of a dialog window, null for any other window. Shared, so a caller that sends
// messages while it uses the state keeps it should the dialog be destroyed meanwhile.
std::shared_ptr<DialogState> dialogState(HWND dialog);
// Gives the new dialog its state; null when memory runs out.
std::shared_ptr<DialogState> attachDialogState(HWND dialog, DialogState state);
void dropDialogState(HWND dialog);

}  // namespace winplat::dialogs

#endif
