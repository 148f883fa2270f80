#include "demo_window.h"

#include <cstdio>
#include <memory>

#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace winplat_demo {
namespace {

constexpr int kRowHeight = 16;
constexpr int kStripTop = 40;

// Draws in client coordinates on a DC whose client area starts at 'origin'.
struct Canvas {
    HDC dc;
    POINT origin;

    void fill(RECT rect, COLORREF colour) const {
        rect = {rect.left + origin.x, rect.top + origin.y, rect.right + origin.x, rect.bottom + origin.y};
        const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        FillRect(dc, &rect, brush.get());
    }
    void text(int x, int y, const char* chars, int length) const {
        TextOutA(dc, origin.x + x, origin.y + y, chars, length);
    }
};

// A checkerboard of 8-pixel squares along the top.
void paintPattern(const Canvas& canvas, int width) {
    for (int y = 0; y < kStripTop; y += 8) {
        for (int x = 0; x < width; x += 8) {
            canvas.fill({x, y, x + 8, y + 8}, ((x + y) / 8) % 2 ? RGB(0, 0, 128) : RGB(255, 255, 0));
        }
    }
}

// Numbered rows below the pattern, moved up by the scroll position.
void paintStrip(const Canvas& canvas, const DemoState& state, int width, int height) {
    canvas.fill({0, kStripTop, width, height}, RGB(255, 255, 255));
    SetBkMode(canvas.dc, TRANSPARENT);
    for (int row = 0; kStripTop + row * kRowHeight < height; ++row) {
        const int number = row + state.scroll;
        const int top = kStripTop + row * kRowHeight;
        if (number % 2) canvas.fill({0, top, width, top + kRowHeight}, RGB(192, 220, 192));
        char text[32];
        const int length = std::snprintf(text, sizeof text, "row %d", number);
        canvas.text(4, top + 2, text, length);
    }
}

void paintCounter(const Canvas& canvas, const DemoState& state, int width) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%d", state.clicks);
    canvas.fill({width - 60, 4, width - 4, 28}, RGB(255, 255, 255));
    SetBkMode(canvas.dc, TRANSPARENT);
    canvas.text(width - 56, 8, text, length);
}

DemoState* stateOf(HWND window) { return reinterpret_cast<DemoState*>(GetWindowLongPtrA(window, 0)); }

// What the update region asks for, through the window's own DC: BeginPaint clips to it.
void onPaint(HWND window) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    const DemoState* state = stateOf(window);
    if (dc && state) {
        RECT client{};
        GetClientRect(window, &client);
        paintDemo(dc, *state, POINT{0, 0}, client.right, client.bottom);
    }
    EndPaint(window, &paint);
}

void scrollBy(HWND window, int rows) {
    DemoState* state = stateOf(window);
    if (!state || state->scroll + rows < 0) return;
    state->scroll += rows;
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK demoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(new DemoState));
            return 0;
        case WM_NCDESTROY:
            {
                const std::unique_ptr<DemoState> owned(stateOf(window));
                SetWindowLongPtrA(window, 0, 0);
            }
            break;
        case WM_PAINT:
            onPaint(window);
            return 0;
        case WM_ERASEBKGND:
            return TRUE;  // the pattern covers the whole client area
        case WM_LBUTTONDOWN:
            if (DemoState* state = stateOf(window)) ++state->clicks;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_MOUSEWHEEL:
            scrollBy(window, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DOWN || wParam == VK_UP) scrollBy(window, wParam == VK_DOWN ? 1 : -1);
            return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void paintDemo(HDC dc, const DemoState& state, POINT origin, int width, int height) {
    const Canvas canvas{dc, origin};
    paintPattern(canvas, width);
    paintStrip(canvas, state, width, height);
    paintCounter(canvas, state, width);
}

bool registerDemoClass() {
    WNDCLASSA demo{};
    demo.lpfnWndProc = demoProcedure;
    demo.cbWndExtra = sizeof(LONG_PTR);
    demo.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    demo.lpszClassName = kDemoClass;
    return RegisterClassA(&demo) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND createDemoWindow(int x, int y, int width, int height) {
    HWND window = CreateWindowExA(0, kDemoClass, "Demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                                  nullptr, nullptr, nullptr, nullptr);
    if (window) {
        SetFocus(window);
        UpdateWindow(window);
    }
    return window;
}

const DemoState* demoState(HWND window) { return stateOf(window); }

}  // namespace winplat_demo
