// The sheets of continuous paper one print run fills: how tall a sheet's printable area is, how
// much of the current sheet is used, and the change to a new sheet. The document view and its
// tables break their rows over the sheets through it; the print job that owns the printer says
// how tall a sheet is and where on the first sheet the content starts.
#ifndef LECT32_PAGE_PRINT_SHEETS_H
#define LECT32_PAGE_PRINT_SHEETS_H

#include <cstdint>

#include "page/table_object.h"
#include "winplat/types.h"

namespace lect32 {

class PrintSheets : public TablePrinting {
public:
    // A sheet holds 'printableHeight' device pixels; 'used' of the current one are taken.
    PrintSheets(HDC printer, int32_t printableHeight, int32_t used = 0);

    HDC Device() const { return printer_; }
    int32_t PrintableHeight() const override { return printableHeight_; }
    int32_t PrintedOffset() const override { return used_; }
    void SetPrintedOffset(int32_t used) override { used_ = used; }
    // Ends the current sheet on the printer and begins the next, empty.
    void BreakPage() override;
    // Sheets ended so far.
    int SheetsEnded() const { return sheetsEnded_; }

protected:
    // The printer's page ends and a new one starts.
    virtual void ejectSheet();

private:
    HDC printer_;
    int32_t printableHeight_;
    int32_t used_;
    int sheetsEnded_ = 0;
};

}  // namespace lect32

#endif
