#include "page/rich_text_object.h"

#include "page/url_marking.h"

namespace lect32 {

RichTextObject::RichTextObject(PageServices pageServices, ViewServices services, RichTextHost* host)
    : DocumentView(std::move(pageServices), std::move(services)), host_(host) {
    // Most of these views are frames inside something else (text objects, table cells, the
    // clipboard); the page window makes its own view a normal one.
    SetMode(kEmbedded);
    ClearFrame();
}

// The rows' tables take no commands of their own: each command goes to the page's objects, and
// the view then does its own part.
bool RichTextObject::DoCommand(int type, int argument, void* data) {
    bool handled = page_.DoCommand(type, argument, data) != 0;
    switch (type) {
        case kEmpty: Clear(false); break;
        case kStep:
            if (argument == 1 || argument == 2) handled = page_.NeedsRepaint() || handled;
            break;
        case kCopy:
            if (!selection_.active) return false;
            return CopySelection(argument != 0);
        case kMarkAddresses: MarkUrlLinks(); return true;
        case kClearFlags: capture_ = foundWord_ = false; break;
        default: break;
    }
    return handled;
}

int RichTextObject::OnCommand(UINT id) {
    if (id != kNextLinkCommand && id != kPreviousLinkCommand) return 0;
    StepLink(id == kNextLinkCommand);
    return 1;
}

int RichTextObject::HitTest(int grade) {
    if (marked_ != 0) return 1;
    if (grade == 1 ? layoutChanged_ : (layoutChanged_ || contentChanged_)) return 1;
    // Every table is asked: asking stores the table's open cell, which must not wait for the
    // first table that reports.
    bool tableChanged = false;
    for (ViewRow& row : rows_) {
        if (row.table && row.table->HitTest(grade)) tableChanged = true;
    }
    return tableChanged ? 1 : 0;
}

size_t RichTextObject::MarkUrlLinks() {
    size_t marked = 0;
    for (ViewRow& row : rows_) {
        if (row.table) continue;
        marked += MarkUrlsInRow(row.text);
    }
    return marked;
}

}  // namespace lect32
