#include "input_fixture.h"

namespace window_test {
namespace {

using HitTestTest = InputTest;

struct HitCase {
    int x;
    int y;
    int hit;
};

// The window spans (100, 100)-(400, 300): a 4-pixel sizing frame, the caption rows 104-122,
// scroll bars of 16 along the client area's right (380-395) and bottom (280-295); corners reach
// 23 pixels (caption + frame) along each edge; caption buttons of 18 from the right frame (close
// 378-395, maximise 360-377, minimise 342-359) and the system menu 104-121.
TEST_F(HitTestTest, FrameCaptionAndScrollBarsAnswerWithTheirCodes) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 100, 100, 300, 200);
    const HitCase cases[] = {
        {99, 150, HTNOWHERE},     {100, 150, HTLEFT},        {103, 150, HTLEFT},         {104, 150, HTCLIENT},
        {379, 150, HTCLIENT},     {380, 150, HTVSCROLL},     {395, 150, HTVSCROLL},      {396, 150, HTRIGHT},
        {399, 150, HTRIGHT},      {400, 150, HTNOWHERE},     {250, 100, HTTOP},          {250, 103, HTTOP},
        {250, 104, HTCAPTION},    {250, 122, HTCAPTION},     {250, 123, HTCLIENT},       {250, 279, HTCLIENT},
        {250, 280, HTHSCROLL},    {250, 295, HTHSCROLL},     {250, 296, HTBOTTOM},       {250, 299, HTBOTTOM},
        {385, 285, HTSIZE},       {100, 100, HTTOPLEFT},     {122, 100, HTTOPLEFT},      {123, 100, HTTOP},
        {100, 122, HTTOPLEFT},    {100, 123, HTLEFT},        {399, 100, HTTOPRIGHT},     {100, 299, HTBOTTOMLEFT},
        {399, 299, HTBOTTOMRIGHT}, {377, 299, HTBOTTOMRIGHT}, {376, 299, HTBOTTOM},      {110, 110, HTSYSMENU},
        {121, 110, HTSYSMENU},    {122, 110, HTCAPTION},     {390, 110, HTCLOSE},        {378, 110, HTCLOSE},
        {377, 110, HTMAXBUTTON},  {360, 110, HTMAXBUTTON},   {359, 110, HTMINBUTTON},    {342, 110, HTMINBUTTON},
        {341, 110, HTCAPTION},
    };
    for (const HitCase& c : cases) {
        EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, at(c.x, c.y)), c.hit) << c.x << "," << c.y;
    }
}

TEST_F(HitTestTest, ThinFramesMenuBarsAndMinimisedWindows) {
    // A caption without a sizing frame has a 3-pixel fixed frame; a window given a menu shows
    // a 19-pixel menu bar under the caption.
    HWND framed = make(WS_POPUP | WS_CAPTION | WS_VISIBLE, 500, 300, 200, 150, nullptr, 0, "", 1);
    const HitCase framedCases[] = {{500, 350, HTBORDER}, {502, 350, HTBORDER}, {503, 350, HTCLIENT},
                                   {550, 303, HTCAPTION}, {550, 321, HTCAPTION}, {550, 322, HTMENU},
                                   {550, 340, HTMENU},    {550, 341, HTCLIENT}};
    for (const HitCase& c : framedCases) {
        EXPECT_EQ(SendMessageA(framed, WM_NCHITTEST, 0, at(c.x, c.y)), c.hit) << c.x << "," << c.y;
    }
    RECT client{};
    GetClientRect(framed, &client);
    EXPECT_EQ(client.bottom, 150 - 3 - 19 - 19 - 3) << "the menu bar comes out of the client area";
    HWND bordered = make(WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0, 40, 40);
    EXPECT_EQ(SendMessageA(bordered, WM_NCHITTEST, 0, at(0, 20)), HTBORDER);
    EXPECT_EQ(SendMessageA(bordered, WM_NCHITTEST, 0, at(1, 20)), HTCLIENT);
    HWND iconic = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    ShowWindow(iconic, SW_MINIMIZE);
    RECT rect{};
    GetWindowRect(iconic, &rect);
    EXPECT_EQ(SendMessageA(iconic, WM_NCHITTEST, 0, at(rect.left + 5, rect.top + 5)), HTCAPTION);
}

TEST_F(HitTestTest, RoutedNonClientMessagesCarryTheHitCode) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    // The program keeps the press for itself: DefWindowProc would track the close button and
    // take the release out of the queue (and close the window).
    recorder().handlers[window] = [](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        handled = message == WM_NCLBUTTONDOWN;
        return 0;
    };
    recorder().clear();
    click(390, 110);
    const std::vector<Received> got = received(window, [](UINT m) { return m == WM_NCLBUTTONDOWN || m == WM_NCLBUTTONUP; });
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(HTCLOSE));
    EXPECT_EQ(got[1].wParam, static_cast<WPARAM>(HTCLOSE));
}

}  // namespace
}  // namespace window_test
