// The SCROLLBAR control: one bar filling the control's client area, laid out, drawn and tracked
// by the same code as a window's scroll bars, telling its parent with WM_HSCROLL/WM_VSCROLL and
// itself as lParam. Focused, the arrows, Page Up/Down, Home and End scroll it as a press would.
#include <string>

#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "user/builtin_classes.h"
#include "user/scroll_tracking.h"
#include "user/window_state.h"

namespace winplat::controls {
namespace {

using user::ScrollBarLayout;
using user::ScrollBarState;
using user::ScrollPart;

struct ScrollControl {
    ScrollBarState bar = emptyRange();
    ScrollPart held = ScrollPart::None;

    // A control's range starts empty, unlike a window's bars.
    static ScrollBarState emptyRange() {
        ScrollBarState state;
        state.max = 0;
        return state;
    }
};

// Bars aligned to an edge of the given rectangle and size boxes are not built: no program asks.
constexpr LONG kUnbuiltStyles = SBS_TOPALIGN | SBS_BOTTOMALIGN | SBS_SIZEBOX | SBS_SIZEGRIP;

bool vertical(HWND window) { return (styleOf(window) & SBS_VERT) != 0; }

ScrollBarLayout layoutOf(HWND window, const ScrollControl& control) {
    RECT client{};
    GetClientRect(window, &client);
    ScrollBarState shown = control.bar;
    if (shown.tracking) shown.pos = shown.trackPos;
    const bool enabled = IsWindowEnabled(window) && control.bar.disabledArrows != ESB_DISABLE_BOTH;
    return user::layoutScrollBar(client, vertical(window), shown, enabled);
}

// The control as the tracking loop sees it: client coordinates, drawn by painting.
class ControlBar final : public user::TrackedScrollBar {
  public:
    ControlBar(HWND handle, ScrollControl& control) : handle_(handle), control_(control) {}

    HWND window() const override { return handle_; }
    POINT fromScreen(POINT screen) const override {
        ScreenToClient(handle_, &screen);
        return screen;
    }
    ScrollBarLayout layout() override { return layoutOf(handle_, control_); }
    ScrollBarState& state() override { return control_.bar; }
    void showPressed(ScrollPart part) override {
        control_.held = part;
        redraw();
    }
    void redraw() override { repaintNow(handle_); }
    void notify(WORD code, int pos) override { tellParentScroll(handle_, vertical(handle_), code, pos); }

