// The dialog class "#32770" and DefDlgProcA: the dialog procedure first, then the dialog
// manager's own handling of what it left.
#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "dialogs/dialog_focus.h"
#include "dialogs/dialog_state.h"
#include "user/builtin_classes.h"

namespace winplat::dialogs {
namespace {

// Messages whose answer is the dialog procedure's return value itself, not DWL_MSGRESULT.
bool answersDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG: return true;
        default: return false;
    }
}

LRESULT eraseBackground(HWND dialog, HDC dc) {
    const auto brush =
        reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(dialog)));
    RECT client{};
    GetClientRect(dialog, &client);
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
    return TRUE;
}

// The focus comes back to the control that had it, else to the first tab stop.
void restoreFocus(HWND dialog) {
    const std::shared_ptr<const DialogState> state = dialogState(dialog);
    HWND target = state ? state->savedFocus : nullptr;
    if (!target || !IsWindow(target) || !IsChild(dialog, target)) target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (target) focusControl(dialog, target);
}

LRESULT onActivate(HWND dialog, WPARAM wParam) {
    const std::shared_ptr<DialogState> state = dialogState(dialog);
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (state && focus && IsChild(dialog, focus)) state->savedFocus = focus;
        return 0;
    }
    restoreFocus(dialog);
    return 0;
}

LRESULT onNextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND target = nullptr;
    if (LOWORD(lParam)) {
        target = reinterpret_cast<HWND>(wParam);
    } else {
        target = GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
    }
    if (target && IsChild(dialog, target)) focusControl(dialog, target);
    return 0;
}

LRESULT onGetDefaultId(HWND dialog) {
    const std::optional<WORD> id = defaultIdOf(dialog);
    return id ? MAKELRESULT(*id, DC_HASDEFID) : 0;
}

// Closing a dialog is cancelling it, unless its Cancel button is there and disabled.
LRESULT onClose(HWND dialog) {
    const HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel && !IsWindowEnabled(cancel)) {
        MessageBeep(MB_OK);
        return 0;
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    return 0;
}

LRESULT defaultHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return eraseBackground(dialog, reinterpret_cast<HDC>(wParam));
        case WM_ACTIVATE: return onActivate(dialog, wParam);
        case WM_SETFOCUS: restoreFocus(dialog); return 0;
        case WM_CLOSE: return onClose(dialog);
        case WM_NEXTDLGCTL: return onNextControl(dialog, wParam, lParam);
        case DM_GETDEFID: return onGetDefaultId(dialog);
        case DM_SETDEFID: setDefaultId(dialog, LOWORD(wParam)); return TRUE;
        case WM_GETFONT: {
            const std::shared_ptr<const DialogState> state = dialogState(dialog);
            return reinterpret_cast<LRESULT>(state ? state->font : nullptr);
        }
        default: return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

void registerDialogClass() {
    controls::registerControlClass("#32770", DefDlgProcA, CS_DBLCLKS | CS_SAVEBITS, DLGWINDOWEXTRA);
}

}  // namespace
}  // namespace winplat::dialogs

WINPLAT_BUILTIN_CLASS(dialog, "#32770", winplat::dialogs::registerDialogClass);

LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace winplat::dialogs;
    SetWindowLongPtrA(dialog, DWL_MSGRESULT, 0);
    const auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWL_DLGPROC));
    const INT_PTR handled = procedure ? procedure(dialog, message, wParam, lParam) : 0;
    if (message == WM_NCDESTROY) {
        dropDialogState(dialog);
        return DefWindowProcA(dialog, message, wParam, lParam);
    }
    if (handled && IsWindow(dialog)) {
        return answersDirectly(message) ? handled : GetWindowLongPtrA(dialog, DWL_MSGRESULT);
    }
    if (handled || !IsWindow(dialog)) return handled;
    return defaultHandling(dialog, message, wParam, lParam);
}
