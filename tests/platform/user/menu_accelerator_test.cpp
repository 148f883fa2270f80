#include <string>
#include <vector>

#include "input_fixture.h"
#include "winplat/owners.h"

namespace window_test {
namespace {

using winplat::OwnedAccelerators;
using winplat::OwnedMenu;
using winplat::testing::keyDown;
using winplat::testing::keyUp;

class AcceleratorTest : public InputTest {
protected:
    // Takes every ready message; those the table turns into commands are not dispatched.
    static void pumpThrough(HWND window, HACCEL table) {
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorA(window, table, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    // The keys held in order, the last one pressed, all released in reverse.
    static void chord(const std::vector<UINT>& keys) {
        for (UINT key : keys) keyDown(key);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) keyUp(*key);
    }

    struct ChordCase {
        const char* name;
        std::vector<UINT> keys;
        std::vector<std::string> expected;  // what commands() gives after the chord
    };

    // Plays each chord through the table and checks the commands the window got.
    template <size_t N>
    static void expectCommands(HWND window, HACCEL table, const ChordCase (&cases)[N]) {
        for (const ChordCase& c : cases) {
            SCOPED_TRACE(c.name);
            recorder().clear();
            chord(c.keys);
            pumpThrough(window, table);
            EXPECT_EQ(commands(window), c.expected);
        }
    }

    // "WM_COMMAND id/high" for each command message the window got.
    static std::vector<std::string> commands(HWND window) {
        std::vector<std::string> out;
        for (const Received& r : received(window, [](UINT m) { return m == WM_COMMAND || m == WM_SYSCOMMAND; })) {
            out.push_back(std::string(r.message == WM_COMMAND ? "WM_COMMAND " : "WM_SYSCOMMAND ") +
                          std::to_string(LOWORD(r.wParam)) + "/" + std::to_string(HIWORD(r.wParam)));
        }
        return out;
    }
};

ACCEL kTable[] = {
    {FVIRTKEY | FCONTROL, 'O', 1002},
    {FVIRTKEY, VK_F2, 1017},
    {FVIRTKEY | FALT, VK_LEFT, 1037},
    {FVIRTKEY | FCONTROL | FSHIFT, 'S', 1005},
    {0, '+', 1020},
};

TEST_F(AcceleratorTest, KeyChordsSendTheirCommandWithHighWordOne) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    SetFocus(window);
    OwnedAccelerators table(CreateAcceleratorTableA(kTable, static_cast<int>(std::size(kTable))));
    ASSERT_TRUE(table);
    const ChordCase cases[] = {
        {"Ctrl+O", {VK_CONTROL, 'O'}, {"WM_COMMAND 1002/1"}},
        {"O alone", {'O'}, {}},
        {"Ctrl+Shift+O has one modifier too many", {VK_CONTROL, VK_SHIFT, 'O'}, {}},
        {"F2", {VK_F2}, {"WM_COMMAND 1017/1"}},
        {"Alt+Left", {VK_MENU, VK_LEFT}, {"WM_COMMAND 1037/1"}},
        {"Left without Alt", {VK_LEFT}, {}},
        {"Ctrl+Shift+S", {VK_CONTROL, VK_SHIFT, 'S'}, {"WM_COMMAND 1005/1"}},
        {"Ctrl+S lacks Shift", {VK_CONTROL, 'S'}, {}},
        {"the character +", {VK_SHIFT, VK_OEM_PLUS}, {"WM_COMMAND 1020/1"}},
        {"the key = types no +", {VK_OEM_PLUS}, {}},
    };
    expectCommands(window, table.get(), cases);
}

// The same keys from the table the resource compiler wrote into this program.
TEST_F(AcceleratorTest, TableFromTheModuleSendsItsCommands) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    SetFocus(window);
    OwnedAccelerators table(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(1)));
    ASSERT_TRUE(table);
    const ChordCase cases[] = {
        {"Ctrl+O", {VK_CONTROL, 'O'}, {"WM_COMMAND 1002/1"}},
        {"F2", {VK_F2}, {"WM_COMMAND 1017/1"}},
        {"Alt+Left", {VK_MENU, VK_LEFT}, {"WM_COMMAND 1037/1"}},
        {"Ctrl+Shift+S", {VK_CONTROL, VK_SHIFT, 'S'}, {"WM_COMMAND 1005/1"}},
        {"Ctrl+S lacks Shift", {VK_CONTROL, 'S'}, {}},
        {"the character +", {VK_SHIFT, VK_OEM_PLUS}, {"WM_COMMAND 1020/1"}},
        {"End", {VK_END}, {"WM_COMMAND 1040/1"}},
        {"A by its number", {'A'}, {"WM_COMMAND 1042/1"}},
    };
    expectCommands(window, table.get(), cases);
}

