#include "user/cursor_drawing.h"

#include "user/cursors.h"
#include "user/input_feed.h"
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

// What one part alone shows: the mask as black (the picture covers) and white, or the picture.
COLORREF partPixel(const CursorObject& picture, size_t at, COLORREF under, UINT parts) {
    if (parts == DI_MASK) return picture.andMask[at] ? RGB(255, 255, 255) : RGB(0, 0, 0);
    if (!picture.alpha.empty()) return blended(picture.xorColour[at], under, picture.alpha[at]);
    return picture.xorColour[at];
}

}  // namespace

void drawPicture(HDC dc, const CursorObject& picture, const RECT& target, UINT parts) {
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    for (int row = 0; row < height; ++row) {
        const int from = row * picture.height / height;
        for (int column = 0; column < width; ++column) {
            const auto at = static_cast<size_t>(from * picture.width + column * picture.width / width);
            const int x = target.left + column;
            const int y = target.top + row;
            const COLORREF under = GetPixel(dc, x, y);
            if (under == CLR_INVALID) continue;  // off the surface
            const COLORREF shown =
                parts == DI_NORMAL ? cursorPixel(picture, at, under) : partPixel(picture, at, under, parts);
            if (shown != under) SetPixel(dc, x, y, shown);
        }
    }
}

bool drawCursor(HDC dc, HCURSOR cursor, int x, int y) {
    const auto object = findCursor(cursor);
    if (!object) return false;
    const int left = x - object->hotSpot.x;
    const int top = y - object->hotSpot.y;
    drawPicture(dc, *object, RECT{left, top, left + object->width, top + object->height}, DI_NORMAL);
    return true;
}

bool drawPointer(HDC dc, POINT origin) {
    const HCURSOR shown = shownCursor();
    if (!shown) return false;
    const POINT pointer = inputState().cursor;
    return drawCursor(dc, shown, pointer.x - origin.x, pointer.y - origin.y);
}

}  // namespace winplat::user
