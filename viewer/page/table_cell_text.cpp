// A table cell's text shown through a text frame.
#include "page/table_cell_text.h"

#include <algorithm>

#include "winplat/owners.h"
#include "winplat/user.h"

namespace lect32 {

TableCellText::TableCellText(PageServices pageServices, ViewServices services)
    : RichTextObject(std::move(pageServices), std::move(services)) {}

void TableCellText::SetScrollRange(HWND window, int, int, int, bool) {
    if (const HWND parent = window ? GetParent(window) : nullptr) SendMessageA(parent, kViewChangedMessage, 0, 0);
}

void TableCellText::SetScrollPos(HWND window, int, int, bool) {
    if (const HWND parent = window ? GetParent(window) : nullptr) SendMessageA(parent, kViewChangedMessage, 0, 0);
}

void TableCellText::Load(std::span<const uint8_t> record) {
    loaded_.assign(record.begin(), record.end());
    if (record.empty() || !Deserialize(record)) ClearFrame();
}

void TableCellText::ApplyCellStyle(const CellTextStyle& style) {
    style_.SetDefaults();
    style_.widthMode = 2;  // the width follows the cell, and a cell never shows scroll bars
    style_.backgroundColour = style.background;
    style_.backgroundPicture = style.picture;
    style_.backgroundPictureMode = style.pictureMode;
    style_.margins = ShortRect{style.margins[0], style.margins[1], style.margins[2], style.margins[3]};
    style_.width = static_cast<int16_t>(style.width);
    GetPage().SetLayoutArea(style_);
}

// Asking stores nothing in a cell (a cell holds no tables), so the question leaves it as it was.
bool TableCellText::HasChanges(int grade) const { return const_cast<TableCellText*>(this)->HitTest(grade) != 0; }

std::vector<uint8_t> TableCellText::Serialize() const {
    if (!HasChanges(0)) return loaded_;
    // Writing walks the page's item stores, which lock as they read; the frame is not changed.
    return const_cast<TableCellText*>(this)->RichTextObject::Serialize(kAllSections);
}

uint32_t TableCellText::SerializedSize() const {
    if (!HasChanges(0)) return static_cast<uint32_t>(loaded_.size());
    return const_cast<TableCellText*>(this)->GetSerializedSize(kAllSections);
}

void TableCellText::Place(int x, int y) { SetScrollOrigin(static_cast<int16_t>(x), static_cast<int16_t>(y)); }

void TableCellText::SetSize(int width, int height) { OnSize(width, height); }

int TableCellText::Reflow(HDC dc) {
    if (RowCount() == 0) return 0;
    if (dc) {
        Layout(dc);
        return contentHeight_;
    }
    const winplat::BorrowedDc own(owner_);
    Layout(own.get());
    return contentHeight_;
}

void TableCellText::Paint(HDC dc, const RECT& clip) {
    if (!dc || RowCount() == 0) return;
    if (style_.width != laidOutWidth_) Reflow(dc);
    OnPaint(dc, &clip);
}

// The table scales by a percentage; the view zooms by a fraction.
void TableCellText::SetZoom(int percent, int /*second*/) {
    constexpr uint16_t kWhole = 100;
    DocumentView::SetZoom(static_cast<uint16_t>(std::clamp(percent, 1, 0xFFFF)), kWhole);
}

}  // namespace lect32