TEST_F(AcceleratorTest, AMenuCommandIsAnnouncedAndADisabledItemDoesNotFire) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    SetFocus(window);
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1017, "&Hledat\tF2");
    AppendMenuA(file, MF_STRING | MF_GRAYED, 1002, "&Otev\xF8\xEDt...\tCtrl+O");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Soubor");
    ASSERT_TRUE(SetMenu(window, bar));
    OwnedAccelerators table(CreateAcceleratorTableA(kTable, static_cast<int>(std::size(kTable))));

    recorder().clear();
    chord({VK_CONTROL, 'O'});
    pumpThrough(window, table.get());
    EXPECT_TRUE(commands(window).empty()) << "a grey item swallows its key";
    const auto announced = received(window, [](UINT m) { return m == WM_INITMENU || m == WM_INITMENUPOPUP; });
    ASSERT_EQ(announced.size(), 2u);
    EXPECT_EQ(announced[0].message, static_cast<UINT>(WM_INITMENU));
    EXPECT_EQ(announced[0].wParam, reinterpret_cast<WPARAM>(bar));
    EXPECT_EQ(announced[1].wParam, reinterpret_cast<WPARAM>(file));
    EXPECT_EQ(announced[1].lParam, MAKELONG(0, 0));

    // The program enables the item when its drop-down is announced: the command goes through.
    recorder().handlers[window] = [file](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        if (message == WM_INITMENUPOPUP) EnableMenuItem(file, 1002, MF_BYCOMMAND | MF_ENABLED);
        handled = message == WM_INITMENUPOPUP;
        return 0;
    };
    recorder().clear();
    chord({VK_CONTROL, 'O'});
    pumpThrough(window, table.get());
    EXPECT_EQ(commands(window), std::vector<std::string>{"WM_COMMAND 1002/1"});
}

TEST_F(AcceleratorTest, ASystemMenuCommandComesAsWmSysCommand) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    SetFocus(window);
    ASSERT_NE(GetSystemMenu(window, FALSE), nullptr);
    recorder().handlers[window] = [](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        handled = message == WM_SYSCOMMAND;  // keep the window open
        return 0;
    };
    ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'Q', SC_CLOSE}, {FVIRTKEY | FCONTROL, 'M', SC_MAXIMIZE}};
    OwnedAccelerators table(CreateAcceleratorTableA(entries, 2));
    recorder().clear();
    chord({VK_CONTROL, 'Q'});
    chord({VK_CONTROL, 'M'});
    pumpThrough(window, table.get());
    EXPECT_EQ(commands(window),
              (std::vector<std::string>{"WM_SYSCOMMAND " + std::to_string(SC_CLOSE) + "/1",
                                        "WM_SYSCOMMAND " + std::to_string(SC_MAXIMIZE) + "/1"}));

    ShowWindow(window, SW_MAXIMIZE);
    recorder().clear();
    chord({VK_CONTROL, 'M'});
    pumpThrough(window, table.get());
    EXPECT_TRUE(commands(window).empty()) << "Maximalizovat is grey for a maximised window";
}

TEST_F(AcceleratorTest, AltAloneEntersTheMenuBarButNotAfterAnotherKey) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    SetFocus(window);
    recorder().handlers[window] = [](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        handled = message == WM_SYSCOMMAND;
        return 0;
    };
    const std::string keyMenu = "WM_SYSCOMMAND " + std::to_string(SC_KEYMENU) + "/0";
    const struct {
        const char* name;
        std::vector<UINT> keys;
        std::vector<std::string> expected;
    } cases[] = {
        {"Alt alone", {VK_MENU}, {keyMenu}},
        {"F10", {VK_F10}, {keyMenu}},
        {"Alt with Left", {VK_MENU, VK_LEFT}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder().clear();
        chord(c.keys);
        pump();
        EXPECT_EQ(commands(window), c.expected);
    }
}

TEST_F(AcceleratorTest, TablesCopyBackAndStaleOnesAreRefused) {
    winplat::testing::DebugCapture debug;
    HACCEL table = CreateAcceleratorTableA(kTable, 3);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 3);
    ACCEL copy[4] = {};
    EXPECT_EQ(CopyAcceleratorTableA(table, copy, 2), 2) << "no more than asked for";
    EXPECT_EQ(copy[1].cmd, 1017);
    EXPECT_EQ(copy[2].cmd, 0);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ACCEL_HANDLE));
    MSG message{};
    EXPECT_EQ(TranslateAcceleratorA(nullptr, table, &message), 0);
    EXPECT_TRUE(debug.contains("not a live accelerator table"));
    EXPECT_EQ(CreateAcceleratorTableA(kTable, 0), nullptr);
    EXPECT_TRUE(debug.contains("at least one entry"));
}

}  // namespace
}  // namespace window_test
