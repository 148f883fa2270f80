// The up-down control: the position read back from the buddy's text (with the error flag), 16-
// and 32-bit ranges either way round, UDN_DELTAPOS and the scroll messages from the arrows and
// the buddy's keys, the buddy placed beside it, the repeat of a held arrow, and its drawing.
#include <functional>
#include <string>
#include <vector>

#include "controls_fixture.h"
#include "winplat/base.h"
#include "winplat/text.h"

namespace controls_test {
namespace {

using winplat::host::MouseButton;

// How the parent answers UDN_DELTAPOS: the change it sees and what it does with it.
std::function<LRESULT(NMUPDOWN&)> answerDelta;

LRESULT CALLBACK notifiedParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && answerDelta) {
        auto* change = reinterpret_cast<NMUPDOWN*>(lParam);
        if (change->hdr.code == UDN_DELTAPOS) return answerDelta(*change);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A buddy standing in for an edit: it keeps its text as any window does and shows it, and counts
// the key presses that reach it.
int buddyKeys = 0;
LRESULT CALLBACK plainBuddy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) ++buddyKeys;
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(window, &ps);
    char text[64] = {};
    const int length = GetWindowTextA(window, text, sizeof text);
    RECT r{};
    GetClientRect(window, &r);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, length, &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    EndPaint(window, &ps);
    return 0;
}

struct UpDownTest : ::testing::Test {
    Harness h{smallScreen()};
    HWND parent = nullptr;

    void SetUp() override {
        answerDelta = nullptr;
        WNDCLASSA parentClass{};
        parentClass.lpfnWndProc = notifiedParent;
        parentClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        parentClass.lpszClassName = "UpDownParent";
        RegisterClassA(&parentClass);
        WNDCLASSA buddyClass{};
        buddyClass.lpfnWndProc = plainBuddy;
        buddyClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        buddyClass.lpszClassName = "PlainBuddy";
        RegisterClassA(&buddyClass);
        parent = CreateWindowExA(0, "UpDownParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300,
                                 200, nullptr, nullptr, nullptr, nullptr);
        h.logMessages(parent);
    }
    void TearDown() override { answerDelta = nullptr; }

    HWND buddy(const char* text = "", RECT at = {10, 10, 90, 30}) {
        return makeChild(parent, "PlainBuddy", 0, at.left, at.top, at.right - at.left, at.bottom - at.top,
                         200, text);
    }
    // An up-down at (100, 10), 16 x 30: the up arrow above y 25, the down arrow below.
    HWND upDown(DWORD style, RECT at = {100, 10, 116, 40}) {
        return makeChild(parent, UPDOWN_CLASSA, style, at.left, at.top, at.right - at.left,
                         at.bottom - at.top, 300);
    }
    std::string textOf(HWND window) {
        char text[64] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    // What the parent was told, in order: "notify" for each WM_NOTIFY (its block is gone by now,
    // so the answer records what it held), the scroll messages as "V" or "H", code and position.
    std::vector<std::string> told(HWND control) {
        std::vector<std::string> out;
        for (const auto& m : h.messages(parent)) {
            if (m.message == WM_NOTIFY) out.push_back("notify");
            if ((m.message == WM_VSCROLL || m.message == WM_HSCROLL) &&
                reinterpret_cast<HWND>(m.lParam) == control) {
                out.push_back(std::string(m.message == WM_VSCROLL ? "V" : "H") +
                              std::to_string(LOWORD(m.wParam)) + " " +
                              std::to_string(static_cast<short>(HIWORD(m.wParam))));
            }
        }
        return out;
    }
};

TEST_F(UpDownTest, GetPosReadsTheBuddyAndFlagsWhatIsNoNumber) {
    const struct {
        const char* text;
        int pos;  // the low word, or GETPOS32's answer
        bool error;
    } cases[] = {
        {"12", 12, false},
        {"12a", 7, true},
        {"a12", 7, true},
        {"", 7, true},
        {"-", 7, true},
        {" 4\xA0"
         "321 ",
         4321, false},
        {"4 321", 4321, false},
        {"+15", 15, false},
        {"-15", -15, false},
        {"5001", 7, true},  // outside the range
        {"99999999999", 7, true},
    };
    HWND b = buddy();
    HWND control = upDown(0);
    SendMessageA(control, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b), 0);
    SendMessageA(control, UDM_SETRANGE32, static_cast<WPARAM>(-100), 5000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SendMessageA(control, UDM_SETPOS32, 0, 7);
        SetWindowTextA(b, c.text);
        const LRESULT pos = SendMessageA(control, UDM_GETPOS, 0, 0);
        EXPECT_EQ(static_cast<short>(LOWORD(pos)), c.pos);
        EXPECT_EQ(HIWORD(pos) != 0, c.error);
        SendMessageA(control, UDM_SETPOS32, 0, 7);
        SetWindowTextA(b, c.text);
        BOOL error = -1;
        EXPECT_EQ(SendMessageA(control, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), c.pos);
        EXPECT_EQ(error, c.error ? TRUE : FALSE);
    }
    HWND alone = upDown(0, {150, 10, 166, 40});
    EXPECT_NE(HIWORD(SendMessageA(alone, UDM_GETPOS, 0, 0)), 0) << "no buddy, no number";
}

