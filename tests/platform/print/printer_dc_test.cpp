// The virtual printers: printer DCs and what GetDeviceCaps says of them, documents of pages
// written as PNG files or one PDF file, and the refusals of the document and page calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../files/temp_drive.h"
#include "support/tool_runner.h"
#include "winplat/gdi.h"
#include "winplat/draw.h"
#include "winplat/print.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

namespace fs = std::filesystem;
using filetest::ScopedEnv;
using filetest::TempDrive;

DEVMODEA modeAt(short dpi, short dpiY = 0, short paper = DMPAPER_A4, short orientation = DMORIENT_PORTRAIT) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_PRINTQUALITY | DM_PAPERSIZE | DM_ORIENTATION | (dpiY ? DM_YRESOLUTION : 0);
    mode.dmPrintQuality = dpi;
    mode.dmYResolution = dpiY;
    mode.dmPaperSize = paper;
    mode.dmOrientation = orientation;
    return mode;
}

struct OwnedDc {
    HDC dc;
    ~OwnedDc() {
        if (dc) DeleteDC(dc);
    }
};

void fill(HDC dc, RECT area, COLORREF colour) {
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// A document of pages, each with a block of its own colour at a place of its own.
struct Page {
    RECT block;
    COLORREF colour;
};
const Page kPages[] = {{{10, 10, 30, 40}, RGB(0, 0, 0)}, {{50, 60, 90, 70}, RGB(255, 0, 0)}, {{5, 100, 15, 140}, RGB(0, 0, 255)}};

int printPages(HDC dc, const char* name, const char* output = nullptr) {
    DOCINFOA info{sizeof(DOCINFOA), name, output, nullptr, 0};
    const int job = StartDocA(dc, &info);
    if (job <= 0) return job;
    for (const Page& page : kPages) {
        EXPECT_GT(StartPage(dc), 0);
        fill(dc, page.block, page.colour);
        EXPECT_GT(EndPage(dc), 0);
    }
    return EndDoc(dc);
}

// The value of a "Name: value" line of pdfinfo's report.
std::string field(const std::string& report, const std::string& name) {
    const size_t at = report.find(name + ":");
    if (at == std::string::npos) return "(none)";
    const size_t start = report.find_first_not_of(' ', at + name.size() + 1);
    return report.substr(start, report.find('\n', start) - start);
}

uint32_t rgbOf(COLORREF c) { return static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); }

class PrinterTest : public ::testing::Test {
protected:
    TempDrive drive;
    ScopedEnv state{"WINPLAT_STATE", drive.host("state").c_str()};
    std::string printed(const std::string& name) const { return drive.host("state/printer/" + name); }
};

