// The printer: a document of pages drawn on the printer's canvas. The printer is the one the last
// print or printer setup dialog chose, else the platform's default; its document goes to the
// platform's virtual printer (winplat/print.h). A finished page is also kept as a bitmap the
// program may read back (Pages), the last document's until the next begins.
#ifndef WINFORMS_PRINTER_H
#define WINFORMS_PRINTER_H

#include <memory>
#include <string>
#include <vector>

#include "winforms/bitmap.h"
#include "winforms/canvas.h"
#include "winplat/owners.h"

namespace winforms {

class WINFORMS_API Printer {
public:
    Printer();
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The application's printer.
    static Printer& Current();

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // Starts a document on a blank first page; false (and no document) when there is no printer
    // page to draw on.
    bool BeginDoc();
    // Finishes the page and starts a blank one.
    void NewPage();
    void EndDoc();
    // Drops the document and its pages.
    void Abort();
    bool Printing() const { return printing_; }
    // 1 for the first page of the document.
    int PageNumber() const { return pageNumber_; }
    // The page in printer dots, and the dots per inch; 0 until there is a printer page.
    int PageWidth() const;
    int PageHeight() const;
    int PixelsPerInch() const;
    // The canvas of the page being drawn.
    Canvas& GetCanvas() { return canvas_; }
    // The pages of the last document, finished in order.
    const std::vector<std::unique_ptr<Bitmap>>& Pages() const { return pages_; }

    // The print dialogs' settings, handed to and taken back from them with the page they made.
    HGLOBAL DevMode() const { return devMode_.get(); }
    HGLOBAL DevNames() const { return devNames_.get(); }
    void Adopt(HGLOBAL devMode, HGLOBAL devNames, HDC page);

private:
    bool EnsurePage();
    void KeepPage();
    void ClearPage();

    std::string title_ = "Linework";
    winplat::GlobalBlock devMode_;
    winplat::GlobalBlock devNames_;
    winplat::MemoryDc page_;  // the printer DC the dialog made; deleted with DeleteDC
    Canvas canvas_;
    std::vector<std::unique_ptr<Bitmap>> pages_;
    bool printing_ = false;
    int pageNumber_ = 0;
};

}  // namespace winforms

#endif
