// Printer DCs: a page surface at the printer's resolution, blanked between pages, and the
// document the printing area keeps with the DC.
#ifndef WINPLAT_SRC_GDI_PRINTER_PAGE_H
#define WINPLAT_SRC_GDI_PRINTER_PAGE_H

#include <memory>

#include "gdi/objects.h"
#include "winplat/types.h"

namespace winplat::gdi {

// A printer DC over a blank (white) 24-bit page of width x height dots at the resolutions given;
// null when the size is none or memory runs out.
HDC createPrinterPage(int width, int height, int dotsPerInchX, int dotsPerInchY);
// Whites the whole page; false for a DC that is no printer's.
bool blankPrinterPage(HDC dc);
bool isPrinterDc(HDC dc);
// What the DC keeps for another area (null: nothing, or no DC); attach replaces it.
std::shared_ptr<DcAttachment> attachmentOf(HDC dc);
bool attach(HDC dc, std::shared_ptr<DcAttachment> attachment);

}  // namespace winplat::gdi

#endif
