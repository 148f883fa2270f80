/* Printing on the virtual printers.
 *
 * A printer DC (CreateDCA, or PrintDlgA with PD_RETURNDC) draws on a page surface of the paper's
 * size in the printer's dots, 300 an inch unless its DEVMODEA says otherwise; GetDeviceCaps
 * answers for it as a raster printer without unprintable margins (PHYSICALOFFSETX/Y 0,
 * PHYSICALWIDTH = HORZRES). Between StartDocA and EndDoc each page from StartPage (blank paper)
 * to EndPage is printed:
 *
 *   "PNG" writes every page as a file, "<name>-001.png", "<name>-002.png", ...;
 *   "PDF" writes one PDF file, "<name>.pdf", each page an image at the page's resolution.
 *
 * <name> is the document's output (DOCINFOA's lpszOutput, a Windows path, its extension dropped),
 * else the document's name in the folder "printer" of the state folder, made unique there. A
 * page or file is written beside its place and renamed into it once whole. AbortDoc, or a DC
 * deleted before EndDoc, removes what the document wrote. */
#ifndef WINPLAT_PRINT_H
#define WINPLAT_PRINT_H

#include "winplat/commdlg.h"
#include "winplat/types.h"

typedef struct _DOCINFOA {
    int cbSize;
    LPCSTR lpszDocName;
    LPCSTR lpszOutput;
    LPCSTR lpszDatatype;
    DWORD fwType;
} DOCINFOA, *LPDOCINFOA;

#define SP_ERROR (-1)

WINPLAT_BEGIN_C

/* A DC of the printer "PNG" or "PDF" (the device; the driver is NULL or "winspool", the output
 * port NULL), set up by the DEVMODEA when one is given; NULL (ERROR_INVALID_PARAMETER) for any
 * other device. */
WINPLAT_API HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* mode);

/* A positive job number; SP_ERROR for a DC that is no printer's, a document already started, or
 * an output that cannot be written. */
WINPLAT_API int StartDocA(HDC dc, const DOCINFOA* info);
/* A blank page; SP_ERROR outside a document or while a page is open. */
WINPLAT_API int StartPage(HDC dc);
/* Prints the page; SP_ERROR when no page is open or it cannot be written (the document then goes
 * on, its files closed at the end as always). */
WINPLAT_API int EndPage(HDC dc);
/* Ends the document (a page still open is printed first); SP_ERROR outside one, or when its file
 * cannot be finished. */
WINPLAT_API int EndDoc(HDC dc);
/* Drops the document and removes what it wrote; SP_ERROR outside one. */
WINPLAT_API int AbortDoc(HDC dc);

WINPLAT_END_C

#endif
