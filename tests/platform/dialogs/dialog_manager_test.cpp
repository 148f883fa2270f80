// The dialog manager outside the modal loop: modeless dialogs and IsDialogMessageA, dialog units,
// the focus rule, the procedure's results, help, and the item calls.
#include "dialog_fixture.h"
#include "winplat/base.h"
#include "winplat/owners.h"
#include "winplat/testing.h"

namespace {

using namespace dialog_test;

class ModelessTest : public DialogTest {
protected:
    HWND open(DWORD style = 0) {
        bytes_ = makeTemplate(style).bytes();
        dialog_ = CreateDialogIndirectParamA(module_, reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()), owner_,
                                             dialogProcedure, 0);
        h.pump();
        return dialog_;
    }

    // Keys through the dialog as a program's loop passes them: IsDialogMessageA first.
    void keys(std::initializer_list<UINT> pressed) {
        for (UINT key : pressed) {
            winplat::testing::keyDown(key);
            winplat::testing::keyUp(key);
        }
        MSG message{};
        while (winplat::testing::takeReadyMessage(&message)) {
            if (IsDialogMessageA(dialog_, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    std::vector<uint8_t> bytes_;
    HWND dialog_ = nullptr;
};

TEST_F(ModelessTest, DialogUnitsComeFromTheTemplatesFont) {
    // The test face at "MS Sans Serif" 8: 52 letters of 6, 3 and 8 pixels make 311, so the base
    // width is (311 / 26 + 1) / 2 = 6; the cell is 13.
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(6, 13));
    ASSERT_NE(open(), nullptr);
    RECT r{4, 8, 40, 16};
    ASSERT_TRUE(MapDialogRect(dialog_, &r));
    EXPECT_EQ(r.left, 6);
    EXPECT_EQ(r.top, 13);
    EXPECT_EQ(r.right, 60);
    EXPECT_EQ(r.bottom, 26);
    RECT client{};
    GetClientRect(dialog_, &client);
    EXPECT_EQ(client.bottom, 277);  // units 10 to 180: 16.25 and 292.5 rounded
    RECT field{};
    GetWindowRect(GetDlgItem(dialog_, kName), &field);
    POINT origin{0, 0};
    ClientToScreen(dialog_, &origin);
    EXPECT_EQ(field.left - origin.x, 60);  // x 40
    EXPECT_EQ(field.bottom - field.top, 20);  // 12 units: 19.5 rounded
    EXPECT_EQ(client.right, 360) << "240 units";
    EXPECT_FALSE(MapDialogRect(owner_, &r)) << "only a dialog has dialog units";
}

TEST_F(ModelessTest, InitDialogsAnswerDecidesTheFirstFocus) {
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, kName));
    DestroyWindow(dialog_);
    script().initialFocus = FALSE;
    script().focusOnInit = kDouble;
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, kDouble)) << "FALSE keeps the focus the procedure chose";
}

TEST_F(ModelessTest, IsDialogMessageTakesOnlyTheDialogsMessages) {
    ASSERT_NE(open(), nullptr);
    MSG other{owner_, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_FALSE(IsDialogMessageA(dialog_, &other));
    keys({VK_TAB});
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, kDouble));
    keys({VK_SPACE});
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kDouble), static_cast<UINT>(BST_CHECKED));
    keys({VK_ESCAPE});
    EXPECT_EQ(script().commands, (std::vector<WORD>{kDouble, IDCANCEL}));
}

TEST_F(ModelessTest, TheProceduresResultsComeFromMsgResultOrDirectly) {
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(0, 128, 0)));
    script().extra = [&brush](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_USER + 5) {
            SetWindowLongPtrA(dialog, DWL_MSGRESULT, 1234);
            return TRUE;
        }
        if (message == WM_CTLCOLORDLG) return reinterpret_cast<INT_PTR>(brush.get());
        return 0;
    };
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(SendMessageA(dialog_, WM_USER + 5, 0, 0), 1234);
    EXPECT_EQ(SendMessageA(dialog_, WM_USER + 6, 0, 0), 0) << "unhandled";
    EXPECT_EQ(SendMessageA(dialog_, WM_CTLCOLORDLG, 0, 0), reinterpret_cast<LRESULT>(brush.get()));
    // The dialog's background is the procedure's brush.
    const winplat::test::Image picture = h.windowImage(dialog_, true);
    EXPECT_EQ(picture.at(200, 150), 0x008000u);
    EXPECT_EQ(SendMessageA(dialog_, WM_GETFONT, 0, 0) != 0, true);
    EXPECT_EQ(SendDlgItemMessageA(dialog_, kName, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_HASSETSEL),
              DLGC_WANTCHARS | DLGC_HASSETSEL);
}

