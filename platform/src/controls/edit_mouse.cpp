// The mouse on an EDIT control: a press places the caret (Shift extends the selection from the
// anchor), a drag selects with the mouse captured, a double click selects a word.
#include "controls/edit_control.h"

namespace winplat::controls {
namespace {

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void onButtonDown(EditControl& edit, WPARAM keys, LPARAM lParam) {
    if (GetFocus() != edit.window()) SetFocus(edit.window());
    EditBuffer& buffer = edit.buffer();
    const size_t at = edit.positionAt(pointOf(lParam));
    buffer.select((keys & MK_SHIFT) ? buffer.anchor() : at, at);
    edit.setSelecting(true);
    SetCapture(edit.window());
    edit.selectionMoved(true);
}

void onMove(EditControl& edit, LPARAM lParam) {
    if (!edit.selecting()) return;
    EditBuffer& buffer = edit.buffer();
    const size_t at = edit.positionAt(pointOf(lParam));
    if (at == buffer.caret()) return;
    buffer.select(buffer.anchor(), at);
    edit.selectionMoved(true);
}

void onButtonUp(EditControl& edit) {
    if (!edit.selecting()) return;
    edit.setSelecting(false);
    if (GetCapture() == edit.window()) ReleaseCapture();
}

void onDoubleClick(EditControl& edit, LPARAM lParam) {
    EditBuffer& buffer = edit.buffer();
    const size_t at = edit.positionAt(pointOf(lParam));
    buffer.select(buffer.wordStart(at), buffer.wordEnd(at));
    edit.selectionMoved(true);
}

}  // namespace

bool handleEditMouse(EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_LBUTTONDOWN: onButtonDown(edit, wParam, lParam); break;
        case WM_MOUSEMOVE: onMove(edit, lParam); break;
        case WM_LBUTTONUP: onButtonUp(edit); break;
        case WM_LBUTTONDBLCLK: onDoubleClick(edit, lParam); break;
        case WM_CAPTURECHANGED: edit.setSelecting(false); break;
        default: return false;
    }
    result = 0;
    return true;
}

}  // namespace winplat::controls
