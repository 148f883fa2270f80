// The text frame a copied selection is held in while it goes onto the clipboard: one per process,
// made on first use and emptied before and after each copy, so that nothing of an earlier copy
// leaks into a later one.
#ifndef LECT32_PAGE_CLIPBOARD_VIEW_H
#define LECT32_PAGE_CLIPBOARD_VIEW_H

#include "page/rich_text_object.h"

namespace lect32 {

RichTextObject& GetClipboardView();
// Empties the clipboard view to one empty row and drops its objects.
void ClearViewForCopy();

}  // namespace lect32

#endif
