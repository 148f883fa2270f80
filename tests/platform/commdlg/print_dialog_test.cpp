// PrintDlgA answered headlessly: the layer's dialogs, a program's template and hook, the settings
// blocks and the printer's page.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/template_bytes.h"
#include "file_dialog_fixture.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/print.h"
#include "winplat/testing.h"

namespace {

using winplat::test::Harness;

struct PrintRecord {
    PRINTDLGA pd{};
    explicit PrintRecord(DWORD flags) {
        pd.lStructSize = PRINTDLG_SIZE_32BIT;
        pd.Flags = flags;
        pd.nCopies = 1;
    }
    ~PrintRecord() {
        if (pd.hDC) DeleteDC(pd.hDC);
        if (pd.hDevMode) GlobalFree(pd.hDevMode);
        if (pd.hDevNames) GlobalFree(pd.hDevNames);
    }
    PrintRecord(const PrintRecord&) = delete;
    PrintRecord& operator=(const PrintRecord&) = delete;

    DEVMODEA mode() const {
        DEVMODEA m{};
        const winplat::GlobalPin pin(pd.hDevMode);
        if (pin.data()) std::memcpy(&m, pin.data(), sizeof m);
        return m;
    }
    std::string device() const {
        const winplat::GlobalPin pin(pd.hDevNames);
        if (!pin.data()) return "(none)";
        DEVNAMES names{};
        std::memcpy(&names, pin.data(), sizeof names);
        return static_cast<const char*>(pin.data()) + names.wDeviceOffset;
    }
};

// A DEVMODEA block asking for a resolution, as a program keeps one from an earlier dialog.
HGLOBAL devModeAt(short dpi, short paper = DMPAPER_A4, short orientation = DMORIENT_PORTRAIT) {
    const HGLOBAL block = GlobalAlloc(GHND, sizeof(DEVMODEA));
    const winplat::GlobalPin pin(block);
    DEVMODEA mode{};
    std::memcpy(mode.dmDeviceName, "PDF", 4);
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_PRINTQUALITY | DM_PAPERSIZE | DM_ORIENTATION;
    mode.dmPrintQuality = dpi;
    mode.dmPaperSize = paper;
    mode.dmOrientation = orientation;
    std::memcpy(pin.data(), &mode, sizeof mode);
    return block;
}

TEST(PrintDialog, CopiesAndThePrinterComeBackWithAPageOfThePrintersSize) {
    Harness h(commdlg_test::screen());
    PrintRecord r(PD_RETURNDC);
    r.pd.hDevMode = devModeAt(96);
    const HGLOBAL given = r.pd.hDevMode;
    h.expectCommonDialog("PrintDlg").type(edt3, "3").check(chx1).press(IDOK);
    ASSERT_TRUE(PrintDlgA(&r.pd));
    EXPECT_EQ(r.pd.nCopies, 3);
    EXPECT_TRUE(r.pd.Flags & PD_PRINTTOFILE);
    EXPECT_EQ(r.pd.hDevMode, given) << "the program's block is written in place";
    EXPECT_EQ(r.device(), "PDF");
    EXPECT_EQ(r.mode().dmCopies, 3);
    ASSERT_NE(r.pd.hDC, nullptr);
    // A4 at 96 dpi: 210 mm and 297 mm in dots, rounded.
    EXPECT_EQ(GetDeviceCaps(r.pd.hDC, HORZRES), 794);
    EXPECT_EQ(GetDeviceCaps(r.pd.hDC, VERTRES), 1123);
    EXPECT_EQ(GetDeviceCaps(r.pd.hDC, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(r.pd.hDC, TECHNOLOGY), DT_RASPRINTER);
}

TEST(PrintDialog, ACopiesCountOutOfRangeIsRefusedAndTheDialogStays) {
    for (const char* typed : {"0", "10000"}) {
        SCOPED_TRACE(typed);
        Harness h(commdlg_test::screen());
        PrintRecord r(0);
        h.expectCommonDialog("PrintDlg").type(edt3, typed).press(IDOK);
        h.answerMessageBox(IDOK);
        h.expectCommonDialog("PrintDlg").type(edt3, "9999").press(IDOK);
        ASSERT_TRUE(PrintDlgA(&r.pd));
        EXPECT_EQ(r.pd.nCopies, 9999);
    }
}

TEST(PrintDialog, DefaultsAreThePngPrinterOnA4At300Dpi) {
    PrintRecord r(PD_RETURNDEFAULT | PD_RETURNDC);
    ASSERT_TRUE(PrintDlgA(&r.pd));
    EXPECT_EQ(r.device(), "PNG");
    const DEVMODEA mode = r.mode();
    EXPECT_EQ(mode.dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(mode.dmPrintQuality, 300);
    EXPECT_EQ(GetDeviceCaps(r.pd.hDC, HORZRES), 2480);
    EXPECT_EQ(GetDeviceCaps(r.pd.hDC, VERTRES), 3508);
}

TEST(PrintDialog, TheSetupDialogChangesPaperAndOrientation) {
    Harness h(commdlg_test::screen());
    PrintRecord r(PD_PRINTSETUP | PD_RETURNDC);
    r.pd.hDevMode = devModeAt(150);
    h.expectCommonDialog("PrintSetupDlg")
        .call([](HWND d) { SetFocus(GetDlgItem(d, cmb3)); })
        .key(VK_DOWN)
        .check(rad2)
        .press(IDOK);
    ASSERT_TRUE(PrintDlgA(&r.pd));
    const DEVMODEA mode = r.mode();
    EXPECT_EQ(mode.dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(mode.dmOrientation, DMORIENT_LANDSCAPE);
    // Letter across at 150 dpi: 11 in by 8.5 in.
    EXPECT_EQ(GetDeviceCaps(r.pd.hDC, HORZRES), 1650);
    EXPECT_EQ(GetDeviceCaps(r.pd.hDC, VERTRES), 1275);
}

// What the hook saw.
struct HookLog {
    LPARAM initParam = 0;
    bool ownControlThere = false;
    int commandsSeen = 0;
    bool swallowCancel = true;
};
HookLog hookLog;

UINT_PTR CALLBACK hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        hookLog.initParam = lParam;
        hookLog.ownControlThere = GetDlgItem(dialog, 3001) != nullptr;
        CheckDlgButton(dialog, 3001, BST_CHECKED);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        ++hookLog.commandsSeen;
        // The first Cancel is the hook's own: the dialog does not see it.
        if (LOWORD(wParam) == IDCANCEL && hookLog.swallowCancel) {
            hookLog.swallowCancel = false;
            return TRUE;
        }
    }
    return FALSE;
}

TEST(PrintDialog, AProgramsTemplateAndHookWorkAroundTheStandardControls) {
    Harness h(commdlg_test::screen());
    hookLog = {};
    winplat::dialogs::TemplateBytes own(WS_POPUP | WS_CAPTION | DS_SETFONT, 0, {0, 0, 240, 120}, "Tisk", 8, "MS Sans Serif");
    own.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, {6, 6, 100, 12}, 3001, "BUTTON", "&Str\xE1nku");
    own.addItem(WS_BORDER | WS_VISIBLE | WS_TABSTOP, 0, {6, 26, 30, 12}, edt3, "EDIT", "");
    own.addItem(BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 0, {120, 100, 50, 14}, IDOK, "BUTTON", "OK");
    own.addItem(BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 0, {180, 100, 50, 14}, IDCANCEL, "BUTTON", "Storno");
    const HGLOBAL block = GlobalAlloc(GHND, own.bytes().size());
    {
        const winplat::GlobalPin pin(block);
        std::memcpy(pin.data(), own.bytes().data(), own.bytes().size());
    }
    PrintRecord r(PD_RETURNDC | PD_ENABLEPRINTHOOK | PD_ENABLEPRINTTEMPLATEHANDLE);
    r.pd.lpfnPrintHook = hook;
    r.pd.hPrintTemplate = block;
    bool checked = false;
    h.expectCommonDialog("PrintDlg")
        .press(IDCANCEL)
        .call([&](HWND d) { checked = IsDlgButtonChecked(d, 3001) == BST_CHECKED; })
        .type(edt3, "2")
        .press(IDOK);
    ASSERT_EQ(PrintDlgA(&r.pd), TRUE);
    GlobalFree(block);
    EXPECT_EQ(hookLog.initParam, reinterpret_cast<LPARAM>(&r.pd));
    EXPECT_TRUE(hookLog.ownControlThere);
    EXPECT_TRUE(checked);
    EXPECT_GE(hookLog.commandsSeen, 2);
    EXPECT_EQ(r.pd.nCopies, 2);
}

// A hook is a dialog procedure, and a dialog procedure's word DWL_USER is its own: the print
// dialog keeps nothing there.
int hooksOwnData = 0;

UINT_PTR CALLBACK hookKeepingItsWord(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWL_USER, reinterpret_cast<LONG_PTR>(&hooksOwnData));
    return FALSE;
}

