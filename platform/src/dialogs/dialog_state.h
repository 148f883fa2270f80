// What the dialog manager keeps for each dialog beside its window words: the font (owned when the
// template named one), its base units, the default button's id, where the focus was, and whether
// EndDialog ended it with what result.
#ifndef WINPLAT_SRC_DIALOGS_DIALOG_STATE_H
#define WINPLAT_SRC_DIALOGS_DIALOG_STATE_H

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

// The state of a dialog window, null for any other window.
DialogState* dialogState(HWND dialog);
DialogState& addDialogState(HWND dialog);
void dropDialogState(HWND dialog);

}  // namespace winplat::dialogs

#endif
