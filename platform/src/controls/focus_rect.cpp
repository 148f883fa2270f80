#include "controls/focus_rect.h"

#include "base/call_refusal.h"
#include "winplat/controls.h"

namespace winplat::controls {
namespace {

void invertPixel(HDC dc, int x, int y) {
    if ((x + y) % 2 != 0) return;
    const COLORREF colour = GetPixel(dc, x, y);
    if (colour == CLR_INVALID) return;
    SetPixel(dc, x, y, colour ^ 0x00FFFFFF);
}

}  // namespace

void drawFocusOutline(HDC dc, const RECT& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    for (int x = rect.left; x < rect.right; ++x) {
        invertPixel(dc, x, rect.top);
        if (rect.bottom - 1 > rect.top) invertPixel(dc, x, rect.bottom - 1);
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        invertPixel(dc, rect.left, y);
        if (rect.right - 1 > rect.left) invertPixel(dc, rect.right - 1, y);
    }
}

}  // namespace winplat::controls

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
    constexpr winplat::CallRefuser refuse("winplat: DrawFocusRect");
    if (!dc) return refuse(FALSE, "no DC");
    if (!rect) return refuse(FALSE, "no rectangle");
    winplat::controls::drawFocusOutline(dc, *rect);
    return TRUE;
}