TEST_F(UpDownTest, RangesAreSixteenOrThirtyTwoBitsAndEitherWayRound) {
    HWND control = upDown(0);
    EXPECT_EQ(SendMessageA(control, UDM_GETRANGE, 0, 0), MAKELONG(0, 100))
        << "100 at the bottom, 0 at the top";
    SendMessageA(control, UDM_SETRANGE, 0, MAKELONG(static_cast<WORD>(-5), 300));
    int lower = 0;
    int upper = 0;
    SendMessageA(control, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 300);
    EXPECT_EQ(upper, -5) << "the halves are signed";
    SendMessageA(control, UDM_SETRANGE32, static_cast<WPARAM>(-70000), 70000);
    EXPECT_EQ(SendMessageA(control, UDM_SETPOS32, 0, 69999), 0);
    EXPECT_EQ(SendMessageA(control, UDM_SETPOS32, 0, 80000), 69999) << "the previous position";
    BOOL error = FALSE;
    EXPECT_EQ(SendMessageA(control, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 70000) << "clamped";
    EXPECT_EQ(SendMessageA(control, UDM_SETPOS, 0, MAKELONG(static_cast<WORD>(-3), 0)),
              static_cast<WORD>(70000));
    EXPECT_EQ(SendMessageA(control, UDM_GETPOS32, 0, 0), -3);
}

// A click on an arrow with the parent's answer to UDN_DELTAPOS.
TEST_F(UpDownTest, ArrowsAskTheParentThenTellIt) {
    const struct {
        const char* name;
        DWORD style;
        int lower, upper, pos;
        POINT click;
        std::function<LRESULT(NMUPDOWN&)> answer;
        std::vector<std::string> told;
        int after;
        std::string seen;  // iPos:iDelta the parent saw
    } cases[] = {
        {"up counts towards the upper end",
         0,
         0,
         10,
         5,
         {108, 15},
         nullptr,
         {"notify", "V4 6", "V8 6"},
         6,
         "5:1"},
        {"down", 0, 0, 10, 5, {108, 35}, nullptr, {"notify", "V4 4", "V8 4"}, 4, "5:-1"},
        {"reversed: up counts down", 0, 10, 0, 5, {108, 15}, nullptr, {"notify", "V4 4", "V8 4"}, 4, "5:-1"},
        // The scroll message carries the low 16 bits of the position; UDM_GETPOS32 has all of it.
        {"32-bit",
         0,
         -100000,
         100000,
         99999,
         {108, 15},
         nullptr,
         {"notify", "V4 -31072", "V8 -31072"},
         100000,
         "99999:1"},
        {"at the end nothing is asked", 0, 0, 10, 10, {108, 15}, nullptr, {"V8 10"}, 10, ""},
        {"wrapping past the end",
         UDS_WRAP,
         0,
         10,
         10,
         {108, 15},
         nullptr,
         {"notify", "V4 0", "V8 0"},
         0,
         "10:1"},
        {"the parent cancels",
         0,
         0,
         10,
         5,
         {108, 15},
         [](NMUPDOWN&) -> LRESULT { return 1; },
         {"notify", "V8 5"},
         5,
         "5:1"},
        {"the parent changes the step",
         0,
         0,
         10,
         5,
         {108, 15},
         [](NMUPDOWN& change) -> LRESULT {
             change.iDelta = 3;
             return 0;
         },
         {"notify", "V4 8", "V8 8"},
         8,
         "5:1"},
        {"horizontal: the right arrow counts up",
         UDS_HORZ,
         0,
         10,
         5,
         {112, 25},
         nullptr,
         {"notify", "H4 6", "H8 6"},
         6,
         "5:1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND control = upDown(c.style);
        SendMessageA(control, UDM_SETRANGE32, static_cast<WPARAM>(c.lower), c.upper);
        SendMessageA(control, UDM_SETPOS32, 0, c.pos);
        h.pump();
        h.clearLog();
        std::string seen;
        answerDelta = [&seen, &c](NMUPDOWN& change) -> LRESULT {
            EXPECT_EQ(change.hdr.code, UDN_DELTAPOS);
            EXPECT_EQ(change.hdr.idFrom, 300u);
            seen = std::to_string(change.iPos) + ":" + std::to_string(change.iDelta);
            return c.answer ? c.answer(change) : 0;
        };
        h.click(c.click.x, c.click.y);
        answerDelta = nullptr;
        EXPECT_EQ(told(control), c.told);
        EXPECT_EQ(SendMessageA(control, UDM_GETPOS32, 0, 0), c.after);
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(h.capture(), nullptr);
        DestroyWindow(control);
    }
}

TEST_F(UpDownTest, TheBuddyShowsThePositionWithThousandsGrouped) {
    const struct {
        DWORD style;
        int pos;
        const char* text;
    } cases[] = {
        {UDS_SETBUDDYINT, 12345,
         "12\xA0"
         "345"},
        {UDS_SETBUDDYINT, -1234567,
         "-1\xA0"
         "234\xA0"
         "567"},
        {UDS_SETBUDDYINT, 999, "999"},
        {UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 12345, "12345"},
        {0, 12345, "kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        HWND b = buddy("kept");
        HWND control = upDown(c.style);
        SendMessageA(control, UDM_SETRANGE32, static_cast<WPARAM>(-2000000), 2000000);
        SendMessageA(control, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b), 0);
        SendMessageA(control, UDM_SETPOS32, 0, c.pos);
        EXPECT_EQ(textOf(b), c.text);
        DestroyWindow(control);
        DestroyWindow(b);
    }
}

TEST_F(UpDownTest, AlignedBesideItsAutomaticBuddyWhichShrinks) {
    const struct {
        const char* name;
        DWORD style;
        RECT buddyAfter;
        RECT controlAfter;
    } cases[] = {
        {"right", UDS_ALIGNRIGHT, {10, 10, 74, 30}, {74, 10, 90, 30}},
        {"left", UDS_ALIGNLEFT, {26, 10, 90, 30}, {10, 10, 26, 30}},
        {"not aligned", 0, {10, 10, 90, 30}, {100, 10, 116, 40}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND b = buddy();
        HWND control = upDown(UDS_AUTOBUDDY | c.style);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(control, UDM_GETBUDDY, 0, 0)), b);
        RECT got{};
        GetWindowRect(b, &got);
        EXPECT_EQ(got.left, c.buddyAfter.left);
        EXPECT_EQ(got.right, c.buddyAfter.right);
        GetWindowRect(control, &got);
        EXPECT_EQ(got.left, c.controlAfter.left);
        EXPECT_EQ(got.right, c.controlAfter.right);
        EXPECT_EQ(got.top, c.controlAfter.top);
        EXPECT_EQ(got.bottom, c.controlAfter.bottom);
        DestroyWindow(control);
        DestroyWindow(b);
    }
}

TEST_F(UpDownTest, TheBuddysArrowKeysStepUntilTheControlGoes) {
    HWND b = buddy();
    const LONG_PTR own = GetWindowLongPtrA(b, GWLP_WNDPROC);
    HWND control = upDown(UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_SETBUDDYINT);
    SendMessageA(control, UDM_SETRANGE, 0, MAKELONG(100, 0));
    SetFocus(b);
    h.key(VK_UP);
    h.key(VK_UP);
    h.key(VK_DOWN);
    EXPECT_EQ(textOf(b), "1");
    EXPECT_EQ(told(control),
              (std::vector<std::string>{"notify", "V4 1", "notify", "V4 2", "notify", "V4 1"}));
    SetWindowTextA(b, "50");
    h.key(VK_UP);
    EXPECT_EQ(textOf(b), "51") << "the typed number is stepped from";
    DestroyWindow(control);
    EXPECT_EQ(GetWindowLongPtrA(b, GWLP_WNDPROC), own) << "the buddy has its own procedure back";
    h.key(VK_UP);
    EXPECT_EQ(textOf(b), "51");
}

// A program's own subclass of the buddy, put on after the up-down took the buddy's keys.
WNDPROC beforeCounting = nullptr;
int keysCounted = 0;
LRESULT CALLBACK countingKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) ++keysCounted;
    return CallWindowProcA(beforeCounting, window, message, wParam, lParam);
}

