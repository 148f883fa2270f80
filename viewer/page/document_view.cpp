// The document view's content: its rows with their records, tab stops, texts and line arrays, the
// tables in table rows, and the helpers that walk a row's text.
#include "page/document_view.h"

#include <algorithm>

#include "text/colour_table.h"
#include "text/control_codes.h"
#include "text/style_sheet.h"
#include "winplat/user.h"

namespace lect32 {

// ---- row records ----------------------------------------------------------------------------

uint32_t RowRecord::Height() const {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

void RowRecord::SetHeight(uint32_t height) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(height >> (8 * i));
}

uint16_t RowRecord::Flags() const { return static_cast<uint16_t>(bytes[5] | bytes[6] << 8); }

void RowRecord::SetFlags(uint16_t flags) {
    bytes[5] = static_cast<uint8_t>(flags);
    bytes[6] = static_cast<uint8_t>(flags >> 8);
}

uint16_t RowRecord::AnchorNumber() const {
    if (!(Flags() & kAnchorBit) || bytes.size() < kHeaderSize + 2) return 0;
    return static_cast<uint16_t>(bytes[7] | bytes[8] << 8);
}

// ---- life -----------------------------------------------------------------------------------

DocumentView::DocumentView(PageServices pageServices, ViewServices services)
    : services_(std::move(services)), page_(pageServices) {
    PaintSetup setup = page_.GetPaintSetup();
    setup.background = &background_;
    page_.SetPaintSetup(setup);
    page_.SetOwner(nullptr, 0);
    page_.SetOrigin(0, 0);
    page_.SetViewOffset(0, 0);
}

DocumentView::~DocumentView() = default;

const StyleSheet& DocumentView::styles() const { return services_.styles ? *services_.styles : GetStyleSheet(); }

const ColourTable& DocumentView::colours() const {
    static const ColourTable none;
    return services_.colours ? *services_.colours : none;
}

void DocumentView::takeWindowToPage() {
    page_.SetOwner(window_, 0);
    PaintSetup setup = page_.GetPaintSetup();
    setup.background = &background_;
    setup.colours = &colours();
    page_.SetPaintSetup(setup);
}

void DocumentView::Clear(bool freeAll) {
    rows_.clear();
    page_.FreeObjects(freeAll);
    anchorMaximum_ = 0;
    selection_ = Selection{};
    caretRow_ = caretPos_ = 0;
    documentSlot_ = 0;
    refresh_ = false;
    listCache_ = ListCache{};
}

void DocumentView::Reset() {
    Clear(true);
    AppendRow();
    rows_.back().lines.push_back(LineEntry{});
    takeWindowToPage();
}

void DocumentView::AppendRow() { rows_.emplace_back(); }

bool DocumentView::AppendRow(std::span<const uint8_t> record, std::span<const uint8_t> text,
                             std::span<const TabStop> tabs) {
    if (record.size() < RowRecord::kHeaderSize || rows_.size() >= TextStore::kMaxItems) return false;
    ViewRow row;
    row.record.bytes.assign(record.begin(), record.end());
    if (record.size() == RowRecord::kHeaderSize)
        row.record.SetFlags(row.record.Flags() & static_cast<uint16_t>(~RowRecord::kAnchorBit));
    row.text.assign(text.begin(), text.end());
    row.tabs.assign(tabs.begin(), tabs.end());
    anchorMaximum_ = std::max(anchorMaximum_, row.record.AnchorNumber());
    rows_.push_back(std::move(row));
    return true;
}

void DocumentView::SetWindow(HWND window) {
    window_ = window;
    takeWindowToPage();
}

void DocumentView::SetPageStyle(const PageStyle& style) {
    style_ = style;
    page_.SetLayoutArea(style_);
    for (ViewRow& row : rows_)
        if (row.table) row.table->SetPageStyle(style_);
    background_.SetPicture(window_, style_.backgroundPicture, style_.backgroundPictureMode, false);
}

void DocumentView::SetZoom(uint16_t numerator, uint16_t denominator) {
    zoomNumerator_ = numerator;
    zoomDenominator_ = denominator;
    if (numerator != 0) page_.ZoomObjects(numerator * 100 / std::max<uint16_t>(denominator, 1), numerator, denominator);
    for (ViewRow& row : rows_)
        if (row.table) row.table->SetZoom(numerator, denominator);
}

void DocumentView::OnSize(int width, int height) {
    if (layingOut_) return;  // the layout's own scroll bars resize the window; it knows the sizes
    const bool widthChanged = width != visibleWidth_;
    visibleWidth_ = width;
    visibleHeight_ = height;
    sizeWidth_ = width;
    sizeHeight_ = height;
    if (widthChanged && window_) {
        laidOutWidth_ = 0;
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void DocumentView::SetScrollOrigin(int16_t x, int16_t y) {
    originX_ = x;
    originY_ = y;
    page_.SetViewOffset(x, y);
}

// ---- rows -----------------------------------------------------------------------------------

TableRow* DocumentView::GetRowObject(uint16_t row) const {
    if (row >= rows_.size() || !(rows_[row].record.Flags() & RowRecord::kTableBit)) return nullptr;
    return rows_[row].table.get();
}

void DocumentView::SetRowObject(uint16_t row, std::unique_ptr<TableRow> table) {
    if (row >= rows_.size()) return;
    ViewRow& r = rows_[row];
    const uint16_t flags = r.record.Flags();
    r.record.SetFlags(table ? flags | RowRecord::kTableBit : flags & static_cast<uint16_t>(~RowRecord::kTableBit));
    r.table = std::move(table);
    r.text.clear();
}

uint32_t DocumentView::GetRowFormat(uint16_t row, TextFormat& format) const {
    if (row >= rows_.size()) return 0;
    const RowRecord& record = rows_[row].record;
    styles().GetStyleFormat(record.Style(), format);
    winplat::ByteReader packed(std::span<const uint8_t>(record.bytes).subspan(5));
    format.ReadPacked(packed);
    if (zoomNumerator_ != 0) format.ScaleByZoom(zoomNumerator_ * 100 / std::max<uint16_t>(zoomDenominator_, 1), 0);
    return record.Height();
}

uint32_t DocumentView::GetRowHeight(uint16_t row) const { return row < rows_.size() ? rows_[row].record.Height() : 0; }

void DocumentView::SetRowHeight(uint16_t row, uint32_t height) {
    if (row < rows_.size()) rows_[row].record.SetHeight(height);
}

uint16_t DocumentView::GetAnchorNumber(uint16_t row) const {
    return row < rows_.size() ? rows_[row].record.AnchorNumber() : 0;
}

int32_t DocumentView::GetRowTop(uint16_t row, uint32_t* height) const {
    if (rows_.empty()) {
        if (height) *height = 0;
        return style_.TopMargin() - scrollY_;
    }
    row = std::min<uint16_t>(row, static_cast<uint16_t>(rows_.size() - 1));
    int64_t top = int64_t{style_.TopMargin()} - scrollY_;
    for (uint16_t r = 0; r < row; ++r) top += rows_[r].record.Height();
    if (height) *height = rows_[row].record.Height();
    return static_cast<int32_t>(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX));
}

uint16_t DocumentView::GetLineCount(uint16_t row) const {
    if (row >= rows_.size()) return 0;
    if (TableRow* table = GetRowObject(row)) return table->LineCount();
    return static_cast<uint16_t>(rows_[row].lines.size());
}

void DocumentView::SetMarkedRanges(uint16_t row, std::vector<std::pair<uint16_t, uint16_t>> ranges) {
    if (row < rows_.size()) rows_[row].marked = std::move(ranges);
}

// ---- text positions -------------------------------------------------------------------------

uint16_t DocumentView::SkipControlCodes(uint16_t row, uint16_t position) const {
    if (row >= rows_.size()) return 0;
    const std::vector<uint8_t>& text = rows_[row].text;
    size_t at = position;
    while (at < text.size()) {
        const uint8_t byte = text[at];
        if (byte >= 32 || byte == '\t' || byte == '\n') return static_cast<uint16_t>(at);
        const size_t length = SequenceLength(text, at);
        at += length == 0 ? 1 : length;
    }
    return static_cast<uint16_t>(text.size());
}

uint16_t DocumentView::PrevTextPosition(uint16_t row, uint16_t position) const {
    if (row >= rows_.size() || position == 0) return 0;
    const std::vector<uint8_t>& text = rows_[row].text;
    size_t at = std::min<size_t>(position, text.size());
    while (at > 0 && IsControlCode(text[at - 1])) {
        const size_t start = SequenceStart(text, at - 1);
        if (start == kNoSequence) break;
        at = start;
    }
    return static_cast<uint16_t>(at);
}

void DocumentView::FindLink(uint16_t row, uint16_t position, uint16_t& first, uint16_t& end) const {
    first = 0;
    end = 0xFFFF;
    if (row >= rows_.size()) return;
    const std::vector<uint8_t>& text = rows_[row].text;
    if (position >= text.size()) {
        first = end = position;
        return;
    }
    size_t linkStart = SIZE_MAX;
    size_t at = 0;
    while (at < text.size() && at <= position) {
        const uint8_t byte = text[at];
        if (byte >= 32 || byte == '\t' || byte == '\n') {
            ++at;
            continue;
        }
        const size_t length = SequenceLength(text, at);
        if (byte == kCodeLinkStart && length != 0) linkStart = at;
        at += length == 0 ? 1 : length;
    }
    first = linkStart == SIZE_MAX ? 0 : static_cast<uint16_t>(linkStart);
    for (at = position; at < text.size();) {
        const uint8_t byte = text[at];
        if (byte >= 32 || byte == '\t' || byte == '\n') {
            ++at;
            continue;
        }
        if (byte == kCodeLinkEnd) {
            end = static_cast<uint16_t>(at);
            return;
        }
        const size_t length = SequenceLength(text, at);
        at += length == 0 ? 1 : length;
    }
}

uint32_t DocumentView::GetSerializedSize(bool withObjects) {
    uint32_t size = 0;
    for (const ViewRow& row : rows_) size += static_cast<uint32_t>(row.text.size());
    if (!withObjects) return size;
    size += page_.GetSavedSize();
    for (const ViewRow& row : rows_)
        if (row.table) size += row.table->SerializedSize();
    return size;
}

void DocumentView::ApplyPageStyleToTables(const PageStyle& style) {
    for (ViewRow& row : rows_)
        if (row.table) row.table->SetPageStyle(style);
}

void DocumentView::SetTablesScrollOffset(int16_t x, int32_t y) {
    for (ViewRow& row : rows_)
        if (row.table) row.table->SetScrollOffset(x, y);
}

// Consecutive numbered items of one style and level count up; anything else between them starts
// the count again. The cache answers the item after the last one asked in one step.
uint16_t DocumentView::GetListNumber(uint16_t row) {
    const auto key = [this](uint16_t r, uint8_t& style, uint8_t& level) {
        TextFormat format;
        GetRowFormat(r, format);
        style = rows_[r].record.Style();
        level = format.marker.bytes[2];
        return format.marker.kind == 2;
    };
    if (row >= rows_.size()) return 0;
    uint8_t style = 0, level = 0;
    key(row, style, level);
    if (row > 0 && listCache_.row == row - 1 && listCache_.style == style && listCache_.level == level) {
        listCache_ = ListCache{row, static_cast<uint16_t>(listCache_.number + 1), style, level};
        return listCache_.number;
    }
    uint16_t number = 1;
    for (uint16_t r = row; r > 0; --r) {
        uint8_t s = 0, l = 0;
        if (!key(static_cast<uint16_t>(r - 1), s, l) || s != style || l != level) break;
        ++number;
    }
    listCache_ = ListCache{row, number, style, level};
    return number;
}

}  // namespace lect32
