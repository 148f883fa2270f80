// The focus inside a dialog: moving it to a control (an edit's text selected whole, as Tab does),
// and the default push button, which follows the focus: a focused push button is the default
// while it has the focus, else the dialog's default id is.
#ifndef WINPLAT_SRC_DIALOGS_DIALOG_FOCUS_H
#define WINPLAT_SRC_DIALOGS_DIALOG_FOCUS_H

#include <optional>

#include "winplat/dialogs.h"

namespace winplat::dialogs {

// WM_GETDLGCODE of a control, without a message.
LRESULT dialogCodeOf(HWND control, const MSG* message = nullptr);

void focusControl(HWND dialog, HWND control);

// Restyles the push buttons after the focus moved (nothing when it has not since last time).
void trackDefaultButton(HWND dialog);

// The dialog's default button id: DM_SETDEFID's, else the template's default push button's.
std::optional<WORD> defaultIdOf(HWND dialog);
void setDefaultId(HWND dialog, WORD id);

// Whether the window is the dialog or lies inside it.
bool inDialog(HWND dialog, HWND window);

}  // namespace winplat::dialogs

#endif
