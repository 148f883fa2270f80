#include <vector>

#include <gtest/gtest.h>

#include "store/lock_slots.h"
#include "store/span_array.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using lect32::Span;
using lect32::SpanArray;
using winplat::testing::GlobalAllocFailure;
using Spans = std::vector<std::pair<int, int>>;

Spans spans(SpanArray& array) {
    Spans out;
    for (uint16_t i = 0; i < array.GetCount(); ++i) {
        const Span s = array.GetSpan(i);
        out.emplace_back(s.start, s.length);
    }
    return out;
}

void set(SpanArray& array, const Spans& values) {
    ASSERT_EQ(array.InsertSpans(0, static_cast<uint16_t>(values.size()), false), 1);
    for (uint16_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(array.SetSpan(i, Span{static_cast<uint16_t>(values[i].first), static_cast<uint16_t>(values[i].second)}), 1);
    }
}

TEST(SpanArray, ChainedInsertsStartWhereThePreviousSpanEnds) {
    SpanArray empty;
    ASSERT_EQ(empty.InsertSpans(0, 3, true), 1);
    EXPECT_EQ(spans(empty), (Spans{{0, 0}, {0, 0}, {0, 0}}));
    struct Case {
        uint16_t at, n;
        Spans expected;
    };
    for (const Case& c : {Case{2, 1, {{0, 5}, {5, 7}, {12, 0}}}, Case{1, 2, {{0, 5}, {5, 0}, {5, 0}, {5, 7}}},
                          Case{0, 1, {{0, 0}, {0, 5}, {5, 7}}}, Case{1, 0, {{0, 5}, {5, 7}}}}) {
        SpanArray array;
        set(array, {{0, 5}, {5, 7}});
        ASSERT_EQ(array.InsertSpans(c.at, c.n, true), 1);
        EXPECT_EQ(spans(array), c.expected) << c.at << "," << c.n;
    }
}

// Chained spans are written through the lock the growth took or the one the owner keeps; either
// way the insert leaves the block locked exactly as often as before it, moved or not, and a
// refused insert changes nothing.
TEST(SpanArray, ChainedInsertsGiveBackTheirLock) {
    for (const bool moves : {false, true}) {
        for (const bool kept : {false, true}) {
            SCOPED_TRACE(testing::Message() << "moves " << moves << " kept " << kept);
            winplat::testing::GlobalReallocMoves policy(moves);
            SpanArray array;
            set(array, {{0, 5}, {5, 7}});
            if (kept) array.KeepLocked();
            const unsigned locks = kept ? 1 : 0;
            ASSERT_EQ(array.InsertSpans(1, 2, true), 1);
            EXPECT_EQ(GlobalFlags(array.GetHandle()) & GMEM_LOCKCOUNT, locks);
            ASSERT_EQ(array.InsertSpans(4, 1, true), 1);
            EXPECT_EQ(GlobalFlags(array.GetHandle()) & GMEM_LOCKCOUNT, locks);
            EXPECT_EQ(spans(array), (Spans{{0, 5}, {5, 0}, {5, 0}, {5, 7}, {12, 0}}));
            {
                GlobalAllocFailure fail(1, 10);
                EXPECT_EQ(array.InsertSpans(2, 1, true), 0);
            }
            EXPECT_EQ(GlobalFlags(array.GetHandle()) & GMEM_LOCKCOUNT, locks);
            EXPECT_EQ(spans(array), (Spans{{0, 5}, {5, 0}, {5, 0}, {5, 7}, {12, 0}}));
            EXPECT_EQ(GlobalSize(array.GetHandle()), 20u);
        }
    }
}

TEST(SpanArray, GrowShrinkAndChainKeepARunConsistent) {
    struct Case {
        char op;  // g grow, s shrink, c chain
        uint16_t i, n, d;
        Spans expected;
    };
    const Spans start{{0, 5}, {5, 7}, {12, 3}, {15, 1}};
    for (const Case& c : {Case{'g', 1, 1, 4, {{0, 5}, {5, 11}, {12, 3}, {15, 1}}},
                          Case{'g', 1, 3, 4, {{0, 5}, {5, 11}, {16, 3}, {19, 1}}},
                          Case{'s', 0, 4, 2, {{0, 3}, {3, 7}, {10, 3}, {13, 1}}},
                          Case{'g', 0, 0, 9, start}, Case{'g', 0, 4, 0, start},
                          Case{'s', 3, 1, 2, {{0, 5}, {5, 7}, {12, 3}, {15, 0xFFFF}}}}) {
        SpanArray array;
        set(array, start);
        if (c.op == 'g') array.GrowSpans(c.i, c.n, c.d);
        if (c.op == 's') array.ShrinkSpans(c.i, c.n, c.d);
        EXPECT_EQ(spans(array), c.expected) << c.op << c.i << c.n << c.d;
    }
    SpanArray array;
    set(array, {{3, 2}, {0, 4}, {0, 1}, {99, 9}});
    array.ChainStarts(0, 3);
    EXPECT_EQ(spans(array), (Spans{{3, 2}, {5, 4}, {9, 1}, {99, 9}}));
    array.ChainStarts(1, 0);
    EXPECT_EQ(spans(array)[3], (std::pair<int, int>{99, 9}));
}

