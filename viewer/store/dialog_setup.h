// The set-up every dialog of the reader shares: one Cancel caption whatever the dialog template
// says, and the dialog centred on the screen.
#ifndef LECT32_STORE_DIALOG_SETUP_H
#define LECT32_STORE_DIALOG_SETUP_H

#include "winplat/user.h"

namespace lect32 {

// Renames the Cancel button (control 2) to "Storno" when it reads exactly "Zrušit" or "Zrušiť".
void NormalizeCancelButtonText(HWND dialog);

// Moves the window, keeping its size, to the middle of the screen, and repaints it.
void CenterWindowOnScreen(HWND window);

// Called by dialogs once they are set up and when they end. Nothing listens yet; they stay so
// that a dialog's life can be followed from one place.
void NotifyDialogShown(HWND dialog);
void NotifyDialogClosed(HWND dialog);

}  // namespace lect32

#endif
