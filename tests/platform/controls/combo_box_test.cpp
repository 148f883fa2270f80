// Combo boxes: the list opened and answered by keyboard and mouse, the CB_ messages, the edit of
// the drop-down kind, the simple kind and owner-drawn items.
#include "list_fixture.h"
#include "winplat/testing.h"

namespace list_test {
namespace {

using winplat::test::kAlt;

constexpr int kFieldHeight = kLineHeight + 8;  // the text line in the sunken field

class ComboTest : public ListTest {
protected:
    HWND makeCombo(DWORD style, UINT id = 200) {
        HWND combo = make("COMBOBOX", style, 10, 10, 120, 100, id);
        for (const char* word : {"jedna", "dva", "t\xF8i", "\xE8ty\xF8i"}) {
            send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
        }
        return combo;
    }
    // The drop-down list of a combo box: the one "ComboLBox" window on the desktop.
    HWND droppedList() const { return FindWindowA("ComboLBox", nullptr); }
    // The combo box's child that is not its edit (id 1001): the list of a simple combo box.
    static HWND child(HWND combo, bool edit) {
        for (HWND c = GetWindow(combo, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if ((GetWindowLongA(c, GWL_ID) == 1001) == edit) return c;
        }
        return nullptr;
    }
    static std::string text(HWND window) {
        char buffer[64] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }
    void focus(HWND window) {
        SetFocus(window);
        h.pump();
        parentLog().commands.clear();
    }
};

TEST_F(ComboTest, DropDownListIsAnsweredByTheKeyboard) {
    HWND combo = makeCombo(CBS_DROPDOWNLIST);
    RECT r{};
    GetWindowRect(combo, &r);
    EXPECT_EQ(r.bottom - r.top, kFieldHeight);  // closed, only the field
    focus(combo);
    h.key(VK_F4);
    EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
    HWND list = droppedList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    RECT shown{};
    GetWindowRect(list, &shown);
    EXPECT_EQ(shown.top, 10 + kFieldHeight);      // right below the field
    EXPECT_EQ(shown.bottom - shown.top, 4 * kLineHeight + 2);  // four items fit in the room
    EXPECT_EQ(GetCapture(), list);
    EXPECT_EQ(GetFocus(), combo);                  // the focus stays
    h.key(VK_DOWN);
    h.key(VK_DOWN);
    h.key(VK_RETURN);
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(send(combo, CB_GETCURSEL), 1);
    EXPECT_EQ(text(combo), "dva");
    EXPECT_EQ(codesFrom(combo), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    // Alt+Down opens it again; Esc takes back what the keys chose meanwhile.
    parentLog().commands.clear();
    h.key(VK_DOWN, kAlt);
    EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
    h.key(VK_END);
    EXPECT_EQ(send(combo, CB_GETCURSEL), 3);
    h.key(VK_ESCAPE);
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(send(combo, CB_GETCURSEL), 1);
    EXPECT_EQ(text(combo), "dva");
    EXPECT_EQ(codesFrom(combo), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboTest, ClosedDropDownListMovesWithArrowsAndLetters) {
    HWND combo = makeCombo(CBS_DROPDOWNLIST);
    focus(combo);
    h.key(VK_DOWN);
    EXPECT_EQ(text(combo), "jedna");
    h.key(VK_END);
    EXPECT_EQ(text(combo), "\xE8ty\xF8i");
    h.type(std::string_view("d"));
    EXPECT_EQ(text(combo), "dva");
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(codesFrom(combo), std::vector<WORD>(3, CBN_SELCHANGE));
    // With the extended interface, Down opens the list instead.
    send(combo, CB_SETEXTENDEDUI, TRUE);
    EXPECT_TRUE(send(combo, CB_GETEXTENDEDUI));
    h.key(VK_DOWN);
    EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(send(combo, CB_GETCURSEL), 1);
    h.key(VK_F4);  // F4 closes it, keeping the selection
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
}

TEST_F(ComboTest, AClickOpensTheListAndAClickInItChooses) {
    HWND combo = makeCombo(CBS_DROPDOWNLIST);
    h.click(40, 10 + kFieldHeight / 2);
    EXPECT_EQ(GetFocus(), combo);
    ASSERT_TRUE(send(combo, CB_GETDROPPEDSTATE));
    HWND list = droppedList();
    const POINT third = onScreen(list, 20, 2 * kLineHeight + 4);
    h.mouseMove(third.x, third.y);
    EXPECT_EQ(send(combo, CB_GETCURSEL), 2);  // the item under the pointer is lit
    parentLog().commands.clear();
    h.click(third.x, third.y);
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(text(combo), "t\xF8i");
    EXPECT_EQ(codesFrom(combo), (std::vector<WORD>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    // A press outside the open list closes it and changes nothing.
    h.click(40, 10 + kFieldHeight / 2);
    ASSERT_TRUE(send(combo, CB_GETDROPPEDSTATE));
    const POINT first = onScreen(list, 20, 4);
    h.mouseMove(first.x, first.y);
    parentLog().commands.clear();
    h.click(300, 200);
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(send(combo, CB_GETCURSEL), 2);
    EXPECT_EQ(codesFrom(combo), (std::vector<WORD>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboTest, MessagesMirrorTheListOnes) {
    HWND combo = makeCombo(CBS_DROPDOWNLIST | CBS_SORT);
    EXPECT_EQ(send(combo, CB_GETCOUNT), 4);
    EXPECT_EQ(textAt(combo, 0, CB_GETLBTEXT, CB_GETLBTEXTLEN), "\xE8ty\xF8i");  // čtyři < dva < jedna < tři
    EXPECT_EQ(send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("osm")), 3);
    EXPECT_EQ(send(combo, CB_SETITEMDATA, 3, 8), CB_OKAY);
    EXPECT_EQ(send(combo, CB_GETITEMDATA, 3), 8);
    EXPECT_EQ(send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("OSM")), 3);
    EXPECT_EQ(send(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("t")), 4);
    EXPECT_EQ(send(combo, CB_SETCURSEL, 3), 3);
    EXPECT_EQ(text(combo), "osm");
    EXPECT_EQ(send(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("dv")), 1);
    EXPECT_EQ(text(combo), "dva");
    EXPECT_EQ(send(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("jedna")), TRUE);
    EXPECT_EQ(send(combo, CB_GETCURSEL), 2);
    EXPECT_EQ(send(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("nic")), CB_ERR);
    EXPECT_EQ(send(combo, CB_DELETESTRING, 0), 4);
    EXPECT_EQ(send(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), kLineHeight);
    EXPECT_EQ(send(combo, CB_GETITEMHEIGHT, 0), kLineHeight);
    EXPECT_EQ(send(combo, CB_LIMITTEXT, 5), CB_ERR);  // no edit to limit
    EXPECT_EQ(send(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, 2)), CB_ERR);
    RECT dropped{};
    EXPECT_EQ(send(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)), TRUE);
    EXPECT_EQ(dropped.left, 10);
    EXPECT_EQ(dropped.top, 10);
    EXPECT_EQ(dropped.right, 130);
    send(combo, CB_RESETCONTENT);
    EXPECT_EQ(send(combo, CB_GETCOUNT), 0);
    EXPECT_EQ(send(combo, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(text(combo), "");
    EXPECT_TRUE(codesFrom(combo).empty());  // nothing here was the user's doing
}

TEST_F(ComboTest, DropDownWithAnEditTypesAndChooses) {
    HWND combo = makeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    HWND edit = child(combo, true);
    ASSERT_NE(edit, nullptr);
    send(combo, CB_SETCURSEL, 1);
    EXPECT_EQ(text(edit), "dva");
    focus(combo);
    EXPECT_EQ(GetFocus(), edit);
    send(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    h.type(std::string_view("hledat"));
    EXPECT_EQ(text(combo), "hledat");
    const std::vector<WORD> codes = codesFrom(combo);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), CBN_EDITUPDATE);
    EXPECT_EQ(codes.back(), CBN_EDITCHANGE);
    EXPECT_EQ(send(combo, CB_LIMITTEXT, 3), TRUE);
    send(combo, CB_SETEDITSEL, 0, MAKELPARAM(6, 6));
    h.type(std::string_view("x"));
    EXPECT_EQ(text(combo), "hledat");  // the limit holds
    DWORD start = 0;
    DWORD end = 0;
    send(combo, CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
    send(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    // F4 in the edit opens the list; Down picks an item into the edit; Enter closes.
    parentLog().commands.clear();
    h.key(VK_F4);
    EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
    h.key(VK_DOWN);
    EXPECT_EQ(text(edit), "t\xF8i");
    h.key(VK_RETURN);
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(text(combo), "t\xF8i");
    EXPECT_EQ(codesFrom(combo), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    // A click in the field leaves the list closed; one on the button opens it.
    h.click(30, 10 + kFieldHeight / 2);
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
    h.click(10 + 120 - 6, 10 + kFieldHeight / 2);
    EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
}

TEST_F(ComboTest, TheOpenListFollowsWhatIsTypedInTheEdit) {
    HWND combo = makeCombo(CBS_DROPDOWN);
    focus(combo);
    h.key(VK_DOWN, kAlt);
    ASSERT_TRUE(send(combo, CB_GETDROPPEDSTATE));
    h.type(std::string_view("\xC8t"));  // Čt
    EXPECT_EQ(send(combo, CB_GETCURSEL), 3);  // čtyři
    EXPECT_EQ(text(combo), "\xC8t");          // the typed text stays as typed
    h.key(VK_ESCAPE);
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(send(combo, CB_GETCURSEL), CB_ERR);  // nothing was chosen
    EXPECT_EQ(text(combo), "\xC8t");                // nor is the typing lost
}

TEST_F(ComboTest, TheListOpensAtTheItemTheEditNames) {
    // A template's WS_VSCROLL is the list's: the box itself gets no scroll bar beside its button.
    HWND combo = makeCombo(CBS_DROPDOWN | WS_VSCROLL);
    EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & WS_VSCROLL, 0);
    RECT window{};
    RECT client{};
    GetWindowRect(combo, &window);
    GetClientRect(combo, &client);
    EXPECT_EQ(client.right, window.right - window.left);
    SetWindowTextA(combo, "T\xF8");  // the start of "tři", in other letters
    focus(combo);
    h.key(VK_DOWN, kAlt);
    ASSERT_TRUE(send(combo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(send(combo, CB_GETCURSEL), 2);
    EXPECT_EQ(text(combo), "T\xF8") << "opening changes no text";
    h.key(VK_DOWN);
    h.key(VK_RETURN);
    EXPECT_EQ(text(combo), "\xE8ty\xF8i");
}

TEST_F(ComboTest, SimpleComboBoxShowsItsListAlways) {
    HWND combo = makeCombo(CBS_SIMPLE);
    RECT r{};
    GetWindowRect(combo, &r);
    EXPECT_EQ(r.bottom - r.top, 100);
    HWND list = child(combo, false);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    const POINT second = onScreen(list, 20, kLineHeight + 4);
    h.click(second.x, second.y);
    EXPECT_EQ(send(combo, CB_GETCURSEL), 1);
    EXPECT_EQ(text(combo), "dva");
    EXPECT_EQ(codesFrom(combo).back(), CBN_SELCHANGE);
    h.doubleClick(second.x, second.y);
    EXPECT_EQ(codesFrom(combo).back(), CBN_DBLCLK);
    EXPECT_TRUE(send(combo, CB_SHOWDROPDOWN, TRUE));
    EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
}

TEST_F(ComboTest, OwnerDrawnComboBoxMeasuresItsFieldAndItsItems) {
    parentLog().height = [](const MEASUREITEMSTRUCT& m) { return m.itemID == static_cast<UINT>(-1) ? 18u : 16u; };
    HWND combo = make("COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 10, 10, 120, 100, 300);
    ASSERT_EQ(parentLog().measures.size(), 2u);
    EXPECT_EQ(parentLog().measures[0].itemID, static_cast<UINT>(-1));
    EXPECT_EQ(parentLog().measures[0].CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(parentLog().measures[1].itemID, 0u);
    EXPECT_EQ(parentLog().measures[1].CtlID, 300u);
    EXPECT_EQ(send(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), 18);
    EXPECT_EQ(send(combo, CB_GETITEMHEIGHT, 0), 16);
    for (LPARAM value : {5, 6, 7}) send(combo, CB_ADDSTRING, 0, value);
    send(combo, CB_SETCURSEL, 1);
    focus(combo);
    parentLog().draws.clear();
    InvalidateRect(combo, nullptr, TRUE);
    UpdateWindow(combo);
    ASSERT_EQ(parentLog().draws.size(), 1u);
    const DRAWITEMSTRUCT& field = parentLog().draws[0];
    EXPECT_EQ(field.itemID, 1u);
    EXPECT_EQ(field.itemData, 6u);
    EXPECT_EQ(field.hwndItem, combo);
    EXPECT_EQ(field.itemState, static_cast<UINT>(ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS));
    parentLog().draws.clear();
    h.key(VK_F4);
    parentLog().draws.clear();
    InvalidateRect(droppedList(), nullptr, TRUE);
    UpdateWindow(droppedList());
    ASSERT_EQ(parentLog().draws.size(), 3u);
    EXPECT_EQ(parentLog().draws[2].CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(parentLog().draws[2].hwndItem, combo);
    EXPECT_EQ(parentLog().draws[2].itemData, 7u);
    EXPECT_EQ(parentLog().draws[1].itemState & ODS_SELECTED, static_cast<UINT>(ODS_SELECTED));
    h.key(VK_ESCAPE);
}

TEST_F(ComboTest, GoldenOfAClosedAndAnOpenDropDownList) {
    HWND combo = makeCombo(CBS_DROPDOWNLIST);
    send(combo, CB_SETCURSEL, 1);
    focus(combo);
    h.expectImage(h.windowImage(combo, false), "combo_box_closed");
    h.key(VK_F4);
    h.key(VK_DOWN);
    h.expectImage(winplat::test::crop(h.screenshot(), RECT{5, 5, 135, 90}), "combo_box_open");
    h.key(VK_ESCAPE);
}

}  // namespace
}  // namespace list_test
