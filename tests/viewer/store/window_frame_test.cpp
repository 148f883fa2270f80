// A client rectangle moved out to the frame around it, on the layer's classic metrics (caption 19,
// sizing frame 4).
#include <gtest/gtest.h>

#include "store/window_frame.h"

namespace {

TEST(WindowFrameTest, EdgesMoveByTheFrameCaptionAndOrigin) {
    ASSERT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
    ASSERT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    ASSERT_EQ(GetSystemMetrics(SM_CYFRAME), 4);
    struct Case {
        POINT origin;
        RECT expected;
        int up;
    };
    // The rectangle (10, 20)-(110, 220) in every case.
    for (const Case& c : {Case{{0, 0}, {7, -2, 107, 198}, 22}, Case{{2, 3}, {5, -5, 105, 195}, 25},
                          Case{{-3, -30}, {10, 28, 110, 228}, -8}}) {
        RECT rect{10, 20, 110, 220};
        EXPECT_EQ(lect32::AdjustRectForFrame(c.origin, rect), c.up);
        EXPECT_EQ(rect.left, c.expected.left);
        EXPECT_EQ(rect.top, c.expected.top);
        EXPECT_EQ(rect.right, c.expected.right);
        EXPECT_EQ(rect.bottom, c.expected.bottom);
    }
}

}  // namespace
