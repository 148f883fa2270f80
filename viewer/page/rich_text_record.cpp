// The text-frame record: read (versions 1-3), written (version 3) and measured. Every length and
// count is checked against the bytes the record still has; a record that does not hold together
// leaves the frame with one empty row.
#include <string>

#include "page/rich_text_object.h"
#include "page/table_cell_editor.h"
#include "store/mem_writer.h"
#include "winplat/debug.h"

namespace lect32 {

namespace {

// u16 A, u16 T, u16 L, u16 N.
constexpr uint32_t kRowCounts = 8;
constexpr uint32_t kRecordHead = 3;

bool refuse(const std::string& why) {
    OutputDebugStringA(("text frame record refused: " + why + "\n").c_str());
    return false;
}

std::span<const uint8_t> takeCounted(winplat::ByteReader& in, size_t unit, size_t& count) {
    count = in.u16();
    return in.view(count * unit);
}

}  // namespace

void RichTextObject::ClearFrame() {
    Reset();
    contentHeight_ = 0;
    contentWidth_ = 0;
    widestLine_ = 0;
    scrollX_ = 0;
    scrollY_ = 0;
    caretWord_ = 0;
    layoutChanged_ = contentChanged_ = false;
}

bool RichTextObject::Deserialize(std::span<const uint8_t> record) {
    if (readRecord(record)) return true;
    ClearFrame();
    return false;
}

bool RichTextObject::readRecord(std::span<const uint8_t> record) {
    Clear(true);
    caretWord_ = 0;
    layoutChanged_ = contentChanged_ = false;
    winplat::ByteReader in(record);
    const uint8_t version = in.u8();
    if (!in.ok() || version < 1 || version > kRecordVersion)
        return refuse("version " + std::to_string(version));
    const uint16_t rows = in.u16();
    if (!in.ok() || rows == 0 || rows > TextStore::kMaxItems) return refuse("row count " + std::to_string(rows));
    if (!readRows(in, rows)) return false;
    widestLine_ = 0;
    const uint8_t sections = version >= 2 ? in.u8() : kViewState;
    if (!in.ok()) return refuse("no section flags");
    readViewState(in, version, (sections & kViewState) != 0);
    if (!in.ok()) return refuse("the view state runs past the record");
    if (version >= 2 && (sections & kHighlights) && !readHighlights(in)) return false;
    const std::span<const uint8_t> objects = record.subspan(in.position());
    if (objects.empty()) return true;
    return GetPage().LoadObjects(objects) || refuse("damaged object block");
}

bool RichTextObject::readRows(winplat::ByteReader& in, uint16_t count) {
    for (uint16_t r = 0; r < count; ++r) {
        const std::string where = "row " + std::to_string(r) + ": ";
        ViewRow row;
        size_t n = 0;
        const auto record = takeCounted(in, 1, n);
        if (!in.ok() || n < RowRecord::kHeaderSize) return refuse(where + "row record length " + std::to_string(n));
        row.record.bytes.assign(record.begin(), record.end());
        // A bare header cannot hold the anchor number its flag announces.
        if (n == RowRecord::kHeaderSize)
            row.record.SetFlags(row.record.Flags() & static_cast<uint16_t>(~RowRecord::kAnchorBit));
        if (!RowFormatWhole(row.record.bytes)) return refuse(where + "packed format runs past its record");
        const auto tabs = takeCounted(in, TabStop::kStoredSize, n);
        if (!in.ok()) return refuse(where + "tab-stop count " + std::to_string(n));
        for (size_t t = 0; t < n; ++t) row.tabs.push_back(TabStop::FromBytes(tabs.data() + t * TabStop::kStoredSize));
        const auto text = takeCounted(in, 1, n);
        if (!in.ok()) return refuse(where + "text length " + std::to_string(n));
        if (!RowTextWhole(text)) return refuse(where + "a control code is cut off");
        row.text.assign(text.begin(), text.end());
        const auto lines = takeCounted(in, 4, n);
        if (!in.ok()) return refuse(where + "line count " + std::to_string(n));
        for (size_t l = 0; l < n; ++l) {
            const uint8_t* p = lines.data() + l * 4;
            row.lines.push_back(LineEntry{static_cast<uint16_t>(p[0] | p[1] << 8), static_cast<uint16_t>(p[2] | p[3] << 8)});
        }
        anchorMaximum_ = std::max(anchorMaximum_, row.record.AnchorNumber());
        rows_.push_back(std::move(row));
    }
    return true;
}

// Without a view state the frame starts at its top with nothing selected; version 1 has no scroll
// positions.
void RichTextObject::readViewState(winplat::ByteReader& in, uint8_t version, bool present) {
    selection_ = Selection{};
    contentHeight_ = 0;
    contentWidth_ = 0;
    caretRow_ = caretPos_ = caretWord_ = 0;
    scrollX_ = 0;
    scrollY_ = 0;
    if (!present) return;
    contentHeight_ = static_cast<int32_t>(in.u32());
    contentWidth_ = in.i16();
    caretRow_ = in.u16();
    caretPos_ = in.u16();
    caretWord_ = in.u16();
    if (in.u8() != 0) {
        selection_.active = selection_.shown = true;
        selection_.startRow = in.u16();
        selection_.startPos = in.u16();
        selection_.endRow = in.u16();
        selection_.endPos = in.u16();
    }
    if (version >= 2) {
        scrollX_ = in.u16();
        scrollY_ = static_cast<int32_t>(in.u32());
    }
    if (!in.ok()) selection_ = Selection{};
}

bool RichTextObject::readHighlights(winplat::ByteReader& in) {
    const uint8_t present = in.u8();
    if (!in.ok()) return refuse("no highlights byte");
    if (present == 0) return true;
    for (ViewRow& row : rows_) {
        size_t n = 0;
        const auto ranges = takeCounted(in, 4, n);
        if (!in.ok()) return refuse("highlight count " + std::to_string(n));
        for (size_t i = 0; i < n; ++i) {
            const uint8_t* p = ranges.data() + i * 4;
            row.marked.emplace_back(static_cast<uint16_t>(p[0] | p[1] << 8), static_cast<uint16_t>(p[2] | p[3] << 8));
        }
    }
    return true;
}

uint32_t RichTextObject::Serialize(MemWriter& out, uint8_t sections) {
    const uint32_t start = out.GetLength();
    out.WriteByte(kRecordVersion);
    out.WriteWord(RowCount());
    for (const ViewRow& row : rows_) {
        out.WriteWord(static_cast<uint16_t>(row.record.bytes.size()));
        out.WriteBytesLong(row.record.bytes.data(), static_cast<uint32_t>(row.record.bytes.size()));
        out.WriteWord(static_cast<uint16_t>(row.tabs.size()));
        for (const TabStop& tab : row.tabs) {
            uint8_t bytes[TabStop::kStoredSize];
            tab.ToBytes(bytes);
            out.WriteBytes(bytes, TabStop::kStoredSize);
        }
        out.WriteWord(static_cast<uint16_t>(row.text.size()));
        out.WriteBytesLong(row.text.data(), static_cast<uint32_t>(row.text.size()));
        out.WriteWord(static_cast<uint16_t>(row.lines.size()));
        for (const LineEntry& line : row.lines) {
            out.WriteWord(line.chars);
            out.WriteWord(line.height);
        }
    }
    out.WriteByte(sections);
    if (sections & kViewState) writeViewState(out);
    if (sections & kHighlights) writeHighlights(out);
    if (GetPage().SaveObjects(out) == 0) return 0;
    return out.error() ? 0 : out.GetLength() - start;
}

std::vector<uint8_t> RichTextObject::Serialize(uint8_t sections) {
    MemWriter out;
    out.Begin();
    const uint32_t length = Serialize(out, sections);
    if (length == 0) return {};
    return std::vector<uint8_t>(out.data(), out.data() + length);
}

void RichTextObject::writeViewState(MemWriter& out) const {
    out.WriteDword(static_cast<uint32_t>(contentHeight_));
    out.WriteShort(contentWidth_);
    out.WriteWord(caretRow_);
    out.WriteWord(caretPos_);
    out.WriteWord(caretWord_);
    out.WriteByte(selectionWritten() ? 1 : 0);
    if (selectionWritten()) {
        out.WriteWord(selection_.startRow);
        out.WriteWord(selection_.startPos);
        out.WriteWord(selection_.endRow);
        out.WriteWord(selection_.endPos);
    }
    out.WriteWord(scrollX_);
    out.WriteDword(static_cast<uint32_t>(scrollY_));
}

bool RichTextObject::hasHighlights() const {
    for (const ViewRow& row : rows_)
        if (!row.marked.empty()) return true;
    return false;
}

void RichTextObject::writeHighlights(MemWriter& out) const {
    out.WriteByte(hasHighlights() ? 1 : 0);
    if (!hasHighlights()) return;
    for (const ViewRow& row : rows_) {
        out.WriteWord(static_cast<uint16_t>(row.marked.size()));
        for (const auto& [from, to] : row.marked) {
            out.WriteWord(from);
            out.WriteWord(to);
        }
    }
}

uint32_t RichTextObject::GetSerializedSize(uint8_t sections) {
    uint32_t size = kRecordHead + 1;
    for (const ViewRow& row : rows_) {
        size += kRowCounts + static_cast<uint32_t>(row.record.bytes.size() + row.text.size());
        size += 4 * static_cast<uint32_t>(row.tabs.size() + row.lines.size());
    }
    if (sections & kViewState) size += kViewStateSize + (selectionWritten() ? kSelectionSize : 0);
    if (sections & kHighlights) {
        size += 1;
        if (hasHighlights())
            for (const ViewRow& row : rows_) size += 2 + 4 * static_cast<uint32_t>(row.marked.size());
    }
    return size + GetPage().GetSavedSize();
}

bool RichTextObject::ScanObjectKinds(std::span<const uint8_t> record, uint32_t& kinds) {
    return ScanCellObjectKinds(record, kinds);
}

}  // namespace lect32
