// Modal dialogs from a module's template, answered in the headless host: the values typed,
// checked, stepped, slid, picked and scrolled come back, the owner waits disabled, the keyboard moves as the dialog manager says.
#include <algorithm>

#include "dialog_fixture.h"
#include "winplat/testing.h"

namespace {

using namespace dialog_test;
using winplat::host::ModalKind;
using winplat::host::ModalLoop;

// The middle of a control in screen coordinates, nudged by dy (the up-down's upper arrow).
POINT middleOf(HWND control, int dy = 0) {
    RECT r{};
    GetWindowRect(control, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2 + dy};
}

TEST_F(DialogTest, AnAnswerTypesChecksAndPressesOk) {
    // The edit's old text is selected as the focus comes to it, so typing replaces it; Tab from
    // the radio group reaches the list, where Down moves the selection. Each further control
    // is reached with Tab and worked with the keys (and the up-down with a click) a person uses.
    auto answer = h.expectDialog("ZKOUSKA");
    answer.type(kName, "Nov\xE1k").check(kDouble).check(kThird).key(VK_TAB).key(VK_DOWN);
    // The count: Up in the buddy steps, then a click on the upper arrow; 3 becomes 5.
    answer.key(VK_TAB).key(VK_UP).call([this](HWND dialog) {
        const POINT upper = middleOf(GetDlgItem(dialog, kCountSpin), -3);
        h.click(upper.x, upper.y);
    });
    // The trackbar: Right by one, Page Down by its page (a fifth of 0..10); 5 becomes 8.
    answer.key(VK_TAB).key(VK_RIGHT).key(VK_NEXT);
    // The drop-down list opened with F4, the next item taken with Enter (which ends no dialog).
    answer.key(VK_TAB).key(VK_F4).key(VK_DOWN).key(VK_RETURN);
    // The drop-down combo opened with Alt+Down at the item its edit names, the next one taken.
    answer.key(VK_TAB).key(VK_DOWN, winplat::test::kAlt).key(VK_DOWN).key(VK_RETURN);
    // The scroll bar: a line and a page to the right.
    answer.key(VK_TAB).key(VK_RIGHT).key(VK_NEXT);
    answer.press(IDOK);
    EXPECT_EQ(DialogBoxParamA(module_, "zkouska", owner_, dialogProcedure, 0), IDOK);
    EXPECT_EQ(script().commands, (std::vector<WORD>{kDouble, kThird, IDOK})) << "no Enter in a list pressed a button";
    EXPECT_EQ(script().name, "Nov\xE1k");
    EXPECT_EQ(script().listed, "dva");
    EXPECT_EQ(script().doubled, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(script().radio, kThird);
    EXPECT_EQ(script().count, 5);
    EXPECT_EQ(script().countText, "5");
    EXPECT_EQ(script().level, 8);
    EXPECT_EQ(script().colour, "zelen\xE1");
    EXPECT_EQ(script().city, "Brno");
    EXPECT_EQ(script().offset, 11);
    EXPECT_EQ(h.answersQueued(), 0u);
}

TEST_F(DialogTest, TheOwnerIsDisabledWhileTheDialogRunsAndActiveAfter) {
    bool ownerEnabled = true;
    HWND dialogOwner = nullptr;
    h.expectDialog("#7").call([&](HWND dialog) {
        ownerEnabled = IsWindowEnabled(owner_) != FALSE;
        dialogOwner = GetWindow(dialog, GW_OWNER);
        EndDialog(dialog, 42);
    });
    winplat::dialogs::TemplateBytes t = makeTemplate();
    const std::vector<uint8_t> bytes = t.bytes();
    // A number names the template in the host's eyes: the module has it under its name only, so
    // this goes through the in-memory form with the name given by the test.
    winplat::BinaryResource numbered{5, 7, nullptr, bytes.data(), static_cast<uint32_t>(bytes.size())};
    const winplat::ModuleResources other{"numbered.dll", false, nullptr, 0, &numbered, 1};
    const HINSTANCE module = winplat::registerModule(other, &other);
    EXPECT_EQ(DialogBoxParamA(module, MAKEINTRESOURCEA(7), owner_, dialogProcedure, 0), 42);
    winplat::unregisterModule(module);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(dialogOwner, owner_);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(GetActiveWindow(), owner_);
}

// An answer that ends the dialog with EndDialog and leaves no message behind (no focus, no caret
// timer, nothing to paint): the loop sees the end as soon as the answer is given, with nothing
// left to wait for.
TEST_F(DialogTest, AnAnswerEndingTheDialogWithNothingQueuedEndsTheLoopWithItsResult) {
    winplat::dialogs::TemplateBytes t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, winplat::dialogs::TemplateBox{0, 0, 100, 40}, "Ticho");
    t.addItem(SS_LEFT | WS_VISIBLE, 0, winplat::dialogs::TemplateBox{4, 4, 60, 10}, 100, "STATIC", "nic");
    h.expectDialog("Ticho").call([](HWND dialog) {
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        EndDialog(dialog, 42);
    });
    EXPECT_EQ(DialogBoxIndirectParamA(module_, t.get(), owner_, nullptr, 0), 42);
    EXPECT_EQ(h.answersQueued(), 0u);
}

TEST_F(DialogTest, AMissingTemplateOrClassFailsWithMinusOne) {
    winplat::testing::DebugCapture debug;
    EXPECT_EQ(DialogBoxParamA(module_, "NENI", owner_, dialogProcedure, 0), -1);
    EXPECT_TRUE(debug.contains("NENI"));
    const winplat::dialogs::TemplateBytes broken = makeTemplate(0, {"NEZNAMA"});
    EXPECT_EQ(DialogBoxIndirectParamA(module_, broken.get(), owner_, dialogProcedure, 0), -1);
    EXPECT_TRUE(debug.contains("NEZNAMA"));
    EXPECT_TRUE(IsWindowEnabled(owner_));
    // DS_NOFAILCREATE goes on without the control.
    const winplat::dialogs::TemplateBytes tolerant = makeTemplate(DS_NOFAILCREATE, {"NEZNAMA"});
    h.answer(ModalKind::Dialog, "Zkou\x9ak" "a", [](const ModalLoop& loop) -> std::optional<INT_PTR> {
        EXPECT_EQ(GetDlgItem(loop.window, 200), nullptr);
        EXPECT_NE(GetDlgItem(loop.window, IDOK), nullptr);
        return IDCANCEL;
    });
    EXPECT_EQ(DialogBoxIndirectParamA(module_, tolerant.get(), owner_, dialogProcedure, 0), IDCANCEL);
}

// Where the focus is, and which push button is the default, after keys from the start.
struct Position {
    int focus;
    int defaultButton;
    bool operator==(const Position&) const = default;
};

void PrintTo(const Position& p, std::ostream* out) { *out << "focus " << p.focus << " default " << p.defaultButton; }

int defaultButtonOf(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return GetDlgCtrlID(child);
    }
    return 0;
}

