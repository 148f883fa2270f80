// Cut, copy, paste and clear of an EDIT control, through the clipboard's CF_TEXT. A password
// control never gives its text away, and a read-only one only copies.
#include <cstring>
#include <string>

#include "controls/edit_control.h"
#include "winplat/clipboard.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"

namespace winplat::controls {
namespace {

constexpr Refuser refuse("winplat: EDIT");

bool copy(const EditControl& edit) {
    const EditBuffer& buffer = edit.buffer();
    if (!buffer.hasSelection()) return false;
    if (edit.passwordChar()) return refuse(false, "a password is not copied to the clipboard");
    const std::string_view text = buffer.selectedText();
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!block) return refuse(false, "no memory for the clipboard's copy");
    {
        GlobalPin pin(block.get());
        if (!pin) return refuse(false, "the clipboard's copy cannot be locked");
        std::memcpy(pin.data(), text.data(), text.size());
        pin.as<char>()[text.size()] = '\0';
    }
    OpenedClipboard clipboard(edit.window());
    if (!clipboard) return refuse(false, "the clipboard is open elsewhere");
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, block.get())) return refuse(false, "the clipboard refused the text");
    (void)block.release();  // the clipboard's now
    return true;
}

// The clipboard's text, up to its first zero and never past its block.
bool clipboardText(HWND owner, std::string& text) {
    OpenedClipboard clipboard(owner);
    if (!clipboard) return refuse(false, "the clipboard is open elsewhere");
    const HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return false;
    const auto block = static_cast<HGLOBAL>(data);
    const size_t size = GlobalSize(block);
    GlobalPin pin(block);
    if (!pin) return refuse(false, "the clipboard's text cannot be locked");
    const auto* bytes = pin.as<const char>();
    text.assign(bytes, strnlen(bytes, size));
    return true;
}

bool refuseReadOnly(const EditControl& edit) {
    if (!edit.readOnly()) return false;
    MessageBeep(MB_OK);
    return true;
}

void paste(EditControl& edit) {
    if (refuseReadOnly(edit)) return;
    std::string text;
    if (clipboardText(edit.window(), text)) edit.replaceSelection(text);
}

void clear(EditControl& edit) {
    if (refuseReadOnly(edit) || !edit.buffer().hasSelection()) return;
    edit.replaceSelection("");
}

}  // namespace

bool handleEditClipboard(EditControl& edit, UINT message, LRESULT& result) {
    switch (message) {
        case WM_COPY: copy(edit); break;
        case WM_CUT:
            if (!refuseReadOnly(edit) && copy(edit)) clear(edit);
            break;
        case WM_PASTE: paste(edit); break;
        case WM_CLEAR: clear(edit); break;
        default: return false;
    }
    result = 0;
    return true;
}

}  // namespace winplat::controls