  private:
    HWND handle_;
    ScrollControl& control_;
};

void paint(HWND window, const ScrollControl& control) {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(window, &ps);
    const HBRUSH track = parentColours(window, dc, WM_CTLCOLORSCROLLBAR);
    ScrollBarState shown = control.bar;
    if (!IsWindowEnabled(window)) shown.disabledArrows = ESB_DISABLE_BOTH;  // engraved arrows
    user::drawScrollBarParts(dc, layoutOf(window, control), shown, control.held, track);
    EndPaint(window, &ps);
}

// The code a key scrolls by, or -1.
int codeOfKey(WPARAM key) {
    switch (key) {
        case VK_UP:
        case VK_LEFT:
            return SB_LINEUP;
        case VK_DOWN:
        case VK_RIGHT:
            return SB_LINEDOWN;
        case VK_PRIOR:
            return SB_PAGEUP;
        case VK_NEXT:
            return SB_PAGEDOWN;
        case VK_HOME:
            return SB_TOP;
        case VK_END:
            return SB_BOTTOM;
        default:
            return -1;
    }
}

void onKey(HWND window, WPARAM key) {
    const int code = codeOfKey(key);
    if (code < 0) return;
    tellParentScroll(window, vertical(window), static_cast<WORD>(code), 0);
    tellParentScroll(window, vertical(window), SB_ENDSCROLL, 0);
}

// Applies new numbers; the position as it now stands.
int setNumbers(HWND window, ScrollControl& control, const SCROLLINFO& info, bool redraw) {
    user::applyScrollInfo(control.bar, info);
    if (redraw) repaintNow(window);
    return control.bar.pos;
}

LRESULT setScrollInfo(HWND window, ScrollControl& control, WPARAM redraw, LPARAM lParam) {
    static constexpr CallRefuser refuse("winplat: SBM_SETSCROLLINFO");
    const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
    if (!info) return refuse(0, "no SCROLLINFO");
    if (info->cbSize != sizeof(SCROLLINFO)) return refuse(0, "cbSize is not sizeof(SCROLLINFO)");
    return setNumbers(window, control, *info, redraw != 0);
}

LRESULT getScrollInfo(const ScrollControl& control, LPARAM lParam) {
    static constexpr CallRefuser refuse("winplat: SBM_GETSCROLLINFO");
    auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
    if (!info) return refuse(FALSE, "no SCROLLINFO");
    if (info->cbSize != sizeof(SCROLLINFO)) return refuse(FALSE, "cbSize is not sizeof(SCROLLINFO)");
    if (!(info->fMask & SIF_ALL)) return refuse(FALSE, "fMask asks for nothing");
    user::readScrollInfo(control.bar, *info);
    return TRUE;
}

LRESULT setRange(HWND window, ScrollControl& control, WPARAM low, LPARAM high, bool redraw) {
    const int previous = control.bar.pos;
    const SCROLLINFO info{
        sizeof(SCROLLINFO), SIF_RANGE, static_cast<int>(low), static_cast<int>(high), 0, 0, 0};
    setNumbers(window, control, info, redraw);
    return previous;
}

LRESULT getRange(const ScrollControl& control, WPARAM low, LPARAM high) {
    if (auto* min = reinterpret_cast<int*>(low)) *min = control.bar.min;
    if (auto* max = reinterpret_cast<int*>(high)) *max = control.bar.max;
    return 0;
}

LRESULT enableArrows(HWND window, ScrollControl& control, WPARAM arrows) {
    if (arrows & ~static_cast<WPARAM>(ESB_DISABLE_BOTH)) {
        static constexpr CallRefuser refuse("winplat: SBM_ENABLE_ARROWS");
        return refuse(FALSE, "arrows " + std::to_string(arrows));
    }
    const bool changed = control.bar.disabledArrows != arrows;
    control.bar.disabledArrows = static_cast<UINT>(arrows);
    repaintNow(window);
    return changed ? TRUE : FALSE;
}

LRESULT onCreate(HWND window) {
    if (styleOf(window) & kUnbuiltStyles) {
        static constexpr CallRefuser refuse("winplat: SCROLLBAR");
        return refuse.unsupported(LRESULT{-1}, "size box and aligned scroll bar styles");
    }
    return 0;
}

std::optional<LRESULT> scrollBarMessage(HWND window, ScrollControl& control, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return onCreate(window);
        case WM_PAINT:
            paint(window, control);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the bar covers every pixel
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (styleOf(window) & WS_TABSTOP) SetFocus(window);
            POINT at = clientPoint(lParam);
            ClientToScreen(window, &at);
            ControlBar bar(window, control);
            user::trackScrollPress(bar, at);
            return 0;
        }
        case WM_KEYDOWN:
            onKey(window, wParam);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_ENABLE:
            repaintNow(window);
            return 0;
        case SBM_SETPOS: {
            const int previous = control.bar.pos;
            const SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0};
            setNumbers(window, control, info, lParam != 0);
            return previous;
        }
        case SBM_GETPOS:
            return control.bar.pos;
        case SBM_SETRANGE:
            return setRange(window, control, wParam, lParam, false);
        case SBM_SETRANGEREDRAW:
            return setRange(window, control, wParam, lParam, true);
        case SBM_GETRANGE:
            return getRange(control, wParam, lParam);
        case SBM_ENABLE_ARROWS:
            return enableArrows(window, control, wParam);
        case SBM_SETSCROLLINFO:
            return setScrollInfo(window, control, wParam, lParam);
        case SBM_GETSCROLLINFO:
            return getScrollInfo(control, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK scrollBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::procedureWithState<ScrollControl>(window, message, wParam, lParam, scrollBarMessage);
}

void registerScrollBar() {
    registerControlClass("SCROLLBAR", scrollBarProcedure, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace
}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(scrollBar, "SCROLLBAR", winplat::controls::registerScrollBar);
