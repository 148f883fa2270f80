// The entity walk and the commands on the current entity.
#include <gtest/gtest.h>

#include "commands_fixture.h"
#include "drawing/block_definitions.h"
#include "drawing/entity_builders.h"

namespace linework::test {
namespace {

namespace var = entity_variable;
constexpr int32_t kScript = 69;  // script number of integer 0

std::string ScriptNumber(int32_t integer) { return std::to_string(integer + kScript); }

struct EntityCommandsTest : CommandsFixture {
    // A block "B" with two attribute definitions that take values, and an insert of it whose
    // values are store lines 1 and 2.
    void InsertWithAttributes() {
        BlockHandle block = AddBlockDef(TheDrawing(), "B", {0, 0});
        ASSERT_EQ(RunLine("1$ = \"T1\"; 2$ = \"\"; 3$ = \"\"; atrdef 1 0 1 1 0 0 1; atrdef 2 0 1 1 0 0 1"), "");
        MoveEntityToBlock(TheDrawing(), TheDrawing().head, 0, block);
        MoveEntityToBlock(TheDrawing(), TheDrawing().head, 0, block);
        ASSERT_EQ(Run({"A = 1", "A = 2", "1$ = \"one\"; 2$ = \"two\"; insert B 1 1 0 5 5; stop"}), "");
    }
    std::vector<uint8_t> Bytes(EntityHandle entity) {
        auto bytes = TheDrawing()[entity].Bytes();
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(EntityCommandsTest, EtsvWalksTheSelectedEntitiesInListOrder) {
    ASSERT_EQ(RunLine("line 0 0 1 1; circle 5 5 2; text 1 2 3 1 0 0 t"), "");
    // The circle stays unselected.
    SelectAll();
    EntityHandle circle = TheDrawing()[TheDrawing().head].Next();
    TheDrawing()[circle].SetByte(entity_field::kKindAndFlags, 0x20);
    std::vector<int32_t> kinds;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(RunLine("etsv 2"), "");
        kinds.push_back(engine_->image.Integer(var::kKind));
    }
    EXPECT_EQ(kinds, (std::vector<int32_t>{3, 1, 0}));
    EXPECT_EQ(TheDrawing().current, 0u);
    // Bit 1 marked each entity found, and only those.
    EXPECT_EQ(std::count_if(host_.steps.begin(), host_.steps.end(),
                            [](const std::string& s) { return s.rfind("mark ", 0) == 0; }),
              2);
    // After the end the walk starts again at the head.
    ASSERT_EQ(RunLine("etsv 0"), "");
    EXPECT_EQ(engine_->image.Integer(var::kKind), 3);
}

TEST_F(EntityCommandsTest, EtsvWithBitZeroFreesTheCurrentEntityFirst) {
    ASSERT_EQ(RunLine("line 0 0 1 1; line 2 2 3 3; line 4 4 5 5"), "");
    SelectAll();
    ASSERT_EQ(RunLine("etsv 0; etsv 1"), "");
    ASSERT_EQ(Entities().size(), 2u);
    EXPECT_EQ(List(0), 2);  // the second line is current
    ASSERT_EQ(RunLine("etsv 1; etsv 1"), "");
    EXPECT_TRUE(Entities().empty());  // each step freed the entity it left
    EXPECT_EQ(TheDrawing().current, 0u);
}

TEST_F(EntityCommandsTest, EtsvCopiesOutTheValuesOfEachKind) {
    ASSERT_EQ(RunLine("sv 702 6 703 9; line 1 2 3 4"), "");
    SelectAll();
    ASSERT_EQ(RunLine("etsv 0"), "");
    EXPECT_EQ(engine_->image.Integer(var::kKind), 1);
    EXPECT_EQ(engine_->image.Integer(var::kLayer), 6);
    EXPECT_EQ(engine_->image.Integer(var::kColour), 9);
    EXPECT_EQ(engine_->image.Integer(var::kCount), 2);
    EXPECT_EQ((std::vector<double>{List(0), List(1), List(2), List(3)}), (std::vector<double>{1, 2, 3, 4}));
    // Scripts read them: the kind by its script number, the list as the "#" array.
    ASSERT_EQ(RunLine("K = sv " + ScriptNumber(var::kKind) + "; X = 23#"), "");
    EXPECT_EQ(Var('K'), 1);
    EXPECT_EQ(Var('X'), 3);
}

// Each kind: made by a script, walked to, written back unchanged, then changed through its
// variables and point list.
struct RoundTrip {
    const char* make;
    const char* change;    // statements run after "etsv 0", before "svte"
    const char* expected;  // a part of the changed entity's dump
};

TEST_F(EntityCommandsTest, SvteWritesBackWhatEtsvCopiedOut) {
    const RoundTrip cases[] = {
        {"line 1 2 3 4", "21# = 9; sv 174 3", "style=3 vertices=2 (9,2) (3,4)"},
        {"point 5 6", "22# = 7", "(5,7)"},
        {"pline 0 0 1 0 1 1", "26# = 5; sv 175 4", "end=4 style=0 vertices=3 (0,0) (1,0) (1,5)"},
        {"arc 0 0 2 0 0 2", "21# = 1; sv 174 2", "centre=(1,0) start=(2,0) end=(0,2) type=2"},
        {"text 1 2 3 4 0.5 0 abc", "23# = 8; sv 176 17", "at=(1,2) height=8 charwidth=4 angle=0.5 justify=17"},
        {"1$ = \"T\"; 2$ = \"\"; 3$ = \"\"; atrdef 1 2 3 4 0.5 0 1", "sv 177 129", "flags=0x0081"},
        {"21# = 0 22# 0 23# 4 24# 0 25# 4 26# 1 27# 0 28# 1 29# 2 30# 3 31# 4; dim 0 x", "31# = 9; sv 174 2",
         "value=9 style=2"},
        {"lkdref 1 2 3 4 0.5 F", "23# = 6", "at=(1,2) scale=(6,4) angle=0.5"},
        {"sv 170 5; line 0 0 1 1", "sv 170 12 171 3 172 2", "layer=12 colour=3 width=2"},
        {"insert B 2 3 0.5 7 8", "21# += 1; 23# = 4; sv 180 1", "at=(8,8) scale=(4,3) angle=0.5 display=1"},
        {"bmref 1 9 0.5 0.25 PIC.BMP", "24# = 2; sv 177 1040", "at=(1,9) pixel=(0.5,2) last=1,2 flags=0x0410"},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.make);
        SetUp();
        AddBlockDef(TheDrawing(), "B", {0, 0});
        WriteFile("PIC.BMP", TinyBitmap());
        ASSERT_EQ(RunLine(c.make), "");
        SelectAll();
        const EntityHandle entity = TheDrawing().head;
        const auto before = Bytes(entity);
        ASSERT_EQ(RunLine("etsv 0; svte"), "");
        EXPECT_EQ(Bytes(entity), before);
        TheDrawing().current = 0;  // the walk starts again at the head
        ASSERT_EQ(RunLine(std::string("etsv 0; ") + c.change + "; svte"), "");
        EXPECT_NE(Entities()[0].find(c.expected), std::string::npos) << Entities()[0];
    }
}

TEST_F(EntityCommandsTest, SvteRefusesAByteVariableOutsideItsField) {
    ASSERT_EQ(RunLine("line 0 0 1 1"), "");
    SelectAll();
    const auto before = Bytes(TheDrawing().head);
    EXPECT_EQ(RunLine("etsv 0; sv 170 256; svte"), "Value out of range\r\non LKP line 1:3");
    EXPECT_EQ(Bytes(TheDrawing().head), before);
    EXPECT_EQ(RunLine("sv 170 255; svte"), "");
    EXPECT_EQ(TheDrawing()[TheDrawing().head].Layer(), 255);
}

TEST_F(EntityCommandsTest, SvteCreateMakesAnEntityWithItsOwnProperties) {
    ASSERT_EQ(RunLine("sv 702 1; 21# = 0 22# 0 23# 5 24# 5 25# 9 26# 9; sv 170 7 171 2 172 3 174 2"), "");
    ASSERT_EQ(RunLine("svte create 1 3"), "");
    ASSERT_EQ(Entities().size(), 1u);
    EXPECT_EQ(Entities()[0],
              "polyline flags=0x00 layer=7 colour=2 width=3 aux=0 end=0 style=2 vertices=3 (0,0) (5,5) (9,9)");
    // The current properties are the user's again.
    ASSERT_EQ(RunLine("line 0 0 1 1"), "");
    EXPECT_NE(Entities()[0].find("layer=1 colour=0 width=0"), std::string::npos) << Entities()[0];
    // A text from words 4.., a kind number that is no kind is refused.
    ASSERT_EQ(RunLine("21# = 1 22# 2 23# 3 24# 0 25# 1; svte create 3 0 \"new\" 5"), "");
    EXPECT_NE(Entities()[0].find("text=\"new5\""), std::string::npos) << Entities()[0];
    EXPECT_EQ(RunLine("svte create 16 1"), "Value out of range\r\non LKP line 1:1");
    // Without a kind it takes the current entity's.
    SelectAll();
    ASSERT_EQ(RunLine("etsv 0; 21# = 50; svte create 0 0"), "");
    EXPECT_NE(Entities()[0].find("at=(50,2)"), std::string::npos) << Entities()[0];
    EXPECT_NE(Entities()[0].find("text=\"new5\""), std::string::npos) << Entities()[0];
}

TEST_F(EntityCommandsTest, EtextReplacesTheRecordAndTheWalkGoesOn) {
    ASSERT_EQ(RunLine("line 0 0 1 1; text 0 0 1 1 0 0 a; line 2 2 3 3"), "");
    SelectAll();
    ASSERT_EQ(RunLine("etsv 0; etsv 0"), "");
    const EntityHandle text = TheDrawing().current;
    TheDrawing().picked = text;
    ASSERT_EQ(RunLine("etext \"a much longer text than the one it replaces\" 1"), "");
    EXPECT_EQ(TheDrawing().current, text);
    EXPECT_EQ(TheDrawing().picked, text);
    EXPECT_NE(DumpEntity(TheDrawing(), TheDrawing()[text]).find("text=\"a much longer text than the one it replaces1\""),
              std::string::npos);
    ASSERT_EQ(Entities().size(), 3u);
    ASSERT_EQ(RunLine("etsv 0"), "");
    EXPECT_EQ(List(0), 0);  // the first line follows the text in the list
    // edim on a text does nothing.
    ASSERT_EQ(RunLine("edim z"), "");
    EXPECT_EQ(Entities()[2].find("line"), 0u);
}

TEST_F(EntityCommandsTest, EdimReplacesADimensionsText) {
    ASSERT_EQ(RunLine("dim 0 old"), "");
    SelectAll();
    ASSERT_EQ(RunLine("etsv 0; edim \"new text\""), "");
    EXPECT_NE(Entities()[0].find("text=\"new text\""), std::string::npos) << Entities()[0];
}

TEST_F(EntityCommandsTest, EbatrReplacesOneAttributeValue) {
    InsertWithAttributes();
    SelectAll();
    ASSERT_EQ(RunLine("etsv 0"), "");
    EXPECT_EQ(engine_->image.Integer(var::kCount), 2);
    ASSERT_EQ(RunLine("ebatr 2 \"second\""), "");
    const std::string insert = Entities()[0];
    ASSERT_NE(insert.find("attributes=2"), std::string::npos) << insert;
    EXPECT_LT(insert.find("\"one\""), insert.find("\"second\"")) << insert;
    EXPECT_EQ(insert.find("\"two\""), std::string::npos) << insert;
    EXPECT_EQ(RunLine("ebatr 3 x"), "Value out of range\r\non LKP line 1:1");
    EXPECT_EQ(RunLine("ebatr 0 x"), "Value out of range\r\non LKP line 1:1");
    // Values beyond 256 bytes in all set the overflow switch and change nothing.
    const std::string before = Entities()[0];
    ASSERT_EQ(Run({"5$ = \"" + std::string(100, 'x') + "\"", "ebatr 1 5$ 5$ 5$; stop"}), "");
    EXPECT_EQ(Entities()[0], before);
    EXPECT_EQ(engine_->image.Byte(3), 1);
}

TEST_F(EntityCommandsTest, EbnameRefusesABlockThatWouldContainItself) {
    Drawing& d = TheDrawing();
    BlockHandle a = AddBlockDef(d, "A", {0, 0});
    BlockHandle b = AddBlockDef(d, "B", {0, 0});
    BlockHandle c = AddBlockDef(d, "C", {0, 0});
    EntityHandle inA = AppendToBlock(d, a, MakeInsert(b, {}));
    AppendToBlock(d, c, MakeInsert(a, {}));
    d.current = inA;
    EXPECT_EQ(RunLine("ebname A"), "Block would contain itself: A\r\non LKP line 1:1");
    EXPECT_EQ(RunLine("ebname C"), "Block would contain itself: C\r\non LKP line 1:1");  // C inserts A
    EXPECT_EQ(InsertView(d[inA]).Block(), b);
    ASSERT_EQ(RunLine("ebname B"), "");
    // An insert of the drawing list may show any definition.
    ASSERT_EQ(RunLine("insert B 1 1 0 0 0"), "");
    SelectAll();
    ASSERT_EQ(RunLine("etsv 0; ebname C"), "");
    EXPECT_EQ(InsertView(d[d.head]).Block(), c);
    ASSERT_EQ(RunLine("ebname NONE"), "");
    EXPECT_EQ(InsertView(d[d.head]).Block(), c);
}

TEST_F(EntityCommandsTest, EunselAndEdrawWorkOnTheCurrentEntity) {
    ASSERT_EQ(RunLine("line 0 0 1 1"), "");
    SelectAll();
    drawn_.drawn.clear();
    ASSERT_EQ(RunLine("etsv 0; eunsel; edraw 1"), "");
    EXPECT_EQ(TheDrawing()[TheDrawing().head].KindAndFlags() & entity_flag::kSelected, 0);
    ASSERT_EQ(drawn_.drawn.size(), 1u);
    EXPECT_NE(drawn_.drawn[0].find(" mode 1"), std::string::npos);
    // Without a current entity nothing happens.
    ASSERT_EQ(RunLine("etsv 0; eunsel; edraw 0"), "");
    EXPECT_EQ(drawn_.drawn.size(), 1u);
    EXPECT_EQ(TheDrawing()[TheDrawing().head].KindAndFlags() & entity_flag::kSelected, 0);
}

}  // namespace
}  // namespace linework::test

namespace linework::test {
namespace {

// The walk as the language reference shows it: every selected polyline's first point moves.
TEST_F(EntityCommandsTest, TheReferencesWalkExampleRuns) {
    ASSERT_EQ(RunLine("line 0 0 1 1; text 5 5 1 1 0 0 t; pline 2 2 3 3 4 2"), "");
    SelectAll();
    ASSERT_EQ(Run({"@next; etsv 0; K = sv 169; if K == 0; jmp +@done",
                   "if K == 1; 21# += 10; svte; / move each selected polyline's first point", "jmp -@next",
                   "@done; stop"}),
              "");
    auto entities = Entities();
    EXPECT_NE(entities[0].find("(12,2) (3,3) (4,2)"), std::string::npos) << entities[0];
    EXPECT_NE(entities[1].find("at=(5,5)"), std::string::npos) << entities[1];
    EXPECT_NE(entities[2].find("(10,0) (1,1)"), std::string::npos) << entities[2];
}

}  // namespace
}  // namespace linework::test
