#include "winforms/printer.h"

#include <string>

#include "painting.h"
#include "winforms/application.h"
#include "winplat/commdlg.h"
#include "winplat/print.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {
constexpr winplat::Refuser refuse("winforms: Printer");
}  // namespace

Printer::Printer() = default;

Printer::~Printer() { canvas_.SetHandle(nullptr); }

Printer& Printer::Current() { return Application::Current().GetPrinter(); }

void Printer::Adopt(HGLOBAL devMode, HGLOBAL devNames, HDC page) {
    if (devMode != devMode_.get()) {
        (void)devMode_.release();  // the dialog freed or kept it; the block it hands back is ours
        devMode_.reset(devMode);
    }
    if (devNames != devNames_.get()) {
        (void)devNames_.release();
        devNames_.reset(devNames);
    }
    if (!page) return;
    if (printing_) {
        refuse.log("a new printer while a document is printed: the document keeps the old page");
        DeleteDC(page);
        return;
    }
    canvas_.SetHandle(nullptr);
    page_.reset(page);
}

bool Printer::EnsurePage() {
    if (page_) return true;
    PRINTDLGA pd{};
    pd.lStructSize = PRINTDLG_SIZE_32BIT;
    if (devMode_ || devNames_) {
        refuse.log("the chosen printer's page is gone: printing on the default printer");
    }
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&pd) || !pd.hDC) return refuse(false, "the platform has no printer page");
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    page_.reset(pd.hDC);
    return true;
}

int Printer::PageWidth() const { return page_ ? GetDeviceCaps(page_.get(), HORZRES) : 0; }
int Printer::PageHeight() const { return page_ ? GetDeviceCaps(page_.get(), VERTRES) : 0; }
int Printer::PixelsPerInch() const { return page_ ? GetDeviceCaps(page_.get(), LOGPIXELSX) : 0; }

void Printer::ClearPage() {
    canvas_.SetHandle(nullptr);
    fillRect(page_.get(), {0, 0, PageWidth(), PageHeight()}, RGB(255, 255, 255));
    canvas_.SetHandle(page_.get());
    canvas_.MoveTo(0, 0);
}

void Printer::KeepPage() {
    auto kept = std::make_unique<Bitmap>(PageWidth(), PageHeight(), PixelFormat::Bits24);
    if (kept->Empty()) {
        refuse.log("no memory to keep the page");
        return;
    }
    canvas_.SetHandle(nullptr);  // the canvas puts the DC's own objects back first
    BitBlt(kept->DC(), 0, 0, PageWidth(), PageHeight(), page_.get(), 0, 0, SRCCOPY);
    canvas_.SetHandle(page_.get());
    pages_.push_back(std::move(kept));
}

bool Printer::BeginDoc() {
    if (printing_) return refuse(false, "a document is being printed");
    if (!EnsurePage()) return false;
    const DOCINFOA info{sizeof(DOCINFOA), title_.c_str(), nullptr, nullptr, 0};
    if (StartDocA(page_.get(), &info) <= 0) return refuse(false, "the printer starts no document");
    if (StartPage(page_.get()) <= 0) {
        AbortDoc(page_.get());
        return refuse(false, "the printer starts no page");
    }
    pages_.clear();
    printing_ = true;
    pageNumber_ = 1;
    ClearPage();
    return true;
}

void Printer::NewPage() {
    if (!printing_) {
        refuse.log("no document is being printed");
        return;
    }
    KeepPage();
    canvas_.SetHandle(nullptr);  // the canvas puts the DC's own objects back before the page goes
    if (EndPage(page_.get()) <= 0) refuse.log("the printer did not print page " + std::to_string(pageNumber_));
    StartPage(page_.get());
    ++pageNumber_;
    ClearPage();
}

void Printer::EndDoc() {
    if (!printing_) {
        refuse.log("no document is being printed");
        return;
    }
    KeepPage();
    canvas_.SetHandle(nullptr);
    if (EndPage(page_.get()) <= 0) refuse.log("the printer did not print page " + std::to_string(pageNumber_));
    if (::EndDoc(page_.get()) <= 0) refuse.log("the printer did not finish the document");
    printing_ = false;
}

void Printer::Abort() {
    canvas_.SetHandle(nullptr);
    if (printing_) AbortDoc(page_.get());
    pages_.clear();
    printing_ = false;
    pageNumber_ = 0;
}

}  // namespace winforms