TEST(PrintDialog, AHookMayKeepItsOwnPointerInDwlUser) {
    Harness h(commdlg_test::screen());
    PrintRecord r(PD_ENABLEPRINTHOOK);
    r.pd.lpfnPrintHook = hookKeepingItsWord;
    LONG_PTR word = 0;
    h.expectCommonDialog("PrintDlg")
        .type(edt3, "4")
        .call([&](HWND d) { word = GetWindowLongPtrA(d, DWL_USER); })
        .press(IDOK);
    ASSERT_TRUE(PrintDlgA(&r.pd));
    EXPECT_EQ(r.pd.nCopies, 4);
    EXPECT_EQ(word, reinterpret_cast<LONG_PTR>(&hooksOwnData));
}

TEST(PrintDialog, RecordsThatCannotBeServedAreRefused) {
    const struct {
        DWORD size;
        DWORD flags;
        DWORD error;
    } cases[] = {
        {65, 0, CDERR_STRUCTSIZE},
        {PRINTDLG_SIZE_32BIT, PD_ENABLEPRINTHOOK, CDERR_NOHOOK},
        {PRINTDLG_SIZE_32BIT, PD_PRINTSETUP | PD_ENABLESETUPHOOK, CDERR_NOHOOK},
        {PRINTDLG_SIZE_32BIT, PD_ENABLEPRINTTEMPLATEHANDLE, CDERR_NOTEMPLATE},
        {PRINTDLG_SIZE_32BIT, PD_ENABLEPRINTTEMPLATE, CDERR_FINDRESFAILURE},
        {PRINTDLG_SIZE_32BIT, PD_RETURNIC, PDERR_CREATEICFAILURE},
    };
    for (const auto& c : cases) {
        PrintRecord r(c.flags);
        r.pd.lStructSize = c.size;
        r.pd.lpPrintTemplateName = "#1538";
        EXPECT_FALSE(PrintDlgA(&r.pd));
        EXPECT_EQ(CommDlgExtendedError(), c.error) << c.size << " " << c.flags;
    }
    // A template block that holds no template.
    const HGLOBAL junk = GlobalAlloc(GHND, 6);
    PrintRecord r(PD_ENABLEPRINTTEMPLATEHANDLE);
    r.pd.hPrintTemplate = junk;
    EXPECT_FALSE(PrintDlgA(&r.pd));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_LOADRESFAILURE));
    GlobalFree(junk);
}

