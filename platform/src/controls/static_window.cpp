// The STATIC class: its window procedure, the images it shows and SS_NOTIFY's clicks.
#include "controls/control_support.h"
#include "controls/static_drawing.h"
#include "controls/static_state.h"
#include "user/builtin_classes.h"
#include "winplat/gdi.h"

namespace winplat::controls {
namespace {

bool notifies(HWND control) { return (styleOf(control) & SS_NOTIFY) != 0; }

void redraw(HWND control) { InvalidateRect(control, nullptr, TRUE); }

// A bitmap static takes the size of its bitmap, unless it centres the bitmap in its own size.
void fitToBitmap(HWND control, HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || (styleOf(control) & (SS_CENTERIMAGE | SS_REALSIZEIMAGE)) || !GetObjectA(bitmap, sizeof info, &info)) return;
    SetWindowPos(control, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// STM_SETIMAGE and STM_SETICON: the image of the control's own kind; another kind is refused.
LRESULT setImage(HWND control, WPARAM kind, LPARAM image) {
    const DWORD type = staticType(styleOf(control));
    const bool fits = (kind == IMAGE_BITMAP && type == SS_BITMAP) ||
                      ((kind == IMAGE_ICON || kind == IMAGE_CURSOR) && type == SS_ICON);
    if (!fits) return 0;
    const LRESULT old = SetWindowLongPtrA(control, kStaticImageWord, image);
    if (kind == IMAGE_BITMAP) fitToBitmap(control, reinterpret_cast<HBITMAP>(image));
    redraw(control);
    return old;
}

LRESULT onPaint(HWND control) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(control, &paint);
    if (dc) paintStatic(control, dc);
    EndPaint(control, &paint);
    return 0;
}

LRESULT CALLBACK staticProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: return onPaint(control);
        case WM_ERASEBKGND: return 1;  // the painting covers the control
        case WM_NCHITTEST:
            // Without SS_NOTIFY a static lets the mouse through to what lies below it.
            return notifies(control) ? HTCLIENT : HTTRANSPARENT;
        case WM_GETDLGCODE: return DLGC_STATIC;
        case WM_SETFONT:
            SetWindowLongPtrA(control, kStaticFontWord, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) redraw(control);
            return 0;
        case WM_GETFONT: return GetWindowLongPtrA(control, kStaticFontWord);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcA(control, message, wParam, lParam);
            redraw(control);
            return result;
        }
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
        case STM_SETIMAGE: return setImage(control, wParam, lParam);
        case STM_SETICON: return setImage(control, IMAGE_ICON, static_cast<LPARAM>(wParam));
        case STM_GETIMAGE:
        case STM_GETICON: return GetWindowLongPtrA(control, kStaticImageWord);
        default: return DefWindowProcA(control, message, wParam, lParam);
    }
}

void registerStaticClass() {
    WNDCLASSEXA control{};
    control.cbSize = sizeof control;
    control.style = CS_GLOBALCLASS | CS_DBLCLKS;
    control.lpfnWndProc = staticProcedure;
    control.cbWndExtra = kStaticExtraBytes;
    control.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    control.lpszClassName = "STATIC";
    RegisterClassExA(&control);
}

}  // namespace
}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(static_control, "STATIC", winplat::controls::registerStaticClass);
