// The entity-creating commands: what each makes from its words, the temporary adds of switch 55,
// undo after a script's additions, the interactive forms and the errors of bad numbers.
#include <gtest/gtest.h>

#include <fstream>

#include "commands_fixture.h"
#include "drawing/block_definitions.h"
#include "drawing/entity_builders.h"
#include "drawing/undo_operations.h"

namespace linework::test {
namespace {

struct DrawCommandsTest : CommandsFixture {
    void AddDoorBlock() {
        BlockHandle door = AddBlockDef(TheDrawing(), "DOOR", {0, 0});
        const Point leaf[] = {{0, 0}, {0, 10}};
        AppendToBlock(TheDrawing(), door, MakePolyline(leaf));
    }
};

TEST_F(DrawCommandsTest, AScriptBuildsEveryKind) {
    AddDoorBlock();
    WriteFile("PIC.BMP", TinyBitmap());
    ASSERT_EQ(Run({"line 0 0 10 10; point 5 5; circle 20 20 5; arc 0 0 3 0 0 3",
                   "pline 0 0 10 0 10 10 0 10; hatch 30 0 40 0 40 10; text 1 2 3 1.5 0 16 \"Hi\" A",
                   "sv 702 4; 1$ = \"TAG\"; 2$ = \"def\"; 3$ = \"Prompt?\"",
                   "atrdef 4 5 2 1 0 1 65537; sv 702 0",
                   "21# = 0 22# 0 23# 50 24# 0 25# 50 26# 10 27# 0 28# 10 29# 25 30# 12 31# 50; dim 2 \"50\"",
                   "insert DOOR 2 3 0 60 0; lkdref 70 0 1 2 0 PLAN; bmref 80 10 0.5 0.25 PIC.BMP; stop"}),
              "");
    const std::vector<std::string> expected = {
        "image flags=0x00 layer=0 colour=0 width=0 at=(80,10) pixel=(0.5,0.25) last=1,2 flags=0x0010 "
        "file=\"" + engine_->ProgramFolder() + "PIC.BMP\"",
        "reference flags=0x00 layer=0 colour=0 width=0 at=(70,0) scale=(1,2) angle=0 file=\"" +
            engine_->ProgramFolder() + "PLAN.LKD\"",
        "insert flags=0x00 layer=0 colour=0 width=0 block=\"DOOR\" at=(60,0) scale=(2,3) angle=0 display=0 "
        "attributes=0",
        "dimension flags=0x00 layer=0 colour=0 width=0 p1=(0,0) p2=(50,0) p3=(50,10) p4=(0,10) p5=(25,12) "
        "value=50 style=2 text=\"50\"",
        "attdef flags=0x00 layer=4 colour=0 width=0 at=(4,5) height=2 charwidth=1 angle=0 justify=1 tag=\"TAG\" "
        "default=\"def\" prompt=\"Prompt?\" flags=0x0001",
        "text flags=0x00 layer=0 colour=0 width=0 at=(1,2) height=3 charwidth=1.5 angle=0 justify=16 text=\"Hi0\"",
        "polyline flags=0x00 layer=0 colour=0 width=0 aux=10 end=0 style=40 vertices=3 (30,0) (40,0) (40,10)",
        "polyline flags=0x00 layer=0 colour=0 width=0 aux=0 end=0 style=0 vertices=4 (0,0) (10,0) (10,10) (0,10)",
        "arc flags=0x00 layer=0 colour=0 width=0 centre=(0,0) start=(3,0) end=(0,3) type=0",
        "circle flags=0x00 layer=0 colour=0 width=0 centre=(20,20) start=(25,20) end=(25,20) type=0",
        "point flags=0x00 layer=0 colour=0 width=0 aux=2 end=0 style=1 vertices=1 (5,5)",
        "line flags=0x00 layer=0 colour=0 width=0 aux=0 end=0 style=0 vertices=2 (0,0) (10,10)",
    };
    EXPECT_EQ(Entities(), expected);
    // Every entity was drawn as it was added.
    EXPECT_EQ(drawn_.drawn.size(), expected.size());
    EXPECT_EQ(engine_->undo.LastOperation(), undo_code::kRasterImage);
    EXPECT_TRUE(engine_->undo.Modified());
}

TEST_F(DrawCommandsTest, AnUndoTakesBackExactlyTheLastCommandsEntity) {
    ASSERT_EQ(RunLine("line 0 0 1 1; pline 0 0 2 0 2 2"), "");
    ASSERT_EQ(RunLine("u"), "");
    auto entities = Entities();
    ASSERT_EQ(entities.size(), 2u);
    EXPECT_NE(entities[0].find("polyline flags=0x08"), std::string::npos) << entities[0];
    EXPECT_NE(entities[1].find("line flags=0x00"), std::string::npos) << entities[1];
    // Undo again brings it back; a third time erases it once more.
    ASSERT_EQ(RunLine("u"), "");
    EXPECT_NE(Entities()[0].find("polyline flags=0x00"), std::string::npos);
    EXPECT_EQ(engine_->undo.LastOperation(), undo_code::kNothing);
}

TEST_F(DrawCommandsTest, EraseThenLineThenUndoTakesBackOnlyTheLine) {
    ASSERT_EQ(RunLine("line 0 0 1 1; circle 0 0 4"), "");
    SelectAll();
    ASSERT_EQ(RunLine("erase"), "");
    ASSERT_EQ(Entities().size(), 2u);
    ASSERT_EQ(RunLine("line 5 5 6 6"), "");
    // The erased entities were freed as the line began.
    ASSERT_EQ(Entities().size(), 1u);
    ASSERT_EQ(RunLine("u"), "");
    EXPECT_EQ(Entities(),
              std::vector<std::string>{"line flags=0x08 layer=0 colour=0 width=0 aux=0 end=0 style=0 vertices=2 (5,5) (6,6)"});
    ASSERT_EQ(RunLine("u"), "");
    EXPECT_EQ(Entities().size(), 1u);
    EXPECT_NE(Entities()[0].find("line flags=0x00"), std::string::npos);
}

struct TemporaryCase {
    const char* name;
    std::vector<std::string> before;  // runs before, switch 55 off
    std::string temporary;            // run with switch 55 on
    size_t drawnByTheTemporary;       // entities the hook drew meanwhile
};

TEST_F(DrawCommandsTest, TemporaryAddsAreDrawnButNotKept) {
    const TemporaryCase cases[] = {
        {"line on an empty drawing", {}, "line 0 0 10 10", 1},
        {"circle on an empty drawing", {}, "circle 0 0 5", 1},
        {"line after a line", {"line 1 1 2 2"}, "line 0 0 10 10", 1},
        {"text after a circle", {"circle 3 3 1"}, "text 0 0 1 1 0 0 t", 1},
        // A command that adds nothing leaves the list as it was: the head is not taken for its entity.
        {"a missing picture after a line", {"line 1 1 2 2"}, "bmref 0 0 1 1 NONE.BMP", 0},
        {"a zero-scale reference after a circle", {"circle 3 3 1"}, "lkdref 0 0 0 1 0 X", 0},
    };
    for (const TemporaryCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const std::string& line : c.before) ASSERT_EQ(RunLine(line), "");
        const auto list = Entities();
        const uint8_t code = engine_->undo.LastOperation();
        const std::string hint = engine_->undo.Hint();
        const bool modified = engine_->undo.Modified();
        drawn_.drawn.clear();
        ASSERT_EQ(RunLine("sv 55 1; " + c.temporary), "");
        EXPECT_EQ(Entities(), list);
        EXPECT_EQ(engine_->undo.LastOperation(), code);
        EXPECT_EQ(engine_->undo.Hint(), hint);
        EXPECT_EQ(engine_->undo.Modified(), modified);
        EXPECT_EQ(drawn_.drawn.size(), c.drawnByTheTemporary);
        EXPECT_TRUE(engine_->undo.Recording());
    }
}

TEST_F(DrawCommandsTest, TemporaryAddsLeavePendingDeletionsAndUndoAsTheyWere) {
    ASSERT_EQ(RunLine("line 0 0 1 1"), "");
    SelectAll();
    ASSERT_EQ(RunLine("erase; sv 55 1; line 5 5 6 6"), "");
    ASSERT_EQ(Entities().size(), 1u);  // the erased line is still there, pending
    ASSERT_EQ(RunLine("u"), "");      // and undo still restores it
    EXPECT_NE(Entities()[0].find("line flags=0x00"), std::string::npos);
}

TEST_F(DrawCommandsTest, SwitchFiftyFiveIsOffAtTheStartOfEveryRun) {
    ASSERT_EQ(RunLine("sv 55 1"), "");
    EXPECT_EQ(engine_->image.Byte(55), 1);
    ASSERT_EQ(RunLine("line 0 0 1 1"), "");
    EXPECT_EQ(Entities().size(), 1u);
}

TEST_F(DrawCommandsTest, PlineAndHatchWithOneWordTakeThePointList) {
    for (int i = 0; i < 8; ++i) List(i) = i * 10;
    ASSERT_EQ(RunLine("pline 2; hatch 3; pline 0"), "");
    EXPECT_EQ(Entities(), (std::vector<std::string>{
                              "point flags=0x00 layer=0 colour=0 width=0 aux=2 end=0 style=1 vertices=1 (0,10)",
                              "polyline flags=0x00 layer=0 colour=0 width=0 aux=10 end=0 style=40 vertices=4 "
                              "(0,10) (20,30) (40,50) (60,70)",
                              "polyline flags=0x00 layer=0 colour=0 width=0 aux=0 end=0 style=0 vertices=3 "
                              "(0,10) (20,30) (40,50)",
                          }));
    // The whole list: 256 points.
    ASSERT_EQ(RunLine("pline 255"), "");
    EXPECT_NE(Entities()[0].find("vertices=256"), std::string::npos);
}

TEST_F(DrawCommandsTest, InsertWithoutAPointAsksTheInsertStep) {
    AddDoorBlock();
    ASSERT_EQ(RunLine("insert DOOR 1 1 0"), "");
    EXPECT_TRUE(Entities().empty());  // the step gave no point
    host_.insertPoint = Point{7, 8};
    ASSERT_EQ(RunLine("insert DOOR 2 2 1"), "");
    ASSERT_EQ(Entities().size(), 1u);
    EXPECT_NE(Entities()[0].find("at=(7,8) scale=(2,2) angle=1"), std::string::npos) << Entities()[0];
    EXPECT_NE(std::find(host_.steps.begin(), host_.steps.end(), "insert step DOOR 2.000000 2.000000 1.000000"),
              host_.steps.end());
    // No such block, or a zero scale product: nothing, and no step is asked.
    host_.steps.clear();
    ASSERT_EQ(RunLine("insert WINDOW 1 1 0; insert DOOR 0 1 0; insert DOOR 1 0 0 5 5"), "");
    EXPECT_EQ(Entities().size(), 1u);
    EXPECT_TRUE(host_.steps.empty());
}

TEST_F(DrawCommandsTest, ScriptAddsHideTheCursorAndRepaintTheGrid) {
    ASSERT_EQ(RunLine("line 0 0 1 1"), "");
    EXPECT_EQ(host_.steps, (std::vector<std::string>{"hide cursor", "repaint grid"}));
}

TEST_F(DrawCommandsTest, BmrefWithSaveOrExplodeDoesNothing) {
    WriteFile("SAVE", TinyBitmap());
    ASSERT_EQ(RunLine("bmref save 0 1 1 SAVE; bmref explode 0 1 1 SAVE"), "");
    EXPECT_TRUE(Entities().empty());
    EXPECT_TRUE(host_.steps.empty());
}

TEST_F(DrawCommandsTest, SketchStartsItsStepAndWaitsForIt) {
    ASSERT_EQ(RunLine("line 0 0 1 1"), "");
    host_.steps.clear();
    ASSERT_EQ(RunLine("sketch 2 \"free\" \"hand\""), "");
    EXPECT_EQ(host_.steps, (std::vector<std::string>{"sketch 2.000000 freehand", "wait", "repaint grid"}));
    // The sketch's lines are an addition of their own: the walk position is the head before them.
    EXPECT_EQ(TheDrawing().walkPosition, TheDrawing().head);
}

struct ErrorCase {
    const char* line;
    const char* error;  // "" for none
};

TEST_F(DrawCommandsTest, BadNumbersStopTheRunWithTheirPlace) {
    const ErrorCase cases[] = {
        {"A = 1; text 0 0 1 1 0 256 x", "Value out of range\r\non LKP line 1:2"},
        {"A = 1; text 0 0 1 1 0 255 x", ""},
        {"text 0 0 1 1 0 -1 x", "Value out of range\r\non LKP line 1:1"},
        {"text 0 0 1 1 0 0 1000$", "1000$ out of range\r\non LKP line 1:1"},
        {"atrdef 0 0 1 1 0 256 0", "Value out of range\r\non LKP line 1:1"},
        {"dim 256 x", "Value out of range\r\non LKP line 1:1"},
        {"dim 255 x", ""},
        {"pline 256", "Value out of range\r\non LKP line 1:1"},
        {"pline -1", "Value out of range\r\non LKP line 1:1"},
        {"line 0 0 1000# 1", "1000# out of range\r\non LKP line 1:1"},
        {"lkdref 0 0 1 1 0 -1$", "-1$ out of range\r\non LKP line 1:1"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(RunLine(c.line), c.error);
    }
}

}  // namespace
}  // namespace linework::test
