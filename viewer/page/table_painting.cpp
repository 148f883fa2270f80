// Painting a table: the outer frame, each cell's borders with their corner squares, the cell
// backgrounds above and below the text by the vertical alignment, the text through the cell
// editor, the inverted cell range, and new sheets while printing.
#include <algorithm>

#include "page/clip_scope.h"
#include "page/page_background.h"
#include "page/table_math.h"
#include "page/table_object.h"
#include "text/colour_table.h"
#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace lect32 {

using table_math::CeilHalf;
using table_math::Coordinate;
using table_math::FloorHalf;

namespace {

bool paintingSuppressed = false;

bool crosses(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

RECT rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

}  // namespace

void TableObject::SetPaintingSuppressed(bool suppressed) { paintingSuppressed = suppressed; }

// What one paint keeps: the device, the clip, the line widths, the two backgrounds (the table's
// and the one for cells with a picture of their own), the brush in use and where the table stands.
struct TableObject::PaintPass {
    HDC dc = nullptr;
    RECT clip{};
    TableLines lines;
    PageBackground table;
    PageBackground cells;
    winplat::GdiObject<HBRUSH> brush;
    COLORREF brushColour = 0;
    Origin origin;
    int32_t pageOffset = 0;
    bool printing = false;

    // A solid brush of the colour, made again only when the colour changes.
    HBRUSH Brush(COLORREF colour) {
        if (!brush || colour != brushColour) {
            brush.reset(CreateSolidBrush(colour));
            brushColour = colour;
        }
        return brush.get();
    }
    void FillColour(const RECT& r, COLORREF colour) {
        if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, Brush(colour));
    }
};

void TableObject::Paint(HDC dc, const RECT& clip, TablePrinting* printing, int32_t printTop) {
    if (paintingSuppressed || CellCount() == 0) return;
    if (current_ != kNoCell && editor_->HasChanges(0)) StoreCell();
    PaintPass pass;
    pass.dc = dc;
    pass.clip = clip;
    pass.printing = printing != nullptr;
    pass.table.SetPicture(owner_, backgroundPicture_, backgroundMode_, true);
    pass.table.SetScrollOrigin(scrollX_, scrollY_);
    pass.cells.SetScrollOrigin(scrollX_, scrollY_);
    pass.lines = ComputeLines();
    const winplat::Selection pen(dc, GetStockObject(BLACK_PEN));
    pass.origin = screenOrigin(0);
    paintFrame(pass);

    int64_t y = 0;
    int64_t sheetStart = 0;
    for (int row = 0; row < rows_; ++row) {
        const int32_t height = RowHeight(row);
        if (printing && int64_t{printing->PrintedOffset()} + (y - sheetStart) + height > printing->PrintableHeight()) {
            pass.pageOffset = static_cast<int32_t>(printTop + y);
            pass.origin = screenOrigin(pass.pageOffset);
            printing->BreakPage();
            printing->SetPrintedOffset(0);
            sheetStart = y;
            paintFrame(pass);
        }
        const int64_t top = int64_t{pass.origin.y} + y;
        if (!printing && top >= clip.bottom) break;  // the rows below lie outside the clip too
        int64_t x = pass.origin.x;
        for (int column = 0; column < columns_; ++column) {
            const int width = ColumnWidth(column);
            const RECT box = rect(Coordinate(x), Coordinate(top), Coordinate(x + width), Coordinate(top + height));
            if (crosses(box, clip)) paintCell(pass, cellAt(row, column), box);
            x += width;
        }
        y += height;
    }

    paintFrame(pass);
    if (Contains(caret_) && caret_ != current_) SelectCell(caret_, true);
    inverted_ = 0;
    if (printing) printing->SetPrintedOffset(static_cast<int32_t>(printing->PrintedOffset() + (y - sheetStart)));
}