TEST_F(ModelessTest, F1AsksForHelpAboutTheFocusedControl) {
    ASSERT_NE(open(), nullptr);
    keys({VK_TAB, VK_F1});
    ASSERT_EQ(script().help.size(), 1u);
    const HELPINFO& help = script().help[0];
    EXPECT_EQ(help.cbSize, sizeof(HELPINFO));
    EXPECT_EQ(help.iContextType, HELPINFO_WINDOW);
    EXPECT_EQ(help.iCtrlId, kDouble);
    EXPECT_EQ(help.hItemHandle, GetDlgItem(dialog_, kDouble));
}

TEST_F(ModelessTest, TheDefaultIdAndClosing) {
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(SendMessageA(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    SendMessageA(dialog_, DM_SETDEFID, kApply, 0);
    EXPECT_EQ(LOWORD(SendMessageA(dialog_, DM_GETDEFID, 0, 0)), kApply);
    EXPECT_TRUE(SendDlgItemMessageA(dialog_, kApply, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(SendDlgItemMessageA(dialog_, IDOK, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
    keys({VK_RETURN});
    EXPECT_EQ(script().commands, std::vector<WORD>{kApply});
    // Closing is cancelling.
    SendMessageA(dialog_, WM_CLOSE, 0, 0);
    h.pump();
    EXPECT_EQ(script().commands, (std::vector<WORD>{kApply, IDCANCEL}));
}

TEST_F(ModelessTest, NumbersInTexts) {
    ASSERT_NE(open(), nullptr);
    const struct {
        const char* text;
        BOOL isSigned;
        BOOL translated;
        UINT value;
    } cases[] = {
        {"12", FALSE, TRUE, 12},
        {"  7", FALSE, TRUE, 7},
        {"-5", TRUE, TRUE, static_cast<UINT>(-5)},
        {"-5", FALSE, FALSE, 0},
        {"12a", FALSE, FALSE, 0},
        {"", FALSE, FALSE, 0},
        {"-", TRUE, FALSE, 0},
        {"4294967295", FALSE, TRUE, 4294967295u},
        {"4294967296", FALSE, FALSE, 0},
        {"2147483647", TRUE, TRUE, 2147483647u},
        {"2147483648", TRUE, FALSE, 0},
        {"-2147483648", TRUE, TRUE, 0x80000000u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SetDlgItemTextA(dialog_, kName, c.text);
        BOOL translated = 2;
        EXPECT_EQ(GetDlgItemInt(dialog_, kName, &translated, c.isSigned), c.value);
        EXPECT_EQ(translated, c.translated);
    }
    SetDlgItemInt(dialog_, kName, static_cast<UINT>(-42), TRUE);
    EXPECT_EQ(control_test::detail::windowTextOf(GetDlgItem(dialog_, kName)), "-42");
    SetDlgItemInt(dialog_, kName, static_cast<UINT>(-42), FALSE);
    EXPECT_EQ(control_test::detail::windowTextOf(GetDlgItem(dialog_, kName)), "4294967254");
}

TEST_F(ModelessTest, ItemsByIdAndTheirChecks) {
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog_, kThird)), kThird);
    SetLastError(0);
    EXPECT_EQ(GetDlgItem(dialog_, 999), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
    EXPECT_FALSE(CheckRadioButton(dialog_, kFirst, kThird, 999));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kFirst), 0u) << "an id outside the range unchecks them all";
    EXPECT_TRUE(CheckRadioButton(dialog_, kFirst, kThird, kSecond));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kFirst), 0u);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kSecond), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(CheckDlgButton(dialog_, kDouble, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kDouble), static_cast<UINT>(BST_CHECKED));
    // Tab order passes over disabled and hidden controls; a group wraps within itself.
    EnableWindow(GetDlgItem(dialog_, kDouble), FALSE);
    EXPECT_EQ(GetNextDlgTabItem(dialog_, GetDlgItem(dialog_, kName), FALSE), GetDlgItem(dialog_, kSecond));
    ShowWindow(GetDlgItem(dialog_, kApply), SW_HIDE);
    EXPECT_EQ(GetNextDlgTabItem(dialog_, GetDlgItem(dialog_, kName), TRUE), GetDlgItem(dialog_, IDCANCEL));
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, GetDlgItem(dialog_, kThird), FALSE), GetDlgItem(dialog_, kFirst));
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, GetDlgItem(dialog_, kFirst), TRUE), GetDlgItem(dialog_, kThird));
    // A part of a control (the combo box's edit) moves as its control.
    const HWND comboEdit = GetWindow(GetDlgItem(dialog_, kCity), GW_CHILD);
    ASSERT_NE(comboEdit, nullptr);
    EXPECT_EQ(GetNextDlgTabItem(dialog_, comboEdit, FALSE), GetDlgItem(dialog_, kOffset));
    EXPECT_EQ(GetNextDlgTabItem(dialog_, comboEdit, TRUE), GetDlgItem(dialog_, kColour));
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, comboEdit, FALSE), GetDlgItem(dialog_, kCityLabel));
}

}  // namespace

