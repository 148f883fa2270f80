#include "user/cursor_drawing.h"

#include "user/cursors.h"
#include "user/input_state.h"

namespace winplat::user {

bool drawCursor(HDC dc, HCURSOR cursor, int x, int y) {
    const auto object = findCursor(cursor);
    if (!object) return false;
    const int left = x - object->hotSpot.x;
    const int top = y - object->hotSpot.y;
    for (int row = 0; row < object->height; ++row) {
        for (int column = 0; column < object->width; ++column) {
            const auto at = static_cast<size_t>(row * object->width + column);
            const COLORREF under = GetPixel(dc, left + column, top + row);
            if (under == CLR_INVALID) continue;  // off the surface
            const COLORREF kept = object->andMask[at] ? under : RGB(0, 0, 0);
            const COLORREF shown = kept ^ object->xorColour[at];
            if (shown != under) SetPixel(dc, left + column, top + row, shown);
        }
    }
    return true;
}

bool drawPointer(HDC dc, POINT origin) {
    const InputState& state = inputState();
    if (state.cursorShowCount < 0 || !state.cursorShape) return false;
    return drawCursor(dc, state.cursorShape, state.cursor.x - origin.x, state.cursor.y - origin.y);
}

}  // namespace winplat::user
