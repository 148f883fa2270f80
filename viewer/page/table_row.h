// What a document view asks of the table that stands in one of its rows in place of text. The
// view owns the table; it lays the table out, places it, paints it and hands on scrolling, zoom
// and the page style. A table is read from the page record by a reader the program hooks in.
#ifndef LECT32_PAGE_TABLE_ROW_H
#define LECT32_PAGE_TABLE_ROW_H

#include <cstdint>
#include <functional>
#include <memory>

#include "winplat/byte_reader.h"
#include "winplat/draw.h"
#include "winplat/types.h"

namespace lect32 {

struct PageStyle;
class TablePrinting;

class TableRow {
public:
    virtual ~TableRow() = default;
    // Lays the cells out on the device; afterwards TotalSize gives the table's size. While a
    // print job runs, 'printing' follows the rows over the job's sheets.
    virtual void Layout(HDC device, TablePrinting* printing) = 0;
    virtual SIZE TotalSize() const = 0;
    // The table's top left corner in page pixels of the view's layout area.
    virtual void SetOrigin(int16_t x, int32_t y) = 0;
    virtual int16_t OriginX() const = 0;
    virtual int32_t OriginY() const = 0;
    // Paints within the clip (device pixels). While printing, 'printTop' is where the row stands
    // in the printed content; rows that pass the sheet start a new one.
    virtual void Paint(HDC device, const RECT& clip, TablePrinting* printing, int32_t printTop) = 0;
    virtual uint16_t LineCount() const = 0;
    virtual uint32_t SerializedSize() const = 0;
    virtual void SetScrollOffset(int16_t x, int32_t y) = 0;
    virtual void SetPageStyle(const PageStyle& style) = 0;
    virtual void SetZoom(uint16_t numerator, uint16_t denominator) = 0;
    // Whether the table changed since it was read (grade 1: structurally, 0: at all).
    virtual bool HitTest(int /*grade*/) { return false; }
};

// Reads the table that follows a row's text in a page record, for the view's window. Null when
// the table's bytes are damaged (the page then fails to load).
using TableRowReader = std::function<std::unique_ptr<TableRow>(winplat::ByteReader& in, HWND owner)>;

// Steps over a table's stored form without reading its cells: byte kind, u16 rows, u16 columns,
// per cell a u16-sized text-frame record and a u16-sized cell record of 36 bytes. False when a
// length runs past the bytes, the grid is larger than a text store holds, or a cell record is not
// 36 bytes.
bool SkipStoredTable(winplat::ByteReader& in);

}  // namespace lect32

#endif
