// DrawFocusRect: the dotted frame that shows which item or button has the keyboard focus.
#include "winplat/controls.h"
#include "winplat/draw.h"

namespace {

// The dots sit where x + y is even, so frames drawn next to each other line up and a second call
// over the same rectangle restores every pixel.
void invertDot(HDC dc, int x, int y) {
    if (((x + y) & 1) == 0) PatBlt(dc, x, y, 1, 1, DSTINVERT);
}

}  // namespace

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
    if (!dc || !rect) return FALSE;
    const RECT r = *rect;
    if (r.right <= r.left || r.bottom <= r.top) return TRUE;
    for (int x = r.left; x < r.right; ++x) {
        invertDot(dc, x, r.top);
        if (r.bottom - 1 > r.top) invertDot(dc, x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        invertDot(dc, r.left, y);
        if (r.right - 1 > r.left) invertDot(dc, r.right - 1, y);
    }
    return TRUE;
}
