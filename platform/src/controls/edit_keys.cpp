// The keyboard of an EDIT control: caret movement (Shift extends the selection, Ctrl goes by
// words or to the ends), deleting, the clipboard and undo keys, and typed characters.
#include "controls/control_support.h"
#include "controls/edit_control.h"

namespace winplat::controls {
namespace {

constexpr char kCtrlC = 0x03;
constexpr char kCtrlV = 0x16;
constexpr char kCtrlX = 0x18;
constexpr char kCtrlZ = 0x1A;

// The position a line's column x reaches on the line 'delta' lines away.
size_t verticalTarget(const EditControl& edit, int delta) {
    const EditBuffer& buffer = edit.buffer();
    if (!edit.multiLine()) return delta < 0 ? buffer.previousPosition(buffer.caret()) : buffer.nextPosition(buffer.caret());
    const POINT at = edit.pointOf(buffer.caret());
    const int last = static_cast<int>(edit.lines().size()) - 1;
    const int line = static_cast<int>(edit.caretLine()) + delta;
    if (line < 0) return 0;
    if (line > last) return buffer.size();
    const EditLine& target = edit.lines()[static_cast<size_t>(line)];
    return positionOfX(edit.shownText(), target, at.x - edit.lineLeft(static_cast<size_t>(line)), edit.widths());
}

// Where a movement key takes the caret; false for other keys.
bool caretTarget(const EditControl& edit, WPARAM key, bool ctrl, bool shift, size_t& target) {
    const EditBuffer& buffer = edit.buffer();
    const size_t caret = buffer.caret();
    const EditLine& line = edit.lines()[edit.caretLine()];
    // Without Shift a selection collapses to the end the arrow points at.
    const bool collapse = !shift && !ctrl && buffer.hasSelection();
    switch (key) {
        case VK_LEFT:
            target = collapse ? buffer.selectionStart()
                              : (ctrl ? buffer.previousWordStart(caret) : buffer.previousPosition(caret));
            return true;
        case VK_RIGHT:
            target = collapse ? buffer.selectionEnd() : (ctrl ? buffer.nextWordStart(caret) : buffer.nextPosition(caret));
            return true;
        case VK_HOME: target = ctrl ? 0 : line.start; return true;
        case VK_END: target = ctrl ? buffer.size() : line.start + line.length; return true;
        case VK_UP: target = verticalTarget(edit, -1); return true;
        case VK_DOWN: target = verticalTarget(edit, 1); return true;
        case VK_PRIOR: target = verticalTarget(edit, -edit.visibleLines()); return true;
        case VK_NEXT: target = verticalTarget(edit, edit.visibleLines()); return true;
        default: return false;
    }
}

void moveCaret(EditControl& edit, size_t target, bool extend) {
    EditBuffer& buffer = edit.buffer();
    buffer.select(extend ? buffer.anchor() : target, target);
    edit.selectionMoved(true);
}

// Delete and Backspace: the selection, else the byte (or CR LF) after or before the caret.
void deleteAt(EditControl& edit, bool forward) {
    EditBuffer& buffer = edit.buffer();
    if (edit.readOnly()) {
        MessageBeep(MB_OK);
        return;
    }
    if (!buffer.hasSelection()) {
        const size_t caret = buffer.caret();
        const size_t other = forward ? buffer.nextPosition(caret) : buffer.previousPosition(caret);
        if (other == caret) return;
        buffer.select(other, caret);
    }
    edit.replaceSelection("");
}

void onKeyDown(EditControl& edit, WPARAM key) {
    const bool ctrl = keyHeld(VK_CONTROL);
    const bool shift = keyHeld(VK_SHIFT);
    size_t target = 0;
    if (caretTarget(edit, key, ctrl, shift, target)) {
        moveCaret(edit, target, shift);
    } else if (key == VK_DELETE) {
        if (shift) {
            SendMessageA(edit.window(), WM_CUT, 0, 0);
        } else {
            deleteAt(edit, true);
        }
    } else if (key == VK_INSERT) {
        if (ctrl) SendMessageA(edit.window(), WM_COPY, 0, 0);
        if (shift) SendMessageA(edit.window(), WM_PASTE, 0, 0);
    }
}

// A typed character: inserted unless the style refuses it, with a beep for a refused one.
void type(EditControl& edit, char c) {
    const bool digit = c >= '0' && c <= '9';
    if (edit.readOnly() || ((edit.style() & ES_NUMBER) && !digit)) {
        MessageBeep(MB_OK);
        return;
    }
    edit.replaceSelection(std::string_view(&c, 1), true);
}

void onChar(EditControl& edit, char c) {
    switch (c) {
        case '\b': deleteAt(edit, false); return;
        case kCtrlC: SendMessageA(edit.window(), WM_COPY, 0, 0); return;
        case kCtrlV: SendMessageA(edit.window(), WM_PASTE, 0, 0); return;
        case kCtrlX: SendMessageA(edit.window(), WM_CUT, 0, 0); return;
        case kCtrlZ: SendMessageA(edit.window(), WM_UNDO, 0, 0); return;
        case '\r':
        case '\n':  // Ctrl+Enter
            if (edit.multiLine() && !edit.readOnly()) edit.replaceSelection("\r\n", true);
            return;
        case '\t':
            if (edit.multiLine()) type(edit, c);
            return;
        default:
            if (static_cast<unsigned char>(c) >= 0x20) type(edit, c);
            return;
    }
}

}  // namespace

bool handleEditKeys(EditControl& edit, UINT message, WPARAM wParam, LRESULT& result) {
    switch (message) {
        case WM_KEYDOWN: onKeyDown(edit, wParam); break;
        case WM_CHAR: onChar(edit, static_cast<char>(wParam & 0xFF)); break;
        default: return false;
    }
    result = 0;
    return true;
}

}  // namespace winplat::controls