TEST_F(UpDownTest, ABuddySubclassedAfterwardsKeepsItsChainWhenTheControlGoes) {
    HWND b = buddy();
    HWND control = upDown(UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_SETBUDDYINT);
    SendMessageA(control, UDM_SETRANGE, 0, MAKELONG(100, 0));
    keysCounted = 0;
    buddyKeys = 0;
    beforeCounting = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingKeys)));
    SetFocus(b);
    h.key(VK_UP);
    EXPECT_EQ(textOf(b), "1");
    DestroyWindow(control);
    h.key(VK_UP);
    EXPECT_EQ(textOf(b), "1") << "the keys are the buddy's own again";
    EXPECT_EQ(keysCounted, 2);
    EXPECT_EQ(buddyKeys, 1) << "the buddy's own procedure is still reached through the chain";
    DestroyWindow(b);
}

TEST_F(UpDownTest, AHeldArrowRepeatsFasterTheLongerItIsHeld) {
    const struct {
        uint64_t heldMs;
        int pos;
    } cases[] = {
        {150, 1},    // the press alone
        {300, 4},    // and at 200, 250 and 300 ms
        {2100, 52},  // 37 single steps to 1950 ms, then fives at 2000, 2050 and 2100
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heldMs);
        HWND control = upDown(0);
        SendMessageA(control, UDM_SETRANGE32, 0, 1000);
        winplat::testing::mouseMove(108, 15);
        winplat::testing::mouseButton(MouseButton::Left, true);
        h.pump();
        h.advance(c.heldMs);
        winplat::testing::mouseButton(MouseButton::Left, false);
        h.pump();
        EXPECT_EQ(SendMessageA(control, UDM_GETPOS32, 0, 0), c.pos);
        EXPECT_TRUE(h.timers().empty());
        DestroyWindow(control);
    }
}

