#include "window_fixture.h"

namespace window_test {
namespace {

using CreationTest = WindowTest;

const std::vector<UINT> kLifeMessages{WM_GETMINMAXINFO, WM_NCCREATE,          WM_NCCALCSIZE,         WM_CREATE,
                                      WM_SIZE,          WM_MOVE,              WM_SHOWWINDOW,         WM_WINDOWPOSCHANGING,
                                      WM_WINDOWPOSCHANGED, WM_DESTROY,        WM_NCDESTROY};

std::vector<std::string> names(const std::vector<UINT>& messages) {
    std::vector<std::string> out;
    for (UINT m : messages) out.push_back(messageName(m));
    return out;
}

TEST_F(CreationTest, OverlappedVisibleWindowHearsTheCreationSequenceInOrder) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200);
    EXPECT_EQ(names(recorder().messagesOf(window, true, kLifeMessages)),
              (std::vector<std::string>{"WM_GETMINMAXINFO", "WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_SIZE",
                                        "WM_MOVE", "WM_SHOWWINDOW", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED"}));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(CreationTest, HiddenChildWithoutSizingFrameGetsNoMinMaxAndNoShow) {
    HWND parent = make(WS_POPUP, 0, 0, 100, 100);
    recorder().clear();
    HWND child = make(WS_CHILD, 1, 2, 30, 40, parent);
    EXPECT_EQ(names(recorder().messagesOf(child, true, kLifeMessages)),
              (std::vector<std::string>{"WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_SIZE", "WM_MOVE"}));
    EXPECT_FALSE(IsWindowVisible(child));
}

TEST_F(CreationTest, CreateStructCarriesParametersAndTheTextIsSetByNcCreate) {
    HWND parent = make(WS_POPUP, 0, 0, 100, 100);
    int token = 0;
    CREATESTRUCTA seen{};
    std::string textAtCreate;
    // The window does not exist before its first message: a class of its own catches it.
    WNDCLASSA wc{};
    wc.lpszClassName = "CreateProbe";
    static CREATESTRUCTA* target = nullptr;
    static std::string* text = nullptr;
    target = &seen;
    text = &textAtCreate;
    wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_CREATE) {
            *target = *reinterpret_cast<CREATESTRUCTA*>(lParam);
            char buffer[32];
            GetWindowTextA(window, buffer, sizeof buffer);
            *text = buffer;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    };
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND child = CreateWindowExA(WS_EX_CLIENTEDGE, "createprobe", "Titulek", WS_CHILD, 5, 6, 70, 80, parent,
                                 reinterpret_cast<HMENU>(42), nullptr, &token);
    ASSERT_TRUE(child);
    EXPECT_EQ(seen.lpCreateParams, &token);
    EXPECT_EQ(seen.hwndParent, parent);
    EXPECT_EQ(seen.hMenu, reinterpret_cast<HMENU>(42));
    EXPECT_EQ(seen.x, 5);
    EXPECT_EQ(seen.y, 6);
    EXPECT_EQ(seen.cx, 70);
    EXPECT_EQ(seen.cy, 80);
    EXPECT_EQ(static_cast<DWORD>(seen.style), static_cast<DWORD>(WS_CHILD));
    EXPECT_EQ(seen.dwExStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
    EXPECT_EQ(textAtCreate, "Titulek");
    EXPECT_EQ(GetWindowLongA(child, GWL_ID), 42);
}

TEST_F(CreationTest, NcCreateFalseFailsCreationWithoutAWindowLeft) {
    // Handlers are keyed by window, which does not exist yet: answer through a class of its own.
    WNDCLASSA wc{};
    wc.lpszClassName = "Refuser";
    wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        recordingProcedure(window, message, wParam, lParam);
        return message == WM_NCCREATE ? FALSE : DefWindowProcA(window, message, wParam, lParam);
    };
    ASSERT_TRUE(RegisterClassA(&wc));
    EXPECT_EQ(CreateWindowExA(0, "Refuser", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    const std::vector<UINT> got = recorder().messagesOf(nullptr, true, kLifeMessages);
    EXPECT_EQ(names(got), (std::vector<std::string>{"WM_NCCREATE"}));
    ASSERT_FALSE(recorder().received.empty());
    EXPECT_FALSE(IsWindow(recorder().received.front().window));
    EXPECT_EQ(GetTopWindow(nullptr), nullptr) << "nothing is left on the desktop";
    EXPECT_TRUE(UnregisterClassA("Refuser", nullptr)) << "no window of the class lives on";
}

TEST_F(CreationTest, CreateMinusOneDestroysTheWindowAndFails) {
    WNDCLASSA wc{};
    wc.lpszClassName = "CreateFails";
    wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        recordingProcedure(window, message, wParam, lParam);
        return message == WM_CREATE ? -1 : DefWindowProcA(window, message, wParam, lParam);
    };
    ASSERT_TRUE(RegisterClassA(&wc));
    EXPECT_EQ(CreateWindowExA(0, "CreateFails", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(names(recorder().messagesOf(nullptr, true, kLifeMessages)),
              (std::vector<std::string>{"WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_DESTROY", "WM_NCDESTROY"}));
    EXPECT_FALSE(IsWindow(recorder().received.front().window));
}

TEST_F(CreationTest, ChildWithoutParentAndUnknownClassAreRefused) {
    SetLastError(0);
    EXPECT_EQ(CreateWindowExA(0, kClass, "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

struct FrameCase {
    const char* name;
    DWORD style;
    DWORD exStyle;
    RECT client;  // expected client rectangle in window coordinates of a 200 x 100 window
};

class ClientAreaTest : public WindowTest, public ::testing::WithParamInterface<FrameCase> {};

// Caption 19 (18 and the line under it), thick frame 4, dialog frame 3, border 1, client edge 2.
const FrameCase kFrames[] = {
    {"plainPopup", WS_POPUP, 0, {0, 0, 200, 100}},
    {"borderPopup", WS_POPUP | WS_BORDER, 0, {1, 1, 199, 99}},
    {"dialogFrame", WS_POPUP | WS_DLGFRAME, 0, {3, 3, 197, 97}},
    {"captionFixed", WS_POPUP | WS_CAPTION, 0, {3, 22, 197, 97}},
    {"overlappedWindow", WS_OVERLAPPEDWINDOW, 0, {4, 23, 196, 96}},
    {"thickNoCaption", WS_POPUP | WS_THICKFRAME, 0, {4, 4, 196, 96}},
    {"modalFrameEx", WS_POPUP, WS_EX_DLGMODALFRAME, {3, 3, 197, 97}},
    {"clientEdgeChild", WS_POPUP, WS_EX_CLIENTEDGE, {2, 2, 198, 98}},
    {"borderAndEdge", WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE, {3, 3, 197, 97}},
};

TEST_P(ClientAreaTest, ClientIsTheWindowLessItsFrame) {
    const FrameCase& c = GetParam();
    HWND window = make(c.style, 50, 60, 200, 100, nullptr, c.exStyle);
    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, c.client.right - c.client.left);
    EXPECT_EQ(client.bottom, c.client.bottom - c.client.top);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(origin.x, 50 + c.client.left);
    EXPECT_EQ(origin.y, 60 + c.client.top);
}

// The way back: the client rectangle of the case grown to the window it lies in.
TEST_P(ClientAreaTest, AdjustWindowRectExGrowsTheClientToItsWindow) {
    const FrameCase& c = GetParam();
    RECT rect{50 + c.client.left, 60 + c.client.top, 50 + c.client.right, 60 + c.client.bottom};
    ASSERT_TRUE(AdjustWindowRectEx(&rect, c.style, FALSE, c.exStyle));
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 60);
    EXPECT_EQ(rect.right, 250);
    EXPECT_EQ(rect.bottom, 160);
}

INSTANTIATE_TEST_SUITE_P(Frames, ClientAreaTest, ::testing::ValuesIn(kFrames),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CreationTest, DefaultPlacementOnlyForOverlappedWindows) {
    HWND overlapped = make(WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0);
    RECT r{};
    GetWindowRect(overlapped, &r);
    EXPECT_EQ(r.right - r.left, 768) << "three quarters of the 1024-pixel screen";
    EXPECT_EQ(r.bottom - r.top, 576);
    HWND popup = make(WS_POPUP, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0);
    GetWindowRect(popup, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 0) << "CW_USEDEFAULT means 0 for a pop-up";
}

TEST_F(CreationTest, SizingWindowsAreHeldToTheMinimumTrackSize) {
    HWND sizing = make(WS_OVERLAPPEDWINDOW, 0, 0, 10, 5);
    RECT r{};
    GetWindowRect(sizing, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYMINTRACK));
    HWND popup = make(WS_POPUP | WS_VISIBLE, 0, 0, 0, 0);
    GetWindowRect(popup, &r);
    EXPECT_EQ(r.right - r.left, 0) << "a pop-up without a sizing frame may be empty (the reader's main window)";
}

TEST_F(CreationTest, MaximisedStyleCreatesAMaximisedWindowCoveringTheScreen) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_MAXIMIZE | WS_VISIBLE, 100, 100, 640, 480);
    EXPECT_TRUE(IsZoomed(window));
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, -4);
    EXPECT_EQ(r.top, -4);
    EXPECT_EQ(r.right, 1028);
    EXPECT_EQ(r.bottom, 772);
    ShowWindow(window, SW_RESTORE);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 740);
}

// A menu bar adds its line; scroll bars are the client area's business and are not counted.
TEST_F(CreationTest, AdjustWindowRectExCountsTheMenuBarButNoScrollBars) {
    const DWORD style = WS_POPUP | WS_CAPTION;
    RECT plain{10, 40, 110, 90};
    ASSERT_TRUE(AdjustWindowRectEx(&plain, style, FALSE, 0));
    RECT withMenu{10, 40, 110, 90};
    ASSERT_TRUE(AdjustWindowRectEx(&withMenu, style, TRUE, 0));
    EXPECT_EQ(withMenu.top, plain.top - GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(withMenu.bottom, plain.bottom);
    RECT scrolled{10, 40, 110, 90};
    ASSERT_TRUE(AdjustWindowRectEx(&scrolled, style | WS_VSCROLL | WS_HSCROLL, FALSE, 0));
    EXPECT_EQ(scrolled.right, plain.right);
    EXPECT_EQ(scrolled.bottom, plain.bottom);
    SetLastError(0);
    EXPECT_FALSE(AdjustWindowRectEx(nullptr, style, FALSE, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace window_test
