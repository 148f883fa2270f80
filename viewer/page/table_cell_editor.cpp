// The text-frame record walked as far as a table needs it, and the stand-in cell editor.
#include "page/table_cell_editor.h"

#include <algorithm>

#include "page/page.h"
#include "page/rich_text_object.h"
#include "text/colour_table.h"
#include "winplat/byte_reader.h"
#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

// One row entry: u16 A + attributes, u16 T + 4T tab stops, u16 L + text, u16 N + 4N lines.
bool skipRow(winplat::ByteReader& in) {
    for (const size_t unit : {1u, 4u, 1u, 4u}) {
        const uint16_t count = in.u16();
        if (!in.skip(size_t{count} * unit)) return false;
    }
    return true;
}

// u32 content height, u16 width, three u16 caret words, byte selection [8 bytes], v2+ u16 + u32.
bool readViewState(winplat::ByteReader& in, uint8_t version, FrameRecordOutline& outline) {
    outline.contentHeightAt = in.position();
    outline.contentHeight = in.u32();
    in.skip(2 + 3 * 2);
    if (in.u8() != 0) in.skip(8);
    if (version >= 2) in.skip(2 + 4);
    return in.ok();
}

bool skipHighlights(winplat::ByteReader& in, uint16_t rows) {
    if (in.u8() == 0) return in.ok();
    for (uint16_t r = 0; r < rows && in.ok(); ++r) in.skip(size_t{in.u16()} * 4);
    return in.ok();
}

}  // namespace

bool OutlineFrameRecord(std::span<const uint8_t> record, FrameRecordOutline& outline) {
    winplat::ByteReader in(record);
    outline = {};
    outline.version = in.u8();
    if (outline.version < 1 || outline.version > 3) return false;
    outline.rows = in.u16();
    for (uint16_t r = 0; r < outline.rows; ++r) {
        if (!skipRow(in)) return false;
    }
    outline.sections = outline.version >= 2 ? in.u8() : uint8_t{1};
    if (!in.ok()) return false;
    if ((outline.sections & 1) && !readViewState(in, outline.version, outline)) return false;
    if (outline.version >= 2 && (outline.sections & 2) && !skipHighlights(in, outline.rows)) return false;
    outline.objectsAt = in.position();
    return true;
}

bool ScanCellObjectKinds(std::span<const uint8_t> record, uint32_t& flags) {
    if (record.empty()) return true;
    FrameRecordOutline outline;
    if (!OutlineFrameRecord(record, outline)) return false;
    const auto objects = record.subspan(outline.objectsAt);
    if (objects.empty()) return true;
    uint8_t kinds = 0;
    if (!Page::ScanSavedKinds(objects, kinds)) return false;
    flags |= kinds;
    return true;
}

bool TableCellEditor::WriteText(MemWriter& out) {
    const std::vector<uint8_t> record = Serialize();
    if (record.empty()) return true;  // a cell that never held text
    RichTextObject frame;
    return frame.Deserialize(record) && frame.WriteText(out);
}

void StoredCellText::Load(std::span<const uint8_t> record) {
    record_.assign(record.begin(), record.end());
    FrameRecordOutline outline;
    const bool known = OutlineFrameRecord(record, outline) && (outline.sections & 1);
    height_ = known ? static_cast<int>(std::min<uint32_t>(outline.contentHeight, kMaxStoredHeight)) : 0;
}

void StoredCellText::Place(int x, int y) {
    const int width = box_.right - box_.left;
    const int height = box_.bottom - box_.top;
    box_ = {x, y, x + width, y + height};
}

void StoredCellText::SetSize(int width, int height) {
    box_.right = box_.left + std::max(width, 0);
    box_.bottom = box_.top + std::max(height, 0);
}

void StoredCellText::Paint(HDC dc, const RECT& clip) {
    RECT area;
    if (!IntersectRect(&area, &box_, &clip)) return;
    const uint8_t index = style_.background;
    const COLORREF colour = colours_ ? colours_->GetColour(index) : RGB(255, 255, 255);
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.get());
}

}  // namespace lect32