namespace {

using winplat::dialogs::TemplateBox;

// A 2 x 2 packed DIB at 24 bits: the bottom row red, the top row blue.
std::vector<uint8_t> twoByTwo() {
    std::vector<uint8_t> dib(40, 0);
    dib[0] = 40;      // biSize
    dib[4] = 2;       // biWidth
    dib[8] = 2;       // biHeight: bottom row first
    dib[12] = 1;      // biPlanes
    dib[14] = 24;     // biBitCount
    const uint8_t rows[2][8] = {{0, 0, 255, 0, 0, 255, 0, 0}, {255, 0, 0, 255, 0, 0, 0, 0}};
    for (const auto& row : rows) dib.insert(dib.end(), std::begin(row), std::end(row));
    return dib;
}

TEST_F(DialogTest, AStaticShowsTheBitmapItsTemplateNamesByNumber) {
    const std::vector<uint8_t> dib = twoByTwo();
    const winplat::BinaryResource picture{2, 8000, nullptr, dib.data(), static_cast<uint32_t>(dib.size())};
    const winplat::ModuleResources pictures{"pictures.dll", false, nullptr, 0, &picture, 1};
    const HINSTANCE module = winplat::registerModule(pictures, &pictures);
    winplat::dialogs::TemplateBytes t(WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, TemplateBox{0, 0, 100, 50}, "Obr\xE1zky", 8,
                                      "MS Sans Serif");
    t.addItem(SS_BITMAP | WS_VISIBLE, 0, TemplateBox{4, 4, 20, 20}, 10, "STATIC", WORD{8000});
    t.addItem(SS_BITMAP | WS_VISIBLE, 0, TemplateBox{30, 4, 20, 20}, 11, "STATIC", WORD{8001});
    winplat::testing::DebugCapture debug;
    const HWND dialog = CreateDialogIndirectParamA(module, t.get(), owner_, dialogProcedure, 0);
    ASSERT_NE(dialog, nullptr);
    h.pump();
    const HWND shown = GetDlgItem(dialog, 10);
    RECT size{};
    GetClientRect(shown, &size);
    EXPECT_EQ(size.right, 2);
    EXPECT_EQ(size.bottom, 2);
    const winplat::test::Image image = h.windowImage(shown, true);
    EXPECT_EQ(image.at(1, 0), 0x0000FFu);
    EXPECT_EQ(image.at(0, 1), 0xFF0000u);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 11, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_TRUE(debug.contains("no picture 8001"));
    DestroyWindow(dialog);
    winplat::unregisterModule(module);
}

}  // namespace
