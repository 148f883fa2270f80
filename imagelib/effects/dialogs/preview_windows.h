// The two window classes of the effect dialogs: "PXLPREVIEW" shows a preview image of the open
// dialog (its window text "Orig" the original, anything else the edited one) and toggles the
// detail view on a click; "PXLCOLORPREVIEW" shows a colour swatch of the open dialog.
#ifndef PIXMILL_EFFECTS_DIALOGS_PREVIEW_WINDOWS_H
#define PIXMILL_EFFECTS_DIALOGS_PREVIEW_WINDOWS_H

#include "winplat/user.h"

namespace pixmill::effects {

inline constexpr char kPreviewClass[] = "PXLPREVIEW";
inline constexpr char kColourPreviewClass[] = "PXLCOLORPREVIEW";

// Registers both classes for the library's module; registering again while they are there
// changes nothing.
void RegisterPreviewClasses();
// Takes both classes away again (at library shut-down).
void unregisterPreviewClasses();

LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ColorPreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pixmill::effects

#endif
