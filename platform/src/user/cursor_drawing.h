// Drawing cursors and icons onto a surface: the AND mask keeps or clears each pixel under the
// picture and the XOR colour is laid over it, as a display draws a hardware pointer; a picture
// with an alpha channel blends its colours over the screen instead. The hosts' snapshots draw the
// current cursor at the pointer with it.
#ifndef WINPLAT_SRC_USER_CURSOR_DRAWING_H
#define WINPLAT_SRC_USER_CURSOR_DRAWING_H

#include "user/cursors.h"
#include "winplat/user.h"

namespace winplat::user {

// Draws the picture stretched (nearest pixel) over the rectangle; 'parts' is DI_NORMAL, or DI_MASK
// or DI_IMAGE alone to copy only the mask or only the picture.
void drawPicture(HDC dc, const CursorObject& picture, const RECT& target, UINT parts);

// Draws the cursor with its hot spot at (x, y) of the DC; false for a handle that is no cursor.
bool drawCursor(HDC dc, HCURSOR cursor, int x, int y);

// Draws the current cursor at the pointer when it shows (a cursor is set and the ShowCursor
// count is 0 or more); 'origin' is where the DC's (0, 0) lies on the screen. False when nothing
// was drawn.
bool drawPointer(HDC dc, POINT origin);

}  // namespace winplat::user

#endif
