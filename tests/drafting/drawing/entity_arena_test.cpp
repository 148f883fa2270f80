#include "drawing/entity_arena.h"

#include <gtest/gtest.h>

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace linework {
namespace {

constexpr size_t kGap = EntityArena::kGap;

// Rooms overlap when one starts inside another.
bool Overlap(std::span<uint8_t> a, std::span<uint8_t> b) {
    return a.data() < b.data() + b.size() && b.data() < a.data() + a.size();
}

TEST(EntityArena, RecordsTakenInTurnLieBackToBack) {
    EntityArena arena(0);
    std::span<uint8_t> line = arena.Take(52);
    std::span<uint8_t> arc = arena.Take(64);
    std::span<uint8_t> text = arena.Take(61);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.size(), 52 + kGap);
    EXPECT_EQ(arc.data(), line.data() + 52 + kGap);
    EXPECT_EQ(text.data(), arc.data() + 64 + kGap);
    EXPECT_EQ(arena.RoomsLent(), 3u);
    EXPECT_EQ(arena.Reserved(), EntityArena::kFirstChunk) << "one small chunk for a small drawing";
    EXPECT_TRUE(arena.Take(0).empty());
}

TEST(EntityArena, GivenBackRoomGoesToTheBestFit) {
    EntityArena arena(0);
    std::span<uint8_t> keeper = arena.Take(40);
    std::span<uint8_t> wide = arena.Take(300);
    std::span<uint8_t> between = arena.Take(40);
    std::span<uint8_t> narrow = arena.Take(100);
    arena.Give(wide);
    arena.Give(narrow);
    std::span<uint8_t> fit = arena.Take(90);
    EXPECT_EQ(fit.data(), narrow.data()) << "the smallest room that holds the record";
    EXPECT_EQ(arena.Take(200).data(), wide.data());
    EXPECT_FALSE(Overlap(fit, between));
    EXPECT_FALSE(Overlap(keeper, fit));
}

// Room left over beyond a record is split off when a record (the smallest, with its gap) still
// fits in it; a byte less stays with the record's room.
TEST(EntityArena, SplitsRoomOnlyWhereARecordStillFits) {
    const size_t smallest = EntityArena::kSmallestRoom;
    ASSERT_EQ(smallest, 12 + kGap);
    struct Case {
        const char* what;
        size_t size;
        size_t room;
    };
    const Case cases[] = {
        {"the rest is exactly the smallest room", 100 - smallest, 100 - smallest + kGap},
        {"the rest is a byte too small", 100 - smallest + 1, 100 + kGap},
        {"the same size", 100, 100 + kGap},
    };
    for (const Case& c : cases) {
        EntityArena arena(0);
        std::span<uint8_t> keeper = arena.Take(40);
        std::span<uint8_t> old = arena.Take(100);
        std::span<uint8_t> after = arena.Take(40);
        arena.Give(old);
        std::span<uint8_t> reused = arena.Take(c.size);
        EXPECT_EQ(reused.data(), old.data()) << c.what;
        EXPECT_EQ(reused.size(), c.room) << c.what;
        // What was split off takes the smallest record; otherwise that one is carved afresh.
        std::span<uint8_t> small = arena.Take(12);
        EXPECT_EQ(small.data() == reused.data() + reused.size(), c.room < 100 + kGap) << c.what;
        EXPECT_FALSE(Overlap(small, reused) || Overlap(small, after) || Overlap(small, keeper)) << c.what;
    }
}

TEST(EntityArena, AnEmptiedArenaStartsAgainAtItsFirstChunk) {
    EntityArena arena(0);
    std::vector<std::span<uint8_t>> rooms;
    for (int i = 0; i < 300; ++i) rooms.push_back(arena.Take(52 + i % 5));
    size_t reserved = arena.Reserved();
    ASSERT_GT(reserved, EntityArena::kFirstChunk) << "the records fill more than one chunk";
    for (auto room : rooms) arena.Give(room);
    EXPECT_EQ(arena.RoomsLent(), 0u);
    // Once more the same: every record lands where its predecessor was, no chunk is added.
    for (int i = 0; i < 300; ++i) {
        std::span<uint8_t> room = arena.Take(52 + i % 5);
        EXPECT_EQ(room.data(), rooms[i].data()) << i;
    }
    EXPECT_EQ(arena.Reserved(), reserved);
}

TEST(EntityArena, AChunkTailTooShortForARecordTakesSmallerOnes) {
    EntityArena arena(0);
    std::span<uint8_t> first = arena.Take(4000);
    std::span<uint8_t> big = arena.Take(200);  // does not fit the rest of the first chunk
    EXPECT_NE(big.data(), first.data() + first.size());
    std::span<uint8_t> small = arena.Take(50);
    EXPECT_EQ(small.data(), first.data() + first.size()) << "the first chunk's tail";
}

TEST(EntityArena, ARecordBeyondTheLargestChunkGetsOneOfItsOwn) {
    EntityArena arena(0);
    const size_t huge = EntityArena::kLargestChunk + 1;
    std::span<uint8_t> room = arena.Take(huge);
    ASSERT_EQ(room.size(), huge + kGap);
    std::fill(room.begin(), room.begin() + static_cast<ptrdiff_t>(huge), uint8_t{0x5A});
    EXPECT_EQ(arena.Reserved(), huge + kGap);
    std::span<uint8_t> next = arena.Take(52);
    EXPECT_FALSE(Overlap(room, next));
}

// Given-back room waits until more than the quarantine's bytes came after it.
TEST(EntityArena, QuarantineHoldsRoomBackUpToItsLimit) {
    const size_t room = 100 + kGap;
    EntityArena arena(2 * room);
    std::span<uint8_t> keeper = arena.Take(40);
    std::span<uint8_t> a = arena.Take(100);
    std::span<uint8_t> b = arena.Take(100);
    std::span<uint8_t> c = arena.Take(100);
    arena.Give(a);
    arena.Give(b);  // exactly at the limit: both wait
    std::span<uint8_t> fresh = arena.Take(100);
    EXPECT_NE(fresh.data(), a.data());
    EXPECT_NE(fresh.data(), b.data());
    arena.Give(c);  // one room more than the limit: the oldest is free again
    EXPECT_EQ(arena.Take(100).data(), a.data());
    EXPECT_NE(arena.Take(100).data(), b.data()) << "b still waits";
    EXPECT_FALSE(Overlap(keeper, a));
}

// Rooms taken and given back in a long mixed run never overlap, and what a record holds stays
// as it was written, whatever reuse and splitting did beside it.
TEST(EntityArena, MixedTakesAndGivesKeepEveryRecordIntact) {
    for (size_t quarantine : {size_t{0}, size_t{4096}}) {
        EntityArena arena(quarantine);
        struct Live {
            std::span<uint8_t> room;
            size_t size;
            uint8_t fill;
        };
        std::vector<Live> live;
        size_t taken = 0;
        uint32_t state = 12345;
        auto next = [&] { return state = state * 1103515245u + 12345u, state >> 8; };
        for (int step = 0; step < 20000; ++step) {
            if (live.size() > 1000 || (!live.empty() && next() % 3 == 0)) {
                size_t at = next() % live.size();
                arena.Give(live[at].room);
                live.erase(live.begin() + static_cast<ptrdiff_t>(at));
                continue;
            }
            size_t size = 12 + next() % 500;
            std::span<uint8_t> room = arena.Take(size);
            ASSERT_GE(room.size(), size + kGap);
            uint8_t fill = static_cast<uint8_t>(step);
            std::fill_n(room.begin(), size, fill);
            live.push_back({room, size, fill});
            taken += room.size();
        }
        for (const Live& record : live) {
            EXPECT_TRUE(std::all_of(record.room.begin(), record.room.begin() + static_cast<ptrdiff_t>(record.size),
                                    [&](uint8_t b) { return b == record.fill; }));
        }
        std::vector<Live> sorted = live;
        std::sort(sorted.begin(), sorted.end(),
                  [](const Live& x, const Live& y) { return x.room.data() < y.room.data(); });
        for (size_t i = 1; i < sorted.size(); ++i) EXPECT_FALSE(Overlap(sorted[i - 1].room, sorted[i].room));
        EXPECT_EQ(arena.RoomsLent(), live.size());
        // Ten times the records that are live at the end came and went: without reuse the arena
        // would hold every one of them.
        EXPECT_LT(arena.Reserved(), taken / 2) << "given-back room is reused";
    }
}

#if defined(WINPLAT_ADDRESS_SANITIZER)
bool Poisoned(const uint8_t* at) { return __asan_address_is_poisoned(at) != 0; }

TEST(EntityArenaSanitized, PoisonsEverythingButTheRecords) {
    EntityArena arena(0);
    std::span<uint8_t> keeper = arena.Take(40);
    std::span<uint8_t> arc = arena.Take(64);
    EXPECT_FALSE(Poisoned(arc.data()));
    EXPECT_FALSE(Poisoned(arc.data() + 63));
    EXPECT_TRUE(Poisoned(arc.data() + 64)) << "the gap after the record";
    EXPECT_TRUE(Poisoned(arc.data() + arc.size())) << "room not lent yet";
    EXPECT_FALSE(Poisoned(keeper.data() + 39));
    EXPECT_TRUE(Poisoned(keeper.data() + 40));
    arena.Give(arc);
    EXPECT_TRUE(Poisoned(arc.data()));
    EXPECT_TRUE(Poisoned(arc.data() + 63));
    EXPECT_FALSE(Poisoned(keeper.data() + 39)) << "the neighbour stays usable";
    std::span<uint8_t> again = arena.Take(60);
    ASSERT_EQ(again.data(), arc.data());
    EXPECT_FALSE(Poisoned(again.data() + 59));
    EXPECT_TRUE(Poisoned(again.data() + 60));
}

TEST(EntityArenaSanitized, QuarantineIsOnByDefault) { EXPECT_GT(EntityArena::kDefaultQuarantine, 0u); }
#else
TEST(EntityArenaSanitized, PoisonsEverythingButTheRecords) {
    GTEST_SKIP() << "poisoning is seen only in a build with AddressSanitizer";
}
#endif

}  // namespace
}  // namespace linework
