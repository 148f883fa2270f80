// The EDIT window class: its procedure keeps one EditControl per window and hands each message to
// the file of its concern; the text, selection, undo and limit messages are answered here.
#include <algorithm>
#include <cstring>
#include <optional>

#include "controls/edit_control.h"
#include "user/builtin_classes.h"
#include "user/window_state.h"

namespace winplat::controls {
namespace {

// EM_GETSEL packs both ends in one result; past 16 bits that result is -1 and only the
// pointers tell.
LRESULT getSelection(const EditBuffer& buffer, WPARAM startOut, LPARAM endOut) {
    const size_t start = buffer.selectionStart();
    const size_t end = buffer.selectionEnd();
    if (auto* out = reinterpret_cast<DWORD*>(startOut)) *out = static_cast<DWORD>(start);
    if (auto* out = reinterpret_cast<DWORD*>(endOut)) *out = static_cast<DWORD>(end);
    if (end > 0xFFFF) return -1;
    return MAKELRESULT(start, end);
}

// EM_SETSEL: a start of -1 drops the selection, an end of -1 (or any negative) is the text's end;
// the caret goes to the end given second.
void setSelection(EditControl& edit, WPARAM startIn, LPARAM endIn) {
    EditBuffer& buffer = edit.buffer();
    const auto start = static_cast<int>(startIn);
    const auto end = static_cast<int>(endIn);
    if (start < 0) {
        buffer.select(buffer.caret(), buffer.caret());
    } else {
        buffer.select(static_cast<size_t>(start), end < 0 ? buffer.size() : static_cast<size_t>(end));
    }
    edit.selectionMoved(false);
}

LRESULT getText(const EditBuffer& buffer, WPARAM size, LPARAM out) {
    auto* text = reinterpret_cast<char*>(out);
    if (!text || size == 0) return 0;
    const size_t count = std::min<size_t>(buffer.size(), size - 1);
    std::memcpy(text, buffer.text().data(), count);
    text[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT dialogCode(const EditControl& edit, LPARAM lParam) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!edit.multiLine()) return code;
    code |= DLGC_WANTALLKEYS;
    // Tab and Esc stay the dialog's; Enter too unless the control wants its own line breaks.
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message && message->message == WM_KEYDOWN) {
        const WPARAM key = message->wParam;
        if (key == VK_TAB || key == VK_ESCAPE || (key == VK_RETURN && !(edit.style() & ES_WANTRETURN))) {
            code &= ~DLGC_WANTALLKEYS;
        }
    }
    return code;
}

void setReadOnly(EditControl& edit, bool readOnly) {
    const DWORD style = edit.style();
    SetWindowLongA(edit.window(), GWL_STYLE,
                   static_cast<LONG>(readOnly ? style | ES_READONLY : style & ~static_cast<DWORD>(ES_READONLY)));
    edit.redraw();
}

// EM_SETPASSWORDCHAR: a single line shows the character in place of the text, or the text again
// for 0; the password style follows.
void setPasswordChar(EditControl& edit, WPARAM c) {
    if (edit.multiLine()) return;
    const auto ch = static_cast<char>(c & 0xFF);
    const DWORD style = edit.style();
    SetWindowLongA(edit.window(), GWL_STYLE,
                   static_cast<LONG>(ch ? style | ES_PASSWORD : style & ~static_cast<DWORD>(ES_PASSWORD)));
    edit.setPasswordChar(ch);
    edit.selectionMoved(false);
}

void create(EditControl& edit, const CREATESTRUCTA* create) {
    edit.setScrollBars(create ? static_cast<DWORD>(create->style) : 0);
    edit.setFont(nullptr);
    if (!edit.multiLine() && (edit.style() & ES_PASSWORD)) edit.setPasswordChar('*');
    const char* text = create ? create->lpszName : nullptr;
    if (text && reinterpret_cast<ULONG_PTR>(text) >= 0x10000) edit.setText(text, true);
}

bool handleTextAndSelection(EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    EditBuffer& buffer = edit.buffer();
    switch (message) {
        case WM_SETTEXT: {
            const auto* text = reinterpret_cast<const char*>(lParam);
            result = edit.setText(text ? text : "") ? TRUE : FALSE;
            return true;
        }
        case WM_GETTEXT: result = getText(buffer, wParam, lParam); return true;
        case WM_GETTEXTLENGTH: result = static_cast<LRESULT>(buffer.size()); return true;
        case EM_GETSEL: result = getSelection(buffer, wParam, lParam); return true;
        case EM_SETSEL: setSelection(edit, wParam, lParam); result = 0; return true;
        case EM_REPLACESEL: {
            const auto* text = reinterpret_cast<const char*>(lParam);
            edit.replaceSelection(text ? text : "");
            if (!wParam) buffer.emptyUndo();
            result = 0;
            return true;
        }
        case EM_GETMODIFY: result = buffer.modified() ? TRUE : FALSE; return true;
        case EM_SETMODIFY: buffer.setModified(wParam != 0); result = 0; return true;
        case EM_LIMITTEXT: buffer.setLimit(static_cast<size_t>(wParam)); result = 0; return true;
        case EM_GETLIMITTEXT: result = static_cast<LRESULT>(buffer.limit()); return true;
        case EM_CANUNDO: result = buffer.canUndo() ? TRUE : FALSE; return true;
        case WM_UNDO:
        case EM_UNDO: result = !edit.readOnly() && edit.undo() ? TRUE : FALSE; return true;
        case EM_EMPTYUNDOBUFFER: buffer.emptyUndo(); result = 0; return true;
        case EM_SETREADONLY: setReadOnly(edit, wParam != 0); result = TRUE; return true;
        case EM_SETPASSWORDCHAR: setPasswordChar(edit, wParam); result = 0; return true;
        case EM_GETPASSWORDCHAR: result = static_cast<unsigned char>(edit.passwordChar()); return true;
        default: return false;
    }
}

bool handleWindowState(EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CREATE: create(edit, reinterpret_cast<const CREATESTRUCTA*>(lParam)); result = 0; return true;
        case WM_SETFONT:
            edit.setFont(reinterpret_cast<HFONT>(wParam));
            if (LOWORD(lParam)) edit.redraw();
            result = 0;
            return true;
        case WM_GETFONT: result = reinterpret_cast<LRESULT>(edit.font()); return true;
        case WM_GETDLGCODE: result = dialogCode(edit, lParam); return true;
        case WM_SETFOCUS: edit.takeFocus(); result = 0; return true;
        case WM_KILLFOCUS: edit.loseFocus(); result = 0; return true;
        case WM_SIZE:
        case WM_STYLECHANGED:
            edit.relayOut();
            edit.selectionMoved(true);
            result = 0;
            return true;
        case WM_ENABLE: edit.redraw(); result = 0; return true;
        case WM_ERASEBKGND: result = 1; return true;  // the painting fills the background itself
        case WM_PAINT: paintEdit(edit); result = 0; return true;
        default: return false;
    }
}

std::optional<LRESULT> handleEdit(HWND, EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handleWindowState(edit, message, wParam, lParam, result) ||
        handleTextAndSelection(edit, message, wParam, lParam, result) ||
        handleEditKeys(edit, message, wParam, result) || handleEditMouse(edit, message, wParam, lParam, result) ||
        handleEditClipboard(edit, message, result) || handleEditLines(edit, message, wParam, lParam, result) ||
        handleEditScrolling(edit, message, wParam, lParam, result)) {
        return result;
    }
    return std::nullopt;
}

LRESULT CALLBACK editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::procedureWithState<EditControl>(window, message, wParam, lParam, handleEdit);
}

void registerEditClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = editProcedure;
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.lpszClassName = "EDIT";
    RegisterClassExA(&wc);
}

}  // namespace
}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(edit, "EDIT", winplat::controls::registerEditClass);