TEST_F(UpDownTest, ARealEditBuddyHoldingTextThatIsNoNumberGivesTheErrorFlag) {
    HWND edit = makeChild(parent, "EDIT", WS_BORDER, 10, 10, 80, 20, 200, "");
    HWND control = upDown(UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS);
    SendMessageA(control, UDM_SETRANGE32, 0, 100);
    EXPECT_EQ(textOf(edit), "0") << "the buddy shows the position from the start";
    SetWindowTextA(edit, "12a");
    EXPECT_NE(HIWORD(SendMessageA(control, UDM_GETPOS, 0, 0)), 0);
    BOOL error = FALSE;
    SendMessageA(control, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
    EXPECT_TRUE(error);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    h.type("41");
    EXPECT_EQ(LOWORD(SendMessageA(control, UDM_GETPOS, 0, 0)), 41);
    h.key(VK_UP);
    EXPECT_EQ(textOf(edit), "42") << "the edit's Up key steps from what was typed";
}

TEST_F(UpDownTest, DrawnBesideItsBuddy) {
    HWND b = makeChild(parent, "EDIT", WS_BORDER, 10, 10, 80, 20, 200, "12");
    HWND control = upDown(UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT);
    SendMessageA(control, UDM_SETPOS32, 0, 42);
    upDown(UDS_HORZ, {100, 50, 132, 66});
    upDown(WS_DISABLED, {140, 10, 156, 40});
    h.pump();
    EXPECT_EQ(textOf(b), "42");
    h.expectImage(winplat::test::crop(h.screenshot(), {0, 0, 170, 75}), "updown");
}

TEST(CommonControls, InitialisingSucceedsForAWellFormedRequest) {
    InitCommonControls();
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    EXPECT_TRUE(InitCommonControlsEx(&init));
    const winplat::testing::DebugCapture debug;
    init.dwSize = sizeof(INITCOMMONCONTROLSEX) - 1;
    EXPECT_FALSE(InitCommonControlsEx(&init));
    EXPECT_TRUE(debug.contains("dwSize")) << debug.text();
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

}  // namespace
}  // namespace controls_test
