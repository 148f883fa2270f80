// Undo, "ud", "kill" and the list and block operations.
#include <gtest/gtest.h>

#include "commands_fixture.h"
#include "drawing/block_definitions.h"
#include "drawing/entity_builders.h"
#include "drawing/layer_table.h"
#include "drawing/undo_operations.h"

namespace linework::test {
namespace {

struct ListCommandsTest : CommandsFixture {
    // The first vertex's x of each entity of the drawing list, newest first.
    std::vector<double> FirstX() {
        std::vector<double> xs;
        ForEachEntity(TheDrawing(), TheDrawing().head,
                      [&](EntityHandle at) { xs.push_back(TheDrawing()[at].Double(entity_field::kVertices)); });
        return xs;
    }
    std::vector<std::string> BlockNames() {
        std::vector<std::string> names;
        ForEachBlock(TheDrawing(), [&](BlockHandle b) { names.push_back(TheDrawing().Block(b).name); });
        return names;
    }
};

TEST_F(ListCommandsTest, UdErasesTheNewestEntityOnAnActiveLayer) {
    ASSERT_EQ(RunLine("sv 702 2; line 1 0 1 1; sv 702 3; line 2 0 2 2"), "");
    LayerTable(engine_->image).SetWord(3, LayerTable(engine_->image).Word(3) | layer_flag::kLocked);
    ASSERT_EQ(RunLine("ud"), "");
    auto entities = Entities();
    EXPECT_EQ(entities[0].find("line flags=0x00 layer=3"), 0u) << entities[0];  // locked: passed over
    EXPECT_EQ(entities[1].find("line flags=0x08 layer=2"), 0u) << entities[1];
    EXPECT_EQ(engine_->undo.LastOperation(), undo_code::kEraseNewest);
    EXPECT_NE(engine_->undo.Hint().find("(ud)"), std::string::npos);
    ASSERT_EQ(RunLine("u"), "");
    EXPECT_EQ(Entities()[1].find("line flags=0x00 layer=2"), 0u);
    // "ud" twice: the second commits the first, so undo brings back only the second.
    ASSERT_EQ(RunLine("sv 702 4; line 3 0 3 3; ud; ud; u"), "");
    EXPECT_EQ(FirstX(), (std::vector<double>{2, 1}));
    EXPECT_EQ(Entities()[1].find("line flags=0x00 layer=2"), 0u);
}

TEST_F(ListCommandsTest, UNullMakesPendingDeletionsFinal) {
    ASSERT_EQ(RunLine("line 0 0 1 1; line 2 2 3 3"), "");
    SelectAll();
    ASSERT_EQ(RunLine("erase; u null"), "");
    EXPECT_TRUE(Entities().empty());
    EXPECT_EQ(engine_->undo.LastOperation(), undo_code::kNothing);
    ASSERT_EQ(RunLine("u"), "");
    EXPECT_TRUE(Entities().empty());
}

TEST_F(ListCommandsTest, KillCannotBeUndoneAndLeavesNoReferenceBehind) {
    ASSERT_EQ(RunLine("line 0 0 1 1; line 2 2 3 3"), "");
    SelectAll();
    ASSERT_EQ(RunLine("etsv 0"), "");
    Drawing& d = TheDrawing();
    d.picked = d.head;
    d.underCursor = d.head;
    d.walkPosition = d[d.head].Next();
    ASSERT_EQ(RunLine("kill"), "");
    EXPECT_EQ(d.head, 0u);
    EXPECT_EQ(d.picked, 0u);
    EXPECT_EQ(d.underCursor, 0u);
    EXPECT_EQ(d.current, 0u);
    EXPECT_EQ(d.walkPosition, 0u);
    EXPECT_EQ(engine_->undo.LastOperation(), undo_code::kNothing);
    EXPECT_TRUE(engine_->undo.Modified());
    // Undo finds nothing to take back; new entities and their undo work as before.
    ASSERT_EQ(RunLine("u; line 4 4 5 5; etsv 0; u"), "");
    EXPECT_EQ(Entities(),
              std::vector<std::string>{"line flags=0x08 layer=0 colour=0 width=0 aux=0 end=0 style=0 vertices=2 (4,4) (5,5)"});
}

TEST_F(ListCommandsTest, BrenRenamesAndInsertsFollow) {
    Drawing& d = TheDrawing();
    AddBlockDef(d, "OLD", {0, 0});
    AddBlockDef(d, "TAKEN", {0, 0});
    ASSERT_EQ(RunLine("insert OLD 1 1 0 0 0"), "");
    ASSERT_EQ(RunLine("bren OLD NEW"), "");
    EXPECT_EQ(BlockNames(), (std::vector<std::string>{"TAKEN", "NEW"}));
    EXPECT_NE(Entities()[0].find("block=\"NEW\""), std::string::npos) << Entities()[0];
    // A taken new name, a missing old name: nothing.
    ASSERT_EQ(RunLine("bren NEW TAKEN; bren MISSING OTHER"), "");
    EXPECT_EQ(BlockNames(), (std::vector<std::string>{"TAKEN", "NEW"}));
    // The new name may be joined from several words.
    ASSERT_EQ(RunLine("bren NEW A \"B\" 7"), "");
    EXPECT_EQ(BlockNames(), (std::vector<std::string>{"TAKEN", "AB7"}));
}

TEST_F(ListCommandsTest, PurgeFreesUnusedBlocksInRounds) {
    Drawing& d = TheDrawing();
    BlockHandle inner = AddBlockDef(d, "INNER", {0, 0});
    BlockHandle outer = AddBlockDef(d, "OUTER", {0, 0});
    AppendToBlock(d, outer, MakeInsert(inner, {}));
    AddBlockDef(d, "LONE", {0, 0});
    BlockHandle used = AddBlockDef(d, "USED", {0, 0});
    AppendToBlock(d, used, MakeInsert(inner, {}));
    ASSERT_EQ(RunLine("insert USED 1 1 0 0 0"), "");
    ASSERT_EQ(RunLine("purge LONE"), "");
    EXPECT_EQ(BlockNames(), (std::vector<std::string>{"USED", "OUTER", "INNER"}));
    ASSERT_EQ(RunLine("purge"), "");
    // OUTER went; INNER stays, USED still inserts it.
    EXPECT_EQ(BlockNames(), (std::vector<std::string>{"USED", "INNER"}));
    ASSERT_EQ(RunLine("kill; purge"), "");
    EXPECT_TRUE(BlockNames().empty());
}

TEST_F(ListCommandsTest, ToplistMovesTheMatchingEntitiesToTheHead) {
    ASSERT_EQ(RunLine("line 1 0 0 0; circle 2 0 1; line 3 0 0 0; circle 4 0 1"), "");
    // Newest first: circle 4, line 3, circle 2, line 1, named by the x of a line's first vertex
    // and a circle's centre.
    auto order = [&] {
        std::vector<double> xs;
        ForEachEntity(TheDrawing(), TheDrawing().head, [&](EntityHandle at) {
            const EntityRecord& record = TheDrawing()[at];
            xs.push_back(record.Double(record.Kind() == EntityKind::Arc ? entity_field::kCentre : entity_field::kVertices));
        });
        return xs;
    };
    ASSERT_EQ(order(), (std::vector<double>{4, 3, 2, 1}));
    ASSERT_EQ(RunLine("toplist 1"), "");
    EXPECT_EQ(order(), (std::vector<double>{1, 3, 4, 2}));
    ASSERT_EQ(RunLine("toplist 0"), "");
    EXPECT_EQ(order(), (std::vector<double>{2, 4, 3, 1}));
    TheDrawing()[TheDrawing().head].SetByte(entity_field::kKindAndFlags, 0x21);  // circle 2 selected
    EntityHandle last = TheDrawing().head;
    while (TheDrawing()[last].Next() != 0) last = TheDrawing()[last].Next();
    TheDrawing()[last].SetByte(entity_field::kKindAndFlags, 0x11);  // line 1 selected
    ASSERT_EQ(RunLine("toplist -1"), "");
    EXPECT_EQ(order(), (std::vector<double>{1, 2, 4, 3}));
    EXPECT_EQ(RunLine("toplist 15"), "");
    EXPECT_EQ(RunLine("toplist 16"), "Value out of range\r\non LKP line 1:1");
    EXPECT_EQ(RunLine("toplist -2"), "Value out of range\r\non LKP line 1:1");
}

TEST_F(ListCommandsTest, ToplistAfterAnAdditionDropsItsUndo) {
    ASSERT_EQ(RunLine("line 1 0 0 0; line 2 0 0 0; line 3 0 0 0; toplist 0; u"), "");
    EXPECT_EQ(FirstX(), (std::vector<double>{1, 2, 3}));
    for (const std::string& entity : Entities()) EXPECT_EQ(entity.find("line flags=0x00"), 0u) << entity;
}

TEST_F(ListCommandsTest, KilldupRemovesLaterDuplicatesOfSelectedEntities) {
    ASSERT_EQ(RunLine("line 0 0 1 1; sv 702 5; line 0 0 1 1; sv 702 0; line 0 0 1 1; line 0 0 2 2"), "");
    // Newest first: (0,0)-(2,2), (0,0)-(1,1) layer 0, the same on layer 5, the same on layer 0.
    Drawing& d = TheDrawing();
    EntityHandle second = d[d.head].Next();
    d[second].SetByte(entity_field::kKindAndFlags, 0x11);
    ASSERT_EQ(RunLine("killdup 1 1 1 1"), "");
    EXPECT_EQ(Entities().size(), 3u);  // the layer-0 copy went, the layer-5 one stays
    ASSERT_EQ(RunLine("killdup 1 0 1 1"), "");
    EXPECT_EQ(Entities().size(), 2u);  // the layer test waived
    ASSERT_EQ(RunLine("killdup 0 0 0 0"), "");
    EXPECT_EQ(Entities().size(), 2u);  // different data is never a duplicate
}

}  // namespace
}  // namespace linework::test