TEST(PrintDialog, APageRangeWithinTheDocumentsPagesComesBack) {
    const struct {
        const char* from;
        const char* to;
        WORD expectedFrom, expectedTo;
    } accepted[] = {{"1", "12", 1, 12}, {"12", "12", 12, 12}, {"3", "7", 3, 7}, {"4", "", 4, 4}};
    for (const auto& c : accepted) {
        SCOPED_TRACE(std::string(c.from) + "-" + c.to);
        Harness h(commdlg_test::screen());
        PrintRecord r(0);
        r.pd.nMinPage = 1;
        r.pd.nMaxPage = 12;
        r.pd.nFromPage = r.pd.nToPage = 0xFFFF;
        // Typing a page number chooses the page range by itself.
        h.expectCommonDialog("PrintDlg").type(edt1, c.from).type(edt2, c.to).press(IDOK);
        ASSERT_TRUE(PrintDlgA(&r.pd));
        EXPECT_TRUE(r.pd.Flags & PD_PAGENUMS);
        EXPECT_FALSE(r.pd.Flags & PD_SELECTION);
        EXPECT_EQ(r.pd.nFromPage, c.expectedFrom);
        EXPECT_EQ(r.pd.nToPage, c.expectedTo);
    }
}

TEST(PrintDialog, APageRangeOutsideTheDocumentIsRefusedAndTheDialogStays) {
    // Set as text, so that what the number edits keep from being typed is tried too.
    const std::pair<const char*, const char*> refused[] = {{"0", "5"}, {"2", "13"}, {"13", "13"}, {"7", "3"}, {"", "4"}, {"x", "4"}};
    for (const auto& [from, to] : refused) {
        SCOPED_TRACE(std::string(from) + "-" + to);
        Harness h(commdlg_test::screen());
        PrintRecord r(PD_PAGENUMS);
        r.pd.nMinPage = 1;
        r.pd.nMaxPage = 12;
        r.pd.nFromPage = 2;
        r.pd.nToPage = 3;
        h.expectCommonDialog("PrintDlg")
            .call([from = from, to = to](HWND d) {
                SetDlgItemTextA(d, edt1, from);
                SetDlgItemTextA(d, edt2, to);
            })
            .press(IDOK);
        h.answerMessageBox(IDOK);
        h.expectCommonDialog("PrintDlg").type(edt1, "1").type(edt2, "12").press(IDOK);
        ASSERT_TRUE(PrintDlgA(&r.pd));
        EXPECT_EQ(r.pd.nFromPage, 1);
        EXPECT_EQ(r.pd.nToPage, 12);
    }
}

