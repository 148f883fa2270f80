// A grid of rows x columns of cells that stands in one row of a document view in place of a line
// of text. Each cell holds its own text-frame record and a 36-byte cell record (table_cell.h);
// one cell editor shows, measures and paints every cell in turn.
//
// Border lines: the line between two cells is as wide as the widest border either side gives it
// and is split at the cell boundary, ceil(w / 2) into the cell below or right of it, floor(w / 2)
// into the one above or left; the halves of the outermost lines that lie outside the grid are the
// outer margins. Where two borders meet on one line the wider wins, then the darker.
//
// Stored form (inside a view's page record, after a table row's items), little-endian:
//   byte kind (not interpreted), u16 rows, u16 columns,
//   rows x columns cells in row-major order: u16 N, N bytes of text-frame record; u16 M (36),
//   M bytes of cell record.
#ifndef LECT32_PAGE_TABLE_OBJECT_H
#define LECT32_PAGE_TABLE_OBJECT_H

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "page/table_cell.h"
#include "page/table_cell_editor.h"
#include "text/item_lists.h"
#include "winplat/byte_reader.h"
#include "winplat/types.h"

namespace lect32 {

class ColourTable;
class MemReader;
class MemWriter;
struct FrameSearch;
class PageBackground;
struct PageStyle;

// What a table asks of a running print job: how tall a sheet's printable area is, how much of the
// current sheet is used, and a new sheet.
class TablePrinting {
public:
    virtual ~TablePrinting() = default;
    virtual int32_t PrintableHeight() const = 0;
    virtual int32_t PrintedOffset() const = 0;
    virtual void SetPrintedOffset(int32_t offset) = 0;
    // Ends the sheet and starts the next.
    virtual void BreakPage() = 0;
};

struct TableSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const TableSize&) const = default;
};

struct OuterMargins {
    uint8_t left = 0, right = 0, top = 0, bottom = 0;
    bool operator==(const OuterMargins&) const = default;
};

// The widths of the grid's lines: horizontal[h] for h = 0 .. rows, vertical[v] for v = 0 .. columns.
struct TableLines {
    std::vector<int> horizontal;
    std::vector<int> vertical;
};

class TableObject {
public:
    static constexpr int kMaxCells = TextStore::kMaxItems;
    static constexpr int kNoCell = -1;

    // The editor shows every cell; none: one that lays cells out with the process-wide formatter.
    explicit TableObject(const ColourTable* colours = nullptr, std::unique_ptr<TableCellEditor> editor = nullptr);
    TableObject(const TableObject&) = delete;
    TableObject& operator=(const TableObject&) = delete;

    void SetOwnerWindow(HWND window);
    HWND OwnerWindow() const { return owner_; }
    void SetColourTable(const ColourTable* colours) { colours_ = colours; }

    // Reads the stored form. A damaged table (a length past the stream, a cell record that is
    // not 36 bytes, more cells than a table holds) is refused whole: false, and the table is
    // left empty. Spans past the grid are cut to it; owners that do not cover the cell are
    // dropped; negative sizes become 0.
    bool Read(MemReader& reader);
    bool Read(winplat::ByteReader& in);
    // Copies the grid and every cell's bytes into the target; false when the target's stores
    // cannot take them (the target is then empty).
    bool CopyTo(TableObject& target);
    bool CopyFrom(TableObject& source) { return source.CopyTo(*this); }
    // Bytes of every cell's text record as the editor would write them.
    uint32_t GetSerializedSize();

    void SetOrigin(int16_t x, int32_t y);
    void SetScrollOffset(int16_t x, int32_t y);
    void SetPageStyle(const PageStyle& style);

    // Lays out every cell at its width and sets the row heights; returns the table's height with
    // its outer margins. With a print job, a running sum of rows restarts the job's offset at
    // each sheet the rows fill.
    int32_t Layout(HDC dc, TablePrinting* printing = nullptr);
    // Paints the table at its origin within the clip rectangle (device coordinates). While
    // printing, 'printTop' is where the table's row stands on the printed content; rows that
    // would pass the sheet's printable height start a new sheet.
    void Paint(HDC dc, const RECT& clip, TablePrinting* printing = nullptr, int32_t printTop = 0);
    // A switch of the reader's settings that leaves tables unpainted.
    static void SetPaintingSuppressed(bool suppressed);

    TableSize GetTotalSize(bool withOuterMargins);
    void ScaleBy(int percent, int second);

    // The cell's four borders (left, right, top, bottom) and its edge flags (CellEdge): its own,
    // or resolved against the neighbours across each line.
    uint8_t GetCellBorders(int cell, std::array<CellBorder, 4>& borders, bool resolve);
    POINT GetCellBox(int cell, bool inner);
    TableSize GetCellSize(int cell, bool inner);
    // Where the text starts below the inner box's top; the inner height is measured when not given.
    int GetTextOffset(int cell, std::optional<int> innerHeight = std::nullopt);

    void SelectCell(int cell, bool place);
    void StoreCell();
    int GetOwnerCell(int cell);

