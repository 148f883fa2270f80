#include <string>

#include "input_fixture.h"

namespace window_test {
namespace {

using winplat::testing::keyDown;
using winplat::testing::keyUp;

using KeyboardInputTest = InputTest;

bool isKeyMessage(UINT m) { return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP; }

struct KeyStep {
    UINT key;
    bool down;
};

struct KeySequenceCase {
    const char* name;
    std::vector<KeyStep> steps;
    std::vector<std::string> expected;  // "message key"
};

TEST_F(KeyboardInputTest, AltCombinationsAndF10AreSystemKeys) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetFocus(window);
    const KeySequenceCase cases[] = {
        {"plain letter", {{'A', true}, {'A', false}}, {"WM_KEYDOWN 65", "WM_KEYUP 65"}},
        {"Alt+A",
         {{VK_MENU, true}, {'A', true}, {'A', false}, {VK_MENU, false}},
         {"WM_SYSKEYDOWN 18", "WM_SYSKEYDOWN 65", "WM_SYSKEYUP 65", "WM_SYSKEYUP 18"}},
        {"F10", {{VK_F10, true}, {VK_F10, false}}, {"WM_SYSKEYDOWN 121", "WM_SYSKEYUP 121"}},
        {"Ctrl+Alt+A is typing, not a system key",
         {{VK_CONTROL, true}, {VK_MENU, true}, {'A', true}, {'A', false}, {VK_MENU, false}, {VK_CONTROL, false}},
         {"WM_KEYDOWN 17", "WM_SYSKEYDOWN 18", "WM_KEYDOWN 65", "WM_KEYUP 65", "WM_SYSKEYUP 18", "WM_KEYUP 17"}},
        {"right Alt arrives as VK_MENU", {{VK_RMENU, true}, {VK_RMENU, false}}, {"WM_SYSKEYDOWN 18", "WM_SYSKEYUP 18"}},
    };
    for (const KeySequenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        recorder().clear();
        for (const KeyStep& step : c.steps) step.down ? keyDown(step.key) : keyUp(step.key);
        pump();
        std::vector<std::string> got;
        for (const Received& r : received(window, isKeyMessage)) got.push_back(messageName(r.message) + " " + std::to_string(r.wParam));
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(KeyboardInputTest, LParamCarriesRepeatScanCodeAltAndPreviousState) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetFocus(window);
    const struct {
        const char* name;
        UINT key;
        bool down;
        int repeat;
        DWORD lParam;
    } steps[] = {
        {"A down", 'A', true, 1, 0x001E0001},
        {"A held: auto-repeat, 3 at once", 'A', true, 3, 0x401E0003},
        {"A up", 'A', false, 1, 0xC01E0001},
        {"Alt down", VK_MENU, true, 1, 0x20380001},
        {"Alt+Q", 'Q', true, 1, 0x20100001},
        {"Alt up", VK_MENU, false, 1, 0xC0380001},
        {"left arrow is an extended key", VK_LEFT, true, 1, 0x014B0001},
        {"numeric-pad minus", VK_SUBTRACT, true, 1, 0x004A0001},
        {"F1", VK_F1, true, 1, 0x003B0001},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        recorder().clear();
        step.down ? keyDown(step.key, step.repeat) : keyUp(step.key);
        pump();
        const std::vector<Received> got = received(window, isKeyMessage);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].wParam, step.key);
        EXPECT_EQ(static_cast<DWORD>(got[0].lParam), step.lParam);
    }
}

TEST_F(KeyboardInputTest, VirtualKeysHaveTheWindowsNumbers) {
    EXPECT_EQ(VK_F1, 112);
    EXPECT_EQ(VK_F10, 121);
    EXPECT_EQ(VK_F12, 123);
    EXPECT_EQ(VK_ADD, 107);
    EXPECT_EQ(VK_SUBTRACT, 109);
    EXPECT_EQ(VK_DECIMAL, 110);
    EXPECT_EQ(VK_PRIOR, 33);
    EXPECT_EQ(VK_NEXT, 34);
    EXPECT_EQ(VK_NUMLOCK, 144);
}

