// The BANNER window: the page window's title strip. It paints the banner object whose pointer
// its window word holds; the object belongs to the page window and is never freed here.
#include "page/banner.h"
#include "page/window_class.h"
#include "winplat/gdi.h"
#include "winplat/module.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr char kClassName[] = "BANNER";

ViewerClosingQuery closingQuery = nullptr;

Banner* BannerOf(HWND window) { return reinterpret_cast<Banner*>(GetWindowLongPtrA(window, Banner::kWindowWord)); }

// Validates the window without drawing, so no further WM_PAINT is queued.
void ValidateOnly(HWND window) {
    PAINTSTRUCT ps{};
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
}

}  // namespace

void SetBannerClosingQuery(ViewerClosingQuery query) { closingQuery = query; }

bool RegisterBannerWindowClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BannerWndProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassOnce(wc);
}

LRESULT CALLBACK BannerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SetWindowLongPtrA(window, Banner::kWindowWord, 0);
            return 0;
        case WM_DESTROY:
        case WM_ERASEBKGND:
            return 0;
        case WM_PAINT: {
            Banner* banner = BannerOf(window);
            if ((closingQuery && closingQuery()) || !banner) {
                ValidateOnly(window);
            } else {
                banner->Paint(nullptr, 0, 0);
            }
            return 0;
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace lect32
