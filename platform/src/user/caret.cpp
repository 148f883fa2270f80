#include "user/caret.h"

#include <string>

#include "base/call_refusal.h"
#include "user/metrics.h"
#include "user/timers.h"
#include "user/visible_region.h"
#include "user/window_dc.h"

namespace winplat::user {
namespace {

constexpr UINT kDefaultBlink = 500;

struct Caret {
    HWND window = nullptr;  // none when null
    int width = 0;
    int height = 0;
    POINT position{};
    int hidden = 1;     // HideCaret count; a new caret starts hidden
    bool drawn = false; // inverted on the screen now
};

Caret caret;
UINT blinkTime = kDefaultBlink;

void invert() {
    const WindowRef window = findWindow(caret.window);
    if (!window) return;
    const HDC dc = makeWindowDc(*window, styleClipFlags(*window), nullptr);
    if (!dc) return;
    PatBlt(dc, caret.position.x, caret.position.y, caret.width, caret.height, DSTINVERT);
    ReleaseDC(caret.window, dc);
    caret.drawn = !caret.drawn;
}

void undraw() {
    if (caret.drawn) invert();
}

void CALLBACK blink(HWND, UINT, UINT_PTR, DWORD) {
    if (caret.window && caret.hidden == 0) invert();
}

// Shown now (drawn at once) and blinking from here.
void startBlinking() {
    if (!caret.drawn) invert();
    layerTimers().set(caret.window, kCaretBlinkTimer, blinkTime, blink);
}

void hide() {
    if (caret.hidden++ == 0) {
        undraw();
        layerTimers().kill(caret.window, kCaretBlinkTimer);
    }
}

void show() {
    if (caret.hidden > 0 && --caret.hidden == 0) startBlinking();
}

void destroy() {
    if (!caret.window) return;
    undraw();
    layerTimers().kill(caret.window, kCaretBlinkTimer);
    caret = Caret{};
}

// The caret when it belongs to the calling thread's window 'handle' (null: whichever).
bool ownedBy(HWND handle) { return caret.window && (!handle || handle == caret.window); }

}  // namespace

void hideCaretForPaint(const WindowObject& window) {
    if (caret.window == window.handle) hide();
}

void showCaretAfterPaint(const WindowObject& window) {
    if (caret.window == window.handle) show();
}

void windowLosesCaret(const WindowObject& window) {
    if (caret.window != window.handle) return;
    caret.drawn = false;  // its pixels go with the window
    destroy();
}

void resetCaret() {
    caret = Caret{};
    blinkTime = kDefaultBlink;
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

BOOL CreateCaret(HWND window, HBITMAP shape, int width, int height) {
    constexpr CallRefuser refuse("winplat: CreateCaret", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    // A null shape is a solid caret, (HBITMAP)1 the grey one; both are drawn by inverting.
    if (shape && shape != reinterpret_cast<HBITMAP>(1)) return refuse.unsupported(FALSE, "a bitmap caret");
    if (width < 0 || height < 0) return refuse(FALSE, "a negative caret size");
    destroy();
    caret.window = window;
    caret.width = width ? width : systemMetric(SM_CXBORDER);
    caret.height = height ? height : systemMetric(SM_CYBORDER);
    return TRUE;
}

BOOL DestroyCaret(void) {
    constexpr CallRefuser refuse("winplat: DestroyCaret");
    if (!caret.window) return refuse(FALSE, "there is no caret");
    destroy();
    return TRUE;
}

BOOL ShowCaret(HWND window) {
    constexpr CallRefuser refuse("winplat: ShowCaret");
    if (!ownedBy(window)) return refuse(FALSE, "no caret in that window");
    if (caret.hidden == 0) return refuse(FALSE, "the caret is shown already");
    show();
    return TRUE;
}

BOOL HideCaret(HWND window) {
    constexpr CallRefuser refuse("winplat: HideCaret");
    if (!ownedBy(window)) return refuse(FALSE, "no caret in that window");
    hide();
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    constexpr CallRefuser refuse("winplat: SetCaretPos");
    if (!caret.window) return refuse(FALSE, "there is no caret");
    undraw();
    caret.position = POINT{x, y};
    if (caret.hidden == 0) {
        // Moving shows the caret at once and starts its period afresh.
        startBlinking();
    }
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    constexpr CallRefuser refuse("winplat: GetCaretPos");
    if (!point) return refuse(FALSE, "no point");
    if (!caret.window) return refuse(FALSE, "there is no caret");
    *point = caret.position;
    return TRUE;
}

BOOL SetCaretBlinkTime(UINT milliseconds) {
    constexpr CallRefuser refuse("winplat: SetCaretBlinkTime");
    if (milliseconds == 0) return refuse(FALSE, "a blink time of 0");
    blinkTime = milliseconds;
    if (caret.window && caret.hidden == 0) layerTimers().set(caret.window, kCaretBlinkTimer, blinkTime, blink);
    return TRUE;
}

UINT GetCaretBlinkTime(void) { return blinkTime; }