// The dialog's control that has the focus, itself or through a part (a combo box's edit).
int focusedControl(HWND dialog) {
    HWND focus = GetFocus();
    while (focus && GetParent(focus) != dialog) focus = GetParent(focus);
    return focus ? GetDlgCtrlID(focus) : 0;
}

using Keys = std::vector<std::pair<UINT, unsigned>>;

Keys tabs(int count, Keys after = {}) {
    Keys keys(static_cast<size_t>(count), {VK_TAB, 0});
    keys.insert(keys.end(), after.begin(), after.end());
    return keys;
}

TEST_F(DialogTest, KeyboardNavigationAndTheDefaultButton) {
    using winplat::test::kAlt;
    using winplat::test::kShift;
    const struct {
        const char* name;
        Keys keys;
        Position expected;
    } cases[] = {
        {"the first tab stop has the focus", {}, {kName, IDOK}},
        {"Tab goes to the check box", tabs(1), {kDouble, IDOK}},
        {"Tab enters the radio group at its checked button", tabs(2), {kFirst, IDOK}},
        {"Tab leaves the group for the list", tabs(3), {kList, IDOK}},
        {"the list keeps the arrows", tabs(3, {{VK_DOWN, 0}}), {kList, IDOK}},
        {"Tab reaches the up-down's buddy, not the up-down", tabs(4), {kCount, IDOK}},
        {"the buddy keeps the arrows", tabs(4, {{VK_UP, 0}}), {kCount, IDOK}},
        {"then the trackbar, which keeps the arrows", tabs(5, {{VK_LEFT, 0}, {VK_DOWN, 0}}), {kLevel, IDOK}},
        {"then the drop-down list", tabs(6, {{VK_DOWN, 0}}), {kColour, IDOK}},
        {"then the drop-down combo, through its edit", tabs(7, {{VK_DOWN, 0}}), {kCity, IDOK}},
        {"then the scroll bar inside its group box", tabs(8, {{VK_RIGHT, 0}}), {kOffset, IDOK}},
        {"a focused push button is the default", tabs(10), {IDCANCEL, IDCANCEL}},
        {"Tab wraps round to the start", tabs(12), {kName, IDOK}},
        {"Shift+Tab goes back and wraps", {{VK_TAB, kShift}}, {kApply, kApply}},
        {"Shift+Tab comes back over the buttons to the scroll bar", tabs(0, {{VK_TAB, kShift}, {VK_TAB, kShift},
                                                                            {VK_TAB, kShift}, {VK_TAB, kShift}}),
         {kOffset, IDOK}},
        {"Down moves in the radio group and checks", tabs(2, {{VK_DOWN, 0}}), {kSecond, IDOK}},
        {"Up wraps in the group", tabs(2, {{VK_UP, 0}}), {kThird, IDOK}},
        {"Right moves among the push buttons", {{VK_TAB, kShift}, {VK_RIGHT, 0}}, {IDOK, IDOK}},
        {"Alt+mnemonic reaches a check box", {{'D', kAlt}}, {kDouble, IDOK}},
        {"a label's mnemonic focuses the control after it", {{'S', kAlt}}, {kList, IDOK}},
        {"a label's mnemonic reaches the buddy", {{'K', kAlt}}, {kCount, IDOK}},
        {"a label's mnemonic reaches the trackbar", {{'R', kAlt}}, {kLevel, IDOK}},
        {"a label's mnemonic reaches the drop-down list", {{'B', kAlt}}, {kColour, IDOK}},
        {"a label's mnemonic reaches the drop-down combo", {{'M', kAlt}}, {kCity, IDOK}},
        {"a plain mnemonic works where the focus takes no characters", tabs(1, {{'P', 0}}), {kFirst, IDOK}},
        {"the trackbar takes no characters either", tabs(5, {{'B', 0}}), {kColour, IDOK}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Position seen{};
        auto answer = h.expectDialog("ZKOUSKA");
        for (const auto& [key, modifiers] : c.keys) answer.key(key, modifiers);
        answer.call([&seen](HWND dialog) {
            seen = Position{focusedControl(dialog), defaultButtonOf(dialog)};
            EndDialog(dialog, IDCANCEL);
        });
        EXPECT_EQ(DialogBoxParamA(module_, "ZKOUSKA", owner_, dialogProcedure, 0), IDCANCEL);
        EXPECT_EQ(seen, c.expected);
    }
}

TEST_F(DialogTest, EnterEscapeAndMnemonicsSendTheButtonsCommands) {
    const struct {
        const char* name;
        std::vector<std::pair<UINT, unsigned>> keys;
        std::vector<WORD> commands;
        INT_PTR result;
    } cases[] = {
        {"Enter in the field presses the default button", {{VK_RETURN, 0}}, {IDOK}, IDOK},
        {"Enter on a focused push button presses it", {{VK_TAB, winplat::test::kShift}, {VK_RETURN, 0}},
         {kApply}, IDCANCEL},
        {"Esc cancels", {{VK_ESCAPE, 0}}, {IDCANCEL}, IDCANCEL},
        {"Alt+mnemonic looks from the focus on and presses the push button it finds",
         {{VK_TAB, winplat::test::kShift}, {VK_TAB, winplat::test::kShift}, {'P', winplat::test::kAlt}},
         {kApply}, IDCANCEL},
        {"a plain letter goes to the field that takes characters", {{'P', 0}, {VK_ESCAPE, 0}}, {IDCANCEL}, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        script() = Script{};
        auto answer = h.expectDialog("ZKOUSKA");
        for (const auto& [key, modifiers] : c.keys) answer.key(key, modifiers);
        // What the keys left open is cancelled.
        answer.call([](HWND dialog) {
            const std::vector<WORD>& seen = script().commands;
            const bool ended = std::find(seen.begin(), seen.end(), IDOK) != seen.end() ||
                               std::find(seen.begin(), seen.end(), IDCANCEL) != seen.end();
            if (!ended) EndDialog(dialog, IDCANCEL);
        });
        EXPECT_EQ(DialogBoxParamA(module_, "ZKOUSKA", owner_, dialogProcedure, 0), c.result);
        std::vector<WORD> commands = script().commands;
        if (commands.size() > c.commands.size()) commands.resize(c.commands.size());
        EXPECT_EQ(commands, c.commands);
    }
}

TEST_F(DialogTest, ADisabledDefaultButtonIsNotPressedByEnter) {
    script().extra = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        return 0;
    };
    h.expectDialog("ZKOUSKA").key(VK_RETURN).press(IDCANCEL);
    EXPECT_EQ(DialogBoxParamA(module_, "ZKOUSKA", owner_, dialogProcedure, 0), IDCANCEL);
    EXPECT_EQ(script().commands, std::vector<WORD>{IDCANCEL});
    EXPECT_EQ(h.beeps(), 1u);
}

TEST_F(DialogTest, TheLook) {
    h.expectDialog("ZKOUSKA").type(kName, "abc").check(kDouble).call([this](HWND dialog) {
        h.expectImage(h.windowImage(dialog, false), "dialog");
        EndDialog(dialog, IDCANCEL);
    });
    EXPECT_EQ(DialogBoxParamA(module_, "ZKOUSKA", owner_, dialogProcedure, 0), IDCANCEL);
}

}  // namespace
