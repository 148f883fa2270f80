// The menu bar of a top-level window: its items side by side in the strip under the caption,
// drawn with the frame, and tracked from a press on it or from the keyboard (F10, Alt alone,
// Alt+mnemonic), one drop-down at a time, Left and Right moving along the bar.
#ifndef WINPLAT_SRC_USER_MENU_BAR_H
#define WINPLAT_SRC_USER_MENU_BAR_H

#include <vector>

#include "user/window.h"

namespace winplat::user {

// The strip in window coordinates.
RECT menuBarStrip(const WindowObject& window);

// Each bar item's place in window coordinates.
std::vector<RECT> layOutMenuBar(const WindowObject& window);

// Draws the strip: the menu colour, the labels, the item whose drop-down is open pushed in.
void drawMenuBarStrip(HDC dc, const WindowObject& window);

// The bar item under a screen point, or -1.
int menuBarItemAt(const WindowObject& window, POINT screen);

// Opens the bar item's drop-down (a bar item without one sends its command) and tracks the bar.
void trackMenuBar(const WindowRef& window, int item);

// The keyboard enters the bar: 0 opens the first live drop-down, a character the item whose
// mnemonic it is.
void enterMenuBarByKey(const WindowRef& window, WPARAM character);

}  // namespace winplat::user

#endif
