// Painting a BUTTON in the classic grey 3-D look: push buttons (raised, sunken while pressed, a
// black frame when default or focused), check boxes and radio buttons with their marks, group
// boxes with an etched frame, and owner-drawn buttons through WM_DRAWITEM to the parent.
#ifndef WINPLAT_SRC_CONTROLS_BUTTON_DRAWING_H
#define WINPLAT_SRC_CONTROLS_BUTTON_DRAWING_H

#include "winplat/controls.h"

namespace winplat::controls {

void paintButton(HWND button, HDC dc);

// Asks the parent to draw an owner-drawn button with the action given (ODA_).
void drawOwnerButton(HWND button, HDC dc, UINT action);

}  // namespace winplat::controls

#endif
