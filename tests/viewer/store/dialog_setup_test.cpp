// The shared dialog set-up on real windows of the headless host: the Cancel caption and centring.
#include <gtest/gtest.h>

#include <string>

#include "store/dialog_setup.h"
#include "winplat/controls.h"
#include "winplat/dialogs.h"
#include "winplat_harness/harness.h"

namespace {

constexpr const char* kClass = "DialogSetupTestWindow";

HWND makeWindow(int x, int y, int width, int height) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kClass, "Dialog", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                           nullptr, nullptr);
}

std::string cancelCaptionAfterSetUp(const char* caption) {
    const HWND dialog = makeWindow(10, 10, 200, 100);
    CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, dialog,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), nullptr, nullptr);
    lect32::NormalizeCancelButtonText(dialog);
    char text[64] = {};
    GetDlgItemTextA(dialog, IDCANCEL, text, sizeof text);
    DestroyWindow(dialog);
    return text;
}

TEST(DialogSetupTest, OnlyTheTwoCancelCaptionsBecomeStorno) {
    winplat::test::Harness harness;
    struct Case {
        const char* caption;
        const char* expected;
    };
    const Case cases[] = {
        {"Zru\x9Ait", "Storno"},               // Czech
        {"Zru\x9Ai\x9D", "Storno"},            // Slovak
        {"Zav\xF8\xEDt", "Zav\xF8\xEDt"},      // Close keeps its text
        {"Zru\x9Aito", "Zru\x9Aito"},          // not exactly the caption
        {"Zru\x9Ai", "Zru\x9Ai"},
        {"zru\x9Ait", "zru\x9Ait"},            // the comparison keeps case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(cancelCaptionAfterSetUp(c.caption), c.expected);
    }
}

TEST(DialogSetupTest, AWindowWithoutCancelIsLeftAlone) {
    winplat::test::Harness harness;
    const HWND dialog = makeWindow(10, 10, 200, 100);
    lect32::NormalizeCancelButtonText(dialog);
    char text[64] = {};
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, "Dialog");
    DestroyWindow(dialog);
}

TEST(DialogSetupTest, CentringKeepsTheSizeAndHalvesTheSlack) {
    winplat::test::Harness::Options screen;
    screen.width = 640;
    screen.height = 480;
    winplat::test::Harness harness(screen);
    // Odd slack on both axes: the division truncates.
    const HWND window = makeWindow(3, 7, 201, 101);
    lect32::CenterWindowOnScreen(window);
    RECT frame{};
    ASSERT_TRUE(GetWindowRect(window, &frame));
    EXPECT_EQ(frame.left, (640 - 201) / 2);
    EXPECT_EQ(frame.top, (480 - 101) / 2);
    EXPECT_EQ(frame.right - frame.left, 201);
    EXPECT_EQ(frame.bottom - frame.top, 101);
    DestroyWindow(window);
}

}  // namespace
