// Reading a page's content into a document view: the rows of the page record, the tables of
// table rows and the page's objects. Every length and count comes from the file, so each is
// checked against the bytes that are left before anything is taken; a damaged record leaves an
// empty page and names the check that refused it on the debug output.
#include <string>

#include "page/document_view.h"
#include "text/control_codes.h"
#include "winplat/debug.h"

namespace lect32 {
namespace {

constexpr size_t kCellRecordSize = 36;
// The smallest row: u16 record length, a 7-byte record, u16 tab-stop count, u16 text length.
constexpr size_t kSmallestRow = 2 + RowRecord::kHeaderSize + 2 + 2;

bool Refuse(const std::string& why) {
    OutputDebugStringA(("page record refused: " + why + "\n").c_str());
    return false;
}

}  // namespace

// Every control sequence of the text is whole.
bool RowTextWhole(std::span<const uint8_t> text) {
    for (size_t at = 0; at < text.size();) {
        if (!IsControlCode(text[at])) {
            ++at;
            continue;
        }
        const size_t length = SequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

// The packed format after the style byte reads whole within the record.
bool RowFormatWhole(std::span<const uint8_t> record) {
    TextFormat format;
    winplat::ByteReader packed(record.subspan(5));
    return format.ReadPacked(packed) && packed.ok();
}

bool SkipStoredTable(winplat::ByteReader& in) {
    in.u8();
    const uint32_t rows = in.u16();
    const uint32_t columns = in.u16();
    if (!in.ok() || rows * columns > TextStore::kMaxItems) return false;
    for (uint32_t cell = 0; cell < rows * columns; ++cell) {
        const uint16_t textLength = in.u16();
        if (!in.ok() || !in.skip(textLength)) return false;
        const uint16_t recordLength = in.u16();
        if (!in.ok() || recordLength != kCellRecordSize || !in.skip(recordLength)) return false;
    }
    return true;
}

bool DocumentView::loadRows(winplat::ByteReader& in) {
    in.u16();  // not the view's
    const uint16_t count = in.u16();
    if (!in.ok()) return Refuse("no row count");
    if (count > TextStore::kMaxItems) return Refuse("row count " + std::to_string(count) + " past the store's limit");
    if (size_t{count} * kSmallestRow > in.remaining())
        return Refuse("row count " + std::to_string(count) + " larger than the record holds");
    rows_.reserve(count);
    for (uint16_t r = 0; r < count; ++r) {
        const std::string where = "row " + std::to_string(r) + ": ";
        const uint16_t recordLength = in.u16();
        if (!in.ok() || recordLength < RowRecord::kHeaderSize || !in.has(recordLength))
            return Refuse(where + "record length " + std::to_string(recordLength));
        const std::span<const uint8_t> record = in.view(recordLength);
        const uint16_t stops = in.u16();
        if (!in.ok() || !in.has(size_t{stops} * TabStop::kStoredSize))
            return Refuse(where + "tab-stop count " + std::to_string(stops));
        std::vector<TabStop> tabs;
        for (uint16_t t = 0; t < stops; ++t) tabs.push_back(TabStop::FromBytes(in.view(TabStop::kStoredSize).data()));
        const uint16_t textLength = in.u16();
        if (!in.ok() || !in.has(textLength)) return Refuse(where + "text length " + std::to_string(textLength));
        const std::span<const uint8_t> text = in.view(textLength);
        if (!RowTextWhole(text)) return Refuse(where + "a control code is cut off");
        if (!AppendRow(record, text, tabs)) return Refuse(where + "cannot be kept");
        // Checked as kept: a bare 7-byte record has lost the anchor bit it cannot hold.
        if (!RowFormatWhole(rows_.back().record.bytes)) return Refuse(where + "packed format runs past its record");
        if (!(rows_.back().record.Flags() & RowRecord::kTableBit)) continue;
        rows_.back().text.clear();
        if (!services_.readTable) {
            if (!SkipStoredTable(in)) return Refuse(where + "table stream damaged");
            continue;  // the row stays, empty and without height, until tables are read
        }
        std::unique_ptr<TableRow> table = services_.readTable(in, window_);
        if (!table) return Refuse(where + "table stream damaged");
        SetRowObject(static_cast<uint16_t>(rows_.size() - 1), std::move(table));
    }
    in.u8();  // not the view's
    if (!in.ok()) return Refuse("ends before the objects");
    if (!page_.ReadObjects(in, true)) return Refuse("object list damaged");
    return true;
}

bool DocumentView::LoadPage(winplat::ByteReader& in) {
    Clear(true);
    const bool loaded = loadRows(in);
    if (!loaded) Reset();
    caretRow_ = caretPos_ = 0;
    scrollX_ = 0;
    scrollY_ = 0;
    page_.SetOrigin(0, 0);
    laidOutWidth_ = 0;
    return loaded;
}

}  // namespace lect32
