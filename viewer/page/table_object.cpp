// The table's stored form, its cells' records and texts, and the one cell editor moved between
// them.
#include "page/table_object.h"

#include <algorithm>
#include <limits>

#include "page/formatted_cell_text.h"
#include "page/page_style.h"
#include "page/table_math.h"
#include "store/mem_reader.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: table");

// The fewest bytes a stored cell takes: two lengths and its record.
constexpr size_t kSmallestCell = 2 + 2 + TableCell::kSize;

int16_t clampToShort(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

// Spans reach at most to the grid's edge; no span is less than one cell.
uint16_t cutSpan(uint16_t span, int first, int count) {
    return static_cast<uint16_t>(std::clamp<int>(span, 1, count - first));
}

}  // namespace

TableObject::TableObject(const ColourTable* colours, std::unique_ptr<TableCellEditor> editor)
    : colours_(colours), editor_(editor ? std::move(editor) : std::make_unique<FormattedCellText>(colours)) {}

void TableObject::SetOwnerWindow(HWND window) {
    owner_ = window;
    editor_->SetOwnerWindow(window);
}

void TableObject::clear() {
    texts_.Clear();
    records_.Clear();
    rows_ = 0;
    columns_ = 0;
    current_ = kNoCell;
    caret_ = kNoCell;
    rangeSelected_ = 0;
    features_ = 0;
}

// ---- stored form -------------------------------------------------------------------------------

bool TableObject::Read(MemReader& reader) {
    winplat::ByteReader in(reader.data() + reader.position(), reader.remaining());
    const bool read = Read(in);
    reader.Skip(static_cast<uint32_t>(in.position()));
    return read;
}

bool TableObject::Read(winplat::ByteReader& in) {
    clear();
    in.u8();  // the kind: writers store 0, and nothing reads it
    const uint16_t rows = in.u16();
    const uint16_t columns = in.u16();
    if (!in.ok()) return refuse(false, "the stream ends before the table's size");
    if (rows == 0 || columns == 0) return refuse(false, "a table without cells");
    const int count = int{rows} * int{columns};
    if (count > kMaxCells) return refuse(false, "more cells than a table holds");
    if (size_t(count) * kSmallestCell > in.remaining()) return refuse(false, "more cells than the stream holds");
    rows_ = static_cast<int16_t>(rows);
    columns_ = static_cast<int16_t>(columns);
    if (!readCells(in, count)) {
        clear();
        return false;
    }
    normaliseCells();
    return true;
}

bool TableObject::readCells(winplat::ByteReader& in, int count) {
    for (int n = 0; n < count; ++n) {
        const std::span<const uint8_t> text = in.view(in.u16());
        const uint16_t recordLength = in.u16();
        if (!in.ok()) return refuse(false, "a cell's text runs past the stream");
        if (recordLength != TableCell::kSize) return refuse(false, "a cell record that is not 36 bytes");
        const std::span<const uint8_t> record = in.view(recordLength);
        if (!in.ok()) return refuse(false, "a cell's record runs past the stream");
        if (!ScanCellObjectKinds(text, features_)) return refuse(false, "a cell's text record is damaged");
        if (!appendCell(text, record)) return refuse(false, "the cells do not fit the table's stores");
    }
    return true;
}

bool TableObject::appendCell(std::span<const uint8_t> text, std::span<const uint8_t> record) {
    const uint16_t t = texts_.AddItem();
    const uint16_t r = records_.AddItem();
    if (t == TextStore::kNoItem || r == TextStore::kNoItem) return false;
    if (!putText(t, text)) return false;
    if (!records_.SetItemLength(r, static_cast<uint32_t>(record.size()))) return false;
    uint8_t* into = records_.LockItem(r);
    if (!into) return false;
    std::copy(record.begin(), record.end(), into);
    records_.UnlockItem(r);
    return true;
}

bool TableObject::putText(int cell, std::span<const uint8_t> bytes) {
    const auto n = static_cast<uint16_t>(cell);
    if (!texts_.SetItemLength(n, static_cast<uint32_t>(bytes.size()))) return false;
    if (bytes.empty()) return true;
    uint8_t* into = texts_.LockItem(n);
    if (!into) return false;
    std::copy(bytes.begin(), bytes.end(), into);
    texts_.UnlockItem(n);
    return true;
}

