// The process's clipboard view.
#include "page/clipboard_view.h"

namespace lect32 {

RichTextObject& GetClipboardView() {
    static RichTextObject view;
    return view;
}

void ClearViewForCopy() { GetClipboardView().ClearFrame(); }

bool CopySelectionToClipboard(const DocumentView& view, HWND window) {
    const DocumentView::Selection& s = view.GetSelection();
    if (!s.active) return false;
    ClearViewForCopy();
    RichTextObject& copy = GetClipboardView();
    const bool copied = copy.CopyRangeFrom(view, s.startRow, s.startPos, s.endRow, s.endPos) && copy.CopyToClipboard(window);
    ClearViewForCopy();
    return copied;
}

}  // namespace lect32
