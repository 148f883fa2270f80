// A page record's content (rows, tables, objects) read into a document view and laid out.
//
// What must hold for any input: nothing reads outside the input (the sanitizers watch that); a
// refused record leaves the view with one empty row; a taken one keeps every row's line array
// within its text (the lines' bytes add up to no more than the row's text) and lays out to a
// content at least as tall as its margins; printed on sheets of a few lines, it breaks and paints
// without end or fault.
//
// Seeds: small pages of plain, wrapped, anchored, tabbed and table rows made here.
#include <cstdint>
#include <numeric>
#include <span>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "page/document_view.h"
#include "page/print_sheets.h"
#include "page/table_object_row.h"
#include "support/quiet_page_tables.h"
#include "text/colour_table.h"
#include "text/style_sheet.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;
    page_support::QuietTables tables;
    lect32::StyleSheet styles;
    lect32::ColourTable colours;
    lect32::DocumentView view(tables.services(), lect32::ViewServices{&styles, &colours, lect32::TableObjectReader(&colours)});
    lect32::PageStyle style;
    style.widthMode = 1;
    view.SetPageStyle(style);
    view.OnSize(300, 200);
    winplat::ByteReader in(std::span<const uint8_t>(data, size));
    if (!view.LoadPage(in)) {
        check(view.RowCount() == 1 && view.Row(0).text.empty());
        return 0;
    }
    winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    view.Layout(dc.get());
    for (uint16_t r = 0; r < view.RowCount(); ++r) {
        const auto& lines = view.Row(r).lines;
        const size_t taken = std::accumulate(lines.begin(), lines.end(), size_t{0},
                                             [](size_t sum, const lect32::LineEntry& e) { return sum + e.chars; });
        check(taken <= view.Row(r).text.size());
    }
    check(view.RowCount() == 0 || view.ContentHeight() >= style.TopMargin() + style.BottomMargin());
    lect32::PrintSheets sheets(dc.get(), 97, 13);
    view.LayoutForPrint(dc.get(), sheets, 300);
    view.PrintRows(dc.get());
    view.EndPrint();
    return 0;
}

namespace {

void word(FuzzBytes& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// u16 + record (height, style, mask, parts), u16 stops + stops, u16 + text.
void row(FuzzBytes& out, uint16_t mask, const FuzzBytes& parts, const std::string& text, int stops = 0) {
    FuzzBytes record{0, 0, 0, 0, 0};
    word(record, mask);
    record.insert(record.end(), parts.begin(), parts.end());
    word(out, static_cast<int>(record.size()));
    out.insert(out.end(), record.begin(), record.end());
    word(out, stops);
    for (int i = 0; i < stops; ++i) {
        out.push_back(0);
        word(out, 30 * (i + 1));
        out.push_back(0);
    }
    word(out, static_cast<int>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

std::vector<FuzzBytes> fuzzSeeds() {
    FuzzBytes page{0, 0};
    word(page, 5);
    row(page, 0x0002, {0, 15, 0, 3, 0}, "a short row");
    row(page, 0x0001 | 0x0100, {4, 0, 1, 2, 0, 3}, "anchored with a border and words enough to wrap twice over");
    row(page, 0, {}, "tab\tstops\there\n", 3);
    const char coded[] = "a \x01\xFF\x14\x00\x03\xFF\x01 code";  // a character format code among words
    row(page, 0x0400, {2, 0, 0, 0, 10, 0, 0, 0}, std::string(coded, sizeof coded - 1));
    row(page, 0x8000, {}, "");
    page.insert(page.end(), {0, 1, 0, 1, 0, 0, 0, 36, 0});
    page.insert(page.end(), 36, 0);
    page.push_back(0);
    page.push_back(6);
    word(page, 0);
    return {page};
}
