// The STATIC class: its window procedure, the images it shows and SS_NOTIFY's clicks.
#include <optional>
#include <utility>

#include "controls/control_support.h"
#include "controls/static_drawing.h"
#include "controls/static_images.h"
#include "controls/static_state.h"
#include "user/builtin_classes.h"
#include "winplat/gdi.h"

namespace winplat::controls {
namespace {

bool notifies(HWND control) { return (styleOf(control) & SS_NOTIFY) != 0; }

void redraw(HWND control) { InvalidateRect(control, nullptr, TRUE); }

// An image static takes the size of its image (an icon's is SM_CXICON x SM_CYICON), unless it
// centres the image in its own size.
void fitToImage(HWND control, WPARAM kind, LPARAM image) {
    if (!image || (styleOf(control) & (SS_CENTERIMAGE | SS_REALSIZEIMAGE))) return;
    SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    BITMAP info{};
    if (kind == IMAGE_BITMAP) {
        if (!GetObjectA(reinterpret_cast<HBITMAP>(image), sizeof info, &info)) return;
        size = SIZE{info.bmWidth, info.bmHeight};
    }
    SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// STM_SETIMAGE and STM_SETICON: the image of the control's own kind; another kind is refused.
LRESULT setImage(HWND control, StaticData& data, WPARAM kind, LPARAM image) {
    const DWORD type = staticType(styleOf(control));
    const bool fits = (kind == IMAGE_BITMAP && type == SS_BITMAP) ||
                      ((kind == IMAGE_ICON || kind == IMAGE_CURSOR) && type == SS_ICON);
    if (!fits) return 0;
    const HANDLE old = std::exchange(data.image, reinterpret_cast<HANDLE>(image));
    fitToImage(control, kind, image);
    redraw(control);
    return reinterpret_cast<LRESULT>(old);
}

std::optional<LRESULT> staticMessage(HWND control, StaticData& data, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: return paintControl(control, paintStatic);
        case WM_ERASEBKGND: return 1;  // the painting covers the control
        case WM_NCHITTEST:
            // Without SS_NOTIFY a static lets the mouse through to what lies below it.
            return notifies(control) ? HTCLIENT : HTTRANSPARENT;
        case WM_GETDLGCODE: return DLGC_STATIC;
        case WM_SETFONT: return keepFont(control, data.font, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(data.font);
        case WM_SETTEXT: return setTextAndRedraw(control, wParam, lParam);
        case WM_ENABLE:
            if (notifies(control)) notifyParent(control, wParam ? STN_ENABLE : STN_DISABLE);
            redraw(control);
            return 0;
        case WM_LBUTTONDOWN:
            if (notifies(control)) notifyParent(control, STN_CLICKED);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (notifies(control)) notifyParent(control, STN_DBLCLK);
            return 0;
        case STM_SETIMAGE: return setImage(control, data, wParam, lParam);
        case STM_SETICON: return setImage(control, data, IMAGE_ICON, static_cast<LPARAM>(wParam));
        case STM_GETIMAGE:
        case STM_GETICON: return reinterpret_cast<LRESULT>(data.image);
        default: return std::nullopt;
    }
}

LRESULT CALLBACK staticProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::procedureWithState<StaticData>(control, message, wParam, lParam, staticMessage);
}

void registerStaticClass() { registerControlClass("STATIC", staticProcedure, CS_DBLCLKS); }

}  // namespace
}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(static_control, "STATIC", winplat::controls::registerStaticClass);
