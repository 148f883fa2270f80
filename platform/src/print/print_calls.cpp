// CreateDCA for the virtual printers, and the document and page calls on their DCs.
#include <atomic>
#include <memory>
#include <string>

#include "base/call_refusal.h"
#include "gdi/printer_page.h"
#include "gdi/png_output.h"
#include "print/print_document.h"
#include "print/printed_pages.h"
#include "print/printer_settings.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/print.h"

using namespace winplat;
using namespace winplat::print;

namespace {

std::atomic<int> lastJob{0};

// What a virtual printer's DC keeps: which printer it is, and the document it prints, whose
// files go (unless ended) when the DC does.
struct PrinterOfDc final : gdi::DcAttachment {
    explicit PrinterOfDc(std::string n) : name(std::move(n)) {}
    std::string name;
    std::unique_ptr<PrintDocument> document;
};

std::shared_ptr<PrinterOfDc> printerOf(HDC dc) { return std::dynamic_pointer_cast<PrinterOfDc>(gdi::attachmentOf(dc)); }

// The printer of a DC printing a document; null (the call's refusal logged) otherwise.
std::shared_ptr<PrinterOfDc> printing(HDC dc, const CallRefuser& refuse) {
    auto printer = printerOf(dc);
    if (!printer) return refuse(std::shared_ptr<PrinterOfDc>{}, "no printer's DC");
    if (!printer->document) return refuse(std::shared_ptr<PrinterOfDc>{}, "no document started");
    return printer;
}

// Prints the open page of the DC's document.
bool printOpenPage(HDC dc, PrinterOfDc& printer) {
    gdi::RgbImage image;
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (!gdi::snapshotDc(dc, image)) return false;
    collect(printer.name, printer.document->name(), image, dpiX, dpiY);
    return printer.document->printPage(image, dpiX, dpiY);
}

}  // namespace

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* mode) {
    constexpr CallRefuser refuse("winplat: CreateDCA");
    const std::string name = device ? device : "";
    if (!knownPrinter(name)) return refuse(HDC{}, "no printer \"" + name + "\" (there are \"PNG\" and \"PDF\")");
    if (driver && std::string_view(driver) != "winspool") return refuse(HDC{}, std::string("no driver ") + driver);
    if (output && *output) return refuse.unsupported(HDC{}, std::string("output port ") + output);
    PrinterSettings settings;
    settings.device = name;
    if (mode) applyDevMode(*mode, settings);
    const SIZE page = pageDots(settings);
    const HDC dc = gdi::createPrinterPage(page.cx, page.cy, settings.dpiX, settings.dpiY);
    if (dc) gdi::attach(dc, std::make_shared<PrinterOfDc>(name));
    return dc;
}

int StartDocA(HDC dc, const DOCINFOA* info) {
    constexpr CallRefuser refuse("winplat: StartDocA");
    const auto printer = printerOf(dc);
    if (!printer) return refuse(SP_ERROR, "no printer's DC");
    if (printer->document) return refuse(SP_ERROR, "a document is being printed");
    const char* name = info ? info->lpszDocName : nullptr;
    const auto stem = outputStem(info ? info->lpszOutput : nullptr, name);
    if (!stem) return refuse(SP_ERROR, "no place for the document's files");
    printer->document = PrintDocument::begin(printer->name, name ? name : "", *stem);
    if (!printer->document) return SP_ERROR;
    return ++lastJob;
}

int StartPage(HDC dc) {
    constexpr CallRefuser refuse("winplat: StartPage");
    const auto printer = printing(dc, refuse);
    if (!printer) return SP_ERROR;
    if (printer->document->pageOpen()) return refuse(SP_ERROR, "a page is open");
    gdi::blankPrinterPage(dc);
    printer->document->openPage();
    return 1;
}

int EndPage(HDC dc) {
    constexpr CallRefuser refuse("winplat: EndPage");
    const auto printer = printing(dc, refuse);
    if (!printer) return SP_ERROR;
    if (!printer->document->pageOpen()) return refuse(SP_ERROR, "no page is open");
    return printOpenPage(dc, *printer) ? 1 : SP_ERROR;
}

int EndDoc(HDC dc) {
    constexpr CallRefuser refuse("winplat: EndDoc");
    const auto printer = printing(dc, refuse);
    if (!printer) return SP_ERROR;
    // A page left open is printed rather than lost.
    const bool lastPage = !printer->document->pageOpen() || printOpenPage(dc, *printer);
    const bool ended = printer->document->end();
    printer->document.reset();
    return lastPage && ended ? 1 : SP_ERROR;
}

int AbortDoc(HDC dc) {
    constexpr CallRefuser refuse("winplat: AbortDoc");
    const auto printer = printing(dc, refuse);
    if (!printer) return SP_ERROR;
    printer->document->abort();
    printer->document.reset();
    return 1;
}