TEST_F(PrinterTest, DeviceCapsOfThePaperAtThePrintersResolution) {
    const struct {
        DEVMODEA mode;
        int width, height, dpiX, dpiY, millimetresX, millimetresY;
    } cases[] = {
        {modeAt(100), 827, 1169, 100, 100, 210, 297},
        {modeAt(300), 2480, 3508, 300, 300, 210, 297},
        {modeAt(100, 150), 827, 1754, 100, 150, 210, 297},
        {modeAt(71, 1201), 2480, 3508, 300, 300, 210, 297},  // resolutions out of 72..1200 are not taken
        {modeAt(72, 1200), 595, 14031, 72, 1200, 210, 297},  // the bounds themselves are taken
        {modeAt(72, 0, DMPAPER_LETTER, DMORIENT_LANDSCAPE), 792, 612, 72, 72, 279, 216},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode.dmPrintQuality);
        for (const char* printer : {"PNG", "PDF"}) {
            const OwnedDc p{CreateDCA("winspool", printer, nullptr, &c.mode)};
            ASSERT_NE(p.dc, nullptr);
            EXPECT_EQ(GetDeviceCaps(p.dc, TECHNOLOGY), DT_RASPRINTER);
            EXPECT_EQ(GetDeviceCaps(p.dc, HORZRES), c.width);
            EXPECT_EQ(GetDeviceCaps(p.dc, VERTRES), c.height);
            EXPECT_EQ(GetDeviceCaps(p.dc, PHYSICALWIDTH), c.width);
            EXPECT_EQ(GetDeviceCaps(p.dc, PHYSICALHEIGHT), c.height);
            EXPECT_EQ(GetDeviceCaps(p.dc, PHYSICALOFFSETX), 0);
            EXPECT_EQ(GetDeviceCaps(p.dc, PHYSICALOFFSETY), 0);
            EXPECT_EQ(GetDeviceCaps(p.dc, LOGPIXELSX), c.dpiX);
            EXPECT_EQ(GetDeviceCaps(p.dc, LOGPIXELSY), c.dpiY);
            EXPECT_EQ(GetDeviceCaps(p.dc, HORZSIZE), c.millimetresX);
            EXPECT_EQ(GetDeviceCaps(p.dc, VERTSIZE), c.millimetresY);
        }
    }
    const OwnedDc plain{CreateDCA(nullptr, "PDF", nullptr, nullptr)};
    EXPECT_EQ(GetDeviceCaps(plain.dc, LOGPIXELSY), 300) << "300 dpi without a DEVMODEA";
    EXPECT_EQ(CreateDCA("winspool", "LaserJet", nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateDCA("other", "PDF", nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateDCA("winspool", nullptr, nullptr, nullptr), nullptr);
}

TEST_F(PrinterTest, ThePngPrinterWritesAFilePerPage) {
    const DEVMODEA mode = modeAt(72);
    const OwnedDc p{CreateDCA(nullptr, "PNG", nullptr, &mode)};
    winplat::testing::PrintedPages collected;
    ASSERT_GT(printPages(p.dc, "Zpr\xE1va \xE8. 1"), 0);
    const auto pages = collected.pages();
    ASSERT_EQ(pages.size(), std::size(kPages));
    for (size_t i = 0; i < std::size(kPages); ++i) {
        SCOPED_TRACE(i);
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%03zu.png", i + 1);
        std::string error;
        const auto image = winplat::test::readPng(printed("Zpr\xC3\xA1va \xC4\x8D. 1" + std::string(suffix)), &error);
        ASSERT_TRUE(image) << error;
        ASSERT_EQ(image->width, 595);
        ASSERT_EQ(image->height, 842);
        EXPECT_EQ(pages[i].printer, "PNG");
        EXPECT_EQ(pages[i].document, "Zpr\xE1va \xE8. 1");
        EXPECT_EQ(pages[i].dpiX, 72);
        EXPECT_EQ(pages[i].pixels, image->pixels) << "the collected page is the page written";
        const RECT& b = kPages[i].block;
        EXPECT_EQ(image->at(b.left, b.top), rgbOf(kPages[i].colour));
        EXPECT_EQ(image->at(b.right - 1, b.bottom - 1), rgbOf(kPages[i].colour));
        EXPECT_EQ(image->at(b.right, b.bottom), 0xFFFFFFu);
        // Each page starts blank: the block of the page before is gone.
        if (i > 0) {
            EXPECT_EQ(image->at(kPages[i - 1].block.left, kPages[i - 1].block.top), 0xFFFFFFu);
        }
    }
    EXPECT_FALSE(fs::exists(printed("Zpr\xC3\xA1va \xC4\x8D. 1-004.png")));
    // The same name again goes beside, not over.
    ASSERT_GT(printPages(p.dc, "Zpr\xE1va \xE8. 1"), 0);
    EXPECT_TRUE(fs::exists(printed("Zpr\xC3\xA1va \xC4\x8D. 1 (2)-003.png")));
    ASSERT_GT(printPages(p.dc, "a/b:c"), 0);
    EXPECT_TRUE(fs::exists(printed("a_b_c-001.png"))) << "no separator of a name leaves the folder";
}

TEST_F(PrinterTest, ThePdfPrinterWritesOneWellFormedFile) {
    const DEVMODEA mode = modeAt(72);
    const OwnedDc p{CreateDCA(nullptr, "PDF", nullptr, &mode)};
    drive.folder("out");
    ASSERT_GT(printPages(p.dc, "Pl\xE1n \xE8. 2", "T:\\OUT\\plan.prn"), 0);
    const std::string pdf = drive.host("out/plan.pdf");
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_FALSE(fs::exists(pdf + ".part"));
    const std::string contents = drive.read("out/plan.pdf");
    EXPECT_EQ(contents.rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_NE(contents.find("/Count 3"), std::string::npos);

    if (const char* missing = tool_runner::firstMissing({"qpdf", "pdfinfo", "pdftoppm"})) {
        GTEST_SKIP() << missing << " is not installed (qpdf, poppler-utils): the PDF is not checked by them";
    }
    const auto check = tool_runner::capture("qpdf --check '" + pdf + "'", tool_runner::Errors::Merge);
    EXPECT_TRUE(check.ok()) << check.output;
    const std::string info = tool_runner::output("pdfinfo '" + pdf + "'");
    EXPECT_EQ(field(info, "Pages"), "3") << info;
    EXPECT_EQ(field(info, "Title"), "Pl\xC3\xA1n \xC4\x8D. 2") << info;
    // A4 at 72 dots an inch is 595 x 842 dots, a point each.
    EXPECT_EQ(field(info, "Page size").rfind("595 x 842 pts", 0), 0u) << info;
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const fs::path rendered = drive.root() / ("page" + std::to_string(page));
        ASSERT_TRUE(tool_runner::run("pdftoppm -r 72 -png -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                     " -singlefile '" + pdf + "' '" + rendered.string() + "'"));
        std::string error;
        const auto image = winplat::test::readPng(rendered.string() + ".png", &error);
        ASSERT_TRUE(image) << error;
        ASSERT_EQ(image->width, 595);
        ASSERT_EQ(image->height, 842);
        // Drawn a dot a pixel, the page comes back as it was printed, but for the renderer's
        // smoothing of the block's edge pixels.
        const Page& drawn = kPages[page - 1];
        const RECT& b = drawn.block;
        EXPECT_EQ(image->at(b.left + 1, b.top + 1), rgbOf(drawn.colour));
        EXPECT_EQ(image->at(b.right - 2, b.bottom - 2), rgbOf(drawn.colour));
        EXPECT_EQ(image->at(b.right + 1, b.bottom - 2), 0xFFFFFFu);
        EXPECT_EQ(image->at(b.left + 1, b.top - 2), 0xFFFFFFu);
        EXPECT_EQ(image->at(500, 800), 0xFFFFFFu);
    }
}

TEST_F(PrinterTest, DocumentAndPageCallsInTheWrongOrderAreRefused) {
    const OwnedDc p{CreateDCA(nullptr, "PNG", nullptr, nullptr)};
    DOCINFOA info{sizeof(DOCINFOA), "d", nullptr, nullptr, 0};
    EXPECT_EQ(StartPage(p.dc), SP_ERROR) << "no document";
    EXPECT_EQ(EndPage(p.dc), SP_ERROR);
    EXPECT_EQ(EndDoc(p.dc), SP_ERROR);
    EXPECT_EQ(AbortDoc(p.dc), SP_ERROR);
    const int job = StartDocA(p.dc, &info);
    EXPECT_GT(job, 0);
    EXPECT_EQ(StartDocA(p.dc, &info), SP_ERROR) << "a document already runs";
    EXPECT_EQ(EndPage(p.dc), SP_ERROR) << "no page open";
    EXPECT_GT(StartPage(p.dc), 0);
    EXPECT_EQ(StartPage(p.dc), SP_ERROR) << "a page is open";
    EXPECT_GT(EndDoc(p.dc), 0) << "the open page is printed";
    EXPECT_TRUE(fs::exists(printed("d-001.png")));
    EXPECT_GT(StartDocA(p.dc, &info), job) << "a new job number";
    EXPECT_GT(AbortDoc(p.dc), 0);

    const OwnedDc screen{winplat::testing::createDisplayDc(10, 10, 24)};
    EXPECT_EQ(StartDocA(screen.dc, &info), SP_ERROR) << "no printer's DC";
    const OwnedDc page{winplat::testing::createPrinterDc(10, 10, 100)};
    EXPECT_EQ(StartDocA(page.dc, &info), SP_ERROR) << "a page that is no virtual printer's";
    DOCINFOA nowhere{sizeof(DOCINFOA), "d", "T:\\missing\\folder\\x.pdf", nullptr, 0};
    EXPECT_EQ(StartDocA(p.dc, &nowhere), SP_ERROR) << "an output in a folder that is not there";
}

TEST_F(PrinterTest, AnAbortedOrAbandonedDocumentLeavesNoFiles) {
    DOCINFOA info{sizeof(DOCINFOA), "gone", nullptr, nullptr, 0};
    for (const char* printer : {"PNG", "PDF"}) {
        SCOPED_TRACE(printer);
        const HDC dc = CreateDCA(nullptr, printer, nullptr, nullptr);
        ASSERT_GT(StartDocA(dc, &info), 0);
        ASSERT_GT(StartPage(dc), 0);
        ASSERT_GT(EndPage(dc), 0);
        ASSERT_GT(StartPage(dc), 0);
        ASSERT_FALSE(fs::is_empty(printed(""))) << "a page or the file being written is there";
        ASSERT_GT(AbortDoc(dc), 0);
        EXPECT_TRUE(fs::is_empty(printed(""))) << "aborted";
        ASSERT_GT(StartDocA(dc, &info), 0);
        ASSERT_GT(StartPage(dc), 0);
        ASSERT_GT(EndPage(dc), 0);
        ASSERT_TRUE(DeleteDC(dc));
        EXPECT_TRUE(fs::is_empty(printed(""))) << "the DC went before EndDoc";
    }
}

TEST_F(PrinterTest, APageThatCannotBeWrittenFailsAndTheDocumentStillEnds) {
    const DEVMODEA mode = modeAt(72);
    const OwnedDc p{CreateDCA(nullptr, "PNG", nullptr, &mode)};
    drive.folder("out");
    DOCINFOA info{sizeof(DOCINFOA), "x", "T:\\out\\x.png", nullptr, 0};
    ASSERT_GT(StartDocA(p.dc, &info), 0);
    ASSERT_GT(StartPage(p.dc), 0);
    ASSERT_GT(EndPage(p.dc), 0);
    fs::remove_all(drive.host("out"));
    ASSERT_GT(StartPage(p.dc), 0);
    EXPECT_EQ(EndPage(p.dc), SP_ERROR);
    EXPECT_GT(EndDoc(p.dc), 0);
    drive.folder("out");
    EXPECT_GT(StartDocA(p.dc, &info), 0) << "the DC prints again";
    EXPECT_GT(AbortDoc(p.dc), 0);
}

}  // namespace
