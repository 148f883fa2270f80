#include "page/print_sheets.h"

#include <algorithm>

#include "winplat/print.h"

namespace lect32 {

// A sheet is at least one pixel tall: content that never fits would otherwise break sheets
// without end.
PrintSheets::PrintSheets(HDC printer, int32_t printableHeight, int32_t used)
    : printer_(printer), printableHeight_(std::max<int32_t>(printableHeight, 1)), used_(used) {}

void PrintSheets::BreakPage() {
    ejectSheet();
    used_ = 0;
    ++sheetsEnded_;
}

void PrintSheets::ejectSheet() {
    EndPage(printer_);
    StartPage(printer_);
}

}  // namespace lect32
