// The text frame a copied selection is held in while it goes onto the clipboard: one per process,
// made on first use and emptied before each copy, so that nothing of an earlier copy leaks into a
// later one.
#ifndef LECT32_PAGE_CLIPBOARD_VIEW_H
#define LECT32_PAGE_CLIPBOARD_VIEW_H

#include "page/rich_text_object.h"

namespace lect32 {

RichTextObject& GetClipboardView();
// Empties the clipboard view to one empty row and drops its objects.
void ClearViewForCopy();
// The view's selection as plain text on the clipboard (CF_TEXT with CF_LOCALE). False without a
// selection or when the clipboard could not take it.
bool CopySelectionToClipboard(const DocumentView& view, HWND window);

}  // namespace lect32

#endif
