// Moving a window by its caption is a modal loop: when its input runs out with the button still
// down it asks the host's answerer, which in tests goes on with queued input or fails the test.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

using winplat::host::ModalKind;
using winplat::host::ModalLoop;
using winplat::host::MouseButton;
using winplat::test::Harness;

constexpr const char* kClass = "MovedWindow";

LRESULT CALLBACK movedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeCaptioned() {
    WNDCLASSA moved{};
    moved.lpfnWndProc = movedProcedure;
    moved.lpszClassName = kClass;
    RegisterClassA(&moved);
    return CreateWindowExA(0, kClass, "moved", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150, nullptr, nullptr,
                           nullptr, nullptr);
}

// Presses the left button on the caption, 40 pixels in, and lets the window take it.
POINT pressOnCaption(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    const POINT grab{outer.left + 40, outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
    const LPARAM point = static_cast<LPARAM>((static_cast<uint32_t>(grab.y) << 16) | static_cast<uint16_t>(grab.x));
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, point), HTCAPTION);
    winplat::testing::mouseMove(grab.x, grab.y);
    winplat::testing::mouseButton(MouseButton::Left, true);
    return grab;
}

TEST(MoveSizeAnswers, AnAnswerFinishesTheDragWithInputOfItsOwn) {
    Harness h;
    HWND window = makeCaptioned();
    ASSERT_NE(window, nullptr);
    h.pump();
    const POINT grab = pressOnCaption(window);
    h.answer(ModalKind::MoveSize, "move", [grab](const ModalLoop& loop) -> std::optional<INT_PTR> {
        EXPECT_NE(loop.window, nullptr);
        winplat::testing::mouseMove(grab.x + 30, grab.y + 20);
        winplat::testing::mouseButton(MouseButton::Left, false);
        return std::nullopt;  // the loop goes on with that input
    });
    h.pump();
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_EQ(after.left, 130);
    EXPECT_EQ(after.top, 120);
    EXPECT_EQ(h.answersQueued(), 0u);
    EXPECT_EQ(GetCapture(), nullptr) << "the loop let the mouse go";
}

TEST(MoveSizeAnswers, ADragLeftWithoutAnAnswerFailsTheTestAndEnds) {
    Harness h;
    HWND window = makeCaptioned();
    ASSERT_NE(window, nullptr);
    h.pump();
    pressOnCaption(window);
    EXPECT_NONFATAL_FAILURE(h.pump(), "move");
    EXPECT_EQ(h.unexpectedModalLoops(), 1);
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_EQ(after.left, 100) << "cancelled where it started";
}

}  // namespace
