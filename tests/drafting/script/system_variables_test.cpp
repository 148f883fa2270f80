#include "script/system_variables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace linework {
namespace {

struct Recorder : SystemVariableEffects {
    std::vector<std::pair<int, uint32_t>> timers;
    void TimerChanged(int timer, bool enabled, uint32_t interval) override {
        timers.emplace_back(enabled ? timer : -timer, interval);
    }
};

class SystemVariablesTest : public ::testing::Test {
protected:
    static constexpr int32_t kInt = SystemVariableImage::kFirstIntegerNumber;
    static constexpr int32_t kDbl = SystemVariableImage::kFirstDoubleNumber;
    SystemVariableImage image;
    Recorder effects;
    SystemVariables vars{image, effects, [] { return ClockFields{2026, 12, 10, 4, 15, 30, 5, 250}; }};
};

TEST_F(SystemVariablesTest, TheImageLayoutIsTheDrawingFilesBlocks) {
    EXPECT_EQ(SystemVariableImage::kSize, 8720u);
    image.SetByte(57, 0xAB);
    image.SetInteger(368, 0x01020304);
    image.SetDouble(561, 1.5);
    EXPECT_EQ(image.BlockBytes(SystemVariableImage::kS1)[0], 0xAB);
    EXPECT_EQ(SystemVariableImage::kS1.size, 12u);
    auto s2 = image.BlockBytes(SystemVariableImage::kS2);
    EXPECT_EQ(s2.size(), 1320u);
    EXPECT_EQ(s2[0], 0x04);  // little-endian
    EXPECT_EQ(s2[3], 0x01);
    EXPECT_EQ(SystemVariableImage::kS2.offset, 72u + 4 * 368);
    auto s3 = image.BlockBytes(SystemVariableImage::kS3);
    EXPECT_EQ(s3.size(), 1368u);
    double first;
    std::memcpy(&first, s3.data(), 8);
    EXPECT_EQ(first, 1.5);
    EXPECT_EQ(SystemVariableImage::kS3.offset + SystemVariableImage::kS3.size, SystemVariableImage::kSize);
    // Script numbers reach the same elements.
    EXPECT_EQ(vars.Read(kInt + 368), 0x01020304);
    EXPECT_EQ(vars.Read(kDbl + 561), 1.5);
    EXPECT_EQ(SystemVariableImage::kLastNumber, 1498);
}

TEST_F(SystemVariablesTest, WriteRules) {
    struct Case {
        int32_t number;
        double value;
        double expected;
    };
    const Case cases[] = {
        {3, 1, 0},                    // switches 0..5 are read-only
        {20, 0.5, 1},                 // any non-zero switch is 1
        {kInt + 22, 5, 0},            // integers 0..22 are read-only
        {kInt + 302, 32, 0},          {kInt + 302, 33, 33},
        {kInt + 326, 256, 0},         {kInt + 326, 255, 255},       {kInt + 326, -1, 255},
        {kInt + 331, 32, 0},          {kInt + 331, 31, 31},
        {kInt + 361, 0, 0},           {kInt + 361, 1, 1},
        {kInt + 364, -256, 0},        {kInt + 364, -255, -255},
        {kInt + 637, 7, 0},           {kInt + 637, 6, 6},
        {kInt + 691, 3, 0},           {kInt + 691, 2, 2},
        {kInt + 645, 7, 0},           {kInt + 645, 6, 6},           {kInt + 641, -1, 0},
        {kInt + 100, 2.9, 2},         {kInt + 100, -2.9, -2},
        {kInt + 375, 0x00000101, 0x101},  // a valid layer word
        {kInt + 376, 0x00000100, 0},      // colour 0
        {kInt + 377, 0x00070101, 0},      // line type 7
        {kInt + 378, 0x01000101, 0},      // a reserved bit
        {kDbl + 0, 0, 0},             {kDbl + 0, 2, 2},
        {kDbl + 10, 1e30, 1e19},      {kDbl + 11, -1e30, -1e19},
        {kDbl + 12, NAN, 0},          {kInt + 101, NAN, 0},         {21, NAN, 0},
    };
    for (const Case& c : cases) {
        vars.Write(c.number, c.value);
        EXPECT_EQ(vars.Read(c.number), c.expected) << c.number << " <- " << c.value;
    }
    vars.Write(kDbl + 566, 7);
    EXPECT_DOUBLE_EQ(vars.Read(kDbl + 566), 7 - 2 * M_PI);
    vars.Write(66, 1);
    vars.Write(67, 1);
    EXPECT_EQ(vars.Read(66), 0);
    EXPECT_FALSE(vars.AccessSystemVariable(SystemVariables::Access::Read, 1499));
    EXPECT_FALSE(vars.AccessSystemVariable(SystemVariables::Access::Read, -1));
}

TEST_F(SystemVariablesTest, ReadOnlySwitchesEndAtFive) {
    // Both sides of each bound of the read-only switches 0..5, and of the read-only integers
    // that follow switch 68; every element starts at 0.
    struct Case {
        int32_t number;
        double expected;  // after writing 1
    };
    const Case cases[] = {
        {0, 0}, {5, 0}, {6, 1}, {68, 1}, {kInt + 0, 0},
    };
    for (const Case& c : cases) {
        vars.Write(c.number, 1);
        EXPECT_EQ(vars.Read(c.number), c.expected) << c.number;
    }
}

TEST_F(SystemVariablesTest, SwitchesSixtySixAndSixtySevenExcludeEachOther) {
    struct Step {
        int32_t number;
        double value;
        double expected66, expected67;
    };
    const Step steps[] = {
        {66, 1, 1, 0}, {67, 1, 0, 1}, {66, 1, 1, 0}, {66, 0, 0, 0},  // switching off clears only itself
        {67, 1, 0, 1}, {66, 0, 0, 1}, {67, 1, 0, 1},                 // setting one again keeps it
    };
    for (const Step& s : steps) {
        vars.Write(s.number, s.value);
        EXPECT_EQ(vars.Read(66), s.expected66) << s.number << " <- " << s.value;
        EXPECT_EQ(vars.Read(67), s.expected67) << s.number << " <- " << s.value;
    }
    // The third switch of the group is independent of both.
    vars.Write(68, 1);
    EXPECT_EQ(vars.Read(67), 1);
}

TEST_F(SystemVariablesTest, BackgroundSwapAndColourTable) {
    vars.Write(kInt + 23, 0x000000);
    vars.Write(kInt + 30, 0xFFFFFF);  // colour-table entry 7
    vars.Write(kInt + 31, 0x000000);  // equal to the background: refused
    EXPECT_EQ(vars.Read(kInt + 31), 0);
    image.SetInteger(31, 0x123456);
    vars.Write(kInt + 23, 0xFFFFFF);
    EXPECT_EQ(vars.Read(kInt + 23), 0xFFFFFF);
    EXPECT_EQ(vars.Read(kInt + 30), 0x000000);
    EXPECT_EQ(vars.Read(kInt + 31), 0x123456);
}

TEST_F(SystemVariablesTest, ClockFieldsAndTimers) {
    EXPECT_EQ(vars.Read(81), 2026);  // integer 12: the year
    EXPECT_EQ(vars.Read(kInt + 19), 250);
    vars.Write(kInt + 325, 1000);
    vars.Write(kInt + 325, 0);
    vars.Write(kInt + 373, -5);
    EXPECT_EQ(effects.timers, (std::vector<std::pair<int, uint32_t>>{{1, 1000}, {-1, 0}, {-2, 0}}));
}

}  // namespace
}  // namespace linework