TEST_F(KeyboardInputTest, GetKeyStateFollowsTheMessageWhileGetAsyncKeyStateFollowsTheHardware) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetFocus(window);
    struct Seen {
        SHORT shift, asyncShift, letter, asyncLetter;
    };
    std::vector<Seen> seen;
    recorder().handlers[window] = [&seen](HWND, UINT message, WPARAM wParam, LPARAM, bool&) -> LRESULT {
        if (message == WM_KEYDOWN && wParam == 'A') {
            seen.push_back({GetKeyState(VK_SHIFT), GetAsyncKeyState(VK_SHIFT), GetKeyState('A'), GetAsyncKeyState('A')});
        }
        return 0;
    };
    keyDown(VK_SHIFT);
    keyDown('A');
    keyUp('A');
    keyUp(VK_SHIFT);  // all queued before the loop takes any of it
    pump();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_LT(seen[0].shift, 0) << "Shift was down when the key went down";
    EXPECT_GE(seen[0].asyncShift, 0) << "the hardware has let Shift go since";
    EXPECT_LT(seen[0].letter, 0);
    EXPECT_EQ(seen[0].asyncLetter & 0x8000, 0);
    EXPECT_EQ(seen[0].asyncLetter & 1, 1) << "pressed since the last asking";
    EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "taken all, the program's state is up again";
    EXPECT_EQ(GetAsyncKeyState('A'), 0) << "the pressed-since bit goes once read";
    BYTE keys[256]{};
    keyDown(VK_CONTROL);
    pump();
    ASSERT_TRUE(GetKeyboardState(keys));
    EXPECT_EQ(keys[VK_CONTROL] & 0x80, 0x80);
    EXPECT_EQ(keys[VK_LCONTROL] & 0x80, 0x80) << "the left key of the pair with it";
    keys[VK_CONTROL] = 0;
    keys[static_cast<unsigned>('Z')] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    EXPECT_LT(GetKeyState('Z'), 0);
    EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0) << "setting the program's state leaves the hardware's";
}

TEST_F(KeyboardInputTest, TranslateMessageTypesWithShiftAndCapsLockAsOfTheKey) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetFocus(window);
    const auto typed = [&] {
        std::string text;
        for (const Received& r : received(window, [](UINT m) { return m == WM_CHAR; })) text += static_cast<char>(r.wParam);
        return text;
    };
    keyDown('A');
    keyUp('A');
    keyDown(VK_CAPITAL);
    keyUp(VK_CAPITAL);
    keyDown('B');
    keyUp('B');
    keyDown(VK_SHIFT);
    keyDown('C');
    keyUp('C');
    keyUp(VK_SHIFT);
    keyDown(VK_CAPITAL);
    keyUp(VK_CAPITAL);
    keyDown('D');
    keyUp('D');
    pump();
    EXPECT_EQ(typed(), "aBcd");
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0) << "pressed twice, Caps Lock is off";
}

TEST_F(KeyboardInputTest, WithoutFocusKeysGoToTheActiveWindowAsSystemKeys) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    ASSERT_EQ(GetActiveWindow(), window);
    SetFocus(nullptr);
    recorder().clear();
    keyDown('A');
    keyUp('A');
    pump();
    std::vector<UINT> got;
    for (const Received& r : received(window, isKeyMessage)) got.push_back(r.message);
    EXPECT_EQ(got, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYUP}));
    SetActiveWindow(nullptr);
    recorder().clear();
    keyDown('A');
    pump();
    EXPECT_TRUE(received(nullptr, isKeyMessage).empty()) << "with nothing active the key goes nowhere";
    EXPECT_LT(GetKeyState('A'), 0) << "but the state still follows it";
}

TEST_F(KeyboardInputTest, KeysGoToTheFocusWindowNotItsParent) {
    HWND top = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
    SetFocus(child);
    recorder().clear();
    keyDown(VK_NEXT);
    pump();
    EXPECT_EQ(received(child, isKeyMessage).size(), 1u);
    EXPECT_TRUE(received(top, isKeyMessage).empty());
}

}  // namespace
}  // namespace window_test
