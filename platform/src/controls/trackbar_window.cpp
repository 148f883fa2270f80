// The trackbar control ("msctls_trackbar32"): a thumb the keys and the mouse move along a channel,
// each move told to the parent with WM_HSCROLL (WM_VSCROLL when vertical) and a TB_ code, lParam
// the control. Unlike a scroll bar it moves its own position first. Keys send their code on the
// press and TB_ENDTRACK on the release; a dragged thumb sends TB_THUMBTRACK whenever its position
// changes and TB_THUMBPOSITION when let go; a press beside the thumb pages towards the pointer,
// again after the first delay and then at the repeat rate, until the thumb reaches it. Every
// press ends with TB_ENDTRACK.
#include <optional>
#include <utility>
#include <vector>

#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "controls/trackbar_drawing.h"
#include "user/builtin_classes.h"
#include "user/scroll_tracking.h"
#include "user/window_state.h"

namespace winplat::controls {
namespace {

// The paging repeat's own timer.
constexpr UINT_PTR kPageTimerId = 0xFFF8;

struct Trackbar {
    TrackbarState numbers;
    bool dragging = false;
    int grab = 0;      // the pointer's distance from the thumb's centre along the axis
    int pagingBy = 0;  // -1 or +1 while a press beside the thumb pages
    POINT pointer{};   // where the paging press is held, client coordinates
};

TrackbarLayout layoutOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return layOutTrackbar(client, styleOf(window));
}

void tell(HWND window, WORD code, int pos = 0) {
    tellParentScroll(window, (styleOf(window) & TBS_VERT) != 0, code, pos);
}

void paint(HWND window, const Trackbar& bar) {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(window, &ps);
    RECT client{};
    GetClientRect(window, &client);
    TrackbarLook look;
    look.style = styleOf(window);
    look.background = parentColours(window, dc, WM_CTLCOLORSTATIC);
    look.focused = GetFocus() == window;
    look.thumbAt = bar.numbers.pos;
    drawTrackbar(dc, client, bar.numbers, look);
    EndPaint(window, &ps);
}

void moveTo(HWND window, Trackbar& bar, int position) {
    const int clamped = bar.numbers.clamp(position);
    if (clamped == bar.numbers.pos) return;
    bar.numbers.pos = clamped;
    repaintNow(window);
}

// --- keys

struct KeyMove {
    WORD code;
    int to;
};

// Where a key moves the thumb and the code it tells, or none for other keys.
std::optional<KeyMove> keyMove(const TrackbarState& n, WPARAM key) {
    switch (key) {
        case VK_LEFT:
        case VK_UP:
            return KeyMove{TB_LINEUP, n.pos - n.line};
        case VK_RIGHT:
        case VK_DOWN:
            return KeyMove{TB_LINEDOWN, n.pos + n.line};
        case VK_PRIOR:
            return KeyMove{TB_PAGEUP, n.pos - n.pageSize()};
        case VK_NEXT:
            return KeyMove{TB_PAGEDOWN, n.pos + n.pageSize()};
        case VK_HOME:
            return KeyMove{TB_TOP, n.min};
        case VK_END:
            return KeyMove{TB_BOTTOM, n.max};
        default:
            return std::nullopt;
    }
}

void onKeyDown(HWND window, Trackbar& bar, WPARAM key) {
    const auto move = keyMove(bar.numbers, key);
    if (!move) return;
    moveTo(window, bar, move->to);
    tell(window, move->code);
}

void onKeyUp(HWND window, const Trackbar& bar, WPARAM key) {
    if (keyMove(bar.numbers, key)) tell(window, TB_ENDTRACK);
}

// --- the mouse

// One page towards the held pointer; false once the thumb has reached it.
bool pageTowardsPointer(HWND window, Trackbar& bar) {
    const TrackbarLayout layout = layoutOf(window);
    const int pointer = layout.along(bar.pointer);
    const int thumb = layout.pixelOf(bar.numbers, bar.numbers.pos);
    const int by = pointer < thumb - kThumbAlong / 2 ? -1 : (pointer > thumb + kThumbAlong / 2 ? 1 : 0);
    if (by == 0 || by != bar.pagingBy) return false;
    moveTo(window, bar, bar.numbers.pos + by * bar.numbers.pageSize());
    tell(window, by < 0 ? TB_PAGEUP : TB_PAGEDOWN);
    return true;
}

void onPress(HWND window, Trackbar& bar, POINT at) {
    SetFocus(window);
    const TrackbarLayout layout = layoutOf(window);
    const RECT thumb = layout.thumb(bar.numbers, bar.numbers.pos);
    SetCapture(window);
    if (contains(thumb, at)) {
        bar.dragging = true;
        bar.grab = layout.along(at) - layout.pixelOf(bar.numbers, bar.numbers.pos);
        return;
    }
    bar.pointer = at;
    bar.pagingBy = layout.along(at) < layout.pixelOf(bar.numbers, bar.numbers.pos) ? -1 : 1;
    pageTowardsPointer(window, bar);
    SetTimer(window, kPageTimerId, user::kScrollFirstDelay, nullptr);
}

void onDrag(HWND window, Trackbar& bar, POINT at) {
    if (bar.pagingBy) {
        bar.pointer = at;
        return;
    }
    if (!bar.dragging) return;
    const TrackbarLayout layout = layoutOf(window);
    const int position = layout.positionAt(bar.numbers, layout.along(at) - bar.grab);
    if (position == bar.numbers.pos) return;
    moveTo(window, bar, position);
    tell(window, TB_THUMBTRACK, position);
}

void endPress(HWND window, Trackbar& bar) {
    KillTimer(window, kPageTimerId);
    bar.dragging = false;
    bar.pagingBy = 0;
}

void onRelease(HWND window, Trackbar& bar) {
    if (!bar.dragging && !bar.pagingBy) return;
    if (bar.dragging) tell(window, TB_THUMBPOSITION, bar.numbers.pos);
    tell(window, TB_ENDTRACK);
    endPress(window, bar);
    if (GetCapture() == window) ReleaseCapture();
}

void onPageTimer(HWND window, Trackbar& bar) {
    SetTimer(window, kPageTimerId, user::kScrollRepeatRate, nullptr);
    if (bar.pagingBy && !pageTowardsPointer(window, bar)) KillTimer(window, kPageTimerId);
}

// --- messages

// A range from a message's two 16-bit halves, each signed.
std::pair<int, int> halves(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

void changed(HWND window, WPARAM redraw) {
    if (redraw) repaintNow(window);
}

LRESULT getTic(const Trackbar& bar, HWND window, WPARAM index) {
    const std::vector<int> tics = bar.numbers.innerTics((styleOf(window) & TBS_AUTOTICKS) != 0);
    return index < tics.size() ? tics[index] : -1;
}

LRESULT numberOfTics(const Trackbar& bar, HWND window) {
    const DWORD style = styleOf(window);
    if (style & TBS_NOTICKS) return 0;
    return static_cast<LRESULT>(bar.numbers.innerTics((style & TBS_AUTOTICKS) != 0).size()) + 2;
}

LRESULT giveRect(const RECT& r, LPARAM lParam) {
    if (auto* out = reinterpret_cast<RECT*>(lParam)) *out = r;
    return 0;
}

LRESULT setSize(int& field, LPARAM lParam) {
    const int previous = field;
    field = static_cast<int>(lParam);
    return previous;
}

LRESULT onTrackbarMessage(HWND window, Trackbar& bar, UINT message, WPARAM wParam, LPARAM lParam) {
    TrackbarState& n = bar.numbers;
    switch (message) {
        case TBM_GETPOS:
            return n.pos;
        case TBM_GETRANGEMIN:
            return n.min;
        case TBM_GETRANGEMAX:
            return n.max;
        case TBM_GETTIC:
            return getTic(bar, window, wParam);
        case TBM_SETTIC: {
            const bool added = n.addTic(static_cast<int>(lParam));
            InvalidateRect(window, nullptr, FALSE);
            return added ? TRUE : FALSE;
        }
        case TBM_SETPOS:
            n.pos = n.clamp(static_cast<int>(lParam));
            changed(window, wParam);
            return 0;
        case TBM_SETRANGE: {
            const auto [low, high] = halves(lParam);
            n.setRange(low, high);
            changed(window, wParam);
            return 0;
        }
        case TBM_SETRANGEMIN:
            n.setRange(static_cast<int>(lParam), n.max);
            changed(window, wParam);
            return 0;
        case TBM_SETRANGEMAX:
            n.setRange(n.min, static_cast<int>(lParam));
            changed(window, wParam);
            return 0;
        case TBM_CLEARTICS:
            n.tics.clear();
            n.ticFrequency = 0;
            changed(window, wParam);
            return 0;
        case TBM_SETSEL: {
            const auto [start, end] = halves(lParam);
            n.selStart = n.clamp(start);
            n.selEnd = n.clamp(end);
            changed(window, wParam);
            return 0;
        }
        case TBM_SETSELSTART:
            n.selStart = n.clamp(static_cast<int>(lParam));
            changed(window, wParam);
            return 0;
        case TBM_SETSELEND:
            n.selEnd = n.clamp(static_cast<int>(lParam));
            changed(window, wParam);
            return 0;
        case TBM_GETSELSTART:
            return n.selStart;
        case TBM_GETSELEND:
            return n.selEnd;
        case TBM_CLEARSEL:
            n.selStart = n.selEnd = 0;
            changed(window, wParam);
            return 0;
        case TBM_GETNUMTICS:
            return numberOfTics(bar, window);
        case TBM_SETTICFREQ:
            // Only a trackbar with automatic ticks has a frequency.
            if (styleOf(window) & TBS_AUTOTICKS) n.ticFrequency = static_cast<int>(wParam);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case TBM_SETPAGESIZE: {
            const int previous = n.pageSize();
            n.page = static_cast<int>(lParam);
            return previous;
        }
        case TBM_GETPAGESIZE:
            return n.pageSize();
        case TBM_SETLINESIZE:
            return setSize(n.line, lParam);
        case TBM_GETLINESIZE:
            return n.line;
        case TBM_GETTHUMBRECT:
            return giveRect(layoutOf(window).thumb(n, n.pos), lParam);
        case TBM_GETCHANNELRECT:
            return giveRect(layoutOf(window).channel, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

std::optional<LRESULT> trackbarMessage(HWND window, Trackbar& bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint(window, bar);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the painting covers every pixel
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_ENABLE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_KEYDOWN:
            onKeyDown(window, bar, wParam);
            return 0;
        case WM_KEYUP:
            onKeyUp(window, bar, wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            onPress(window, bar, clientPoint(lParam));
            return 0;
        case WM_MOUSEMOVE:
            onDrag(window, bar, clientPoint(lParam));
            return 0;
        case WM_LBUTTONUP:
            onRelease(window, bar);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window) endPress(window, bar);
            return 0;
        case WM_TIMER:
            if (wParam == kPageTimerId) {
                onPageTimer(window, bar);
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return onTrackbarMessage(window, bar, message, wParam, lParam);
    }
}

LRESULT CALLBACK trackbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::procedureWithState<Trackbar>(window, message, wParam, lParam, trackbarMessage);
}

void registerTrackbar() {
    registerControlClass(TRACKBAR_CLASSA, trackbarProcedure, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace
}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(trackbar, TRACKBAR_CLASSA, winplat::controls::registerTrackbar);
