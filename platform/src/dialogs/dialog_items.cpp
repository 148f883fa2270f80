// The ...DlgItem... calls: a dialog's controls by id, their texts as strings and numbers, and the
// check of its buttons.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "winplat/dialogs.h"

namespace winplat::dialogs {
namespace {

// The control with the id among the dialog's children (the first in tab order when two share it).
HWND itemOf(HWND dialog, int id, const CallRefuser& refuse) {
    if (!IsWindow(dialog)) return refuse(static_cast<HWND>(nullptr), "no dialog");
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongA(child, GWL_ID) == id) return child;
    }
    return refuse(static_cast<HWND>(nullptr), "no control " + std::to_string(id));
}

// The number a text holds: leading blanks, an optional sign (when signed), digits to the end.
std::optional<long long> numberIn(const std::string& text, bool isSigned) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return std::nullopt;
    bool negative = false;
    if (isSigned && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(UINT_MAX) + 1) return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace
}  // namespace winplat::dialogs

using namespace winplat;
using namespace winplat::dialogs;

HWND GetDlgItem(HWND dialog, int id) {
    constexpr CallRefuser refuse("winplat: GetDlgItem", ERROR_CONTROL_ID_NOT_FOUND);
    return itemOf(dialog, id, refuse);
}

int GetDlgCtrlID(HWND control) {
    constexpr CallRefuser refuse("winplat: GetDlgCtrlID", ERROR_INVALID_WINDOW_HANDLE);
    if (!IsWindow(control)) return refuse(0, "no window");
    if (!(controls::styleOf(control) & WS_CHILD)) return refuse(0, "a top-level window has no id");
    return GetWindowLongA(control, GWL_ID);
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    constexpr CallRefuser refuse("winplat: SetDlgItemTextA", ERROR_CONTROL_ID_NOT_FOUND);
    const HWND item = itemOf(dialog, id, refuse);
    return item ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
    constexpr CallRefuser refuse("winplat: GetDlgItemTextA", ERROR_CONTROL_ID_NOT_FOUND);
    const HWND item = itemOf(dialog, id, refuse);
    if (!item) {
        if (buffer && size > 0) buffer[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(item, buffer, size));
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    constexpr CallRefuser refuse("winplat: GetDlgItemInt", ERROR_CONTROL_ID_NOT_FOUND);
    if (translated) *translated = FALSE;
    const HWND item = itemOf(dialog, id, refuse);
    if (!item) return 0;
    const std::optional<long long> value = numberIn(controls::windowText(item), isSigned != FALSE);
    if (!value) return 0;
    const bool fits = isSigned ? (*value >= INT_MIN && *value <= INT_MAX) : (*value >= 0 && *value <= UINT_MAX);
    if (!fits) return 0;
    if (translated) *translated = TRUE;
    return static_cast<UINT>(*value);
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    const std::string text = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    return SetDlgItemTextA(dialog, id, text.c_str());
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr CallRefuser refuse("winplat: SendDlgItemMessageA", ERROR_CONTROL_ID_NOT_FOUND);
    const HWND item = itemOf(dialog, id, refuse);
    return item ? SendMessageA(item, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    constexpr CallRefuser refuse("winplat: CheckDlgButton", ERROR_CONTROL_ID_NOT_FOUND);
    const HWND item = itemOf(dialog, id, refuse);
    if (!item) return FALSE;
    SendMessageA(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    constexpr CallRefuser refuse("winplat: IsDlgButtonChecked", ERROR_CONTROL_ID_NOT_FOUND);
    const HWND item = itemOf(dialog, id, refuse);
    return item ? static_cast<UINT>(SendMessageA(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
    constexpr CallRefuser refuse("winplat: CheckRadioButton", ERROR_CONTROL_ID_NOT_FOUND);
    if (!IsWindow(dialog)) return refuse(FALSE, "no dialog");
    bool found = false;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG id = GetWindowLongA(child, GWL_ID);
        if (id < first || id > last) continue;
        found = found || id == check;
        SendMessageA(child, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return found ? TRUE : refuse(FALSE, "no control " + std::to_string(check) + " in the range");
}
