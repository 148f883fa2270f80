// The LCNPAGE window procedure: unpacks the messages for the PageWindow in its window word.
#include "page/page_window.h"
#include "page/window_class.h"
#include "winplat/module.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr char kClassName[] = "LCNPAGE";
constexpr UINT kPageMessagesFirst = 9000;
constexpr UINT kPageMessagesLast = 9099;
// Sent by an MDI frame; a page window takes no part in MDI activation.
constexpr UINT kMdiActivate = 0x0222;

PageWindow* PageWindowOf(HWND window) {
    return reinterpret_cast<PageWindow*>(GetWindowLongPtrA(window, PageWindow::kWindowWord));
}

LRESULT OnCreate(HWND window, LPARAM lParam) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const auto* params = static_cast<const PageWindowParams*>(create->lpCreateParams);
    if (!params) return -1;
    auto made = std::make_unique<PageWindow>(*params);
    SetWindowLongPtrA(window, PageWindow::kWindowWord, reinterpret_cast<LONG_PTR>(made.get()));
    if (!made->Create(window)) {
        SetWindowLongPtrA(window, PageWindow::kWindowWord, 0);
        return -1;
    }
    if (params->host) params->host->PageWindowCreated(*made);
    (void)made.release();  // the window's now, freed at WM_DESTROY
    return 0;
}

void OnDestroy(HWND window, PageWindow* page) {
    if (!page) return;
    SetWindowLongPtrA(window, PageWindow::kWindowWord, 0);
    if (PageWindowHost* host = page->Host()) host->PageWindowDestroyed(*page);
    delete page;
}

bool IsInput(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_MOUSEWHEEL;
}

}  // namespace

bool RegisterPageWindowClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PageWndProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassOnce(wc);
}

LRESULT CALLBACK PageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window, lParam);
    PageWindow* page = PageWindowOf(window);
    if (!page) return DefWindowProcA(window, message, wParam, lParam);
    if (message >= kPageMessagesFirst && message <= kPageMessagesLast) return page->OnPageMessage(message, wParam, lParam);
    if (IsInput(message)) {
        // The user tool bar's page keeps its keys: they belong to the page being read.
        if (!page->UserToolBar() && page->ViewWindow()) SendMessageA(page->ViewWindow(), message, wParam, lParam);
        return 0;
    }
    switch (message) {
        case WM_DESTROY: OnDestroy(window, page); return 0;
        case WM_SIZE: page->OnSize(LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_TIMER: page->OnTimer(static_cast<UINT>(wParam)); return 0;
        case WM_COMMAND: page->OnCommand(LOWORD(wParam)); return 0;
        case WM_SETFOCUS: page->OnFocus(true); return 0;
        case WM_KILLFOCUS: page->OnFocus(false); return 0;
        case WM_ERASEBKGND:
        case kMdiActivate: return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace lect32