    // ---- input, caret, search and text (table_interaction.cpp). Points are in the owner
    // window's client coordinates.
    // The owner cell under the point; 'side' 1 left of the table, 2 beyond its right edge.
    int HitCell(int x, int y, int& side);
    void OnLeftButtonDown(HWND window, WPARAM keys, int x, int y);
    int OnSetCursor(int x, int y);
    int OnMouseMove(int x, int y, WPARAM keys);
    // Grade 1: whether the layout changed; else whether anything did.
    bool HitTest(int grade);
    int DispatchCommand(int code, int argument, void* data);
    // How often each command code reached a table (all tables of the process).
    static uint32_t CommandCount(uint8_t code);
    void CollapseSelection(bool notify);
    int CollapseSelectionToStart();
    // The caret arrives from the row above (kind 0: first cell; 2: first row at x) or below
    // (1: last cell; 3: last row at x).
    void EnterCaret(int kind, int x);
    void SetSelectionShown(bool shown);
    bool SelectionShown() const { return inverted_ != 0; }
    // With a row: its top and height (0), or 1 when there is no such row. With row -1: the row
    // whose band holds y (0), or 2 when none does.
    int LocateRow(int row, int32_t y, int& foundRow, int32_t& top, int32_t& height);
    // The caret's point in client coordinates and its height (the caret cell, else cell 0).
    POINT PositionToPoint(int& height);
    bool FindText(const FrameSearch& search);
    void MarkFoundWords(const FrameSearch& search);
    static constexpr int kMaxTooltipCells = 50;
    int ShowTooltip(HWND target, int x, int y);
    // The range (selectedOnly; false without one) or the whole table: TAB between cells, CR LF
    // after each row. False when a cell's text could not be written.
    bool WriteText(MemWriter& out, bool selectedOnly);
    // Ends a range selection; where 1 / 2 puts the caret into its first / last cell.
    void EndRangeSelection(int where);
    bool RangeSelected() const { return rangeSelected_ != 0; }
    // Message to the owner: the table gave up the caret.
    static constexpr UINT kCaretLeftMessage = 9001;
    static constexpr int kMaxCommandCells = 100;

    // The range of cells shown inverted while a cell range is selected.
    void SetRangeSelection(int anchor, int end);
    void ClearRangeSelection() { rangeSelected_ = 0; }

    int16_t Rows() const { return rows_; }
    int16_t Columns() const { return columns_; }
    int CellCount() const { return rows_ * columns_; }
    bool Contains(int cell) const { return cell >= 0 && cell < CellCount(); }
    TableCell Cell(int cell);
    void SetCell(int cell, const TableCell& record);
    std::vector<uint8_t> CellText(int cell);
    OuterMargins Margins() const { return outer_; }
    int CurrentCell() const { return current_; }
    int CaretCell() const { return caret_; }
    uint32_t FeatureFlags() const { return features_; }
    bool LayoutChanged() const { return layoutChanged_ != 0; }
    bool ContentChanged() const { return contentChanged_ != 0; }
    TableCellEditor& Editor() { return *editor_; }

    // Line widths and cell geometry on the grid (table_geometry.cpp).
    TableLines ComputeLines();
    int ColumnWidth(int column);
    int32_t RowHeight(int row);
    // The share of a spanning cell's content height that falls on one of its rows.
    static int32_t ContentShare(int32_t height, int span, int index);

private:
    struct Origin {
        int x = 0;
        int y = 0;
    };
    struct PaintPass;

    void clear();
    bool readCells(winplat::ByteReader& in, int count);
    bool appendCell(std::span<const uint8_t> text, std::span<const uint8_t> record);
    void normaliseCells();
    bool putText(int cell, std::span<const uint8_t> bytes);
    std::pair<int, int> place(int cell) const { return {cell / columns_, cell % columns_}; }
    int cellAt(int row, int column) const { return row * columns_ + column; }
    uint8_t ownBorders(int cell, std::array<CellBorder, 4>& borders);
    bool darkerWins(const CellBorder& challenger, const CellBorder& holder) const;
    int brightness(uint8_t colour) const;
    COLORREF colourOf(uint8_t colour) const;
    TableSize spannedSize(const TableCell& owner, int row, int column);
    // Outer, or inner within the lines given.
    POINT cellBox(int cell, const TableLines* inner);
    TableSize cellSize(int cell, const TableLines* inner);
    int32_t rowHeightFor(int row, const TableLines& lines);
    void reflowCell(int cell, HDC dc, const TableLines& lines);
    void placeEditor(int cell);
    Origin screenOrigin(int32_t printOffset) const;

    void paintCell(PaintPass& pass, int cell, const RECT& box);
    void paintCellText(PaintPass& pass, int cell, const RECT& box);
    void paintCellBorders(PaintPass& pass, int cell, const RECT& box, PageBackground& backdrop, COLORREF background);
    void paintFrame(PaintPass& pass);
    void paintFrameSide(PaintPass& pass, CellSide side);
    bool inRange(int cell) const;
    // Interaction helpers (table_interaction.cpp).
    POINT editorPoint(int cell, int x, int y);
    int columnAt(int x, int& side);
    void invertCells(bool rangeOnly);
    void clickCorner(int cell);

    const ColourTable* colours_;
    int16_t columns_ = 0;
    int16_t rows_ = 0;
    int16_t originX_ = 0;
    int32_t originY_ = 0;
    OuterMargins outer_;
    int16_t viewLeft_ = 10, viewRight_ = 0, viewTop_ = 10, viewBottom_ = 0;
    uint8_t background_ = 15;
    int16_t backgroundPicture_ = -1;
    uint8_t backgroundMode_ = 1;
    int16_t scrollX_ = 0;
    int32_t scrollY_ = 0;
    int current_ = kNoCell;
    int caret_ = kNoCell;
    HWND owner_ = nullptr;
    uint8_t inverted_ = 0;
    uint32_t rangeSelected_ = 0;
    int rangeAnchor_ = 0;
    int rangeEnd_ = 0;
    PageItemList texts_;
    PageItemList records_;
    std::unique_ptr<TableCellEditor> editor_;
    uint32_t layoutChanged_ = 0;
    uint32_t contentChanged_ = 0;
    uint32_t features_ = 0;
};

}  // namespace lect32

#endif
