// The BUTTON class: its window procedure, mouse and keyboard handling and the BM_ messages.
#include <optional>
#include <utility>

#include "base/call_refusal.h"
#include "controls/button_drawing.h"
#include "controls/button_group.h"
#include "controls/button_state.h"
#include "controls/control_support.h"
#include "user/builtin_classes.h"
#include "user/window_state.h"

namespace winplat::controls {
namespace {

constexpr UINT kCheckBits = BST_CHECKED | BST_INDETERMINATE;

bool notifies(HWND button) {
    const DWORD style = styleOf(button);
    return (style & BS_NOTIFY) || buttonKind(style) == ButtonKind::OwnerDraw ||
           (style & BS_TYPEMASK) == BS_RADIOBUTTON;
}

void redraw(HWND button) {
    InvalidateRect(button, nullptr, FALSE);
}

// Pressed look on or off; an owner-drawn button is asked to draw the change.
void setPushed(HWND button, bool pushed) {
    const UINT state = buttonState(button);
    if (((state & BST_PUSHED) != 0) == pushed) return;
    setButtonState(button, pushed ? (state | BST_PUSHED) : (state & ~static_cast<UINT>(BST_PUSHED)));
    if (buttonKind(styleOf(button)) == ButtonKind::OwnerDraw) {
        const BorrowedDc dc(button);
        drawOwnerButton(button, dc.get(), ODA_SELECT);
    } else {
        redraw(button);
    }
    if (styleOf(button) & BS_NOTIFY) notifyParent(button, pushed ? BN_HILITE : BN_UNHILITE);
}

// What a completed press does: the auto kinds change their check, then the parent hears of it.
void click(HWND button) {
    const DWORD style = styleOf(button);
    const UINT check = buttonState(button) & kCheckBits;
    switch (style & BS_TYPEMASK) {
        case BS_AUTOCHECKBOX: SendMessageA(button, BM_SETCHECK, check ? BST_UNCHECKED : BST_CHECKED, 0); break;
        case BS_AUTO3STATE:
            SendMessageA(button, BM_SETCHECK,
                         check == BST_UNCHECKED ? BST_CHECKED : check == BST_CHECKED ? BST_INDETERMINATE : BST_UNCHECKED,
                         0);
            break;
        case BS_AUTORADIOBUTTON: checkInGroup(button); break;
        default: break;
    }
    notifyParent(button, BN_CLICKED);
}

bool pressable(HWND button) { return buttonKind(styleOf(button)) != ButtonKind::GroupBox; }

LRESULT setCheck(HWND button, WPARAM check) {
    const DWORD style = styleOf(button);
    const ButtonKind kind = buttonKind(style);
    if (kind != ButtonKind::Check && kind != ButtonKind::Radio) return 0;
    UINT value = static_cast<UINT>(check) & kCheckBits;
    const UINT type = style & BS_TYPEMASK;
    if (value == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) value = BST_CHECKED;
    const UINT state = buttonState(button);
    if ((state & kCheckBits) != value) {
        setButtonState(button, (state & ~kCheckBits) | value);
        redraw(button);
    }
    // A checked radio button is where Tab enters its group; the others are passed over.
    if (kind == ButtonKind::Radio) {
        const DWORD tab = value ? (style | WS_TABSTOP) : (style & ~static_cast<DWORD>(WS_TABSTOP));
        if (tab != style) SetWindowLongA(button, GWL_STYLE, static_cast<LONG>(tab));
    }
    return 0;
}

LRESULT setStyle(HWND button, WPARAM style, LPARAM repaint) {
    const DWORD old = styleOf(button);
    const DWORD changed = (old & ~static_cast<DWORD>(BS_TYPEMASK)) | (static_cast<DWORD>(style) & BS_TYPEMASK);
    if (changed != old) SetWindowLongA(button, GWL_STYLE, static_cast<LONG>(changed));
    if (repaint) redraw(button);
    return 0;
}

void setFocusBit(HWND button, bool focused) {
    const UINT state = buttonState(button);
    setButtonState(button, focused ? (state | BST_FOCUS) : (state & ~static_cast<UINT>(BST_FOCUS)));
    if (buttonKind(styleOf(button)) == ButtonKind::OwnerDraw) {
        const BorrowedDc dc(button);
        drawOwnerButton(button, dc.get(), ODA_FOCUS);
    } else {
        redraw(button);
    }
    if (styleOf(button) & BS_NOTIFY) notifyParent(button, focused ? BN_SETFOCUS : BN_KILLFOCUS);
}

LRESULT onButtonDown(HWND button, UINT message) {
    if (!pressable(button)) return 0;
    if (message == WM_LBUTTONDBLCLK && notifies(button)) {
        notifyParent(button, BN_DBLCLK);
        return 0;
    }
    SetFocus(button);
    SetCapture(button);
    setPushed(button, true);
    return 0;
}

LRESULT onMouseMove(HWND button, LPARAM lParam) {
    if (GetCapture() != button) return 0;
    RECT client{};
    GetClientRect(button, &client);
    setPushed(button, contains(client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
    return 0;
}

LRESULT onButtonUp(HWND button) {
    if (GetCapture() != button) return 0;
    const bool pushed = (buttonState(button) & BST_PUSHED) != 0;
    ReleaseCapture();  // WM_CAPTURECHANGED takes the pressed look away
    if (pushed) click(button);
    return 0;
}

LRESULT onKey(HWND button, UINT message, WPARAM key) {
    if (key != VK_SPACE || !pressable(button)) return 0;
    if (message == WM_KEYDOWN) {
        setPushed(button, true);
    } else if (buttonState(button) & BST_PUSHED) {
        setPushed(button, false);
        click(button);
    }
    return 0;
}

LRESULT dialogCode(HWND button) {
    const DWORD style = styleOf(button);
    switch (buttonKind(style)) {
        case ButtonKind::GroupBox: return DLGC_STATIC;
        case ButtonKind::Radio: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case ButtonKind::Push:
            return DLGC_BUTTON | (isDefaultPush(style) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        default: return DLGC_BUTTON;
    }
}

std::optional<LRESULT> buttonMessage(HWND button, ButtonData& data, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: return paintControl(button, paintButton);
        case WM_ERASEBKGND: return 1;  // the painting covers what it must; a group box shows its parent
        case WM_GETDLGCODE: return dialogCode(button);
        case WM_NCHITTEST:
            // A group box only frames: the mouse goes through it to the controls it holds.
            if (buttonKind(styleOf(button)) == ButtonKind::GroupBox) return HTTRANSPARENT;
            return DefWindowProcA(button, message, wParam, lParam);
        case WM_SETFONT: return keepFont(button, data.font, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(data.font);
        case WM_SETTEXT: return setTextAndRedraw(button, wParam, lParam);
        case WM_ENABLE: redraw(button); return 0;
        case WM_SETFOCUS: setFocusBit(button, true); return 0;
        case WM_KILLFOCUS:
            setPushed(button, false);
            setFocusBit(button, false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: return onButtonDown(button, message);
        case WM_MOUSEMOVE: return onMouseMove(button, lParam);
        case WM_LBUTTONUP: return onButtonUp(button);
        case WM_CAPTURECHANGED: setPushed(button, false); return 0;
        case WM_KEYDOWN:
        case WM_KEYUP: return onKey(button, message, wParam);
        case BM_GETCHECK: return static_cast<LRESULT>(buttonState(button) & kCheckBits);
        case BM_SETCHECK: return setCheck(button, wParam);
        case BM_GETSTATE: return static_cast<LRESULT>(buttonState(button));
        case BM_SETSTATE: setPushed(button, wParam != 0); return 0;
        case BM_SETSTYLE: return setStyle(button, wParam, lParam);
        case BM_CLICK:
            if (IsWindowEnabled(button) && pressable(button)) click(button);
            return 0;
        case BM_GETIMAGE: return reinterpret_cast<LRESULT>(data.image);
        case BM_SETIMAGE: {
            const HANDLE old = std::exchange(data.image, reinterpret_cast<HANDLE>(lParam));
            redraw(button);
            return reinterpret_cast<LRESULT>(old);
        }
        default: return std::nullopt;
    }
}

LRESULT CALLBACK buttonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::procedureWithState<ButtonData>(button, message, wParam, lParam, buttonMessage);
}

void registerButtonClass() {
    registerControlClass("BUTTON", buttonProcedure, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace
}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(button, "BUTTON", winplat::controls::registerButtonClass);
