// The animation record: its stored form read field by field, damaged forms refused, and the
// frame steps of the 50 ms tick at the picture's own delays.
#include "page/animation_record.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace lect32 {
namespace {

using Bytes = std::vector<uint8_t>;

AnimationRecord make(std::vector<uint16_t> delays, uint16_t repeats = AnimationRecord::kEndless) {
    AnimationRecord record;
    record.delays = std::move(delays);
    record.repeats = repeats;
    return record;
}

// The frames shown after each of 'ticks' ticks (the frame when a tick changed it, else -1).
std::vector<int> steps(AnimationRecord& record, int ticks) {
    std::vector<int> out;
    for (int k = 0; k < ticks; ++k) out.push_back(record.Tick() ? record.current : -1);
    return out;
}

TEST(AnimationRecord, StoredFormRoundTrips) {
    const Bytes stored = {
        3, 0,      // three frames
        1, 0,      // current frame 1
        4, 0,      // 4/100 s spent in it
        0xFF, 0x7F,  // repeats left
        10, 0, 0, 0, 0x2C, 0x01,  // delays 10, 0, 300
    };
    const auto record = AnimationRecord::Parse(stored);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->current, 1);
    EXPECT_EQ(record->elapsed, 4);
    EXPECT_EQ(record->repeats, 0x7FFF);
    EXPECT_EQ(record->delays, (std::vector<uint16_t>{10, 0, 300}));
    EXPECT_EQ(record->Bytes(), stored);
}

TEST(AnimationRecord, DamagedFormsAreRefused) {
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"short header", {2, 0, 0, 0, 0}},
        {"no frames", {0, 0, 0, 0, 0, 0, 1, 0}},
        {"a delay missing", {2, 0, 0, 0, 0, 0, 1, 0, 5, 0}},
        {"half a delay", {1, 0, 0, 0, 0, 0, 1, 0, 5}},
        {"current frame past the last", {2, 0, 2, 0, 0, 0, 1, 0, 5, 0, 5, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(AnimationRecord::Parse(c.bytes));
    }
    EXPECT_TRUE(AnimationRecord::Parse(Bytes{2, 0, 1, 0, 0, 0, 1, 0, 5, 0, 5, 0})) << "the last frame is current";
}

TEST(AnimationRecord, FramesStepAtTheirOwnDelays) {
    // 10/100 s is two 50 ms ticks, 15/100 s three, 5/100 s one.
    AnimationRecord record = make({10, 15, 5});
    EXPECT_EQ(steps(record, 7), (std::vector<int>{-1, 1, -1, -1, 2, 0, -1}));
    EXPECT_EQ(record.repeats, AnimationRecord::kEndless - 1) << "one wrap to the first frame";
}

TEST(AnimationRecord, ADelayOfZeroMovesOneFramePerTick) {
    AnimationRecord record = make({0, 0, 0});
    EXPECT_EQ(steps(record, 4), (std::vector<int>{1, 2, 0, 1}));
}

TEST(AnimationRecord, TheLastRepeatStopsOnTheLastFrame) {
    AnimationRecord record = make({5, 5}, 2);
    EXPECT_EQ(steps(record, 5), (std::vector<int>{1, 0, 1, -1, -1}));
    EXPECT_FALSE(record.Running());
    EXPECT_EQ(record.current, 1) << "stopped on its last frame";
    EXPECT_EQ(record.repeats, 0);
}

TEST(AnimationRecord, ElapsedTimeDoesNotOverflow) {
    AnimationRecord record = make({0xFFFF, 0xFFFF});
    record.elapsed = 0xFFFC;
    EXPECT_TRUE(record.Tick()) << "0xFFFC + 5 passes the longest delay";
    EXPECT_EQ(record.elapsed, 0);
}

}  // namespace
}  // namespace lect32
