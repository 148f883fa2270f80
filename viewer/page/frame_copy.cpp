// Moving content between text frames: a range of one frame copied into another (a selection being
// copied), and a whole frame appended into another at its caret (a paste).
#include <algorithm>
#include <optional>

#include "page/rich_text_object.h"
#include "text/control_codes.h"
#include "text/format_cursor.h"

namespace lect32 {

namespace {

constexpr uint8_t kLinkClose[2] = {kCodeLinkEnd, kCodeLinkEnd};
constexpr size_t kAnchorAt = RowRecord::kHeaderSize;
constexpr size_t kAnchorSize = 2;

// Where the link open at 'position' starts (its opening sequence), if one is open there.
std::optional<size_t> openLinkAt(std::span<const uint8_t> text, size_t position) {
    std::optional<size_t> open;
    size_t at = 0;
    while (at < text.size() && at < position) {
        if (!IsControlCode(text[at])) {
            ++at;
            continue;
        }
        const size_t length = SequenceLength(text, at);
        if (length == 0) return std::nullopt;  // damaged: no link can be trusted past here
        if (text[at] == kCodeLinkStart) open = at;
        if (text[at] == kCodeLinkEnd) open.reset();
        at += length;
    }
    return open;
}

// The codes that put a slice starting at 'start' into the format and link in force there.
std::vector<uint8_t> prefixFor(std::span<const uint8_t> text, uint16_t start) {
    if (start == 0) return {};
    FormatCursor cursor;
    cursor.ScanText(text, start, false);
    std::vector<uint8_t> prefix(3 * 16);
    prefix.resize(cursor.EmitCodes(prefix));
    if (const auto link = openLinkAt(text, start)) {
        const size_t length = SequenceLength(text, *link);
        prefix.insert(prefix.end(), text.begin() + static_cast<std::ptrdiff_t>(*link),
                      text.begin() + static_cast<std::ptrdiff_t>(*link + length));
    }
    return prefix;
}

// A copied row does not keep its anchor number: the anchored objects stay with the original.
RowRecord withoutAnchor(const RowRecord& record) {
    RowRecord copy = record;
    if (!(copy.Flags() & RowRecord::kAnchorBit)) return copy;
    if (copy.bytes.size() >= kAnchorAt + kAnchorSize)
        copy.bytes.erase(copy.bytes.begin() + kAnchorAt, copy.bytes.begin() + kAnchorAt + kAnchorSize);
    copy.SetFlags(copy.Flags() & static_cast<uint16_t>(~RowRecord::kAnchorBit));
    return copy;
}

}  // namespace

bool RichTextObject::CopyRangeFrom(const DocumentView& source, uint16_t startRow, uint16_t startPos, uint16_t endRow,
                                   uint16_t endPos) {
    Clear(true);
    if (source.RowCount() == 0) {
        ClearFrame();
        return true;
    }
    if (startRow == 0 && startPos == 0 && endRow == 0 && endPos == 0) {
        endRow = static_cast<uint16_t>(source.RowCount() - 1);
        endPos = static_cast<uint16_t>(source.Row(endRow).text.size());
    }
    endRow = std::min<uint16_t>(endRow, static_cast<uint16_t>(source.RowCount() - 1));
    for (uint16_t r = startRow; r <= endRow && rows_.size() < TextStore::kMaxItems; ++r) {
        const ViewRow& from = source.Row(r);
        const std::span<const uint8_t> text(from.text);
        size_t first = r == startRow ? std::min<size_t>(startPos, text.size()) : 0;
        const size_t last = r == endRow ? std::clamp<size_t>(endPos, first, text.size()) : text.size();
        std::vector<uint8_t> prefix;
        if (r == startRow && !(from.record.Flags() & RowRecord::kTableBit)) {
            first = std::min<size_t>(source.SkipControlCodes(r, static_cast<uint16_t>(first)), last);
            prefix = prefixFor(text, static_cast<uint16_t>(first));
        }
        const bool closeLink = r == endRow && openLinkAt(text, last).has_value();
        const size_t length = prefix.size() + (last - first) + (closeLink ? 2 : 0);
        if (length > UINT16_MAX) break;  // the row's text store cannot take it
        ViewRow row;
        row.record = withoutAnchor(from.record);
        row.tabs = from.tabs;
        row.lines = from.lines;
        row.text = std::move(prefix);
        row.text.insert(row.text.end(), text.begin() + static_cast<std::ptrdiff_t>(first),
                        text.begin() + static_cast<std::ptrdiff_t>(last));
        if (closeLink) row.text.insert(row.text.end(), std::begin(kLinkClose), std::end(kLinkClose));
        rows_.push_back(std::move(row));
    }
    if (rows_.empty()) ClearFrame();
    layoutChanged_ = true;
    return true;
}

uint16_t RichTextObject::AppendContentTo(RichTextObject& target) {
    if (target.rows_.empty()) target.ClearFrame();
    const uint16_t row = std::min<uint16_t>(target.caretRow_, static_cast<uint16_t>(target.rows_.size() - 1));
    std::vector<uint8_t>& text = target.rows_[row].text;
    const size_t at = std::min<size_t>(target.caretPos_, text.size());
    const ViewRow& first = rows_.front();
    if (text.size() + first.text.size() > UINT16_MAX) return 0;  // the row's text store cannot take it
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), first.text.begin(), first.text.end());
    if (at == 0) target.rows_[row].record = first.record;
    uint16_t last = row;
    size_t end = at + first.text.size();
    uint16_t added = 1;
    for (size_t r = 1; r < rows_.size() && target.rows_.size() < TextStore::kMaxItems; ++r) {
        ViewRow copy;
        copy.record = rows_[r].record;
        copy.tabs = rows_[r].tabs;
        copy.text = rows_[r].text;
        copy.lines = rows_[r].lines;
        ++last;
        target.rows_.insert(target.rows_.begin() + last, std::move(copy));
        end = rows_[r].text.size();
        ++added;
    }
    if (page_.GetCount() != 0) target.GetPage().CopyObjectsFrom(page_, false, 0, Page::kAllObjects, false, 0);
    target.caretRow_ = last;
    target.caretPos_ = target.SkipControlCodes(last, static_cast<uint16_t>(end));
    target.layoutChanged_ = true;
    return added;
}

}  // namespace lect32
