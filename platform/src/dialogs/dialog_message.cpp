// IsDialogMessageA: the dialog's keyboard interface over whatever control has the focus.
#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "dialogs/dialog_focus.h"
#include "dialogs/dialog_mnemonics.h"
#include "dialogs/dialog_state.h"

namespace winplat::dialogs {
namespace {

// The focused control of the dialog, or the dialog itself when none of its controls has it.
HWND focusIn(HWND dialog) {
    const HWND focus = GetFocus();
    return inDialog(dialog, focus) ? focus : dialog;
}

// WM_COMMAND for a button id, as a click on that button would send it; nothing when the button
// is there but disabled.
void command(HWND dialog, WORD id) {
    const HWND button = GetDlgItem(dialog, id);
    if (button && !IsWindowEnabled(button)) {
        MessageBeep(MB_OK);
        return;
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void pressEnter(HWND dialog, HWND focus, LRESULT code) {
    if (focus != dialog && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        if (IsWindowEnabled(focus)) command(dialog, static_cast<WORD>(GetDlgCtrlID(focus)));
        return;
    }
    const std::optional<WORD> id = defaultIdOf(dialog);
    command(dialog, id ? *id : static_cast<WORD>(IDOK));
}

void moveInGroup(HWND dialog, HWND focus, bool previous) {
    const HWND next = GetNextDlgGroupItem(dialog, focus == dialog ? nullptr : focus, previous);
    if (!next || next == focus) return;
    focusControl(dialog, next);
    if (dialogCodeOf(next) & DLGC_RADIOBUTTON) SendMessageA(next, BM_CLICK, 0, 0);
}

void sendHelp(HWND dialog, HWND focus) {
    HELPINFO help{};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.iCtrlId = focus == dialog ? 0 : GetDlgCtrlID(focus);
    help.hItemHandle = focus;
    GetCursorPos(&help.MousePos);
    SendMessageA(focus, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
}

// The key's work when the focused control does not take the key itself; false for a key the
// dialog leaves to the control.
bool handleKey(HWND dialog, HWND focus, const MSG& message, LRESULT code) {
    const auto key = static_cast<UINT>(message.wParam);
    if (code & DLGC_WANTMESSAGE) return false;
    switch (key) {
        case VK_TAB:
            if (code & DLGC_WANTTAB) return false;
            SendMessageA(dialog, WM_NEXTDLGCTL, controls::keyHeld(VK_SHIFT) ? 1 : 0, FALSE);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (code & DLGC_WANTARROWS) return false;
            moveInGroup(dialog, focus, key == VK_LEFT || key == VK_UP);
            return true;
        case VK_RETURN: pressEnter(dialog, focus, code); return true;
        case VK_ESCAPE: command(dialog, IDCANCEL); return true;
        case VK_F1: sendHelp(dialog, focus); return true;
        default: return false;
    }
}

bool handleCharacter(HWND dialog, const MSG& message, LRESULT code) {
    const auto character = static_cast<char>(message.wParam);
    // Tab, Enter and Esc come as characters too after their keys: nothing more to do with them.
    if (character == '\t' || character == '\r' || character == 0x1B) return !(code & (DLGC_WANTMESSAGE | DLGC_WANTCHARS | DLGC_WANTTAB));
    if (message.message == WM_CHAR && (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE))) return false;
    return pressMnemonic(dialog, character);
}

bool handle(HWND dialog, const MSG& message) {
    const HWND focus = focusIn(dialog);
    const LRESULT code = focus == dialog ? 0 : dialogCodeOf(focus, &message);
    switch (message.message) {
        case WM_KEYDOWN: return handleKey(dialog, focus, message, code);
        case WM_CHAR:
        case WM_SYSCHAR: return handleCharacter(dialog, message, code);
        default: return false;
    }
}

}  // namespace
}  // namespace winplat::dialogs

using namespace winplat;
using namespace winplat::dialogs;

BOOL IsDialogMessageA(HWND dialog, LPMSG message) {
    constexpr CallRefuser refuse("winplat: IsDialogMessageA", ERROR_INVALID_WINDOW_HANDLE);
    if (!message) return refuse(FALSE, "no message");
    if (!IsWindow(dialog)) return refuse(FALSE, "no dialog");
    if (!inDialog(dialog, message->hwnd)) return FALSE;
    trackDefaultButton(dialog);
    if (!handle(dialog, *message)) {
        TranslateMessage(message);
        DispatchMessageA(message);
    }
    if (IsWindow(dialog)) trackDefaultButton(dialog);
    return TRUE;
}
