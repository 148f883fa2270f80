// What the standard controls share: the font they draw with, the colours their parent chooses,
// the notifications they send it and the mnemonic letter of their text.
#ifndef WINPLAT_SRC_CONTROLS_CONTROL_SUPPORT_H
#define WINPLAT_SRC_CONTROLS_CONTROL_SUPPORT_H

#include <string>
#include <string_view>

#include "winplat/controls.h"
#include "winplat/owners.h"

namespace winplat::controls {

// The font a control was given with WM_SETFONT selected into a DC for a scope; without one, the
// classic dialog font ("MS Sans Serif" 8 pt) made for the scope.
class ControlFont {
public:
    ControlFont(HDC dc, HFONT given);
    ControlFont(const ControlFont&) = delete;
    ControlFont& operator=(const ControlFont&) = delete;

private:
    GdiObject<HFONT> made_;
    Selection selection_;
};

// The classic dialog font, made for the caller to own.
GdiObject<HFONT> makeDialogFont();

// Asks the control's parent for the colours of a WM_CTLCOLOR* message: the brush to fill with,
// the DC's text and background colours set by whoever answered. A parent that answers with no
// brush gets DefWindowProcA's.
HBRUSH parentColours(HWND control, HDC dc, UINT message);

// WM_COMMAND to the parent: the control's id and the code in wParam, the control in lParam.
void notifyParent(HWND control, WORD code);

// The control's text (cp1250).
std::string windowText(HWND window);

// The upper-case letter after the single '&' of a text ("&&" is a plain '&'); 0 when none.
char mnemonicOf(std::string_view text);

// The parts of the controls' window procedures that are the same for each: painting between
// BeginPaint and EndPaint, keeping the WM_SETFONT font in the control's state (redrawn when
// asked), a new text redrawn.
LRESULT paintControl(HWND control, void (*painter)(HWND, HDC));
LRESULT keepFont(HWND control, HFONT& kept, WPARAM font, LPARAM redraw);
LRESULT setTextAndRedraw(HWND control, WPARAM wParam, LPARAM lParam);

// Whether the window is of the class of that name (case-insensitive).
bool isOfClass(HWND window, const char* className);

// The window's style.
DWORD styleOf(HWND window);

// Rectangle arithmetic the controls' layout needs.
RECT shifted(RECT rect, int dx, int dy);
RECT inset(RECT rect, int by);
RECT intersection(const RECT& a, const RECT& b);
bool contains(const RECT& rect, POINT point);

// Registers a built-in control class as RegisterClassExA would for a program: CS_GLOBALCLASS
// added to the style, the arrow cursor, no brush (the control paints its background), and the
// window words a program may read (the dialog class's DWL_ words).
void registerControlClass(const char* name, WNDPROC procedure, UINT style, int extraBytes = 0);

// Whether the key is down as of the message being handled (GetKeyState).
bool keyHeld(int virtualKey);

// A one-pixel frame just inside the rectangle in a system colour.
void fillFrame(HDC dc, const RECT& rect, int colourIndex);

// WM_HSCROLL or WM_VSCROLL to the parent: the code and position, lParam the control.
inline void tellParentScroll(HWND control, bool vertical, WORD code, int pos) {
    SendMessageA(GetParent(control), vertical ? WM_VSCROLL : WM_HSCROLL,
                 MAKELONG(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(control));
}

// A redraw now: the control's client area painted before the call returns.
inline void repaintNow(HWND control) {
    InvalidateRect(control, nullptr, FALSE);
    UpdateWindow(control);
}

inline POINT clientPoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace winplat::controls

#endif
