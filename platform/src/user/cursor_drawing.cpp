#include "user/cursor_drawing.h"

#include "user/cursors.h"
#include "user/input_state.h"

namespace winplat::user {
namespace {

uint8_t blendChannel(unsigned over, unsigned under, unsigned alpha) {
    return static_cast<uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

// A pixel with an alpha channel is the colour laid over the screen by its opacity.
COLORREF blended(COLORREF over, COLORREF under, unsigned alpha) {
    return RGB(blendChannel(GetRValue(over), GetRValue(under), alpha),
               blendChannel(GetGValue(over), GetGValue(under), alpha),
               blendChannel(GetBValue(over), GetBValue(under), alpha));
}

// What the screen shows at one pixel of the cursor over 'under'.
COLORREF cursorPixel(const CursorObject& cursor, size_t at, COLORREF under) {
    if (!cursor.alpha.empty()) return blended(cursor.xorColour[at], under, cursor.alpha[at]);
    const COLORREF kept = cursor.andMask[at] ? under : RGB(0, 0, 0);
    return kept ^ cursor.xorColour[at];
}

}  // namespace

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
            const COLORREF shown = cursorPixel(*object, at, under);
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
