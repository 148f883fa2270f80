#include "drawing/entity_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/drawing.h"
#include "support/entity_builders.h"
#include "winplat/sanitizer.h"

namespace linework {
namespace {

constexpr size_t kGap = EntityArena::kGap;

std::vector<std::string> Texts(const Drawing& drawing, EntityHandle head) {
    std::vector<std::string> texts;
    ForEachEntity(drawing, head, [&](EntityHandle at) { texts.emplace_back(drawing[at].ShortString(entity_field::kText)); });
    return texts;
}

// The drawing list is walked newest first: its records lie in the arena in the order they came,
// one after another, so the walk steps through one run of memory.
TEST(EntityTable, RecordsLieInTheArenaInTheOrderTheyCame) {
    Drawing drawing;
    EntityHandle line = PushEntity(drawing, test::Polyline({{0, 0}, {1, 1}}));
    EntityHandle arc = PushEntity(drawing, test::Arc({0, 0}, {1, 0}, {1, 0}));
    EntityHandle text = PushEntity(drawing, test::Text("abcd"));
    EXPECT_EQ(drawing[arc].Bytes().data(), drawing[line].Bytes().data() + 52 + kGap);
    EXPECT_EQ(drawing[text].Bytes().data(), drawing[arc].Bytes().data() + 64 + kGap);
    EXPECT_EQ(drawing[text].Size(), 61u);
    EXPECT_EQ(drawing[arc].Double(entity_field::kArcStart), 1.0) << "the bytes were copied";
    EXPECT_EQ(drawing.entities.Arena().RoomsLent(), 3u);
}

// Thousands of records over many chunks, while the slot table grows and moves its records:
// every record still reads as it was written.
TEST(EntityTable, ManyRecordsOverManyChunksKeepTheirBytes) {
    Drawing drawing;
    BlockHandle block = AddBlockDef(drawing, "B", {});
    std::vector<std::string> expected;
    for (int i = 0; i < 5000; ++i) {
        std::string text = std::to_string(i) + std::string(static_cast<size_t>(i % 40), 'x');
        ASSERT_NE(PushEntity(drawing, test::Text(text)), 0u);
        expected.insert(expected.begin(), text);
        if (i % 100 == 0) AppendToBlock(drawing, block, test::Text("m" + std::to_string(i)));
    }
    EXPECT_EQ(Texts(drawing, drawing.head), expected);
    EXPECT_EQ(Texts(drawing, drawing.Block(block).head).back(), "m4900");
    EXPECT_GT(drawing.entities.Arena().Reserved(), EntityArena::kLargestChunk / 4);
    ClearDrawing(drawing);
    EXPECT_EQ(drawing.entities.Arena().RoomsLent(), 0u) << "every room is given back";
}

TEST(EntityTable, FreeingGivesTheRoomBack) {
    Drawing drawing;
    BlockHandle block = AddBlockDef(drawing, "B", {});
    AppendToBlock(drawing, block, test::Text("member"));
    EntityHandle first = PushEntity(drawing, test::Text("first"));
    PushEntity(drawing, test::Insert(block));
    const EntityArena& arena = drawing.entities.Arena();
    ASSERT_EQ(arena.RoomsLent(), 3u);
    DeleteFirstEntity(drawing);
    EXPECT_EQ(arena.RoomsLent(), 2u);
    MoveEntityToBlock(drawing, first, 0, block);
    EXPECT_EQ(arena.RoomsLent(), 2u) << "moving to a block keeps the record";
    EXPECT_EQ(Texts(drawing, drawing.Block(block).head), (std::vector<std::string>{"member", "first"}));
    FreeBlockDef(drawing, block);
    EXPECT_EQ(arena.RoomsLent(), 0u);
}

TEST(ReplaceEntity, KeepsHandleLinkAndReferences) {
    Drawing drawing;
    EntityHandle oldest = PushEntity(drawing, test::Text("oldest"));
    EntityHandle middle = PushEntity(drawing, test::Text("ab"));
    PushEntity(drawing, test::Text("newest"));
    drawing.picked = middle;
    ASSERT_TRUE(ReplaceEntity(drawing, middle, test::Text("a longer text than before")));
    EXPECT_EQ(drawing[middle].Next(), oldest) << "the next link is kept, not the new record's";
    EXPECT_EQ(drawing[middle].Size(), 57u + 25);
    EXPECT_EQ(Texts(drawing, drawing.head), (std::vector<std::string>{"newest", "a longer text than before", "oldest"}));
    EXPECT_EQ(drawing.picked, middle);
    EXPECT_EQ(drawing.entities.Arena().RoomsLent(), 3u) << "the old room was given back";
    EXPECT_FALSE(drawing.memoryError);
}

TEST(ReplaceEntity, AnEmptyRecordLeavesTheEntity) {
    Drawing drawing;
    EntityHandle entity = PushEntity(drawing, test::Text("kept"));
    EXPECT_FALSE(ReplaceEntity(drawing, entity, EntityRecord()));
    EXPECT_TRUE(drawing.memoryError);
    EXPECT_EQ(drawing[entity].ShortString(entity_field::kText), "kept");
    EXPECT_EQ(drawing.entities.Arena().RoomsLent(), 1u);
}

// A record put in a slot by assignment owns its bytes and frees them itself; the placed record it
// took the place of stays lent until the drawing dies (ReplaceEntity is the way to change one).
TEST(EntityTable, ARecordAssignedIntoASlotIsFreedByItself) {
    Drawing drawing;
    EntityHandle entity = PushEntity(drawing, test::Text("placed"));
    PushEntity(drawing, test::Text("other"));
    drawing[entity] = test::Text("owned");
    EXPECT_EQ(drawing[entity].ShortString(entity_field::kText), "owned");
    drawing.entities.Free(entity);
    EXPECT_FALSE(drawing.entities.Holds(entity));
    EXPECT_EQ(drawing.entities.Arena().RoomsLent(), 2u) << "the assigned record gives nothing back";
}

#if defined(WINPLAT_ADDRESS_SANITIZER)
TEST(EntityTableDeathTest, ReadingAFreedRecordIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Drawing drawing;
    PushEntity(drawing, test::Text("stays"));
    EntityHandle gone = PushEntity(drawing, test::Text("freed"));
    std::span<const uint8_t> kept = drawing[gone].Bytes();
    DeleteFirstEntity(drawing);
    PushEntity(drawing, test::Text("freed"));  // the freed room waits in quarantine meanwhile
    EXPECT_DEATH((void)*static_cast<const volatile uint8_t*>(kept.data() + 8), "use-after-poison");
}

TEST(EntityTableDeathTest, ReadingPastARecordIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Drawing drawing;
    EntityHandle first = PushEntity(drawing, test::Text("a"));
    PushEntity(drawing, test::Text("b"));
    std::span<const uint8_t> bytes = drawing[first].Bytes();
    EXPECT_DEATH((void)*static_cast<const volatile uint8_t*>(bytes.data() + bytes.size()), "use-after-poison");
}
#else
TEST(EntityTableDeathTest, ReadingAFreedRecordIsCaught) {
    GTEST_SKIP() << "a freed record is caught only in a build with AddressSanitizer";
}
#endif

}  // namespace
}  // namespace linework
