// Copying a page's text: the selection, or the whole text when nothing is selected, taken into the
// program's clipboard view and from there onto the clipboard, so that a copy is written as plain
// text in one place only.
#include "page/clipboard_view.h"
#include "page/rich_text_object.h"

namespace lect32 {

bool RichTextObject::CopySelection(bool toClipboard) {
    uint16_t startRow = 0, startPos = 0, endRow = 0, endPos = 0;  // all 0: the whole text
    if (selection_.active) {
        // A selection edge just behind a control code would copy the code without its text.
        startRow = selection_.startRow;
        startPos = PrevTextPosition(startRow, selection_.startPos);
        endRow = selection_.endRow;
        endPos = PrevTextPosition(endRow, selection_.endPos);
    }
    RichTextObject& copy = GetClipboardView();
    copy.ClearFrame();
    bool copied = copy.CopyRangeFrom(*this, startRow, startPos, endRow, endPos);
    if (copied && toClipboard) copied = copy.CopyToClipboard(window_);
    // Nothing of this copy may show up in the next one.
    copy.ClearFrame();
    return copied;
}

}  // namespace lect32