TEST(PrintDialog, TheRangeStartsAsTheFlagsSayAndComesBackAsChosen) {
    Harness h(commdlg_test::screen());
    PrintRecord r(PD_PAGENUMS | PD_NOSELECTION);
    r.pd.nMinPage = 1;
    r.pd.nMaxPage = 9;
    r.pd.nFromPage = 2;
    r.pd.nToPage = 5;
    std::string from, to;
    bool pagesChecked = false, selectionEnabled = true;
    h.expectCommonDialog("PrintDlg")
        .call([&](HWND d) {
            char text[8] = {};
            GetDlgItemTextA(d, edt1, text, sizeof text);
            from = text;
            GetDlgItemTextA(d, edt2, text, sizeof text);
            to = text;
            pagesChecked = IsDlgButtonChecked(d, rad3) == BST_CHECKED;
            selectionEnabled = IsWindowEnabled(GetDlgItem(d, rad2));
        })
        .check(rad1)
        .press(IDOK);
    ASSERT_TRUE(PrintDlgA(&r.pd));
    EXPECT_EQ(from, "2");
    EXPECT_EQ(to, "5");
    EXPECT_TRUE(pagesChecked);
    EXPECT_FALSE(selectionEnabled);
    EXPECT_FALSE(r.pd.Flags & (PD_PAGENUMS | PD_SELECTION)) << "all pages chosen";

    PrintRecord s(PD_SELECTION | PD_NOPAGENUMS);
    bool selectionChecked = false, pagesEnabled = true, fromEnabled = true;
    h.expectCommonDialog("PrintDlg")
        .call([&](HWND d) {
            selectionChecked = IsDlgButtonChecked(d, rad2) == BST_CHECKED;
            pagesEnabled = IsWindowEnabled(GetDlgItem(d, rad3));
            fromEnabled = IsWindowEnabled(GetDlgItem(d, edt1));
        })
        .press(IDOK);
    ASSERT_TRUE(PrintDlgA(&s.pd));
    EXPECT_TRUE(selectionChecked);
    EXPECT_FALSE(pagesEnabled);
    EXPECT_FALSE(fromEnabled);
    EXPECT_TRUE(s.pd.Flags & PD_SELECTION);
}

TEST(PrintDialog, ThePageItReturnsPrintsADocument) {
    Harness h(commdlg_test::screen());
    PrintRecord r(PD_RETURNDC);
    r.pd.hDevMode = devModeAt(72);
    h.expectCommonDialog("PrintDlg").press(IDOK);
    ASSERT_TRUE(PrintDlgA(&r.pd));
    winplat::testing::PrintedPages pages;
    DOCINFOA info{sizeof(DOCINFOA), "dialog", nullptr, nullptr, 0};
    ASSERT_GT(StartDocA(r.pd.hDC, &info), 0);
    ASSERT_GT(StartPage(r.pd.hDC), 0);
    ASSERT_GT(EndPage(r.pd.hDC), 0);
    ASSERT_GT(EndDoc(r.pd.hDC), 0);
    ASSERT_EQ(pages.pages().size(), 1u);
    EXPECT_EQ(pages.pages()[0].printer, "PDF");
    EXPECT_EQ(pages.pages()[0].dpiX, 72);
}

TEST(PrintDialog, AnAnswerChoosesThePrinterAndPagesAndThePagesComeBackAsImages) {
    Harness h(commdlg_test::screen());
    PrintRecord r(PD_RETURNDC);
    r.pd.hDevMode = devModeAt(72);
    {
        const winplat::GlobalPin pin(r.pd.hDevMode);
        std::memcpy(static_cast<DEVMODEA*>(pin.data())->dmDeviceName, "PNG", 4);
    }
    r.pd.nMinPage = 1;
    r.pd.nMaxPage = 5;
    h.answerPrint({"PDF", 2, 3});
    ASSERT_TRUE(PrintDlgA(&r.pd));
    EXPECT_EQ(r.device(), "PDF");
    EXPECT_TRUE(r.pd.Flags & PD_PAGENUMS);
    EXPECT_EQ(r.pd.nFromPage, 2);
    EXPECT_EQ(r.pd.nToPage, 3);
    DOCINFOA info{sizeof(DOCINFOA), "range", nullptr, nullptr, 0};
    ASSERT_GT(StartDocA(r.pd.hDC, &info), 0);
    for (int page = r.pd.nFromPage; page <= r.pd.nToPage; ++page) {
        ASSERT_GT(StartPage(r.pd.hDC), 0);
        SetPixel(r.pd.hDC, page, 0, RGB(0, 0, 0));
        ASSERT_GT(EndPage(r.pd.hDC), 0);
    }
    ASSERT_GT(EndDoc(r.pd.hDC), 0);
    const auto pages = h.printedPages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].width, GetDeviceCaps(r.pd.hDC, HORZRES));
    EXPECT_EQ(pages[0].at(2, 0), 0u);
    EXPECT_EQ(pages[0].at(3, 0), 0xFFFFFFu);
    EXPECT_EQ(pages[1].at(3, 0), 0u);
}

}  // namespace