TEST(SpanArray, FindEmptySpan) {
    SpanArray array;
    EXPECT_EQ(array.FindEmptySpan(1), -1);  // no block
    set(array, {{0, 5}, {5, 0}, {5, 2}, {7, 0}});
    EXPECT_EQ(array.FindEmptySpan(0), -1);
    EXPECT_EQ(array.FindEmptySpan(1), -1);
    EXPECT_EQ(array.FindEmptySpan(2), 1);
    EXPECT_EQ(array.FindEmptySpan(4), 1);
}

TEST(SpanArray, DeletesAndEmptyArrays) {
    SpanArray array;
    EXPECT_EQ(array.GetSpan(0).length, 0);
    EXPECT_EQ(array.SetSpan(0, Span{1, 1}), 0);
    EXPECT_EQ(array.GetSpanPointer(0), nullptr);
    set(array, {{0, 1}, {1, 2}, {3, 3}, {6, 4}});
    ASSERT_EQ(array.DeleteSpans(1, 2), 1);
    EXPECT_EQ(spans(array), (Spans{{0, 1}, {6, 4}}));
    EXPECT_EQ(array.DeleteSpans(0, 0), 1);
    ASSERT_EQ(array.DeleteSpans(0, 2), 1);
    EXPECT_EQ(array.GetHandle(), nullptr);
    EXPECT_EQ(array.GetSize(), 0);
}

// Every call on a run one span longer than the array is refused whole, and says so: the spans
// inside it stay as they were, and so does the array's size.
TEST(SpanArray, RunsOnePastTheLastSpanChangeNothing) {
    const Spans start{{0, 5}, {9, 7}, {30, 3}};  // not chained, so chaining would show
    struct Case {
        const char* what;
        int (*call)(SpanArray&);
    };
    const Case cases[] = {
        {"set", [](SpanArray& a) { return a.SetSpan(3, Span{1, 1}); }},
        {"pointer", [](SpanArray& a) { return a.GetSpanPointer(3) != nullptr ? 1 : 0; }},
        {"insert", [](SpanArray& a) { return a.InsertSpans(4, 1, false); }},
        {"delete", [](SpanArray& a) { return a.DeleteSpans(1, 3); }},  // 3 spans: the whole block's size
        {"grow", [](SpanArray& a) { return (a.GrowSpans(2, 2, 4), 0); }},
        {"shrink", [](SpanArray& a) { return (a.ShrinkSpans(2, 2, 1), 0); }},
        {"chain", [](SpanArray& a) { return (a.ChainStarts(1, 3), 0); }},
    };
    for (const Case& c : cases) {
        SpanArray array;
        set(array, start);
        winplat::testing::DebugCapture debug;
        EXPECT_EQ(c.call(array), 0) << c.what;
#ifndef NDEBUG
        EXPECT_FALSE(debug.text().empty()) << c.what << " is reported as a misuse";
#endif
        EXPECT_EQ(array.GetSize(), 12) << c.what;
        EXPECT_EQ(spans(array), start) << c.what;
    }
}

TEST(SpanArray, LimitAndRefusedMemoryLeaveTheSpans) {
    SpanArray array;
    ASSERT_EQ(array.InsertSpans(0, SpanArray::kMaxSpans, true), 1);
    EXPECT_EQ(array.GetSize(), 65532);
    ASSERT_EQ(array.SetSpan(100, Span{7, 8}), 1);
    EXPECT_EQ(array.InsertSpans(5, 1, true), 0);
    EXPECT_EQ(array.GetCount(), SpanArray::kMaxSpans);
    EXPECT_EQ(array.GetSpan(100).start, 7);
    ASSERT_EQ(array.DeleteSpans(10, SpanArray::kMaxSpans - 12), 1);
    const Spans before = spans(array);
    ASSERT_EQ(before.size(), 12u);
    GlobalAllocFailure fail(1, 10);
    EXPECT_EQ(array.InsertSpans(3, 2, true), 0);
    EXPECT_EQ(array.DeleteSpans(3, 2), 0);
    EXPECT_EQ(spans(array), before);
}

TEST(SpanArray, ParkedSpansUseTheParkedPointer) {
    SpanArray array;
    set(array, {{1, 2}, {3, 4}});
    lect32::gLockSlots.Reset();
    lect32::gLockSlots.Park(nullptr);  // a store's block before its index
    EXPECT_EQ(array.ParkLock(), 2);
    EXPECT_EQ(array.GetSpanPointer(1), static_cast<uint8_t*>(lect32::gLockSlots.Get(2)) + 4);
    array.GrowSpans(0, 2, 1);
    EXPECT_EQ(spans(array), (Spans{{1, 3}, {4, 4}}));
    EXPECT_EQ(GlobalFlags(array.GetHandle()) & GMEM_LOCKCOUNT, 1u);
    array.UnparkLock();
    EXPECT_EQ(GlobalFlags(array.GetHandle()) & GMEM_LOCKCOUNT, 0u);
}

}  // namespace
