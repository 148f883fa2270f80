// BeginPaint and EndPaint, and what DefWindowProcA does with WM_PAINT and WM_ERASEBKGND.
//
// BeginPaint takes the update region away (the window is valid from then on), erases the
// background first when an erase is pending (WM_ERASEBKGND; fErase tells the caller whether it
// still has to), and gives a DC clipped to the old update region within the visible region, with
// rcPaint the region's box. The caret stays hidden until EndPaint.
#include "user/begin_paint.h"

#include <cstring>

#include "base/call_refusal.h"
#include "user/caret.h"
#include "user/paint_state.h"
#include "user/send.h"
#include "user/system_colours.h"
#include "user/tree.h"
#include "user/update_region.h"
#include "user/visible_region.h"
#include "user/window_dc.h"

namespace winplat::user {

LRESULT defaultPaint(HWND window) {
    PAINTSTRUCT paint{};
    if (BeginPaint(window, &paint)) EndPaint(window, &paint);
    return 0;
}

LRESULT defaultEraseBackground(const WindowObject& window, HDC dc) {
    const HBRUSH brush = classBrush(window.windowClass ? window.windowClass->background : nullptr);
    if (!brush || !dc) return 0;
    const gdi::DeviceRect area = clientArea(window);
    const RECT rect{area.left, area.top, area.right, area.bottom};
    FillRect(dc, &rect, brush);
    return 1;
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    constexpr CallRefuser refuse("winplat: BeginPaint", ERROR_INVALID_WINDOW_HANDLE);
    if (!paint) return refuse(HDC{}, "no PAINTSTRUCT");
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    // The frame first, as the window is about to be painted.
    drawFrameNow(target);
    if (target->gone) return refuse(HDC{}, "the window was destroyed while its frame was drawn");
    hideCaretForPaint(*target);
    PaintState& state = paintState(*target);
    const gdi::Region update = state.update;
    const bool erase = state.erase;
    validateAll(*target);
    state.painting = true;
    auto screenUpdate = std::make_shared<gdi::Region>(update);
    const POINT origin = clientOrigin(*target);
    screenUpdate->offset(origin.x, origin.y);
    std::memset(paint, 0, sizeof(*paint));
    paint->hdc = makeWindowDc(*target, styleClipFlags(*target) | DCX_INTERSECTRGN, std::move(screenUpdate));
    if (!paint->hdc) {
        state.painting = false;
        showCaretAfterPaint(*target);
        return nullptr;
    }
    const gdi::DeviceRect box = update.bounds();
    paint->rcPaint = RECT{box.left, box.top, box.right, box.bottom};
    if (erase) paint->fErase = sendTo(target, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) ? FALSE : TRUE;
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    constexpr CallRefuser refuse("winplat: EndPaint", ERROR_INVALID_WINDOW_HANDLE);
    if (!paint) return refuse(FALSE, "no PAINTSTRUCT");
    const WindowRef target = findWindow(window);
    if (paint->hdc) ReleaseDC(window, paint->hdc);
    if (!target) return TRUE;  // gone while painting: its DC is released all the same
    paintState(*target).painting = false;
    showCaretAfterPaint(*target);
    return TRUE;
}
