// The process's clipboard view.
#include "page/clipboard_view.h"

namespace lect32 {

RichTextObject& GetClipboardView() {
    static RichTextObject view;
    return view;
}

void ClearViewForCopy() { GetClipboardView().ClearFrame(); }

}  // namespace lect32