void TableObject::paintCell(PaintPass& pass, int cell, const RECT& box) {
    const int o = GetOwnerCell(cell);
    const TableCell owner = Cell(o);
    const bool ownColour = owner.background != TableCell::kTableBackground;
    if (ownColour) pass.cells.SetPicture(owner_, owner.picture, 1, true);
    paintCellBorders(pass, cell, box, ownColour ? pass.cells : pass.table,
                     colourOf(ownColour ? owner.background : background_));
    if (Cell(cell).Covered()) return;
    paintCellText(pass, cell, box);
}

void TableObject::paintCellText(PaintPass& pass, int cell, const RECT& gridBox) {
    const TableSize inner = cellSize(cell, &pass.lines);
    const auto [row, column] = place(cell);
    const int left = gridBox.left + CeilHalf(pass.lines.vertical[size_t(column)]);
    const int top = gridBox.top + CeilHalf(pass.lines.horizontal[size_t(row)]);
    const RECT box = rect(left, top, Coordinate(int64_t{left} + inner.width), Coordinate(int64_t{top} + inner.height));
    if (!crosses(box, pass.clip)) return;
    SelectCell(cell, false);
    const TableCell c = Cell(cell);
    const bool ownColour = c.background != TableCell::kTableBackground;
    PageBackground& backdrop = ownColour ? pass.cells : pass.table;
    const uint8_t colour = ownColour ? c.background : background_;
    if (ownColour) backdrop.SetPicture(owner_, c.picture, 1, true);

    const int spare = std::max(inner.height - editor_->TextHeight(), 0);
    const int above = c.alignment == 0 ? 0 : c.alignment == 1 ? spare / 2 : spare;
    const int below = spare - above;
    backdrop.Fill(pass.dc, rect(box.left, box.top, box.right, box.top + above), pass.Brush(colourOf(colour)));
    backdrop.Fill(pass.dc, rect(box.left, box.bottom - below, box.right, box.bottom), pass.Brush(colourOf(colour)));

    editor_->Place(box.left, box.top + above);
    editor_->SetSize(inner.width, inner.height - spare);
    editor_->SetBackground(colour, ownColour ? c.picture : backgroundPicture_, ownColour ? uint8_t{1} : backgroundMode_,
                           scrollX_, scrollY_);
    RECT within;
    if (IntersectRect(&within, &box, &pass.clip)) {
        ClipScope scope(pass.dc);
        scope.Intersect(within);
        editor_->Paint(pass.dc, within);
    }
    if (editor_->HasChanges(0)) StoreCell();
    if (inRange(cell) && !pass.printing) {
        PatBlt(pass.dc, box.left, box.top, box.right - box.left, box.bottom - box.top, DSTINVERT);
    }
}

// ---- borders -----------------------------------------------------------------------------------

namespace {

struct Corner {
    bool left;  // else right
    bool top;   // else bottom
};

}  // namespace

