// How the document view reaches into a table: every mouse event, command, search, tooltip and
// copy loads the cell concerned into the one cell editor and forwards to it, the point moved into
// the editor's own coordinates. Covered cells belong to their owner and are never loaded here.
#include <algorithm>
#include <array>

#include "page/object_text_frame.h"
#include "page/table_math.h"
#include "page/table_object.h"
#include "store/mem_writer.h"
#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

std::array<uint32_t, 256> commandCounts{};

// Command codes and the feature bit each needs from the objects inside the cells.
bool allowedByFeatures(int code, uint32_t features) {
    constexpr uint32_t kTextObjects = 0x01;
    constexpr uint32_t kActiveObjects = 0x04;
    constexpr uint32_t kMediaObjects = 0x08;
    switch (code) {
    case 2: case 3: case 5: case 11: case 13: return (features & kTextObjects) != 0;
    case 9: return (features & kMediaObjects) != 0;
    case 6: case 10: return (features & kActiveObjects) != 0;
    default: return true;
    }
}

}  // namespace

uint32_t TableObject::CommandCount(uint8_t code) { return commandCounts[code]; }

// The column whose band holds x (table coordinates): left of the table column 0 (side 1), past
// the last band the last column, and side 2 beyond the right outer margin plus two pixels.
int TableObject::columnAt(int x, int& side) {
    if (x < 0) {
        side = 1;
        return 0;
    }
    int64_t left = 0;
    for (int column = 0; column < columns_; ++column) {
        const int width = ColumnWidth(column);
        if (x < left + width) return column;
        left += width;
    }
    if (x - left > outer_.right + 2) side = 2;
    return columns_ - 1;
}

int TableObject::HitCell(int x, int y, int& side) {
    side = 0;
    if (CellCount() == 0) return kNoCell;
    const Origin origin = screenOrigin(0);
    const int64_t ty = int64_t{y} - origin.y;
    int row = ty < 0 ? 0 : rows_ - 1;
    int64_t top = 0;
    for (int r = 0; r < rows_ && ty >= 0; ++r) {
        const int32_t height = RowHeight(r);
        if (ty < top + height) {
            row = r;
            break;
        }
        top += height;
    }
    const int column = columnAt(table_math::Coordinate(int64_t{x} - origin.x), side);
    return GetOwnerCell(cellAt(row, column));
}

// The point relative to the cell's editor, which sits at the inner box moved down by the text
// offset of the cell's vertical alignment.
POINT TableObject::editorPoint(int cell, int x, int y) {
    const Origin origin = screenOrigin(0);
    const TableLines lines = ComputeLines();
    const POINT box = cellBox(cell, &lines);
    const int offset = GetTextOffset(cell, cellSize(cell, &lines).height);
    return {table_math::Coordinate(int64_t{x} - origin.x - box.x),
            table_math::Coordinate(int64_t{y} - origin.y - box.y - offset)};
}

void TableObject::OnLeftButtonDown(HWND window, WPARAM keys, int x, int y) {
    int side = 0;
    const int cell = HitCell(x, y, side);
    if (cell == kNoCell) return;
    CollapseSelection(true);
    SelectCell(cell, true);
    caret_ = cell;
    editor_->Click(window, keys, editorPoint(cell, x, y));
}

int TableObject::OnSetCursor(int x, int y) {
    int side = 0;
    const int cell = HitCell(x, y, side);
    if (cell == kNoCell) return 0;
    SelectCell(cell, true);
    return editor_->UpdateCursor(editorPoint(cell, x, y));
}

int TableObject::OnMouseMove(int x, int y, WPARAM keys) {
    int side = 0;
    const int cell = HitCell(x, y, side);
    if (cell == kNoCell) return 0;
    SelectCell(cell, true);
    editor_->MouseMove(editorPoint(cell, x, y), keys);
    StoreCell();
    return 0;
}

bool TableObject::HitTest(int grade) {
    StoreCell();
    return grade == 1 ? layoutChanged_ != 0 : (layoutChanged_ != 0 || contentChanged_ != 0);
}

int TableObject::DispatchCommand(int code, int argument, void* data) {
    ++commandCounts[static_cast<uint8_t>(code)];
    if (code == 13) return 0;  // never meant for the cells
    if (code == 11) rangeSelected_ = 0;
    if (code == 8 && CellCount() > kMaxCommandCells) return 0;
    if (!allowedByFeatures(code, features_)) return 0;
    const int before = current_;
    int result = 0;
    for (int n = 0; n < CellCount(); ++n) {
        if (Cell(n).Covered()) continue;
        SelectCell(n, true);
        if (editor_->DoCommand(code, argument, data) == 0) continue;
        StoreCell();
        result = 1;
    }
    if (code == 6 && Contains(before)) SelectCell(before, true);
    if (code == 4 && layoutChanged_) {
        layoutChanged_ = 0;
        contentChanged_ = 1;
    }
    return result;
}

void TableObject::CollapseSelection(bool notify) {
    if (rangeSelected_) {
        EndRangeSelection(0);
        return;
    }
    if (Contains(caret_)) {
        SelectCell(caret_, true);
        if (editor_->HasSelection()) {
            editor_->CollapseSelection(false);
            return;
        }
    }
    if (notify && owner_) SendMessageA(owner_, kCaretLeftMessage, 0, 0);
}

int TableObject::CollapseSelectionToStart() {
    if (rangeSelected_) {
        EndRangeSelection(0);
        return 0;
    }
    if (!Contains(caret_)) return -1;
    SelectCell(caret_, true);
    editor_->CollapseSelection(false);
    return 0;
}

