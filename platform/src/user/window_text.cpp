// Window text goes through the window's own procedure (WM_SETTEXT, WM_GETTEXT,
// WM_GETTEXTLENGTH), so a control or a program can answer for it.
#include "user/send.h"

using namespace winplat;
using namespace winplat::user;

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    constexpr CallRefuser refuse("winplat: SetWindowTextA", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    return sendTo(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
    constexpr CallRefuser refuse("winplat: GetWindowTextA", ERROR_INVALID_WINDOW_HANDLE);
    if (buffer && size > 0) buffer[0] = '\0';
    const WindowRef target = windowForCall(window, refuse);
    if (!target || !buffer || size <= 0) return 0;
    return static_cast<int>(sendTo(target, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND window) {
    constexpr CallRefuser refuse("winplat: GetWindowTextLengthA", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    return target ? static_cast<int>(sendTo(target, WM_GETTEXTLENGTH, 0, 0)) : 0;
}
