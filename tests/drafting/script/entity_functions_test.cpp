// The functions over single entities: the texts and names of the current entity, attribute
// definitions and values unpacked into store lines 1.., the four-point mapping of the selection
// and the national grid conversion.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/entity_adders.h"
#include "drawing/entity_builders.h"
#include "drawing/entity_views.h"
#include "script/script_functions.h"
#include "support/entity_builders.h"
#include "support/script_fixture.h"

namespace linework::test {
namespace {

class EntityFunctions : public ScriptFixture {
protected:
    void SetUp() override {
        ScriptFixture::SetUp();
        functions_ = std::make_unique<ScriptFunctions>(*engine_, services_);
        BuildDrawing();
    }

    // A handle of the record the adder has just put at the head of the drawing list.
    EntityHandle Added(EntityHandle handle) {
        EXPECT_NE(handle, 0u);
        return handle;
    }

    // Block DOOR: attribute definitions NUM (takes a value) and OWNER (takes a value, invisible),
    // then a line. In the drawing: an insert of DOOR with the values "7" and "Smith", a text, a
    // dimension, a reference, a raster image and a lone attribute definition.
    void BuildDrawing() {
        Drawing& drawing = engine_->drawing;
        AdderContext context{.drawing = drawing, .variables = engine_->image, .undo = undo_,
                             .programFolder = "C:\\LK\\", .textLine = {}, .drawMode = 0};
        door_ = AddBlockDef(drawing, "DOOR", {0, 0});
        for (const AttributeStrings& strings : {AttributeStrings{"NUM", "1", "Number?", 1},
                                                AttributeStrings{"OWNER", "nobody", "Owner?", 0x81}}) {
            Added(AddAttributeDefinition(context, strings, 0, {1, 1}, 1, 1, 0));
            AppendToBlock(drawing, door_, EntityRecord::FromBytes(drawing[drawing.head].Bytes()));
            DeleteFirstEntity(drawing);
        }
        AppendToBlock(drawing, door_, Polyline({{0, 0}, {1, 0}}));
        context.textLine = [](int32_t n) { return n == 1 ? std::string("7") : n == 2 ? "Smith" : "?"; };
        entities_["insert"] = Added(AddBlockInsert(context, door_, 1, 1, 0, {5, 5}));
        entities_["text"] = PushEntity(drawing, Text("Hello", {1, 2}));
        const std::array<Point, 5> points{};
        entities_["dimension"] = PushEntity(drawing, MakeDimension(points, 12.5, 0, "12.50"));
        entities_["reference"] = PushEntity(drawing, MakeReference("C:\\LK\\PLAN.LKD", {0, 0}));
        entities_["image"] = PushEntity(drawing, MakeRasterImage("C:\\LK\\P.PCX", {0, 10}, 9, 9, 1, 1, 0));
        entities_["attribute"] = Added(AddAttributeDefinition(context, {"TAG", "dflt", "Ask?", 0x05}, 0, {0, 0}, 1, 1, 0));
        entities_["line"] = PushEntity(drawing, Polyline({{0, 0}, {3, 4}}));
        entities_["none"] = 0;
    }

    void MakeCurrent(const std::string& which) { engine_->drawing.current = entities_.at(which); }
    std::string Line(int n) { return engine_->store.GetTextLine(n); }
    // Runs the statements from line 10, so that functions that write lines 1.. leave the
    // program alone.
    std::string RunFrom10(const std::vector<std::string>& statements) {
        std::vector<std::string> lines{"jmp 10"};
        lines.resize(9);
        lines.insert(lines.end(), statements.begin(), statements.end());
        lines.push_back("stop");
        return Run(lines);
    }

