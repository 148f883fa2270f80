#include <gtest/gtest.h>

#include "host/environment.h"

namespace {

using winplat::host::HostKind;

struct SizeCase {
    const char* text;
    int width;   // 0: refused
    int height;
};

class ScreenSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ScreenSizes, ParseOrRefuseWithAReason) {
    const SizeCase& c = GetParam();
    const auto parsed = winplat::host::parseScreenSize(c.text);
    if (c.width == 0) {
        EXPECT_FALSE(parsed.value);
        EXPECT_EQ(parsed.error, "'" + std::string(c.text) + "' is not WIDTHxHEIGHT with each from 1 to 16384");
        return;
    }
    ASSERT_TRUE(parsed.value) << parsed.error;
    EXPECT_EQ(parsed.value->width, c.width);
    EXPECT_EQ(parsed.value->height, c.height);
}

INSTANTIATE_TEST_SUITE_P(Values, ScreenSizes,
                         ::testing::Values(SizeCase{"1024x768", 1024, 768}, SizeCase{"1x1", 1, 1},
                                           SizeCase{"16384x16384", 16384, 16384}, SizeCase{"16385x10", 0, 0},
                                           SizeCase{"0x10", 0, 0}, SizeCase{"10x0", 0, 0}, SizeCase{"10", 0, 0},
                                           SizeCase{"10x", 0, 0}, SizeCase{"x10", 0, 0}, SizeCase{"-5x10", 0, 0},
                                           SizeCase{"10x10x10", 0, 0}, SizeCase{"640 x480", 0, 0},
                                           SizeCase{"", 0, 0}));

TEST(Snapshot, PathWithAndWithoutTime) {
    const auto plain = winplat::host::parseSnapshot("shot.png");
    ASSERT_TRUE(plain.value);
    EXPECT_EQ(plain.value->path, "shot.png");
    EXPECT_EQ(plain.value->afterMs, 0u);
    const auto timed = winplat::host::parseSnapshot("a@b/shot.png@3000");
    ASSERT_TRUE(timed.value);
    EXPECT_EQ(timed.value->path, "a@b/shot.png");
    EXPECT_EQ(timed.value->afterMs, 3000u);
    EXPECT_EQ(winplat::host::parseSnapshot("shot.png@soon").error, "'soon' after '@' is not a time in ms");
    EXPECT_EQ(winplat::host::parseSnapshot("@100").error, "no file name before '@'");
}

TEST(HostKind, ChosenByNameOrByTheDisplay) {
    using winplat::host::parseHostKind;
    EXPECT_EQ(parseHostKind("headless", true, true).value, HostKind::Headless);
    EXPECT_EQ(parseHostKind("sdl", true, false).value, HostKind::Sdl);
    EXPECT_EQ(parseHostKind("", true, true).value, HostKind::Sdl);
    EXPECT_EQ(parseHostKind("", true, false).value, HostKind::Headless);
    EXPECT_EQ(parseHostKind("", false, true).value, HostKind::Headless);
    EXPECT_EQ(parseHostKind("sdl", false, true).error, "the SDL host is not built (SDL2 was not found)");
    EXPECT_EQ(parseHostKind("x11", true, true).error, "'x11' is neither sdl nor headless");
}

}  // namespace