void TableObject::paintCellBorders(PaintPass& pass, int cell, const RECT& box, PageBackground& backdrop,
                                   COLORREF background) {
    const int row = place(cell).first;  // named, not bound: the corner lambda takes them
    const int column = place(cell).second;
    const TableLines& lines = pass.lines;
    const int lineLeft = CeilHalf(lines.vertical[size_t(column)]);
    const int lineTop = CeilHalf(lines.horizontal[size_t(row)]);
    const int lineRight = FloorHalf(lines.vertical[size_t(column) + 1]);
    const int lineBottom = FloorHalf(lines.horizontal[size_t(row) + 1]);
    std::array<CellBorder, 4> b;
    const uint8_t edges = GetCellBorders(cell, b, true);
    const int ownLeft = CeilHalf(b[kSideLeft].width);
    const int ownTop = CeilHalf(b[kSideTop].width);
    const int ownRight = FloorHalf(b[kSideRight].width);
    const int ownBottom = FloorHalf(b[kSideBottom].width);

    // Where the line is wider than this cell's own border, the rest of the line's half is the
    // cell's background.
    auto fill = [&](const RECT& r) {
        if (r.right > r.left && r.bottom > r.top) backdrop.Fill(pass.dc, r, pass.Brush(background));
    };
    if ((edges & kEdgeLeft) && ownLeft < lineLeft)
        fill(rect(box.left + ownLeft, box.top + ownTop, box.left + lineLeft, box.bottom - ownBottom));
    if ((edges & kEdgeRight) && ownRight < lineRight)
        fill(rect(box.right - lineRight, box.top + ownTop, box.right - ownRight, box.bottom - ownBottom));
    if ((edges & kEdgeTop) && ownTop < lineTop)
        fill(rect(box.left + ownLeft, box.top + ownTop, box.right - ownRight, box.top + lineTop));
    if ((edges & kEdgeBottom) && ownBottom < lineBottom)
        fill(rect(box.left + ownLeft, box.bottom - lineBottom, box.right - ownRight, box.bottom - ownBottom));

    struct Square {
        RECT area{};
        CellBorder winner;
    };
    auto square = [&](Corner corner) {
        const CellSide vertical = corner.left ? kSideLeft : kSideRight;
        const CellSide horizontal = corner.top ? kSideTop : kSideBottom;
        CellBorder choice = darkerWins(b[horizontal], b[vertical]) ? b[horizontal] : b[vertical];
        int width = corner.left ? ownLeft : ownRight;
        int height = corner.top ? ownTop : ownBottom;
        const bool edgeColumn = corner.left ? column == 0 : column == columns_ - 1;
        if (!edgeColumn) {
            const int across = corner.left ? column - 1 : column + 1;
            const bool edgeRow = corner.top ? row == 0 : row == rows_ - 1;
            const int neighbourRow = edgeRow ? row : (corner.top ? row - 1 : row + 1);
            const CellSide theirVertical = corner.left ? kSideRight : kSideLeft;
            const CellSide theirHorizontal = edgeRow ? horizontal : (corner.top ? kSideBottom : kSideTop);
            std::array<CellBorder, 4> theirs;
            const uint8_t theirEdges = GetCellBorders(cellAt(neighbourRow, across), theirs, true);
            const uint8_t bits[4] = {kEdgeLeft, kEdgeRight, kEdgeTop, kEdgeBottom};
            if ((theirEdges & bits[theirVertical]) && (theirEdges & bits[theirHorizontal])) {
                const CellBorder& v = theirs[theirVertical];
                const CellBorder& h = theirs[theirHorizontal];
                const CellBorder& theirChoice = darkerWins(h, v) ? h : v;
                if (darkerWins(theirChoice, choice)) choice = theirChoice;
                width = std::max(width, corner.left ? CeilHalf(v.width) : FloorHalf(v.width));
                height = std::max(height, corner.top ? CeilHalf(h.width) : FloorHalf(h.width));
            }
        }
        Square s;
        s.winner = choice;
        const int x = corner.left ? box.left : box.right - width;
        const int y = corner.top ? box.top : box.bottom - height;
        s.area = rect(x, y, x + width, y + height);
        return s;
    };
    const Square topLeft = square({true, true});
    const Square topRight = square({false, true});
    const Square bottomLeft = square({true, false});
    const Square bottomRight = square({false, false});
    auto height = [](const Square& s) { return int(s.area.bottom - s.area.top); };
    auto width = [](const Square& s) { return int(s.area.right - s.area.left); };

    pass.FillColour(rect(box.left, box.top + height(topLeft), box.left + ownLeft, box.bottom - height(bottomLeft)),
                    colourOf(b[kSideLeft].colour));
    pass.FillColour(rect(box.right - ownRight, box.top + height(topRight), box.right, box.bottom - height(bottomRight)),
                    colourOf(b[kSideRight].colour));
    pass.FillColour(rect(box.left + width(topLeft), box.top, box.right - width(topRight), box.top + ownTop),
                    colourOf(b[kSideTop].colour));
    pass.FillColour(rect(box.left + width(bottomLeft), box.bottom - ownBottom, box.right - width(bottomRight), box.bottom),
                    colourOf(b[kSideBottom].colour));
    for (const Square* s : {&topLeft, &topRight, &bottomLeft, &bottomRight}) pass.FillColour(s->area, colourOf(s->winner.colour));
}

