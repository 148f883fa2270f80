// Mnemonics in a dialog: the '&' letter of a control's text, or of the static label before it.
#ifndef WINPLAT_SRC_DIALOGS_DIALOG_MNEMONICS_H
#define WINPLAT_SRC_DIALOGS_DIALOG_MNEMONICS_H

#include "winplat/dialogs.h"

namespace winplat::dialogs {

// Acts on the control whose mnemonic is the character, searching from after the focus and
// wrapping: a button is focused and clicked (a push button only clicked, a group box passes to
// the next control), a label's mnemonic focuses the control after it. False when none has it.
bool pressMnemonic(HWND dialog, char character);

}  // namespace winplat::dialogs

#endif
