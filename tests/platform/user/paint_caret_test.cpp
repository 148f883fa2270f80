// The caret: an inverted rectangle that blinks on the virtual clock, hidden while its window paints.
#include "paint_fixture.h"

namespace window_test {
namespace {

using CaretTest = PaintTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST_F(CaretTest, BlinksOnTheVirtualClock) {
    HWND window = painter(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, kWhite);
    pump();
    ASSERT_EQ(GetCaretBlinkTime(), 500u);
    ASSERT_TRUE(CreateCaret(window, nullptr, 2, 10));
    ASSERT_TRUE(SetCaretPos(5, 6));
    EXPECT_EQ(at(5, 6), kWhite) << "a new caret is hidden";
    ASSERT_TRUE(ShowCaret(window));
    EXPECT_EQ(at(5, 6), kBlack);
    EXPECT_EQ(at(6, 15), kBlack);
    EXPECT_EQ(at(7, 6), kWhite) << "2 pixels wide";
    const uint64_t start = clock_.nowMs();
    std::vector<std::pair<uint64_t, COLORREF>> seen;
    MSG msg{};
    for (int i = 0; i < 3 && GetMessageA(&msg, nullptr, 0, 0); ++i) {
        DispatchMessageA(&msg);
        seen.emplace_back(clock_.nowMs() - start, at(5, 6));
    }
    const std::vector<std::pair<uint64_t, COLORREF>> expected{{500, kWhite}, {1000, kBlack}, {1500, kWhite}};
    EXPECT_EQ(seen, expected);
    POINT position{};
    ASSERT_TRUE(GetCaretPos(&position));
    EXPECT_EQ(position.x, 5);
    ASSERT_TRUE(DestroyCaret());
    EXPECT_FALSE(GetCaretPos(&position));
}

TEST_F(CaretTest, BlinkTimeSetsThePeriod) {
    HWND window = painter(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, kWhite);
    pump();
    ASSERT_TRUE(SetCaretBlinkTime(200));
    CreateCaret(window, nullptr, 1, 5);
    ShowCaret(window);
    const uint64_t start = clock_.nowMs();
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    DispatchMessageA(&msg);
    EXPECT_EQ(clock_.nowMs() - start, 200u);
    EXPECT_FALSE(SetCaretBlinkTime(0));
}

TEST_F(CaretTest, HiddenWhilePaintingAndCountedByHideCaret) {
    HWND window = painter(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, kWhite);
    pump();
    CreateCaret(window, nullptr, 4, 4);
    SetCaretPos(0, 0);
    ShowCaret(window);
    ASSERT_EQ(at(1, 1), kBlack);
    COLORREF duringPaint = CLR_INVALID;
    fills().erase(window);
    InvalidateRect(window, nullptr, FALSE);
    PAINTSTRUCT ps{};
    BeginPaint(window, &ps);
    duringPaint = at(1, 1);
    EndPaint(window, &ps);
    EXPECT_EQ(duringPaint, kWhite);
    EXPECT_EQ(at(1, 1), kBlack) << "shown again after EndPaint";
    HideCaret(window);
    HideCaret(window);
    ShowCaret(window);
    EXPECT_EQ(at(1, 1), kWhite) << "two hides need two shows";
    ShowCaret(window);
    EXPECT_EQ(at(1, 1), kBlack);
    EXPECT_FALSE(ShowCaret(window)) << "shown already";
    DestroyWindow(window);
    EXPECT_FALSE(DestroyCaret()) << "the caret went with its window";
}

}  // namespace
}  // namespace window_test
