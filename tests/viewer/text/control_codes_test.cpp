#include "text/control_codes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(ControlCodes, SequenceLengthsForwardAndBack) {
    struct Case {
        Bytes text;
        size_t length;
        const char* why;
    } cases[] = {
        {{1, 0, 12, 0, 3, 0, 1}, 7, "character format"},
        {{2, 3, 255, 2}, 4, "colour pair"},
        {{3, 1, 2, 2, 3}, 5, "shadow"},
        {{21, 21}, 2, "link end"},
        {{20, 5, 0, 0x34, 0x12, 5, 20}, 7, "kind 0 link: L agrees with the body"},
        {{20, 8, 2, 1, 0, 2, 0, 0, 8, 20}, 10, "page link"},
        {{20, 2, 7, 2, 20}, 5, "kind 7: L is 2 but the body is one byte"},
        {{20, 5, 20, 5, 20}, 5, "kind 20: L is 5, body one byte"},
        {{20, 4, 0x40, 9, 20, 20}, 6, "unknown shape measured by L alone"},
        {{1, 0, 12, 0, 3, 0, 2}, 0, "wrong closing byte"},
        {{2, 3, 255}, 0, "cut short"},
        {{20, 9, 2, 1, 0, 2, 0, 0, 8, 20}, 0, "agrees with neither"},
        {{20}, 0, "lone code"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lect32::SequenceLength(c.text, 0), c.length) << c.why;
        if (c.length) {
            EXPECT_EQ(lect32::SequenceStart(c.text, c.length - 1), 0u) << c.why;
        }
    }
}

TEST(ControlCodes, WalkingBackFindsTheStartInsideText) {
    const Bytes text{'a', 20, 2, 7, 2, 20, 'b', 2, 1, 255, 2, 'c'};
    EXPECT_EQ(lect32::SequenceStart(text, 5), 1u);
    EXPECT_EQ(lect32::SequenceStart(text, 10), 7u);
    EXPECT_EQ(lect32::SequenceStart(text, 6), lect32::kNoSequence) << "a text byte closes nothing";
    EXPECT_EQ(lect32::SequenceStart(text, 2), lect32::kNoSequence) << "no opening code before";
}

TEST(ControlCodes, SkipSequencesStopsAtTextOrDamage) {
    const Bytes text{2, 1, 1, 2, 21, 21, 'x'};
    EXPECT_EQ(lect32::SkipSequences(text, 0), 6u);
    EXPECT_EQ(lect32::SkipSequences(text, 6), 6u);
    const Bytes tab{'\t', 'y'};
    EXPECT_EQ(lect32::SkipSequences(tab, 0), 0u) << "a tab is text";
    const Bytes damaged{3, 1, 1};
    EXPECT_EQ(lect32::SkipSequences(damaged, 0), lect32::kNoSequence);
    const Bytes ending{21, 21};
    EXPECT_EQ(lect32::SkipSequences(ending, 0), 2u);
}

}  // namespace
