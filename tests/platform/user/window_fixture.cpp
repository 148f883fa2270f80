#include "window_fixture.h"

#include <algorithm>

namespace window_test {

Recorder& recorder() {
    static Recorder instance;
    return instance;
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder& r = recorder();
    r.received.push_back({window, message, wParam, lParam});
    const auto handler = r.handlers.find(window);
    if (handler != r.handlers.end()) {
        bool handled = false;
        // A copy: the handler may replace or remove itself.
        auto call = handler->second;
        const LRESULT result = call(window, message, wParam, lParam, handled);
        if (handled) return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<UINT> Recorder::messagesOf(HWND window, bool onlyListed, const std::vector<UINT>& listed) const {
    std::vector<UINT> out;
    for (const Received& r : received) {
        if (window && r.window != window) continue;
        if (onlyListed && std::find(listed.begin(), listed.end(), r.message) == listed.end()) continue;
        out.push_back(r.message);
    }
    return out;
}

std::vector<std::string> Recorder::named(const std::map<HWND, std::string>& names, const std::vector<UINT>& listed) const {
    std::vector<std::string> out;
    for (const Received& r : received) {
        if (std::find(listed.begin(), listed.end(), r.message) == listed.end()) continue;
        const auto name = names.find(r.window);
        out.push_back((name != names.end() ? name->second : "?") + ":" + messageName(r.message));
    }
    return out;
}

std::string messageName(UINT message) {
    static const std::map<UINT, std::string> names{
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_TIMER, "WM_TIMER"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_NCHITTEST, "WM_NCHITTEST"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"},
        {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
        {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_STYLECHANGING, "WM_STYLECHANGING"},
        {WM_STYLECHANGED, "WM_STYLECHANGED"},
    };
    const auto found = names.find(message);
    return found != names.end() ? found->second : std::to_string(message);
}

void WindowTest::SetUp() {
    winplat::testing::resetWindowManager();
    recorder() = Recorder{};
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = recordingProcedure;
    wc.cbWndExtra = 8;
    wc.lpszClassName = kClass;
    ASSERT_NE(RegisterClassA(&wc), 0);
}

void WindowTest::TearDown() {
    recorder().handlers.clear();
    winplat::testing::resetWindowManager();
    recorder() = Recorder{};
}

int WindowTest::pump() {
    int dispatched = 0;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++dispatched;
    }
    return dispatched;
}

HWND WindowTest::make(DWORD style, int x, int y, int width, int height, HWND parent, DWORD exStyle, const char* text,
                      UINT_PTR id) {
    HWND window = CreateWindowExA(exStyle, kClass, text, style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(id), nullptr, nullptr);
    EXPECT_NE(window, nullptr) << "creating a window of the recording class";
    return window;
}

}  // namespace window_test
