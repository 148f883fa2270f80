// The cell's rows read from its text-frame record, laid out and painted paragraph by paragraph.
#include "page/formatted_cell_text.h"

#include <algorithm>
#include <optional>

#include "text/colour_table.h"
#include "text/paragraph_paint.h"
#include "text/style_sheet.h"
#include "text/text_formatter.h"
#include "winplat/byte_reader.h"
#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

// The row's style and packed format, as a row record holds them after its u32 height.
TextFormat rowFormat(std::span<const uint8_t> attributes, int zoom) {
    TextFormat format;
    winplat::ByteReader in(attributes);
    in.u32();
    const uint8_t style = in.u8();
    GetStyleSheet().GetStyleFormat(in.ok() ? style : StyleSheet::kNoStyle, format);
    if (in.ok()) format.ReadPacked(in, zoom);
    return format;
}

}  // namespace

FormattedCellText::FormattedCellText(const ColourTable* colours, TextFormatter* formatter)
    : colours_(colours), formatter_(formatter ? formatter : &GetTextFormatter()) {}

void FormattedCellText::Load(std::span<const uint8_t> record) {
    record_.assign(record.begin(), record.end());
    parse();
    FrameRecordOutline outline;
    const bool known = OutlineFrameRecord(record, outline) && (outline.sections & 1);
    heightAt_ = known ? outline.contentHeightAt : 0;
    height_ = known ? static_cast<int>(std::min<uint32_t>(outline.contentHeight, StoredCellText::kMaxStoredHeight)) : kUnknown;
}

std::vector<uint8_t> FormattedCellText::Serialize() const {
    std::vector<uint8_t> out = record_;
    if (heightAt_ == 0 || height_ == kUnknown || heightAt_ + 4 > out.size()) return out;
    for (int i = 0; i < 4; ++i) out[heightAt_ + size_t(i)] = static_cast<uint8_t>(uint32_t(height_) >> (8 * i));
    return out;
}

// A record whose rows do not fit it shows no rows.
void FormattedCellText::parse() {
    rows_.clear();
    FrameRecordOutline outline;
    if (!OutlineFrameRecord(record_, outline)) return;
    winplat::ByteReader in(record_);
    in.skip(3);
    for (uint16_t r = 0; r < outline.rows; ++r) {
        const std::span<const uint8_t> attributes = in.view(in.u16());
        in.skip(size_t{in.u16()} * 4);
        const std::span<const uint8_t> text = in.view(in.u16());
        in.skip(size_t{in.u16()} * 4);
        rows_.push_back({rowFormat(attributes, zoom_), {text.begin(), text.end()}});
    }
}

void FormattedCellText::SetZoom(int percent, int /*second*/) {
    if (percent == zoom_) return;
    zoom_ = percent;
    parse();
}

void FormattedCellText::Place(int x, int y) {
    const int width = box_.right - box_.left;
    const int height = box_.bottom - box_.top;
    box_ = {x, y, x + width, y + height};
}

void FormattedCellText::SetSize(int width, int height) {
    box_.right = box_.left + std::max(width, 0);
    box_.bottom = box_.top + std::max(height, 0);
}

// Rows from (left, top) at the text width; with paint, drawn too. Returns the rows' height.
int FormattedCellText::walkRows(HDC dc, bool paint, int left, int top, int width) const {
    if (colours_) formatter_->SetColourTable(colours_);
    formatter_->SetDC(dc);
    int y = top;
    for (const Row& row : rows_) {
        ParagraphBox place;
        place.x = left;
        place.top = y;
        place.width = std::max(width, 1);
        place.paint = paint;
        y += PaintParagraph(*formatter_, row.format, row.text, place).height;
    }
    formatter_->ReleaseFonts();
    return y - top;
}

int FormattedCellText::measure(HDC dc, int width) const {
    const int text = walkRows(dc, false, 0, 0, width - style_.margins[0] - style_.margins[1]);
    return std::max(text + style_.margins[2] + style_.margins[3], 0);
}

int FormattedCellText::Reflow(HDC dc) {
    std::optional<winplat::BorrowedDc> own;
    if (!dc) own.emplace(owner_);
    HDC device = dc ? dc : own->get();
    if (!device) return std::max(height_, 0);
    height_ = measure(device, box_.right - box_.left);
    return height_;
}

int FormattedCellText::TextHeight() const {
    if (height_ == kUnknown) {
        const winplat::BorrowedDc display(owner_);
        height_ = display ? measure(display.get(), style_.width) : 0;
    }
    return height_;
}

void FormattedCellText::Paint(HDC dc, const RECT& clip) {
    RECT area;
    if (!IntersectRect(&area, &box_, &clip)) return;
    const COLORREF colour = colours_ ? colours_->GetColour(style_.background) : RGB(255, 255, 255);
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.get());
    walkRows(dc, true, box_.left + style_.margins[0], box_.top + style_.margins[2],
             box_.right - box_.left - style_.margins[0] - style_.margins[1]);
}

}  // namespace lect32