    ScriptServices services_;
    std::unique_ptr<ScriptFunctions> functions_;
    UndoRecorder undo_;
    BlockHandle door_ = 0;
    std::map<std::string, EntityHandle> entities_;
};

// Each text function reads its own kind of current entity and gives nothing for any other kind,
// or when there is no current entity.
TEST_F(EntityFunctions, TextsOfTheCurrentEntityByKind) {
    const std::map<std::string, std::pair<std::string, std::string>> own = {
        {"etext", {"text", "Hello"}},
        {"edim", {"dimension", "12.50"}},
        {"ebname", {"insert", "DOOR"}},
        {"elkdref", {"reference", "C:\\LK\\PLAN.LKD"}},
        {"ebmref", {"image", "C:\\LK\\P.PCX"}},
    };
    for (const auto& [current, handle] : entities_) {
        MakeCurrent(current);
        for (const auto& [function, expected] : own) {
            ASSERT_EQ(Run({"900$ = \"old\"; 900$ = " + function, "stop"}), "") << function;
            EXPECT_EQ(Line(900), current == expected.first ? expected.second : "") << function << " of " << current;
        }
    }
}

TEST_F(EntityFunctions, AFreedCurrentEntityIsNoLongerCurrent) {
    MakeCurrent("line");
    Drawing& drawing = engine_->drawing;
    DeleteFirstEntity(drawing);  // the line, newest
    EXPECT_EQ(drawing.current, 0u);
    EntityHandle reused = PushEntity(drawing, Text("Reused"));
    EXPECT_EQ(reused, entities_.at("line")) << "the slot is given out again";
    ASSERT_EQ(Run({"900$ = etext", "stop"}), "");
    EXPECT_EQ(Line(900), "") << "a new record in the freed slot is not the current entity";
}

TEST_F(EntityFunctions, AttributeDefinitionsOfABlockUnpackIntoLinesOneToThree) {
    struct Case {
        std::string statement;
        double result;
        std::vector<std::string> lines;  // 1$..3$ afterwards
    };
    const std::vector<Case> cases = {
        {"A = batrdef 1 DOOR", 1, {"NUM", "1", "Number?"}},
        {"A = batrdef 2 DOOR", 0x81, {"OWNER", "nobody", "Owner?"}},
        {"A = batrdef 3 DOOR", 0, {"a", "b", "c"}},
        {"A = batrdef 0 DOOR", 0, {"a", "b", "c"}},
        {"A = batrdef -1 DOOR", 0, {"a", "b", "c"}},
        {"A = batrdef 1 WINDOW", 0, {"a", "b", "c"}},
        {"A = batrdef 1 door", 0, {"a", "b", "c"}},
        {"A = batrdef 1 \"DO\" OR", 1, {"NUM", "1", "Number?"}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(RunFrom10({"1$ = \"a\"; 2$ = \"b\"; 3$ = \"c\"; A = -5", c.statement}), "") << c.statement;
        EXPECT_EQ(Var('A'), c.result) << c.statement;
        EXPECT_EQ((std::vector<std::string>{Line(1), Line(2), Line(3)}), c.lines) << c.statement;
    }
}

TEST_F(EntityFunctions, TheCurrentAttributeDefinitionUnpacksLikeABlocksOne) {
    for (const std::string current : {"attribute", "text", "none"}) {
        MakeCurrent(current);
        ASSERT_EQ(RunFrom10({"1$ = \"a\"; 2$ = \"b\"; 3$ = \"c\"", "A = eatrdef"}), "");
        const bool own = current == "attribute";
        EXPECT_EQ(Var('A'), own ? 5 : 0) << current;
        EXPECT_EQ(Line(1), own ? "TAG" : "a") << current;
        EXPECT_EQ(Line(2), own ? "dflt" : "b") << current;
        EXPECT_EQ(Line(3), own ? "Ask?" : "c") << current;
    }
}

TEST_F(EntityFunctions, AnInsertsValueGoesToTheLineOfItsNumber) {
    struct Case {
        std::string current;
        int32_t index;
        double result;
        std::vector<std::string> lines;  // 1$, 2$, 3$
    };
    const std::vector<Case> cases = {
        {"insert", 1, 1, {"7", "b", "c"}},
        {"insert", 2, 1, {"a", "Smith", "c"}},
        {"insert", 3, 0, {"a", "b", "c"}},
        {"insert", 0, 0, {"a", "b", "c"}},
        {"text", 1, 0, {"a", "b", "c"}},
        {"none", 1, 0, {"a", "b", "c"}},
    };
    for (const Case& c : cases) {
        MakeCurrent(c.current);
        const std::string statement = "A = ebatr " + std::to_string(c.index);
        ASSERT_EQ(RunFrom10({"1$ = \"a\"; 2$ = \"b\"; 3$ = \"c\"; A = -5", statement}), "") << statement;
        EXPECT_EQ(Var('A'), c.result) << c.current << " " << statement;
        EXPECT_EQ((std::vector<std::string>{Line(1), Line(2), Line(3)}), c.lines) << c.current << " " << statement;
    }
}

void Select(EntityRecord& record, uint8_t flags) {
    record.SetByte(entity_field::kKindAndFlags, static_cast<uint8_t>(record.KindAndFlags() | flags));
}

// The quadrilaterals lie in doubles 520..535 (script numbers 1287..1302): the unit square onto
// the rectangle (10, 10)-(14, 12).
TEST_F(EntityFunctions, TrfrCarriesTheSelectionThroughTheFourPointMapping) {
    Drawing& drawing = engine_->drawing;
    const EntityHandle selected = PushEntity(drawing, Polyline({{0, 0}, {0.5, 1}}));
    const EntityHandle erased = PushEntity(drawing, Polyline({{0, 0}, {0.5, 1}}));
    Select(drawing[selected], entity_flag::kSelected);
    Select(drawing[erased], entity_flag::kSelected | entity_flag::kErased);
    auto vertex = [&](EntityHandle e, int i) { return PolylineView(drawing[e]).Vertex(i); };

    ASSERT_EQ(Run({"A = trfr", "stop"}), "");
    EXPECT_EQ(Var('A'), 0) << "all corners at 0: no quadrilateral";
    EXPECT_EQ(vertex(selected, 1), (Point{0.5, 1}));

    ASSERT_EQ(Run({"sv 1287 0 1288 0 1289 1 1290 0 1291 1 1292 1 1293 0 1294 1",
                   "sv 1295 10 1296 10 1297 14 1298 10 1299 14 1300 12 1301 10 1302 12", "A = trfr", "stop"}),
              "");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_NEAR(vertex(selected, 0).x, 10, 1e-9);
    EXPECT_NEAR(vertex(selected, 0).y, 10, 1e-9);
    EXPECT_NEAR(vertex(selected, 1).x, 12, 1e-9);
    EXPECT_NEAR(vertex(selected, 1).y, 12, 1e-9);
    EXPECT_EQ(vertex(erased, 1), (Point{0.5, 1})) << "an erased entity stays";
    EXPECT_EQ(vertex(entities_.at("line"), 1), (Point{3, 4})) << "an entity not selected stays";
}

// A = conv LAT LON H jtsk X Y [box]: the national grid, values as the reference computation
// (tools/national_grid_reference.py) gives them.
TEST_F(EntityFunctions, ConvJtskPutsTheGridPointInItsTargets) {
    struct Case {
        std::string statement;
        double result;
        double x, y;  // what X and Y hold afterwards
        std::string error = "";
    };
    const double px = 1043009.487408273, py = 742805.1904567241;
    const std::vector<Case> cases = {
        {"A = conv 50.0875 14.4213 300 jtsk X Y", 1, px, py},
        {"A = conv 50.0875 14.4213 300 jtsk X Y 1e6 7e5 1.1e6 8e5", 1, px, py},
        {"A = conv 50.0875 14.4213 300 jtsk X Y 0 0 1e6 1e6", 0, px, py},
        {"A = conv 50.0875 14.4213 300 jtsk X Y 2e6 2e6 0 1", 1, px, py},
        {"A = conv 50.0875 14.4213 300 jtsk 5# 6#", 1, -1, -1},
        {"A = conv 50.0875 14.4213 300 jtks X Y", 0, -1, -1},
        {"A = conv 49 14 -6378137 jtsk X Y", 0, -1, -1},
        {"A = conv 59.756152 24.82942 0 jtsk X Y", -7, -1, -1, "Math error"},
        {"A = conv 50 14 1e400 jtsk X Y", -7, -1, -1, "Math error"},
    };
    for (const Case& c : cases) {
        std::string error = Run({"A = -7; X = -1; Y = -1", c.statement, "stop"});
        EXPECT_EQ(error, c.error.empty() ? "" : c.error + "\r\non LKP line 2:1") << c.statement;
        EXPECT_EQ(Var('A'), c.result) << c.statement;
        EXPECT_NEAR(Var('X'), c.x, 1e-4) << c.statement;
        EXPECT_NEAR(Var('Y'), c.y, 1e-4) << c.statement;
    }
    EXPECT_NEAR(engine_->variables.numbers[5], px, 1e-4);
    EXPECT_NEAR(engine_->variables.numbers[6], py, 1e-4);
}

// Words these functions cannot take stop the run with the language's message and its place.
TEST_F(EntityFunctions, BadWordsStopTheRunWithTheirMessage) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"5$ = etext 1000#", "1000# out of range"},
        {"5$ = edim 4294967296#", "4294967296# out of range"},
        {"5$ = ebname 1000#", "1000# out of range"},
        {"5$ = elkdref 1e400", "Math error"},
        {"5$ = ebmref 1000#", "1000# out of range"},
        {"A = batrdef 1 1000$", "1000$ out of range"},
        {"A = batrdef 1000# DOOR", "1000# out of range"},
        {"A = eatrdef 1000#", "1000# out of range"},
        {"A = ebatr 1e400", "Math error"},
        {"A = trfr 1000#", "1000# out of range"},
    };
    for (const auto& [statement, message] : cases)
        EXPECT_EQ(Run({"B = 1", statement, "stop"}), message + "\r\non LKP line 2:1") << statement;
}

}  // namespace
}  // namespace linework::test
