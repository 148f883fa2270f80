#include "shell/navigation_window.h"

#include "store/navigation_requests.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: navigation window");

NavigationSink* navigationSink = nullptr;

// wParam carries a page or item id as a signed 16-bit number.
int16_t TargetOf(WPARAM wParam) { return static_cast<int16_t>(wParam & 0xFFFF); }
uint8_t MemberOf(LPARAM lParam) { return static_cast<uint8_t>(lParam & 0xFF); }
uint16_t MarkOf(LPARAM lParam) { return static_cast<uint16_t>((static_cast<uint32_t>(lParam) >> 16) & 0xFFFF); }

void HandOn(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!navigationSink) return refuse.log("no navigation takes the request");
    switch (message) {
        case kGoToPageMessage: return navigationSink->GoToPage(TargetOf(wParam));
        case kGoToTreeItemMessage: return navigationSink->GoToTreeItem(TargetOf(wParam));
        case kGoToPagePositionMessage:
            return navigationSink->GoToPagePosition(TargetOf(wParam), MemberOf(lParam), MarkOf(lParam));
        case kOpenPopupPageMessage:
            return navigationSink->OpenPopupPage(TargetOf(wParam), MemberOf(lParam), MarkOf(lParam));
        default: return;
    }
}

LRESULT CALLBACK NavigationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kGoToPageMessage:
        case kGoToTreeItemMessage:
        case kGoToPagePositionMessage:
        case kOpenPopupPageMessage: HandOn(message, wParam, lParam); return 0;
        case WM_DESTROY:
            if (GetNavigationWindow() == window) SetNavigationWindow(nullptr);
            return 0;
        case WM_CREATE:
        case WM_KEYDOWN:
        case WM_COMMAND: return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterNavigationClass(HINSTANCE instance) {
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, kNavigationWindowClass, &existing)) return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = NavigationProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kNavigationWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

}  // namespace

void SetNavigationSink(NavigationSink* sink) { navigationSink = sink; }

HWND CreateNavigationWindow(HINSTANCE instance) {
    if (!RegisterNavigationClass(instance)) return refuse(HWND{}, "the window class cannot be registered");
    const HWND window = CreateWindowExA(0, kNavigationWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!window) return refuse(HWND{}, "the window cannot be created");
    SetNavigationWindow(window);
    return window;
}

}  // namespace lect32
