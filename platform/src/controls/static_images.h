// Pictures a STATIC loads itself: an icon or bitmap a dialog template names by resource number.
// A loaded bitmap belongs to the control and goes with it (controls/static_state.h); icons from
// modules are shared.
#ifndef WINPLAT_SRC_CONTROLS_STATIC_IMAGES_H
#define WINPLAT_SRC_CONTROLS_STATIC_IMAGES_H

#include "winplat/controls.h"

namespace winplat::controls {

// Loads the module's icon (SS_ICON) or bitmap (SS_BITMAP) and shows it; false when the control
// is of neither kind or the module has no such picture.
bool showResourceImage(HWND control, HINSTANCE module, WORD id);

}  // namespace winplat::controls

#endif
