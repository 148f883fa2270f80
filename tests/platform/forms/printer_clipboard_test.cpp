// The printer's pages, the clipboard's text and bitmaps, and the dialog components over the
// common dialogs, answered through the harness.
#include <filesystem>
#include <vector>

#include "forms_fixture.h"
#include "host_file.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

TEST_F(FormsTest, APrintedDocumentKeepsItsPagesInOrder) {
    Printer& printer = Printer::Current();
    ASSERT_TRUE(printer.BeginDoc());
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PixelsPerInch(), 300);
    EXPECT_EQ(printer.PageWidth(), 2480) << "A4 at 300 dots an inch";
    EXPECT_EQ(printer.PageNumber(), 1);
    Canvas& canvas = printer.GetCanvas();
    canvas.GetBrush().SetColor(RGB(0, 0, 0));
    canvas.FillRect({100, 100, 200, 150});
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    canvas.GetPen().SetColor(RGB(255, 0, 0));
    canvas.MoveTo(0, 10);
    canvas.LineTo(50, 10);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    ASSERT_EQ(printer.Pages().size(), 2u);
    const Bitmap& first = *printer.Pages()[0];
    const Bitmap& second = *printer.Pages()[1];
    EXPECT_EQ(GetPixel(first.DC(), 100, 100), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(first.DC(), 199, 149), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(first.DC(), 200, 150), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(first.DC(), 20, 10), RGB(255, 255, 255)) << "the second page's line is not on the first";
    EXPECT_EQ(GetPixel(second.DC(), 20, 10), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(second.DC(), 150, 120), RGB(255, 255, 255)) << "a new page starts blank";
    // The document went to the platform's default printer, a PNG file a page.
    const std::string printed = h.stateFolder() + "/printer/Linework";
    EXPECT_TRUE(std::filesystem::exists(printed + "-001.png"));
    EXPECT_TRUE(std::filesystem::exists(printed + "-002.png"));
    EXPECT_FALSE(std::filesystem::exists(printed + "-003.png"));
}

TEST_F(FormsTest, APrinterRefusesPagesOutsideADocument) {
    winplat::testing::DebugCapture debug;
    Printer& printer = Printer::Current();
    printer.NewPage();
    printer.EndDoc();
    EXPECT_TRUE(debug.contains("no document is being printed"));
    ASSERT_TRUE(printer.BeginDoc());
    EXPECT_FALSE(printer.BeginDoc());
    EXPECT_TRUE(debug.contains("a document is being printed"));
    printer.NewPage();
    ASSERT_TRUE(std::filesystem::exists(h.stateFolder() + "/printer/Linework-001.png"));
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(printer.Pages().empty());
    EXPECT_FALSE(std::filesystem::exists(h.stateFolder() + "/printer/Linework-001.png")) << "an aborted document leaves no page";
}

TEST_F(FormsTest, ThePrintDialogsChoiceIsWhatThePrinterPrintsOn) {
    plainForm();
    PrintDialog& dialog = app->MainForm()->Add<PrintDialog>();
    h.expectCommonDialog("PrintDlg").type(edt3, "3").press(IDOK);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Copies(), 3);
    EXPECT_NE(Printer::Current().DevMode(), nullptr);
    h.expectCommonDialog("PrintDlg").press(IDCANCEL);
    EXPECT_FALSE(dialog.Execute());
    ASSERT_TRUE(Printer::Current().BeginDoc());
    EXPECT_EQ(Printer::Current().PageWidth(), 2480);
    Printer::Current().EndDoc();
}

TEST_F(FormsTest, FileDialogsGiveTheChosenPath) {
    formstest::HostFolder folder;
    const std::string drawing = folder.write("KRESBA.LKD", {1, 2, 3});
    plainForm();
    OpenDialog& open = app->MainForm()->Add<OpenDialog>();
    open.SetFilter("Kresby|*.LKD|V\xB9" "e|*.*");
    h.answerOpenFile(drawing);
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), drawing);
    SaveDialog& save = app->MainForm()->Add<SaveDialog>();
    save.SetDefaultExt("LKD");
    h.answerSaveFile(folder.windows("NOVA"));
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), folder.windows("NOVA.LKD")) << "the default extension added";
}

TEST_F(FormsTest, TheClipboardKeepsTextAndBitmaps) {
    winplat::testing::resetClipboard();
    EXPECT_FALSE(Clipboard::HasText());
    EXPECT_FALSE(Clipboard::Text().has_value());
    ASSERT_TRUE(Clipboard::SetText("P\xF8\xEDkaz 1:100"));
    EXPECT_TRUE(Clipboard::HasText());
    EXPECT_EQ(Clipboard::Text(), "P\xF8\xEDkaz 1:100");

    for (PixelFormat format : {PixelFormat::Bits24, PixelFormat::Bits8, PixelFormat::Bits1}) {
        SCOPED_TRACE(BitsOf(format));
        Bitmap picture(7, 5, format);
        picture.GetCanvas().GetBrush().SetColor(RGB(255, 255, 255));
        picture.GetCanvas().FillRect({0, 0, 7, 5});
        picture.GetCanvas().SetPixel(6, 0, RGB(0, 0, 0));
        picture.GetCanvas().SetPixel(0, 4, RGB(0, 0, 0));
        ASSERT_TRUE(Clipboard::SetBitmap(picture));
        EXPECT_TRUE(Clipboard::HasBitmap());
        EXPECT_FALSE(Clipboard::HasText()) << "a new content empties the clipboard first";
        Bitmap back;
        ASSERT_TRUE(Clipboard::GetBitmap(back));
        ASSERT_EQ(back.Width(), 7);
        ASSERT_EQ(back.Height(), 5);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                EXPECT_EQ(GetPixel(back.DC(), x, y), GetPixel(picture.DC(), x, y)) << x << "," << y;
            }
        }
    }
    ASSERT_TRUE(Clipboard::Clear());
    EXPECT_FALSE(Clipboard::HasBitmap());
}

TEST_F(FormsTest, TheClipboardHeldOpenElsewhereIsRefusedWithTheReason) {
    winplat::testing::DebugCapture debug;
    Form& form = plainForm();
    ASSERT_TRUE(OpenClipboard(form.Handle()));
    EXPECT_FALSE(Clipboard::SetText("x"));
    EXPECT_TRUE(debug.contains("another window has the clipboard open"));
    CloseClipboard();
    EXPECT_TRUE(Clipboard::SetText("x"));
}

}  // namespace
