// The calls on update regions: InvalidateRect, InvalidateRgn, ValidateRect, ValidateRgn,
// GetUpdateRect, GetUpdateRgn, RedrawWindow and UpdateWindow.
#include <optional>
#include <string>

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "user/paint_state.h"
#include "user/tree.h"
#include "user/update_region.h"
#include "winplat/region.h"

namespace winplat::user {
namespace {

constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_VALIDATE | RDW_NOINTERNALPAINT |
                              RDW_NOERASE | RDW_NOCHILDREN | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW |
                              RDW_FRAME | RDW_NOFRAME;

// The area a call names in client coordinates: the region, else the rectangle, else the whole
// client area; none (refused) for a handle that is not a live region.
std::optional<gdi::Region> areaOf(const WindowObject& window, const RECT* rect, HRGN region, const CallRefuser& refuse) {
    if (region) {
        std::lock_guard lock(gdi::gdiMutex());
        auto object = gdi::liveRegion(refuse, region);
        if (!object) return std::nullopt;
        return object->region;
    }
    if (rect) return gdi::Region(gdi::DeviceRect{rect->left, rect->top, rect->right, rect->bottom});
    return gdi::Region(clientArea(window));
}

// Windows with something to paint, the window first, then its descendants when 'children'.
void updateTree(const WindowRef& window, bool children, bool eraseOnly) {
    if (eraseOnly) {
        eraseNow(window);
    } else {
        paintNow(window);
    }
    if (!children || window->gone) return;
    const std::vector<WindowRef> list = window->children;
    for (const WindowRef& child : list) {
        if (!child->gone) updateTree(child, true, eraseOnly);
    }
}

BOOL redraw(const WindowRef& window, const gdi::Region& area, UINT flags) {
    PaintState& state = paintState(*window);
    if (flags & RDW_INVALIDATE) invalidateWindow(*window, area, flags);
    if ((flags & RDW_INVALIDATE) && (flags & RDW_FRAME)) invalidateFrame(*window);
    if ((flags & RDW_INTERNALPAINT) && isShowing(*window)) state.internalPaint = true;
    if (flags & RDW_VALIDATE) validateWindow(*window, area, flags);
    if (flags & RDW_NOINTERNALPAINT) state.internalPaint = false;
    if (flags & RDW_NOERASE) state.erase = false;
    notePaintChange(state);
    const bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(window->style & WS_CLIPCHILDREN));
    if (flags & RDW_UPDATENOW) {
        updateTree(window, children, false);
    } else if (flags & RDW_ERASENOW) {
        updateTree(window, children, true);
    }
    return TRUE;
}

BOOL redrawCall(const char* name, HWND handle, const RECT* rect, HRGN region, UINT flags) {
    const CallRefuser refuse(name, ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef window = handle ? windowForCall(handle, refuse) : WindowRef(findWindow(desktop().handle));
    if (!window) return FALSE;
    const auto area = areaOf(*window, rect, region, refuse);
    if (!area) return FALSE;
    return redraw(window, *area, flags);
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    return redrawCall("winplat: InvalidateRect", window, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
    return redrawCall("winplat: InvalidateRgn", window, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND window, const RECT* rect) {
    return redrawCall("winplat: ValidateRect", window, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND window, HRGN region) {
    return redrawCall("winplat: ValidateRgn", window, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags) {
    if (flags & ~kRedrawFlags) {
        constexpr CallRefuser refuse("winplat: RedrawWindow");
        return refuse.unsupported(BOOL{FALSE}, "flags " + std::to_string(flags));
    }
    // RDW_FRAME with RDW_INVALIDATE has the frame drawn with the next paint; RDW_NOFRAME leaves
    // it as it is.
    return redrawCall("winplat: RedrawWindow", window, rect, region, flags);
}

BOOL UpdateWindow(HWND window) {
    constexpr CallRefuser refuse("winplat: UpdateWindow", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    paintNow(target);
    return TRUE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase) {
    constexpr CallRefuser refuse("winplat: GetUpdateRect", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    if (erase) eraseNow(target);
    const gdi::DeviceRect box = paintState(*target).update.bounds();
    if (rect) *rect = RECT{box.left, box.top, box.right, box.bottom};
    return box.empty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND window, HRGN region, BOOL erase) {
    constexpr CallRefuser refuse("winplat: GetUpdateRgn", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return ERROR;
    if (erase) eraseNow(target);
    std::lock_guard lock(gdi::gdiMutex());
    auto object = gdi::liveRegion(refuse, region);
    if (!object) return ERROR;
    object->region = paintState(*target).update;
    return object->region.kind();
}
