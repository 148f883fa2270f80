// What the painting tests share: a class whose WM_PAINT records its PAINTSTRUCT and fills its
// client area (through the paint DC, so only the update region) with the window's colour, and
// helpers that pump the queue and read the screen.
#ifndef TESTS_PLATFORM_USER_PAINT_FIXTURE_H
#define TESTS_PLATFORM_USER_PAINT_FIXTURE_H

#include <map>
#include <vector>

#include "user/timers.h"
#include "window_fixture.h"
#include "winplat/region.h"

namespace window_test {

struct PaintRecord {
    HWND window;
    RECT rcPaint;
    BOOL fErase;
};

inline std::vector<PaintRecord>& paints() {
    static std::vector<PaintRecord> log;
    return log;
}

// The colour each painting window fills with; a window without one paints nothing.
inline std::map<HWND, COLORREF>& fills() {
    static std::map<HWND, COLORREF> colours;
    return colours;
}

inline void fillClient(HWND window, HDC dc, COLORREF colour) {
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
}

inline LRESULT CALLBACK paintingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    paints().push_back({window, ps.rcPaint, ps.fErase});
    const auto fill = fills().find(window);
    if (dc && fill != fills().end()) fillClient(window, dc, fill->second);
    EndPaint(window, &ps);
    return 0;
}

inline bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class PaintTest : public WindowTest {
protected:
    static constexpr const char* kPaintClass = "PaintingWindow";

    void SetUp() override {
        WindowTest::SetUp();
        paints().clear();
        fills().clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = paintingProcedure;
        wc.lpszClassName = kPaintClass;
        ASSERT_NE(RegisterClassA(&wc), 0);
        screen_ = GetDC(nullptr);
    }

    void TearDown() override {
        ReleaseDC(nullptr, screen_);
        WindowTest::TearDown();
        paints().clear();
        fills().clear();
    }

    // A window of the painting class filling with 'colour'.
    HWND painter(DWORD style, int x, int y, int width, int height, COLORREF colour, HWND parent = nullptr) {
        HWND window = CreateWindowExA(0, kPaintClass, "", style, x, y, width, height, parent, nullptr, nullptr,
                                      nullptr);
        EXPECT_NE(window, nullptr);
        fills()[window] = colour;
        return window;
    }

    // Dispatches until nothing is left but timers; fails after too many rounds (a loop that spins).
    void pump() {
        MSG msg{};
        for (int round = 0; round < 10000; ++round) {
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
            if (msg.message == WM_TIMER || msg.message == winplat::user::kLayerTimerMessage) return;
            PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
            DispatchMessageA(&msg);
        }
        ADD_FAILURE() << "the queue never emptied";
    }

    COLORREF at(int x, int y) const { return GetPixel(screen_, x, y); }

    // The screen's pixels in a rectangle, row by row.
    std::vector<COLORREF> capture(const RECT& r) const {
        std::vector<COLORREF> pixels;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) pixels.push_back(at(x, y));
        }
        return pixels;
    }

    HDC screen_ = nullptr;
};

// A region of the rectangles, for EqualRgn.
inline HRGN regionOf(const std::vector<RECT>& rects) {
    HRGN all = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
        HRGN part = CreateRectRgnIndirect(&r);
        CombineRgn(all, all, part, RGN_OR);
        DeleteObject(part);
    }
    return all;
}

}  // namespace window_test

#endif