// ---- outer frame -------------------------------------------------------------------------------

void TableObject::paintFrame(PaintPass& pass) {
    for (const CellSide side : {kSideTop, kSideLeft, kSideRight, kSideBottom}) paintFrameSide(pass, side);
}

// One side of the outer margin, edge cell by edge cell: the outer part of the cell's edge border,
// the table's background beyond it, the junction between two edge cells in the colour of the
// wider (then darker) of their borders, and the margin's corners with the first and last cell.
void TableObject::paintFrameSide(PaintPass& pass, CellSide side) {
    const bool horizontal = side == kSideTop || side == kSideBottom;
    const int count = horizontal ? columns_ : rows_;
    const TableSize total = GetTotalSize(false);
    const int64_t x0 = pass.origin.x;
    const int64_t y0 = pass.origin.y;
    // The band of the outer margin on this side, across the grid's direction.
    int64_t bandFrom = 0, bandTo = 0;
    switch (side) {
    case kSideTop: bandFrom = y0 - outer_.top, bandTo = y0; break;
    case kSideBottom: bandFrom = y0 + total.height, bandTo = y0 + total.height + outer_.bottom; break;
    case kSideLeft: bandFrom = x0 - outer_.left, bandTo = x0; break;
    case kSideRight: bandFrom = x0 + total.width, bandTo = x0 + total.width + outer_.right; break;
    }
    const bool outward = side == kSideTop || side == kSideLeft;  // the border's outer part is nearer 0
    auto place = [&](int64_t along0, int64_t along1, int64_t across0, int64_t across1) {
        return horizontal ? rect(Coordinate(along0), Coordinate(across0), Coordinate(along1), Coordinate(across1))
                          : rect(Coordinate(across0), Coordinate(along0), Coordinate(across1), Coordinate(along1));
    };
    int64_t along = horizontal ? x0 : y0;
    CellBorder previous;
    int previousPart = 0;
    for (int i = 0; i < count; ++i) {
        const int cell = horizontal ? cellAt(side == kSideTop ? 0 : rows_ - 1, i) : cellAt(i, side == kSideLeft ? 0 : columns_ - 1);
        std::array<CellBorder, 4> b;
        GetCellBorders(cell, b, true);
        const CellBorder border = b[side];
        const int part = outward ? FloorHalf(border.width) : CeilHalf(border.width);
        const int length = horizontal ? ColumnWidth(i) : RowHeight(i);
        int64_t from = along;
        int64_t to = along + length;
        if (i == 0) from -= horizontal ? outer_.left : outer_.top;
        if (i == count - 1) to += horizontal ? outer_.right : outer_.bottom;
        const int64_t borderFrom = outward ? bandTo - part : bandFrom;
        const int64_t borderTo = outward ? bandTo : bandFrom + part;
        const RECT rest = outward ? place(from, to, bandFrom, borderFrom) : place(from, to, borderTo, bandTo);
        if (rest.right > rest.left && rest.bottom > rest.top) pass.table.Fill(pass.dc, rest, pass.Brush(colourOf(background_)));
        pass.FillColour(place(from, to, borderFrom, borderTo), colourOf(border.colour));
        if (i > 0) {
            const int line = (horizontal ? pass.lines.vertical : pass.lines.horizontal)[size_t(i)];
            const CellBorder& winner = darkerWins(border, previous) ? border : previous;
            const int reach = std::max(part, previousPart);
            const RECT junction = place(along - FloorHalf(line), along + CeilHalf(line), outward ? bandTo - reach : bandFrom,
                                        outward ? bandTo : bandFrom + reach);
            pass.FillColour(junction, colourOf(winner.colour));
        }
        previous = border;
        previousPart = part;
        along += length;
    }
}

}  // namespace lect32
