// Searching a text frame: the next hit selected, or every hit marked as a highlighted range (which
// the record carries with its highlights section).
#include "page/object_text_frame.h"
#include "page/rich_text_object.h"
#include "text/text_store.h"

namespace lect32 {

namespace {

// The frame's row texts in a store the text search walks; false when they do not fit one.
bool storeOfRows(const std::vector<ViewRow>& rows, TextStore& store) {
    for (const ViewRow& row : rows) {
        const uint16_t n = store.AddItem();
        if (n == TextStore::kNoItem) return false;
        const std::string_view text(reinterpret_cast<const char*>(row.text.data()), row.text.size());
        if (!text.empty() && !store.SetItemString(n, text)) return false;
    }
    return true;
}

}  // namespace

bool RichTextObject::FindText(const FrameSearch& search) {
    TextStore store;
    if (!storeOfRows(rows_, store)) return false;
    const uint16_t from = selection_.active ? selection_.endPos : caretPos_;
    const uint16_t row = selection_.active ? selection_.endRow : caretRow_;
    TextMatch match;
    if (!store.FindText(search.text, search.matchCase, search.wholeWords, row, from, match)) return false;
    selection_ = Selection{true, true, match.item, match.start, match.item, match.end};
    caretRow_ = match.item;
    caretPos_ = match.end;
    return true;
}

void RichTextObject::MarkFoundWords(const FrameSearch& search) {
    TextStore store;
    if (!storeOfRows(rows_, store)) return;
    std::vector<std::vector<std::pair<uint16_t, uint16_t>>> found(rows_.size());
    TextMatch match;
    uint16_t row = 0, from = 0;
    while (store.FindText(search.text, search.matchCase, search.wholeWords, row, from, match)) {
        found[match.item].emplace_back(match.start, match.end);
        row = match.item;
        from = match.end > match.start ? match.end : static_cast<uint16_t>(match.start + 1);
    }
    for (size_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r].marked == found[r]) continue;
        rows_[r].marked = std::move(found[r]);
        contentChanged_ = true;
    }
}

}  // namespace lect32
