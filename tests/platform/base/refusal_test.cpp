#include "winplat/refusal.h"

#include <gtest/gtest.h>

#include "winplat/testing.h"

namespace {

constexpr winplat::Refuser refuse("winplat-test: parser");

constexpr int kRefusingLine = __LINE__ + 1;
int16_t refuseAHeader() { return refuse(int16_t{2}, "header shorter than 14 bytes"); }

TEST(Refusal, SaysWhoWhyAndWhereAndHandsBackTheFailureValue) {
    winplat::testing::DebugCapture capture;
    EXPECT_EQ(refuseAHeader(), 2);
    const auto messages = capture.messages();
    ASSERT_EQ(messages.size(), 1u);
    // The line is the refusing call's, not the helper's.
    const std::string expected = "winplat-test: parser: refused: header shorter than 14 bytes [refusal_test.cpp:" +
                                 std::to_string(kRefusingLine) + "]\n";
    EXPECT_EQ(messages[0], expected);
}

TEST(Refusal, LogAloneWritesTheSameLine) {
    winplat::testing::DebugCapture capture;
    refuse.log("no frames");
    EXPECT_TRUE(capture.contains("winplat-test: parser: refused: no frames [refusal_test.cpp:"));
}

TEST(Refusal, UnsupportedIsOnlyLoggedWhileAssertsAreOff) {
    winplat::testing::ScopedDebugAsserts off(false);
    winplat::testing::DebugCapture capture;
    EXPECT_EQ(refuse.unsupported(0, "flag 0x40"), 0);
    EXPECT_TRUE(capture.contains("refused: flag 0x40"));
    EXPECT_FALSE(winplat::debugAssertsEnabled());
}

TEST(Refusal, AssertSwitchNestsAndRestores) {
    const bool before = winplat::debugAssertsEnabled();
    {
        winplat::testing::ScopedDebugAsserts on(true);
        EXPECT_TRUE(winplat::debugAssertsEnabled());
        {
            winplat::testing::ScopedDebugAsserts off(false);
            EXPECT_FALSE(winplat::debugAssertsEnabled());
        }
        EXPECT_TRUE(winplat::debugAssertsEnabled());
    }
    EXPECT_EQ(winplat::debugAssertsEnabled(), before);
}

#ifndef NDEBUG
TEST(Refusal, DebugBuildsStartWithAssertsOn) { EXPECT_TRUE(winplat::debugAssertsEnabled()); }
#endif

TEST(RefusalDeathTest, UnsupportedTripsTheAssertWhileEnabled) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            winplat::testing::ScopedDebugAsserts on(true);
            refuse.unsupported(0, "DIB_PAL_COLORS");
        },
        "unsupported request: winplat-test: parser: refused: DIB_PAL_COLORS");
}

}  // namespace
