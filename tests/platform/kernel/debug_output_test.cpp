#include <gtest/gtest.h>

#include "winplat/debug.h"
#include "winplat/testing.h"

namespace {

TEST(DebugOutput, CaptureSeesTextsInOrderAsCp1250) {
    winplat::testing::DebugCapture capture;
    OutputDebugStringA("PXL32: first\n");
    OutputDebugStringA("\x8E\x9D");  // cp1250 bytes pass through unchanged
    OutputDebugStringA(nullptr);     // ignored
    const auto messages = capture.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "PXL32: first\n");
    EXPECT_EQ(messages[1], "\x8E\x9D");
    EXPECT_EQ(capture.text(), "PXL32: first\n\x8E\x9D");
}

TEST(DebugOutput, CapturesNestAndRestore) {
    winplat::testing::DebugCapture outer;
    {
        winplat::testing::DebugCapture inner;
        OutputDebugStringA("inner");
        EXPECT_TRUE(inner.contains("inner"));
    }
    OutputDebugStringA("outer");
    EXPECT_FALSE(outer.contains("inner"));
    EXPECT_TRUE(outer.contains("outer"));
}

}  // namespace
