#include "display/selection_engine.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "drawing/drawing.h"
#include "drawing/entity_builders.h"
#include "drawing/layer_table.h"
#include "support/entity_builders.h"

namespace linework {
namespace {

using Names = std::set<std::string>;

struct RecordingOutput : SelectionOutput {
    std::vector<std::string> readouts;
    std::map<int, bool> buttons;
    std::vector<EntityHandle> described;
    std::set<EntityHandle> withoutSnap;
    void ShowReadout(std::string_view text) override { readouts.emplace_back(text); }
    void SetButtonDown(int n, bool down) override { buttons[n] = down; }
    void DescribeEntity(EntityHandle entity) override { described.push_back(entity); }
    bool OfferSnapPoints(EntityHandle entity) override { return !withoutSnap.contains(entity); }
};

struct SelectionTest : ::testing::Test {
    SystemVariableImage image;
    LayerTable layers{image};
    Drawing drawing;
    RecordingOutput output;
    SelectionEngineCore engine{drawing, layers, output};
    std::map<std::string, EntityHandle> handles;

    void SetUp() override { layers.Reset(); }

    EntityHandle Add(const std::string& name, EntityRecord record) {
        EntityHandle handle = PushEntity(drawing, std::move(record));
        EXPECT_NE(handle, 0u);
        handles[name] = handle;
        return handle;
    }
    Names Selected() const {
        Names names;
        for (const auto& [name, handle] : handles)
            if (drawing[handle].KindAndFlags() & entity_flag::kSelected) names.insert(name);
        return names;
    }
    Names Run(int method, Point a = {}, Point b = {}) {
        engine.ClearSelection(false);
        engine.state.method = method;
        engine.SetSelectionBox(a, b);
        engine.SelectEntities();
        return Selected();
    }
    void SetFlag(const std::string& name, uint8_t flag) {
        EntityRecord& record = drawing[handles.at(name)];
        record.SetByte(entity_field::kKindAndFlags, record.KindAndFlags() | flag);
    }
};

// A scene about the window (0,0)-(10,10).
struct GeometryTest : SelectionTest {
    void SetUp() override {
        SelectionTest::SetUp();
        Add("through", test::Polyline({{-5, 5}, {15, 5}}));
        Add("inside", test::Polyline({{2, 2}, {3, 3}}));
        Add("outside", test::Polyline({{20, 20}, {30, 30}}));
        Add("slant", test::Polyline({{-4, 12}, {12, -4}}));  // crosses the box's corner region
        Add("slantMiss", test::Polyline({{-4, 3}, {3, -4}}));  // passes below the corner (0,0)
        Add("circle", test::Arc({5, 5}, {7, 5}, {7, 5}));
        Add("bigCircle", test::Arc({5, 5}, {25, 5}, {25, 5}));  // the box lies inside it
        Add("text", test::Text("T", {1, 1}));
        Add("point", test::Polyline({{9, 9}}));
        Add("edge", test::Polyline({{10, 0}, {10, 10}}));  // on the border: inclusive
    }
};

TEST_F(GeometryTest, MethodsSelectTheExpectedSets) {
    struct Case {
        const char* what;
        int method;
        Point a, b;
        Names expected;
    };
    const std::vector<Case> cases = {
        {"window", select_method::kWindow, {0, 0}, {10, 10}, {"inside", "circle", "text", "point", "edge"}},
        {"window given backwards", select_method::kWindow, {10, 10}, {0, 0}, {"inside", "circle", "text", "point", "edge"}},
        {"crossing", select_method::kCrossing, {0, 0}, {10, 10},
         {"through", "inside", "slant", "circle", "text", "point", "edge"}},
        {"fence (the slant lines run beside it)", select_method::kFence, {0, 10}, {10, 0}, {"through", "circle", "edge"}},
        {"fence through the text and the point", select_method::kFence, {0, 0}, {10, 10},
         {"through", "slant", "circle", "edge"}},
        {"all", 0, {}, {}, {"through", "inside", "outside", "slant", "slantMiss", "circle", "bigCircle", "text",
                            "point", "edge"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Run(c.method, c.a, c.b), c.expected) << c.what;
}

TEST_F(GeometryTest, ACircleInsideACrossingIsTakenWithoutFlattening) {
    Names selected = Run(select_method::kCrossing, {3, 3}, {7, 7});
    EXPECT_TRUE(selected.contains("circle"));
    EXPECT_EQ(engine.Statistics().arcsFlattened, 1);  // only the big circle, whose square overlaps
}

TEST_F(GeometryTest, AnArcIsTestedAlongItsCurve) {
    handles.clear();
    drawing = Drawing{};
    Add("quarter", test::Arc({0, 0}, {10, 0}, {0, 10}));
    EXPECT_EQ(Run(select_method::kCrossing, {6, 6}, {8, 8}), Names{"quarter"});  // on the curve
    EXPECT_EQ(Run(select_method::kCrossing, {-3, -3}, {3, 3}), Names{});          // in its square only
    EXPECT_EQ(Run(select_method::kCrossing, {-8, -8}, {-6, -6}), Names{});        // beyond its sweep
    EXPECT_EQ(Run(select_method::kWindow, {-1, -1}, {11, 11}), Names{"quarter"});
    EXPECT_EQ(Run(select_method::kWindow, {-1, 1}, {11, 11}), Names{});  // the start (10,0) lies out
}

TEST_F(SelectionTest, SelectingTwiceWithTheSameWindowAddsNothing) {
    Add("a", test::Polyline({{1, 1}, {2, 2}}));
    Add("b", test::Polyline({{3, 3}, {4, 4}}));
    engine.state.method = select_method::kWindow;
    engine.SetSelectionBox({0, 0}, {5, 5});
    EXPECT_EQ(engine.SelectEntities(), 2);
    EXPECT_EQ(engine.SelectEntities(), 0);
    EXPECT_EQ(output.readouts, (std::vector<std::string>{"+2=2", "+0=2"}));
    engine.SetAddMode(false);
    EXPECT_EQ(engine.SelectEntities(), -2);
    EXPECT_EQ(output.readouts.back(), "-2=0");
    EXPECT_TRUE(output.buttons[select_button::kRemove]);
    EXPECT_FALSE(output.buttons[select_button::kAdd]);
}

TEST_F(SelectionTest, ErasedEntitiesAndInactiveLayersAreSkipped) {
    Add("erased", test::Polyline({{1, 1}, {2, 2}}));
    SetFlag("erased", entity_flag::kErased);
    Add("hidden", test::Polyline({{1, 1}, {2, 2}}, 5));
    Add("locked", test::Polyline({{1, 1}, {2, 2}}, 6));
    Add("out", test::Polyline({{1, 1}, {2, 2}}, 7));
    Add("plain", test::Polyline({{1, 1}, {2, 2}}, 8));
    layers.SetWord(5, layers.Word(5) | layer_flag::kHidden);
    layers.SetWord(6, layers.Word(6) | layer_flag::kLocked);
    layers.SetWord(7, layers.Word(7) | layer_flag::kOutOfScaleRange);
    EXPECT_EQ(Run(0), Names{"plain"});
    engine.pick.allLayers = true;
    EXPECT_EQ(Run(0), (Names{"hidden", "locked", "out", "plain"}));
}

TEST_F(SelectionTest, FenceNeverTakesTextsPointsReferencesOrImages) {
    Add("text", test::Text("T", {5, 5}));
    Add("point", test::Polyline({{5, 5}}));
    Add("reference", MakeReference("A.LKD", {5, 5}));
    Add("image", MakeRasterImage("A.PCX", {4, 6}, 2, 2, 1, 1, 0));
    Add("line", test::Polyline({{4, 6}, {6, 4}}));
    EXPECT_EQ(Run(select_method::kFence, {0, 0}, {10, 10}), Names{"line"});
    EXPECT_EQ(Run(select_method::kCrossing, {4.5, 4.5}, {5.5, 5.5}), (Names{"text", "point", "reference", "image", "line"}));
}

TEST_F(SelectionTest, RasterImagesByTheirRectangleAndSwitches) {
    Add("image", MakeRasterImage("A.PCX", {0, 10}, 10, 10, 1, 1, 0));  // (0,0)-(10,10)
    EXPECT_EQ(Run(select_method::kWindow, {0, 0}, {10, 10}), Names{"image"});
    EXPECT_EQ(Run(select_method::kWindow, {0, 0.5}, {10, 10}), Names{});
    EXPECT_EQ(Run(select_method::kCrossing, {10, 10}, {12, 12}), Names{"image"});  // corner touches
    EXPECT_EQ(Run(select_method::kCrossing, {10.5, 10}, {12, 12}), Names{});
    engine.pick.imageSelection = false;
    EXPECT_EQ(Run(select_method::kCrossing, {0, 0}, {10, 10}), Names{});
    engine.pick.imageSelection = true;
    engine.pick.imagesShown = false;
    EXPECT_EQ(Run(select_method::kCrossing, {0, 0}, {10, 10}), Names{});
}

TEST_F(SelectionTest, DimensionsByTheirTextPointOrTheirOutline) {
    std::array<Point, 5> points{Point{0, 0}, {0, 5}, {10, 5}, {10, 0}, {5, 20}};
    Add("dim", MakeDimension(points, 10, 0, ""));
    EXPECT_EQ(Run(select_method::kCrossing, {4, 19}, {6, 21}), Names{"dim"});   // the text point
    EXPECT_EQ(Run(select_method::kWindow, {4, 19}, {6, 21}), Names{});          // a window wants the outline
    EXPECT_EQ(Run(select_method::kWindow, {-1, -1}, {11, 6}), Names{"dim"});     // the four points
    EXPECT_EQ(Run(select_method::kFence, {-1, 2}, {1, 2}), Names{"dim"});        // through the first side
}

TEST_F(SelectionTest, APatternedPolylineIsClosed) {
    // A triangle whose closing side alone passes through the box.
    Add("hatched", test::Polyline({{0, 0}, {10, 0}, {0, 10}}, 0, 0, 8));
    Add("open", test::Polyline({{20, 0}, {30, 0}, {20, 10}}));
    EXPECT_EQ(Run(select_method::kCrossing, {-1, 4}, {0.5, 6}), Names{"hatched"});
    EXPECT_EQ(Run(select_method::kCrossing, {19, 4}, {20.5, 6}), Names{});
}

struct InsertTest : SelectionTest {
    BlockHandle block = 0;
    void SetUp() override {
        SelectionTest::SetUp();
        block = AddBlockDef(drawing, "B", {0, 0});
        AppendToBlock(drawing, block, test::Polyline({{0, 0}, {1, 0}}));
        AppendToBlock(drawing, block, test::Polyline({{0, 0}, {0, 1}}));
    }
    EntityRecord TurnedInsert(Point at, double xScale, double rotation) {
        EntityRecord insert = MakeInsert(block, at);
        insert.SetDouble(entity_field::kXScale, xScale);
        insert.SetDouble(entity_field::kRotation, rotation);
        return insert;
    }
};

TEST_F(InsertTest, AWindowWantsEveryMemberACrossingOne) {
    Add("plain", MakeInsert(block, {20, 0}));
    // Scaled 2 in x and turned a quarter: the members lie on (40,0)-(40,2) and (39,0)-(40,0).
    Add("turned", TurnedInsert({40, 0}, 2, 1.5707963267948966));
    struct Case {
        int method;
        Point a, b;
        Names expected;
    };
    const std::vector<Case> cases = {
        {select_method::kWindow, {19, -1}, {21.5, 0.5}, {}},
        {select_method::kCrossing, {19, -1}, {21.5, 0.5}, {"plain"}},
        {select_method::kWindow, {19, -1}, {22, 2}, {"plain"}},
        {select_method::kWindow, {39.5, -0.5}, {40.5, 2.5}, {}},
        {select_method::kCrossing, {39.5, 1.5}, {40.5, 2.5}, {"turned"}},  // the stretched, turned member
        {select_method::kWindow, {38.5, -0.5}, {40.5, 2.5}, {"turned"}},
        {select_method::kCrossing, {40.5, -0.5}, {42.5, 0.5}, {}},  // where an unturned member would lie
    };
    for (const Case& c : cases)
        EXPECT_EQ(Run(c.method, c.a, c.b), c.expected) << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
}

TEST_F(InsertTest, MembersOnHiddenLayersAreLeftOut) {
    // The second member on a hidden layer: a window around the first alone takes the insert.
    BlockHandle other = AddBlockDef(drawing, "C", {0, 0});
    AppendToBlock(drawing, other, test::Polyline({{0, 0}, {1, 0}}));
    AppendToBlock(drawing, other, test::Polyline({{0, 0}, {0, 5}}, 9));
    layers.SetWord(9, layers.Word(9) | layer_flag::kHidden);
    Add("insert", MakeInsert(other, {0, 0}));
    EXPECT_EQ(Run(select_method::kWindow, {-0.5, -0.5}, {1.5, 0.5}), Names{"insert"});
    engine.pick.allLayers = true;
    EXPECT_EQ(Run(select_method::kWindow, {-0.5, -0.5}, {1.5, 0.5}), Names{});
}

TEST_F(InsertTest, ABlockThatInsertsItselfIsTestedOnce) {
    BlockHandle cyclic = AddBlockDef(drawing, "SELF", {0, 0});
    AppendToBlock(drawing, cyclic, test::Polyline({{0, 0}, {1, 1}}));
    AppendToBlock(drawing, cyclic, MakeInsert(cyclic, {5, 5}));
    Add("self", MakeInsert(cyclic, {0, 0}));
    EXPECT_EQ(Run(select_method::kWindow, {-1, -1}, {2, 2}), Names{"self"});
    EXPECT_EQ(Run(select_method::kCrossing, {4, 4}, {7, 7}), Names{});  // the inner copy is not there
    EXPECT_EQ(Run(select_method::kCrossing, {0.5, 0.5}, {3, 3}), Names{"self"});
}

TEST_F(SelectionTest, FiltersTwoAndThreeMakeFour) {
    engine.ToggleFilter(select_filter::kSameLayer);
    EXPECT_FALSE(engine.state.filters[select_filter::kSameLayerColour]);
    engine.ToggleFilter(select_filter::kSameColour);
    EXPECT_TRUE(engine.state.filters[select_filter::kSameLayerColour]);
    EXPECT_TRUE(output.buttons[75]);
    engine.ToggleFilter(select_filter::kSameLayer);
    EXPECT_FALSE(engine.state.filters[select_filter::kSameLayerColour]);
    EXPECT_FALSE(output.buttons[75]);
    engine.ToggleFilter(select_filter::kSameLayerColour);
    EXPECT_TRUE(engine.state.filters[select_filter::kSameLayer]);
    EXPECT_TRUE(engine.state.filters[select_filter::kSameColour]);
    EXPECT_TRUE(output.buttons[73] && output.buttons[74]);
    engine.ClearFilters();
    EXPECT_FALSE(engine.AnyFilterSet());
    EXPECT_FALSE(output.buttons[73] || output.buttons[74] || output.buttons[75]);
}

TEST_F(SelectionTest, FiltersNarrowAPass) {
    Add("l3c0", test::Polyline({{1, 1}, {2, 2}}, 3));           // colour from layer 3: 3
    Add("l3c5", MakePolyline(std::array<Point, 2>{Point{1, 1}, {2, 2}}, {.layer = 3, .colour = 5}));
    Add("l4c3", MakePolyline(std::array<Point, 2>{Point{1, 1}, {2, 2}}, {.layer = 4, .colour = 3}));
    Add("circle", test::Arc({1, 1}, {2, 1}, {2, 1}));
    Add("arc", test::Arc({1, 1}, {2, 1}, {1, 2}));
    engine.current = {3, 3};
    engine.ToggleFilter(select_filter::kSameLayer);
    EXPECT_EQ(Run(0), (Names{"l3c0", "l3c5"}));
    engine.ToggleFilter(select_filter::kSameColour);
    EXPECT_EQ(Run(0), Names{"l3c0"});
    engine.ClearFilters();
    engine.ToggleFilter(select_filter::kKind);
    engine.state.kind = 2;
    engine.state.subKind = 1;
    EXPECT_EQ(Run(0), Names{"circle"});
    engine.state.subKind = 2;
    EXPECT_EQ(Run(0), Names{"arc"});
}

TEST_F(SelectionTest, KindSubKindsOfPolylines) {
    Add("point", test::Polyline({{1, 1}}));
    Add("line", test::Polyline({{1, 1}, {2, 2}}));
    Add("lineSymbol", test::Polyline({{1, 1}, {2, 2}}, 0, 4));
    Add("poly", test::Polyline({{1, 1}, {2, 2}, {3, 1}}));
    Add("polySymbol", test::Polyline({{1, 1}, {2, 2}, {3, 1}}, 0, 4));
    Add("hatch", test::Polyline({{1, 1}, {2, 2}, {3, 1}}, 0, 0, 8));
    Add("hatchSymbol", test::Polyline({{1, 1}, {2, 2}, {3, 1}}, 0, 4, 8));
    Add("text", test::Text("T"));
    const std::array<std::string, 8> bySubKind{"", "point", "line", "lineSymbol", "poly", "polySymbol", "hatch",
                                               "hatchSymbol"};
    engine.state.kind = 1;
    for (uint8_t sub = 1; sub <= 7; ++sub) {
        engine.state.subKind = sub;
        EXPECT_EQ(Run(select_method::kKind), Names{bySubKind[sub]}) << int(sub);
    }
    engine.state.subKind = 0;
    EXPECT_EQ(Run(select_method::kKind).size(), 7u);
    engine.state.kind = 3;
    engine.state.subKind = 9;  // any non-zero sub-kind of other kinds
    EXPECT_EQ(Run(select_method::kKind), Names{"text"});
}

TEST_F(SelectionTest, LayerColourLevelAndPreviousMethods) {
    Add("a", MakePolyline(std::array<Point, 2>{Point{1, 1}, {2, 2}}, {.layer = 2}));
    Add("b", MakePolyline(std::array<Point, 2>{Point{1, 1}, {2, 2}}, {.layer = 2, .colour = 9}));
    Add("insert", MakeInsert(0, {0, 0}, {.layer = 2}));
    drawing[handles["b"]].Store<float>(entity_field::kLevel, 4.0f);
    engine.current = {2, 2};  // layer 2's colour is 2
    EXPECT_EQ(Run(select_method::kLayer), (Names{"a", "b", "insert"}));
    EXPECT_EQ(Run(select_method::kColour), Names{"a"});  // an insert does not take its layer's colour
    engine.current = {2, 0};
    EXPECT_EQ(Run(select_method::kLayerColour), (Names{"a", "insert"}));
    engine.state.zLower = 4;
    engine.state.zUpper = 4;
    EXPECT_EQ(Run(select_method::kZRange), Names{"b"});
    engine.state.zLower = 4.5;
    engine.state.zUpper = 9;
    EXPECT_EQ(Run(select_method::kZRange), Names{});
    engine.state.zLower = -1;
    engine.state.zUpper = 3.99f;
    EXPECT_EQ(Run(select_method::kZRange), (Names{"a", "insert"}));
    // The previous selection: kept by a clear, then chosen again.
    Run(select_method::kLayerColour);
    engine.ClearSelection(true);
    EXPECT_EQ(Run(select_method::kPrevious), (Names{"a", "insert"}));
}

TEST_F(SelectionTest, NewestNAndLast) {
    for (const char* name : {"oldest", "older", "newer", "newest"}) Add(name, test::Polyline({{1, 1}, {2, 2}}));
    engine.state.countLimit = 2;
    EXPECT_EQ(Run(select_method::kNewest), (Names{"newer", "newest"}));
    engine.state.countLimit = 3;
    EXPECT_EQ(Run(select_method::kNewest), (Names{"older", "newer", "newest"}));
    EXPECT_EQ(Run(select_method::kLast), Names{"newest"});
    EXPECT_EQ(engine.state.lastHit, handles["newest"]);
    engine.SelectEntities();  // the newest is selected already: the next one
    EXPECT_EQ(Selected(), (Names{"newer", "newest"}));
}

TEST_F(SelectionTest, APassStartsAtThePickedEntityThenGoesRound) {
    for (const char* name : {"d", "c", "b", "a"}) Add(name, test::Polyline({{1, 1}, {2, 2}}));  // list a b c d
    drawing.picked = handles["c"];
    engine.state.method = select_method::kLast;
    engine.SelectEntities();
    EXPECT_EQ(Selected(), Names{"c"});
    engine.SelectEntities();
    EXPECT_EQ(Selected(), (Names{"c", "d"}));
    engine.SelectEntities();  // c and d taken: round again from the head
    EXPECT_EQ(Selected(), (Names{"a", "c", "d"}));
}

TEST_F(SelectionTest, ReplacePickLeavesOnlyTheSecond) {
    Add("first", test::Polyline({{0, 0}, {1, 1}}));
    Add("second", test::Polyline({{10, 10}, {11, 11}}));
    engine.state.replacePick = true;
    engine.SelectPickMethod();
    EXPECT_FALSE(output.buttons[select_button::kPick]);  // up again at once
    engine.SetPickBox({0.5, 0.5}, 0.1);
    engine.SelectEntities();
    EXPECT_EQ(Selected(), Names{"first"});
    engine.SetPickBox({10.5, 10.5}, 0.1);
    engine.SelectEntities();
    EXPECT_EQ(Selected(), Names{"second"});
    EXPECT_EQ(engine.state.count, 1);
    EXPECT_EQ(output.readouts.back(), "+0=1");
    EXPECT_EQ(drawing.picked, handles["second"]);
    ASSERT_EQ(output.described.size(), 2u);
    EXPECT_EQ(output.described.back(), handles["second"]);
}

TEST_F(SelectionTest, PickBoxIsSizedInPixels) {
    Add("line", test::Polyline({{0, 0}, {10, 0}}));
    engine.state.pickBoxSize = 3;
    engine.state.method = select_method::kPick;
    engine.SetPickBox({5, 1.5}, 0.5);  // reaches down to y 0
    EXPECT_EQ(engine.SelectEntities(), 1);
    engine.ClearSelection(false);
    engine.SetPickBox({5, 1.6}, 0.5);
    EXPECT_EQ(engine.SelectEntities(), 0);
}

TEST_F(SelectionTest, PointingFindsLockedLayersButNotHiddenOnes) {
    Add("hidden", test::Polyline({{0, 0}, {10, 0}}, 5));
    Add("locked", test::Polyline({{0, 0}, {10, 0}}, 6));
    Add("noSnap", test::Polyline({{0, 0}, {10, 0}}));
    layers.SetWord(5, layers.Word(5) | layer_flag::kHidden);
    layers.SetWord(6, layers.Word(6) | layer_flag::kLocked);
    output.withoutSnap.insert(handles["noSnap"]);
    engine.state.method = select_method::kPick;
    engine.SetPickBox({5, 0}, 1);
    EXPECT_EQ(engine.PointAt(true), handles["locked"]);
    EXPECT_EQ(drawing.underCursor, handles["locked"]);
    EXPECT_EQ(Selected(), Names{});
    EXPECT_EQ(engine.state.count, 0);
    layers.SetWord(6, layers.Word(6) & ~layer_flag::kLocked);
    layers.SetWord(6, layers.Word(6) | layer_flag::kOutOfScaleRange);
    EXPECT_EQ(engine.PointAt(true), 0u);
}

TEST_F(SelectionTest, ClearSelectionKeepsItAsPrevious) {
    Add("sel", test::Polyline({{0, 0}, {1, 1}}));
    Add("old", test::Polyline({{0, 0}, {1, 1}}));
    SetFlag("sel", entity_flag::kSelected);
    SetFlag("old", entity_flag::kPreviousSelection);
    engine.ClearSelection(true);
    EXPECT_EQ(Selected(), Names{});
    EXPECT_TRUE(drawing[handles["sel"]].KindAndFlags() & entity_flag::kPreviousSelection);
    EXPECT_FALSE(drawing[handles["old"]].KindAndFlags() & entity_flag::kPreviousSelection);
    EXPECT_EQ(engine.FirstSelected(), 0u);
    SetFlag("old", entity_flag::kSelected);
    EXPECT_EQ(engine.FirstSelected(), handles["old"]);
}

}  // namespace
}  // namespace linework