// Makes every record one the grid can stand: spans cut at the edge, owners that are themselves
// covered, out of the grid or not spanning the cell dropped (the cell stands alone), and sizes
// that a layout would turn into negative extents raised to 0.
void TableObject::normaliseCells() {
    std::vector<TableCell> cells;
    cells.reserve(size_t(CellCount()));
    for (int n = 0; n < CellCount(); ++n) cells.push_back(Cell(n));
    const std::vector<TableCell> stored = cells;
    for (int n = 0; n < CellCount(); ++n) {
        TableCell& c = cells[size_t(n)];
        const auto [row, column] = place(n);
        c.columnSpan = cutSpan(c.columnSpan, column, columns_);
        c.rowSpan = cutSpan(c.rowSpan, row, rows_);
        c.width = std::max<int16_t>(c.width, 0);
        c.height = std::max<int32_t>(c.height, 0);
        c.contentHeight = std::max<int32_t>(c.contentHeight, 0);
    }
    for (int n = 0; n < CellCount(); ++n) {
        TableCell& c = cells[size_t(n)];
        if (!c.Covered()) continue;
        const int o = c.owner;
        bool sound = o < CellCount() && o != n && !stored[size_t(o)].Covered();
        if (sound) {
            const auto [row, column] = place(n);
            const auto [ownerRow, ownerColumn] = place(o);
            const TableCell& owner = cells[size_t(o)];
            sound = row >= ownerRow && row < ownerRow + owner.rowSpan && column >= ownerColumn &&
                    column < ownerColumn + owner.columnSpan;
        }
        if (!sound) {
            c.owner = TableCell::kNoOwner;
            c.columnSpan = 1;
            c.rowSpan = 1;
        }
    }
    for (int n = 0; n < CellCount(); ++n) {
        if (cells[size_t(n)].Encode() != stored[size_t(n)].Encode()) SetCell(n, cells[size_t(n)]);
    }
}

bool TableObject::CopyTo(TableObject& target) {
    if (&target == this) return true;
    StoreCell();
    target.clear();
    for (int n = 0; n < CellCount(); ++n) {
        const std::vector<uint8_t> text = CellText(n);
        const auto record = Cell(n).Encode();
        if (!target.appendCell(text, record)) {
            target.clear();
            return refuse(false, "the copy's stores cannot take the cells");
        }
    }
    target.rows_ = rows_;
    target.columns_ = columns_;
    target.features_ = features_;
    return true;
}

// A covered cell is never loaded: its stored text counts as it is.
uint32_t TableObject::GetSerializedSize() {
    uint32_t total = 0;
    for (int n = 0; n < CellCount(); ++n) {
        if (Cell(n).Covered()) {
            total += texts_.GetItemLength(static_cast<uint16_t>(n));
            continue;
        }
        SelectCell(n, false);
        total += editor_->SerializedSize();
    }
    return total;
}

// ---- cells -------------------------------------------------------------------------------------

TableCell TableObject::Cell(int cell) {
    std::array<uint8_t, TableCell::kSize> bytes{};
    if (Contains(cell)) {
        const auto n = static_cast<uint16_t>(cell);
        const uint8_t* stored = records_.GetItemLength(n) == TableCell::kSize ? records_.LockItem(n) : nullptr;
        if (stored) {
            std::copy(stored, stored + TableCell::kSize, bytes.begin());
            records_.UnlockItem(n);
            return TableCell::Decode(bytes);
        }
    }
    return TableCell{};
}

void TableObject::SetCell(int cell, const TableCell& record) {
    if (!Contains(cell)) return;
    const auto n = static_cast<uint16_t>(cell);
    uint8_t* stored = records_.GetItemLength(n) == TableCell::kSize ? records_.LockItem(n) : nullptr;
    if (!stored) return;
    // The geometry indexes lines by spans: they never reach past the grid.
    TableCell fitted = record;
    const auto [row, column] = place(cell);
    fitted.columnSpan = cutSpan(record.columnSpan, column, columns_);
    fitted.rowSpan = cutSpan(record.rowSpan, row, rows_);
    const auto bytes = fitted.Encode();
    std::copy(bytes.begin(), bytes.end(), stored);
    records_.UnlockItem(n);
}

std::vector<uint8_t> TableObject::CellText(int cell) {
    if (!Contains(cell)) return {};
    const std::string bytes = texts_.CopyItem(static_cast<uint16_t>(cell));
    return {bytes.begin(), bytes.end()};
}

