// Dialog units: a quarter of the font's average character width across, an eighth of its height
// down.
#ifndef WINPLAT_SRC_DIALOGS_DIALOG_UNITS_H
#define WINPLAT_SRC_DIALOGS_DIALOG_UNITS_H

#include "winplat/dialogs.h"

namespace winplat::dialogs {

// The base units of a font: the average width of the 52 Latin letters, rounded, and the cell
// height.
SIZE baseUnitsOf(HFONT font);

// A rectangle in dialog units to pixels.
RECT toPixels(RECT units, SIZE baseUnits);

}  // namespace winplat::dialogs

#endif
