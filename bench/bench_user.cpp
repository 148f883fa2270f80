// The window manager's message paths: sending, posting and pumping, timer dispatch on the
// virtual clock, and repainting a window full of child windows.
#include <benchmark/benchmark.h>

#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

LRESULT CALLBACK answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) return static_cast<LRESULT>(wParam + 1);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND benchWindow() {
    static HWND window = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = answer;
        wc.lpszClassName = "BenchWindow";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "BenchWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }();
    return window;
}

// Round trips of SendMessageA into a window procedure.
void BM_SendMessage(benchmark::State& state) {
    HWND window = benchWindow();
    const auto count = static_cast<WPARAM>(state.range(0));
    for (auto _ : state) {
        LRESULT sum = 0;
        for (WPARAM i = 0; i < count; ++i) sum += SendMessageA(window, WM_USER, i, 0);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SendMessage)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Messages posted, then taken out and dispatched by a PeekMessageA loop.
void BM_PostAndPump(benchmark::State& state) {
    HWND window = benchWindow();
    const auto count = static_cast<WPARAM>(state.range(0));
    for (auto _ : state) {
        for (WPARAM i = 0; i < count; ++i) PostMessageA(window, WM_USER, i, 0);
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PostAndPump)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// WM_TIMER made and dispatched with many timers set, the virtual clock moving to each due time.
// The cost of a tick should not grow with the number of timers: compare per_tick across the sizes.
void BM_TimerDispatch(benchmark::State& state) {
    HWND window = benchWindow();
    winplat::testing::VirtualClock clock;
    const auto timers = static_cast<UINT_PTR>(state.range(0));
    for (UINT_PTR id = 1; id <= timers; ++id) SetTimer(window, id, static_cast<UINT>(10 + id % 97), nullptr);
    constexpr int kTicks = 10'000;
    for (auto _ : state) {
        MSG msg{};
        for (int i = 0; i < kTicks; ++i) {
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
            DispatchMessageA(&msg);
        }
    }
    for (UINT_PTR id = 1; id <= timers; ++id) KillTimer(window, id);
    state.SetItemsProcessed(state.iterations() * kTicks);
    state.counters["per_tick"] = benchmark::Counter(kTicks, benchmark::Counter::kIsIterationInvariantRate |
                                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_TimerDispatch)->Arg(10)->Arg(300)->Arg(3'000)->Unit(benchmark::kMillisecond);

LRESULT CALLBACK fillOnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    EndPaint(window, &ps);
    return 0;
}

// A 1024 x 768 window tiled with child windows, all invalidated, then pumped until no WM_PAINT is
// left: the parent erases with its class brush, each child fills its client area.
void BM_RepaintChildren(benchmark::State& state) {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = fillOnPaint;
        wc.lpszClassName = "BenchTile";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return RegisterClassA(&wc) != 0;
    }();
    benchmark::DoNotOptimize(registered);
    const int columns = state.range(0) == 1'000 ? 40 : 10;
    const int rows = static_cast<int>(state.range(0)) / columns;
    HWND parent = CreateWindowExA(0, "BenchTile", "", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr, nullptr,
                                  nullptr, nullptr);
    const int width = 1000 / columns;
    const int height = 750 / rows;
    for (int i = 0; i < columns * rows; ++i) {
        CreateWindowExA(0, "BenchTile", "", WS_CHILD | WS_VISIBLE, (i % columns) * width + 2, (i / columns) * height + 2,
                        width - 4, height - 4, parent, nullptr, nullptr, nullptr);
    }
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    int64_t paints = 0;
    for (auto _ : state) {
        InvalidateRect(parent, nullptr, TRUE);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            paints += msg.message == WM_PAINT;
            DispatchMessageA(&msg);
        }
    }
    DestroyWindow(parent);
    state.counters["paints"] = benchmark::Counter(static_cast<double>(paints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RepaintChildren)->Arg(100)->Arg(1'000)->Unit(benchmark::kMillisecond);

}  // namespace