int TableObject::GetOwnerCell(int cell) {
    if (!Contains(cell)) return kNoCell;
    const TableCell c = Cell(cell);
    return c.Covered() && Contains(c.owner) ? c.owner : cell;
}

void TableObject::SelectCell(int cell, bool placeEditorOnCell) {
    cell = GetOwnerCell(cell);
    if (cell == kNoCell) return;
    if (cell == current_) {
        if (placeEditorOnCell) placeEditor(cell);
        return;
    }
    if (current_ != kNoCell && editor_->HasChanges(0)) StoreCell();
    const std::vector<uint8_t> text = CellText(cell);
    editor_->Load(text);
    const TableCell c = Cell(cell);
    CellTextStyle style;
    style.background = c.background;
    style.picture = c.picture;
    style.margins = c.margins;
    style.width = c.width;
    editor_->ApplyCellStyle(style);
    current_ = cell;
    if (placeEditorOnCell) placeEditor(cell);
}

void TableObject::placeEditor(int cell) {
    const TableLines lines = ComputeLines();
    const POINT box = cellBox(cell, &lines);
    const TableSize size = cellSize(cell, &lines);
    const Origin origin = screenOrigin(0);
    editor_->Place(table_math::Coordinate(int64_t{origin.x} + box.x),
                   table_math::Coordinate(int64_t{origin.y} + box.y + GetTextOffset(cell, size.height)));
    editor_->SetSize(size.width, size.height);
}

void TableObject::StoreCell() {
    if (!Contains(current_)) return;
    if (editor_->HasChanges(1)) layoutChanged_ = 1;
    else if (editor_->HasChanges(0)) contentChanged_ = 1;
    if (!putText(current_, editor_->Serialize())) refuse.log("the cell's text does not fit the table's store");
}

void TableObject::SetRangeSelection(int anchor, int end) {
    if (!Contains(anchor) || !Contains(end)) return;
    rangeSelected_ = 1;
    rangeAnchor_ = anchor;
    rangeEnd_ = end;
}

bool TableObject::inRange(int cell) const {
    if (!rangeSelected_) return false;
    const auto [row, column] = place(cell);
    const auto [anchorRow, anchorColumn] = place(rangeAnchor_);
    const auto [endRow, endColumn] = place(rangeEnd_);
    return row >= std::min(anchorRow, endRow) && row <= std::max(anchorRow, endRow) &&
           column >= std::min(anchorColumn, endColumn) && column <= std::max(anchorColumn, endColumn);
}

// ---- position, style, zoom ---------------------------------------------------------------------

void TableObject::SetOrigin(int16_t x, int32_t y) {
    originX_ = x;
    originY_ = y;
}

void TableObject::SetScrollOffset(int16_t x, int32_t y) {
    scrollX_ = x;
    scrollY_ = y;
}

void TableObject::SetPageStyle(const PageStyle& style) {
    viewLeft_ = style.LeftMargin();
    viewRight_ = style.RightMargin();
    viewTop_ = style.TopMargin();
    viewBottom_ = style.BottomMargin();
    background_ = style.backgroundColour;
    backgroundPicture_ = style.backgroundPicture;
    backgroundMode_ = style.backgroundPictureMode;
}

TableObject::Origin TableObject::screenOrigin(int32_t printOffset) const {
    return {originX_ + viewLeft_ + outer_.left - scrollX_,
            table_math::Coordinate(int64_t{originY_} + viewTop_ + outer_.top - scrollY_ - printOffset)};
}

void TableObject::ScaleBy(int percent, int second) {
    for (int n = 0; n < CellCount(); ++n) {
        TableCell c = Cell(n);
        c.width = std::max<int16_t>(clampToShort(int64_t{c.width} * percent / 100), 0);
        for (int16_t& m : c.margins) m = clampToShort(int64_t{m} * percent / 100);
        for (CellBorder& b : c.borders) {
            const int64_t width = int64_t{b.width} * percent / 100;
            b.width = width >= 256 || width < 0 ? uint8_t{0} : static_cast<uint8_t>(width);
        }
        SetCell(n, c);
        if (c.Covered()) continue;  // its text is its owner's
        SelectCell(n, false);
        editor_->SetZoom(percent, second);
    }
}

}  // namespace lect32