void TableObject::EnterCaret(int kind, int x) {
    if (CellCount() == 0) return;
    if (inverted_) SetSelectionShown(false);
    int cell = GetOwnerCell(0);
    POINT at{0, 0};
    if (kind == 1) {
        cell = GetOwnerCell(CellCount() - 1);
        const TableSize inner = GetCellSize(cell, true);
        at = {inner.width, inner.height};
    } else if (kind == 2 || kind == 3) {
        int side = 0;
        const int tx = table_math::Coordinate(int64_t{x} - originX_ - viewLeft_);
        const int column = columnAt(tx, side);
        cell = GetOwnerCell(cellAt(kind == 2 ? 0 : rows_ - 1, column));
        const POINT box = GetCellBox(cell, true);
        at.x = Cell(cell).margins[kSideLeft] + std::max<int>(tx - box.x, 0);
        at.y = kind == 2 ? 0 : GetCellSize(cell, true).height;
    }
    caret_ = cell;
    SelectCell(cell, true);
    editor_->Click(owner_, 0, at);
    editor_->SetCaretX(at.x);
}

// Inverts the inner box of every cell that is not covered (only those of the range when asked)
// on the owner window.
void TableObject::invertCells(bool rangeOnly) {
    if (!owner_) return;
    const winplat::BorrowedDc dc(owner_);
    if (!dc) return;
    const Origin origin = screenOrigin(0);
    const TableLines lines = ComputeLines();
    for (int n = 0; n < CellCount(); ++n) {
        if (Cell(n).Covered() || (rangeOnly && !inRange(n))) continue;
        const POINT box = cellBox(n, &lines);
        const TableSize size = cellSize(n, &lines);
        const int left = table_math::Coordinate(int64_t{origin.x} + box.x);
        const int top = table_math::Coordinate(int64_t{origin.y} + box.y);
        PatBlt(dc.get(), left, top, size.width, size.height, DSTINVERT);
    }
}

void TableObject::SetSelectionShown(bool shown) {
    if (shown == (inverted_ != 0)) return;
    EndRangeSelection(0);
    invertCells(false);
    inverted_ = shown ? 1 : 0;
}

int TableObject::LocateRow(int row, int32_t y, int& foundRow, int32_t& top, int32_t& height) {
    int64_t sum = 0;
    for (int r = 0; r < rows_; ++r) {
        const int32_t h = RowHeight(r);
        if (row >= 0 ? r == row : (y >= sum && y < sum + h)) {
            foundRow = r;
            top = table_math::Saturate(sum);
            height = h;
            return 0;
        }
        sum += h;
    }
    return row >= 0 ? 1 : 2;
}

POINT TableObject::PositionToPoint(int& height) {
    height = 0;
    const int cell = GetOwnerCell(Contains(caret_) ? caret_ : 0);
    if (cell == kNoCell) return {0, 0};
    SelectCell(cell, true);
    const POINT caret = editor_->CaretPoint(height);
    const POINT origin = editorPoint(cell, 0, 0);  // minus the editor's place
    return {table_math::Coordinate(int64_t{caret.x} - origin.x), table_math::Coordinate(int64_t{caret.y} - origin.y)};
}

bool TableObject::FindText(const FrameSearch& search) {
    for (int n = 0; n < CellCount(); ++n) {
        if (Cell(n).Covered()) continue;
        SelectCell(n, false);
        if (editor_->FindText(search)) return true;
    }
    return false;
}

void TableObject::MarkFoundWords(const FrameSearch& search) {
    for (int n = 0; n < CellCount(); ++n) {
        if (Cell(n).Covered()) continue;
        SelectCell(n, false);
        editor_->MarkFoundWords(search);
        StoreCell();
    }
}

int TableObject::ShowTooltip(HWND target, int x, int y) {
    if (CellCount() > kMaxTooltipCells) return 0;
    for (int n = 0; n < CellCount(); ++n) {
        if (Cell(n).Covered()) continue;
        SelectCell(n, true);
        if (const int shown = editor_->ShowTooltip(target, editorPoint(n, x, y))) return shown;
    }
    return 0;
}

bool TableObject::WriteText(MemWriter& out, bool selectedOnly) {
    if (selectedOnly && !rangeSelected_) return false;
    int firstRow = 0, lastRow = rows_ - 1, firstColumn = 0, lastColumn = columns_ - 1;
    if (selectedOnly) {
        const auto [anchorRow, anchorColumn] = place(rangeAnchor_);
        const auto [endRow, endColumn] = place(rangeEnd_);
        firstRow = std::min(anchorRow, endRow);
        lastRow = std::max(anchorRow, endRow);
        firstColumn = std::min(anchorColumn, endColumn);
        lastColumn = std::max(anchorColumn, endColumn);
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int cell = cellAt(row, column);
            if (!Cell(cell).Covered()) {
                SelectCell(cell, false);
                if (!editor_->WriteText(out)) return false;
            }
            if (column != lastColumn) out.WriteByte('\t');
        }
        out.WriteBytes("\r\n", 2);
    }
    return !out.error();
}

void TableObject::clickCorner(int cell) {
    caret_ = cell;
    SelectCell(cell, true);
    const TableSize inner = GetCellSize(cell, true);
    editor_->Click(owner_, 0, POINT{inner.width, inner.height});
}

void TableObject::EndRangeSelection(int where) {
    if (!rangeSelected_) return;
    invertCells(true);
    const auto [anchorRow, anchorColumn] = place(rangeAnchor_);
    const auto [endRow, endColumn] = place(rangeEnd_);
    rangeSelected_ = 0;
    if (where == 1) clickCorner(GetOwnerCell(cellAt(std::min(anchorRow, endRow), std::min(anchorColumn, endColumn))));
    if (where == 2) clickCorner(GetOwnerCell(cellAt(std::max(anchorRow, endRow), std::max(anchorColumn, endColumn))));
}

}  // namespace lect32
