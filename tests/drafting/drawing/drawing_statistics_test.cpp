#include "drawing/drawing_statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "drawing/block_definitions.h"
#include "support/entity_builders.h"
#include "winplat/sanitizer.h"

namespace linework {
namespace {

std::vector<std::string> BlockNames(const Drawing& drawing) {
    std::vector<std::string> names;
    ForEachBlock(drawing, [&](BlockHandle at) { names.push_back(drawing.Block(at).name); });
    return names;
}

TEST(FindBlockDef, ExactAndCaseSensitive) {
    Drawing drawing;
    BlockHandle door = AddBlockDef(drawing, "DOOR", {});
    EXPECT_EQ(FindBlockDef(drawing, "door"), 0u);
    EXPECT_EQ(FindBlockDef(drawing, "DOOR"), door);
    EXPECT_EQ(FindBlockDef(drawing, "DOO"), 0u);
    EXPECT_EQ(FindBlockDef(drawing, "DOORS"), 0u);
    BlockHandle newer = AddBlockDef(drawing, "DOOR", {});
    EXPECT_EQ(FindBlockDef(drawing, "DOOR"), newer) << "the first in list order";
}

TEST(OrderBlockDefinitions, NestedFirst) {
    Drawing drawing;
    BlockHandle a = AddBlockDef(drawing, "A", {});
    AppendToBlock(drawing, a, test::Polyline({{0, 0}, {1, 1}}));
    BlockHandle c = AddBlockDef(drawing, "C", {});
    BlockHandle b = AddBlockDef(drawing, "B", {});
    AppendToBlock(drawing, b, test::Insert(a));
    ASSERT_EQ(BlockNames(drawing), (std::vector<std::string>{"B", "C", "A"}));
    OrderBlockDefinitions(drawing);
    auto names = BlockNames(drawing);
    auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
    EXPECT_LT(at("A"), at("B"));
    EXPECT_EQ(names.size(), 3u);
    (void)c;
}

TEST(BlockStatistics, OneInsertOfAFiveLineBlock) {
    Drawing drawing;
    SystemVariableImage image;
    image.SetDouble(42, 9);  // not touched
    image.SetDouble(33, 9);  // cleared
    BlockHandle block = AddBlockDef(drawing, "FIVE", {});
    for (int i = 0; i < 5; ++i) AppendToBlock(drawing, block, test::Polyline({{0, 0}, {1.0 * i, 1}}));
    PushEntity(drawing, test::Insert(block));
    ComputeDrawingStatistics(drawing, image, 17);
    using namespace statistics_slot;
    EXPECT_EQ(image.Double(kBlockInsert), 1);
    EXPECT_EQ(image.Double(kInsertedEntities), 5);
    EXPECT_EQ(image.Double(kEntities), 1);
    EXPECT_EQ(image.Double(kExploded), 5);
    EXPECT_EQ(image.Double(kBlockDefinitions), 1);
    EXPECT_EQ(image.Double(kBlockMembers), 5);
    EXPECT_EQ(image.Double(kLine), 0) << "members are not entities of the drawing";
    EXPECT_EQ(image.Double(kInputCounter), 17);
    EXPECT_EQ(image.Double(33), 0);
    EXPECT_EQ(image.Double(42), 9);
}

TEST(BlockStatistics, ClassesAndErasedEntities) {
    Drawing drawing;
    SystemVariableImage image;
    PushEntity(drawing, test::Polyline({{0, 0}}));
    PushEntity(drawing, test::Polyline({{0, 0}, {1, 0}}));
    PushEntity(drawing, test::Polyline({{0, 0}, {1, 0}}, 0, 3));
    PushEntity(drawing, test::Polyline({{0, 0}, {1, 0}, {1, 1}}, 0, 0, 7));
    PushEntity(drawing, test::Polyline({{0, 0}, {1, 0}, {1, 1}}, 0, 2, 7));
    PushEntity(drawing, test::Polyline({{0, 0}, {1, 0}, {1, 1}}, 0, 0, 8));
    PushEntity(drawing, test::Polyline({{0, 0}, {1, 0}, {1, 1}}, 0, 1, 8));
    PushEntity(drawing, test::Arc({0, 0}, {1, 0}, {1, 0}));
    PushEntity(drawing, test::Arc({0, 0}, {1, 0}, {0, 1}));
    EntityHandle text = PushEntity(drawing, test::Text("x"));
    EntityHandle selected = PushEntity(drawing, test::Text("y"));
    drawing[selected].SetByte(entity_field::kKindAndFlags, 0x33);  // selected, previous selection
    ComputeDrawingStatistics(drawing, image, 0);
    for (int32_t slot = 21; slot <= 30; ++slot) {
        EXPECT_EQ(image.Double(slot), slot == 30 ? 2 : 1) << "slot " << slot;
    }
    EXPECT_EQ(image.Double(statistics_slot::kEntities), 11);
    drawing[text].SetByte(entity_field::kKindAndFlags, 0x38);  // erased
    ComputeDrawingStatistics(drawing, image, 0);
    EXPECT_EQ(image.Double(statistics_slot::kText), 1);
    EXPECT_EQ(image.Double(statistics_slot::kEntities), 10);
    EXPECT_EQ(CountEntitiesPerLayer(drawing)[0], 10) << "the erased entity stays in the list, uncounted";
}

TEST(BlockStatistics, CyclicBlocksFinish) {
    Drawing drawing;
    BlockHandle a = AddBlockDef(drawing, "A", {});
    BlockHandle b = AddBlockDef(drawing, "B", {});
    BlockHandle self = AddBlockDef(drawing, "SELF", {});
    AppendToBlock(drawing, a, test::Insert(b));
    AppendToBlock(drawing, a, test::Polyline({{0, 0}}));
    AppendToBlock(drawing, b, test::Insert(a));
    AppendToBlock(drawing, b, test::Polyline({{0, 0}}));
    AppendToBlock(drawing, self, test::Insert(self));
    OrderBlockDefinitions(drawing);
    EXPECT_EQ(BlockNames(drawing).size(), 3u);
    EXPECT_TRUE(BlockUsesBlock(drawing, "A", b));
    EXPECT_TRUE(BlockUsesBlock(drawing, "B", a));
    EXPECT_FALSE(BlockUsesBlock(drawing, "C", a));
    EXPECT_FALSE(BlockUsesBlock(drawing, "SELF", a));
    EXPECT_EQ(CountBlockEntities(drawing, self), 0u);
    uint64_t countA = CountBlockEntities(drawing, a);
    EXPECT_TRUE(countA == 1 || countA == 2) << countA;
    SystemVariableImage image;
    PushEntity(drawing, test::Insert(a));
    ComputeDrawingStatistics(drawing, image, 0);
    EXPECT_EQ(image.Double(statistics_slot::kBlockInsert), 1);
}

TEST(BlockStatistics, DeepNestingNeedsNoDeepStack) {
    // Each block inserts the one made before it and holds one line of its own.
    Drawing drawing;
    BlockHandle previous = 0;
    constexpr int kDepth = 30000;
    for (int i = 0; i < kDepth; ++i) {
        BlockHandle block = AddBlockDef(drawing, "B" + std::to_string(i), {});
        if (previous != 0) AppendToBlock(drawing, block, test::Insert(previous));
        AppendToBlock(drawing, block, test::Polyline({{0, 0}}));
        previous = block;
    }
    EXPECT_EQ(CountBlockEntities(drawing, previous), uint64_t{kDepth});
    EXPECT_TRUE(BlockUsesBlock(drawing, "B0", previous));
    OrderBlockDefinitions(drawing);
    EXPECT_EQ(drawing.Block(drawing.blockHead).name, "B0");
}

TEST(BlockUsesBlock, ThroughNesting) {
    Drawing drawing;
    BlockHandle inner = AddBlockDef(drawing, "INNER", {});
    BlockHandle middle = AddBlockDef(drawing, "MIDDLE", {});
    BlockHandle outer = AddBlockDef(drawing, "OUTER", {});
    AppendToBlock(drawing, middle, test::Insert(inner));
    AppendToBlock(drawing, outer, test::Polyline({{0, 0}}));
    AppendToBlock(drawing, outer, test::Insert(middle));
    EXPECT_TRUE(BlockUsesBlock(drawing, "INNER", outer));
    EXPECT_TRUE(BlockUsesBlock(drawing, "OUTER", outer));
    EXPECT_FALSE(BlockUsesBlock(drawing, "OUTER", inner));
    EXPECT_EQ(CountBlockEntities(drawing, outer), 1u) << "an insert of an empty block counts nothing";
}

TEST(LayerChecks, HiddenAndInactive) {
    Drawing drawing;
    SystemVariableImage image;
    LayerTable layers(image);
    layers.Reset();
    EntityHandle onFour = PushEntity(drawing, test::Polyline({{0, 0}}, 4));
    PushEntity(drawing, test::Polyline({{0, 0}}, 5));
    layers.SetWord(4, layers.Word(4) | layer_flag::kLocked);
    EXPECT_FALSE(AnyEntityHidden(drawing, layers));
    EXPECT_TRUE(AnyEntityOnInactiveLayer(drawing, layers));
    layers.SetWord(4, layers.Word(4) | layer_flag::kOutOfScaleRange);
    EXPECT_TRUE(AnyEntityHidden(drawing, layers));
    drawing[onFour].SetByte(entity_field::kKindAndFlags, 0x18);
    EXPECT_FALSE(AnyEntityOnInactiveLayer(drawing, layers)) << "an erased entity does not count";
    EXPECT_EQ(CountEntitiesPerLayer(drawing)[5], 1);
    EXPECT_EQ(CountEntitiesPerLayer(drawing)[4], 0);
}

TEST(FreeEntity, ClearsReferencesAndTheRowTable) {
    Drawing drawing;
    EntityRecord pcx(EntityKind::RasterImage, 57);
    AttachRowTable(drawing, pcx, {128, 300, 420});
    RowTableHandle table = pcx.Load<uint32_t>(entity_field::kRowTable);
    EntityRecord bitmap(EntityKind::RasterImage, 57);
    bitmap.Store<uint16_t>(entity_field::kImageFlags, 0x0210);  // a bitmap file: no table of its own
    bitmap.Store<uint32_t>(entity_field::kRowTable, table);
    PushEntity(drawing, std::move(bitmap));
    EntityHandle image = PushEntity(drawing, std::move(pcx));
    drawing.picked = image;
    drawing.underCursor = image;
    DeleteFirstEntity(drawing);
    EXPECT_FALSE(drawing.rowTables.Holds(table));
    EXPECT_EQ(drawing.picked, 0u);
    EXPECT_EQ(drawing.underCursor, 0u);
    EntityHandle second = drawing.head;
    ASSERT_NE(second, 0u);
    AttachRowTable(drawing, drawing[second], {128});
    RowTableHandle other = drawing[second].Load<uint32_t>(entity_field::kRowTable);
    DeleteFirstEntity(drawing);
    EXPECT_TRUE(drawing.rowTables.Holds(other)) << "only a PCX image frees its table";
    EXPECT_EQ(drawing.head, 0u);
}

TEST(MoveEntityToBlock, UnlinksAndAppends) {
    Drawing drawing;
    BlockHandle block = AddBlockDef(drawing, "B", {});
    AppendToBlock(drawing, block, test::Text("first"));
    EntityHandle oldest = PushEntity(drawing, test::Text("oldest"));
    EntityHandle middle = PushEntity(drawing, test::Text("middle"));
    EntityHandle newest = PushEntity(drawing, test::Text("newest"));
    MoveEntityToBlock(drawing, middle, newest, block);
    EXPECT_EQ(drawing[newest].Next(), oldest);
    MoveEntityToBlock(drawing, newest, 0, block);
    EXPECT_EQ(drawing.head, oldest);
    std::vector<std::string> members;
    ForEachEntity(drawing, drawing.Block(block).head, [&](EntityHandle at) {
        members.emplace_back(drawing[at].ShortString(entity_field::kText));
    });
    EXPECT_EQ(members, (std::vector<std::string>{"first", "middle", "newest"}));
    MoveEntityToBlock(drawing, oldest, 0, 0);
    EXPECT_EQ(drawing.head, 0u);
    EXPECT_FALSE(drawing.entities.Holds(oldest)) << "with no block the entity is freed";
    FreeBlockDef(drawing, block);
    EXPECT_EQ(drawing.blockHead, 0u);
    EXPECT_FALSE(drawing.entities.Holds(middle));
}

TEST(Drawing, ARecordWithoutMemoryIsNeverLinked) {
#if defined(WINPLAT_ADDRESS_SANITIZER)
    const char* options = std::getenv("ASAN_OPTIONS");
    if (!options || !std::strstr(options, "allocator_may_return_null=1")) {
        GTEST_SKIP() << "AddressSanitizer ends the program on a failed allocation unless ASAN_OPTIONS has "
                        "allocator_may_return_null=1 (make.sh sets it)";
    }
#endif
    Drawing drawing;
    BlockHandle block = AddBlockDef(drawing, "B", {});
    // More memory than there is: the allocation fails and the record is empty.
    EntityRecord huge(EntityKind::Text, size_t{1} << 62);
    EXPECT_FALSE(huge);
    EXPECT_EQ(huge.Size(), 0u);
    EXPECT_EQ(PushEntity(drawing, std::move(huge)), 0u);
    EXPECT_TRUE(drawing.memoryError);
    EXPECT_EQ(drawing.head, 0u);
    EXPECT_EQ(AppendToBlock(drawing, block, EntityRecord()), 0u);
    EXPECT_EQ(drawing.Block(block).head, 0u);
}

TEST(Drawing, ClearedAndStartedAnew) {
    Drawing drawing;
    BlockHandle block = AddBlockDef(drawing, "B", {});
    AppendToBlock(drawing, block, test::Text("m"));
    EntityHandle entity = PushEntity(drawing, test::Insert(block));
    drawing.memoryError = true;
    ClearDrawing(drawing);
    EXPECT_EQ(drawing.head, 0u);
    EXPECT_EQ(drawing.blockHead, 0u);
    EXPECT_FALSE(drawing.entities.Holds(entity));
    EXPECT_FALSE(drawing.blocks.Holds(block));
    EXPECT_FALSE(drawing.memoryError);
    SystemVariableImage image;
    ResetDrawingSettings(image);
    EXPECT_EQ(LayerTable(image).Word(0), 0x00010107u);
    EXPECT_EQ(CurrentProperties(image).Get(CurrentProperties::Pattern), 5);
}

}  // namespace
}  // namespace linework
