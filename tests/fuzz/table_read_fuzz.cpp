// A table's stored form under fuzzing: read, and when taken laid out, measured and painted.
//
// What must hold for any input: nothing reads outside the input (the sanitizers watch that); a
// refused table holds no cells; a table that was taken has at most 16,383 cells, every span
// within the grid, every covered cell's owner an uncovered cell whose area holds it, and
// non-negative sizes; it lays out to its rows' sum and its outer margins, paints onto a small
// surface and copies to a table with the same bytes.
//
// Seeds: tables the document writer writes (tools/fuzz_table_seeds.py) and the few made here.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "page/table_object.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

void checkGrid(lect32::TableObject& table) {
    check(table.CellCount() <= lect32::TableObject::kMaxCells);
    for (int n = 0; n < table.CellCount(); ++n) {
        const lect32::TableCell c = table.Cell(n);
        const int row = n / table.Columns(), column = n % table.Columns();
        check(c.columnSpan >= 1 && column + c.columnSpan <= table.Columns());
        check(c.rowSpan >= 1 && row + c.rowSpan <= table.Rows());
        check(c.width >= 0 && c.height >= 0 && c.contentHeight >= 0);
        const int owner = table.GetOwnerCell(n);
        check(owner >= 0 && !table.Cell(owner).Covered());
        if (owner != n) {
            const lect32::TableCell o = table.Cell(owner);
            const int ownerRow = owner / table.Columns(), ownerColumn = owner % table.Columns();
            check(row >= ownerRow && row < ownerRow + o.rowSpan && column >= ownerColumn &&
                  column < ownerColumn + o.columnSpan);
        }
    }
}

void layOutAndPaint(lect32::TableObject& table) {
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    const winplat::OwnedBitmap surface(CreateBitmap(64, 48, 1, 32, nullptr));
    const winplat::Selection selected(dc.get(), surface.get());
    const int32_t height = table.Layout(dc.get());
    const lect32::OuterMargins m = table.Margins();
    check(height == table.GetTotalSize(true).height || height == INT32_MAX);
    check(height >= m.top + m.bottom);
    table.SetOrigin(-20, -30);
    table.Paint(dc.get(), {0, 0, 64, 48});
    for (int n = 0; n < table.CellCount() && n < 64; ++n) {
        (void)table.GetCellBox(n, true);
        (void)table.GetCellSize(n, true);
        (void)table.GetTextOffset(n);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;
    // The editor that keeps records: the fuzzed part is the table's, not the formatter's.
    lect32::TableObject table(nullptr, std::make_unique<lect32::StoredCellText>());
    winplat::ByteReader in(data, size);
    if (!table.Read(in)) {
        check(table.CellCount() == 0);
        return 0;
    }
    checkGrid(table);
    lect32::TableObject copy(nullptr, std::make_unique<lect32::StoredCellText>());
    check(copy.CopyFrom(table));
    for (int n = 0; n < table.CellCount(); ++n) {
        check(copy.CellText(n) == table.CellText(n) && copy.Cell(n).Encode() == table.Cell(n).Encode());
    }
    layOutAndPaint(table);
    checkGrid(table);
    return 0;
}

namespace {

void word(FuzzBytes& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// A cell text of one row holding 'text', with a view state whose content height is 'height'.
FuzzBytes cellText(const char* text, int height) {
    FuzzBytes frame{3};
    word(frame, 1);
    word(frame, 0);  // attributes
    word(frame, 0);  // tab stops
    const std::span<const char> bytes(text, std::char_traits<char>::length(text));
    word(frame, static_cast<int>(bytes.size()));
    frame.insert(frame.end(), bytes.begin(), bytes.end());
    word(frame, 0);  // lines
    frame.push_back(1);
    word(frame, height);
    word(frame, 0);
    for (int i = 0; i < 4; ++i) word(frame, 0);
    frame.push_back(0);
    word(frame, 0);
    word(frame, 0);
    word(frame, 0);
    return frame;
}

FuzzBytes table(int rows, int columns, const std::vector<lect32::TableCell>& cells) {
    FuzzBytes out{0};
    word(out, rows);
    word(out, columns);
    for (const lect32::TableCell& c : cells) {
        const FuzzBytes text = cellText("cell", c.contentHeight);
        word(out, static_cast<int>(text.size()));
        out.insert(out.end(), text.begin(), text.end());
        word(out, lect32::TableCell::kSize);
        const auto record = c.Encode();
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

}  // namespace

std::vector<FuzzBytes> fuzzSeeds() {
    lect32::TableCell plain;
    plain.contentHeight = 12;
    plain.borders = {{{2, 1}, {3, 0}, {1, 2}, {4, 0}}};
    lect32::TableCell spanning = plain;
    spanning.columnSpan = 2;
    spanning.rowSpan = 2;
    spanning.alignment = 1;
    lect32::TableCell covered;
    covered.owner = 0;
    return {table(1, 1, {plain}), table(2, 2, {spanning, covered, covered, covered}),
            table(2, 3, {spanning, covered, plain, covered, covered, plain})};
}
