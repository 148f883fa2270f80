// The step handlers fed with points and values: the view commands' arithmetic, the polyline
// and circle drawn point by point into a real drawing, the edits of the selection, and the
// object selection's pick, fallback to a window, fence and finish.
#include <cmath>

#include "drawing/angles.h"
#include "drawing/entity_views.h"
#include "ui/command_states_fixture.h"
#include "ui/command_steps.h"

namespace linework::test {
namespace {

using namespace command_kind;

TEST(ZoomWindowViewTest, TheWindowFillsThePaintBoxByItsDecidingSide) {
    struct Case {
        Point a, b;
        PixelSize box;
        double scale, originX, originY;
    };
    const Case cases[] = {
        {{0, 0}, {40, 30}, {400, 300}, 0.1, 0, 0},           // the same shape: the width decides
        {{0, 0}, {40, 31}, {400, 300}, 31.0 / 300, 0, 0},    // a little taller: the height
        {{0, 0}, {40, 29}, {400, 300}, 0.1, 0, 0},           // a little wider: the width
        {{40, 30}, {0, 0}, {400, 300}, 0.1, 0, 0},           // corners in any order
        {{-5, 70}, {15, 10}, {400, 300}, 0.2, -5, 10},       // tall: 60 / 300
        {{5, 5}, {5, 65}, {400, 300}, 0.2, 5, 5},            // no width at all
        {{2, 3}, {82, 3}, {400, 300}, 0.2, 2, 3},            // no height: 80 / 400
        {{0, 0}, {1e-20, 1}, {400, 300}, 1.0 / 300, 0, 0},   // width below the smallest side
        {{0, 0}, {1e-19, 1e-19}, {400, 300}, 1e-19 / 300, 0, 0},  // both sides just the smallest
    };
    ViewTransform view;
    view.angle1 = 0.5;  // what the window does not touch stays
    for (const Case& c : cases) {
        std::optional<ViewTransform> zoomed = ZoomWindowView(view, c.a, c.b, c.box);
        ASSERT_TRUE(zoomed) << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
        EXPECT_DOUBLE_EQ(zoomed->scale, c.scale) << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
        EXPECT_EQ(zoomed->originX, c.originX);
        EXPECT_EQ(zoomed->originY, c.originY);
        EXPECT_EQ(zoomed->angle1, 0.5);
    }
}

TEST(ZoomWindowViewTest, NoWindowOrNoPaintBoxGivesNoView) {
    EXPECT_FALSE(ZoomWindowView({}, {1, 1}, {1 + 5e-20, 1 - 5e-20}, {400, 300}));
    EXPECT_TRUE(ZoomWindowView({}, {0, 0}, {0, 1e-18}, {400, 300})) << "one side is enough";
    EXPECT_FALSE(ZoomWindowView({}, {0, 0}, {10, 10}, {0, 300}));
    EXPECT_FALSE(ZoomWindowView({}, {0, 0}, {10, 10}, {400, 0}));
}

TEST_F(CommandStatesTest, AZoomWindowChangesTheViewWithinTheLimits) {
    Push(kZoomWindow, 2, "zoom");
    EXPECT_TRUE(surface.ButtonDown(step_button::kZoomWindow));
    states.AcceptPoint({10, 20});
    EXPECT_TRUE(view.changes.empty()) << "one corner is no window";
    states.AcceptPoint({50, 50});
    ASSERT_EQ(view.changes.size(), 1u);
    EXPECT_DOUBLE_EQ(view.view.scale, 0.1);
    EXPECT_EQ(view.view.originX, 10);
    EXPECT_EQ(view.view.originY, 20);
    EXPECT_EQ(Depth(), 0);
    EXPECT_FALSE(surface.ButtonDown(step_button::kZoomWindow));
    // Beyond the zoom limits the view stays, and the command still ends.
    view.allowed = false;
    Push(kZoomWindow, 2, "zoom");
    states.AcceptPoint({0, 0});
    states.AcceptPoint({1, 1});
    EXPECT_EQ(view.changes.size(), 1u);
    EXPECT_EQ(Depth(), 0);
}

TEST_F(CommandStatesTest, WithTheRepeatSwitchAZoomWindowWaitsForTheNextPair) {
    states.settings.repeat = true;
    Push(kZoomWindow, 2, "zoom");
    states.AcceptPoint({0, 0});
    states.AcceptPoint({40, 30});
    EXPECT_EQ(view.changes.size(), 1u);
    EXPECT_EQ(Depth(), 1);
    EXPECT_EQ(states.Stack().Top().step, 0);
    EXPECT_EQ(surface.commandPrompt, "zoom 1");
    // Enter ends it.
    states.EndStep();
    EXPECT_EQ(Depth(), 0);
    EXPECT_FALSE(states.OneShotWaiting(kZoomWindow));
}

TEST_F(CommandStatesTest, ATypedAngleIsReadInTheUsersUnit) {
    struct Case {
        int32_t mode;
        double typed;
        double radians;
    };
    const Case cases[] = {{kAngleDegrees, 90, kHalfPi}, {kAngleGrads, 100, kHalfPi}, {2, 1.25, 1.25}, {kAngleDegrees, -45, -kPi / 4}};
    for (const Case& c : cases) {
        grammar.angleMode = c.mode;
        edits.calls.clear();
        Push(kRotate, 2, "rotate");
        states.AcceptPoint({3, 4});
        states.AcceptValue(c.typed);
        ASSERT_EQ(edits.calls, std::vector<std::string>{"rotate"}) << c.mode;
        EXPECT_DOUBLE_EQ(edits.angle, c.radians) << "mode " << c.mode << " value " << c.typed;
        EXPECT_EQ(edits.base, (Point{3, 4}));
        EXPECT_EQ(Depth(), 0);
        EXPECT_FALSE(surface.ButtonDown(step_button::kRotate));
    }
}

TEST_F(CommandStatesTest, WithoutATypedAngleTheSecondPointGivesTheDirection) {
    Push(kRotate, 2, "rotate");
    states.AcceptPoint({1, 1});
    states.AcceptPoint({1, -4});
    EXPECT_DOUBLE_EQ(edits.angle, 1.5 * kPi);
}

TEST_F(CommandStatesTest, TheEditsTakeTheVectorBetweenTheirPoints) {
    states.settings.unitFactor = 2;
    struct Case {
        uint8_t kind;
        const char* edit;
    };
    const Case cases[] = {{kMove, "move"}, {kStretch, "stretch"}, {kScale, "scale"}};
    for (const Case& c : cases) {
        edits.calls.clear();
        cursor.previews.clear();
        Push(c.kind, 2, c.edit);
        states.AcceptPoint({1, 2});
        ASSERT_EQ(cursor.previews.size(), 1u) << "the base point starts the drag preview";
        EXPECT_EQ(cursor.previews[0], (Point{1, 2}));
        EXPECT_TRUE(edits.calls.empty());
        states.AcceptPoint({4, 6});
        ASSERT_EQ(edits.calls, std::vector<std::string>{c.edit});
        if (c.kind == kScale) {
            EXPECT_DOUBLE_EQ(edits.factor, 10) << "5 units of the band times the unit factor";
            EXPECT_EQ(edits.base, (Point{1, 2}));
        } else {
            EXPECT_EQ(edits.dx, 3);
            EXPECT_EQ(edits.dy, 4);
        }
        EXPECT_EQ(Depth(), 0);
    }
    // A typed factor wins over the band.
    Push(kScale, 2, "scale");
    states.AcceptPoint({1, 2});
    states.AcceptValue(0.5);
    EXPECT_EQ(edits.factor, 0.5);
}

TEST_F(CommandStatesTest, AnEditEndedWithoutItsSecondPointDropsTheSelection) {
    Push(kMove, 2, "move");
    states.AcceptPoint({1, 2});
    states.EndStep();
    EXPECT_TRUE(edits.calls.empty());
    EXPECT_EQ(selection.calls, std::vector<std::string>{"clear"}) << "not kept as the previous selection";
    EXPECT_GE(cursor.previewEnds, 1);
    EXPECT_EQ(Depth(), 0);
}

TEST_F(CommandStatesTest, WithTheRepeatSwitchAnEditClicksItsButtonAgainUnlessAScriptRuns) {
    states.settings.repeat = true;
    Push(kMove, 2, "move");
    states.AcceptPoint({0, 0});
    states.AcceptPoint({1, 0});
    EXPECT_EQ(surface.clicked, std::vector<int>{step_button::kMove});
    surface.scriptRunning = true;
    surface.clicked.clear();
    Push(kCopy, 2, "copy");
    states.AcceptPoint({0, 0});
    states.AcceptPoint({1, 0});
    EXPECT_TRUE(surface.clicked.empty());
    EXPECT_FALSE(surface.ButtonDown(step_button::kCopy));
}

TEST_F(CommandStatesTest, CopyAddsTheSelectedEntitiesMoved) {
    const std::array<Point, 2> line = {Point{0, 0}, Point{2, 0}};
    const EntityHandle original = AddPolyline(adders, line, false, false);
    ASSERT_NE(original, 0u);
    EntityRecord& record = drawing[original];
    record.SetByte(entity_field::kKindAndFlags, record.KindAndFlags() | entity_flag::kSelected);
    Push(kCopy, 2, "copy");
    states.AcceptPoint({1, 1});
    states.AcceptPoint({1, 6});
    ASSERT_EQ(EntityCount(), 2);
    ASSERT_NE(drawing.head, original);
    PolylineView copy(drawing[drawing.head]);
    EXPECT_EQ(copy.Vertex(0), (Point{0, 5}));
    EXPECT_EQ(copy.Vertex(1), (Point{2, 5}));
}

std::vector<std::vector<Point>> Polylines(const Drawing& drawing) {
    std::vector<std::vector<Point>> found;
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
        PolylineView view(drawing[at]);
        std::vector<Point> points;
        for (int k = 0; k < view.VertexCount(); ++k) points.push_back(view.Vertex(k));
        found.insert(found.begin(), points);  // oldest first
    });
    return found;
}

TEST_F(CommandStatesTest, APolylineGrowsPointByPointAsOneEntity) {
    Push(kPolyline, 1, "line", 0, 44);
    states.AcceptPoint({0, 0});
    states.AcceptPoint({1, 0});
    states.AcceptPoint({1, 1});
    ASSERT_EQ(Polylines(drawing), (std::vector<std::vector<Point>>{{{0, 0}, {1, 0}, {1, 1}}}));
    EXPECT_EQ(view.erased, 2) << "each version before is wiped off the screen";
    EXPECT_EQ(surface.sounds, (std::vector<int32_t>{44, 44, 44}));
    EXPECT_EQ(surface.commandPrompt, "line 2");
    // The same point again takes the last vertex back.
    states.AcceptPoint({1, 1});
    EXPECT_EQ(Polylines(drawing), (std::vector<std::vector<Point>>{{{0, 0}, {1, 0}}}));
    // Ending keeps the last version and ends the command.
    surface.down[step_button::kPolyline] = true;
    states.EndStep();
    EXPECT_EQ(Polylines(drawing), (std::vector<std::vector<Point>>{{{0, 0}, {1, 0}}}));
    EXPECT_FALSE(surface.ButtonDown(step_button::kPolyline));
    EXPECT_EQ(Depth(), 0);
}

TEST_F(CommandStatesTest, AtTheVertexLimitTheLastPointStartsANewPolyline) {
    struct Case {
        int limit;
        std::vector<std::vector<Point>> made;
    };
    const std::vector<Point> clicks = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};
    const Case cases[] = {
        {1, {{{0, 0}, {1, 0}}, {{1, 0}, {2, 0}}, {{2, 0}, {3, 0}}}},  // separate lines
        {2, {{{0, 0}, {1, 0}, {2, 0}}, {{2, 0}, {3, 0}}}},
        {3, {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}},
        {4, {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}},
    };
    for (const Case& c : cases) {
        ClearDrawing(drawing);
        states.settings.vertexLimit = c.limit;
        Push(kPolyline, 1, "line");
        for (Point p : clicks) states.AcceptPoint(p);
        states.EndStep();
        EXPECT_EQ(Polylines(drawing), c.made) << "limit " << c.limit;
    }
}

TEST_F(CommandStatesTest, WithTheRepeatSwitchEndingAPolylineStartsTheNext) {
    states.settings.repeat = true;
    Push(kPolyline, 1, "line");
    states.AcceptPoint({0, 0});
    states.AcceptPoint({1, 0});
    states.EndStep();
    EXPECT_EQ(Depth(), 1);
    EXPECT_EQ(surface.commandPrompt, "line 1");
    states.AcceptPoint({5, 5});
    states.AcceptPoint({6, 5});
    EXPECT_EQ(Polylines(drawing), (std::vector<std::vector<Point>>{{{0, 0}, {1, 0}}, {{5, 5}, {6, 5}}}));
}

TEST_F(CommandStatesTest, ACircleTakesItsRadiusFromThePointOrTheTypedValue) {
    struct Case {
        bool typed;
        double value;
        double radius;  // 0: nothing added
    };
    const Case cases[] = {{false, 0, 5}, {true, 2.5, 2.5}, {true, 0, 0}, {true, -3, 0}};
    for (const Case& c : cases) {
        ClearDrawing(drawing);
        Push(kCircle, 2, "circle");
        states.AcceptPoint({1, 1});
        if (c.typed) {
            states.AcceptValue(c.value);
        } else {
            states.AcceptPoint({4, 5});
        }
        EXPECT_EQ(Depth(), 0);
        if (c.radius == 0) {
            EXPECT_EQ(drawing.head, 0u) << c.value;
            continue;
        }
        ASSERT_NE(drawing.head, 0u);
        ArcView arc(drawing[drawing.head]);
        EXPECT_TRUE(arc.IsCircle());
        EXPECT_EQ(arc.Centre(), (Point{1, 1}));
        EXPECT_EQ(arc.Start(), (Point{1 + c.radius, 1}));
        EXPECT_EQ(surface.readout, c.typed ? "2.5" : "5");
    }
}

// --- the object selection

TEST_F(CommandStatesTest, APickThatFindsNothingTurnsIntoACrossingWindow) {
    Push(kMove, 2, "move");
    Push(kObjectSelection, 1, "select", 12);
    ASSERT_EQ(states.EditButtonsMode(), 1);
    surface.sounds.clear();
    states.AcceptPoint({3, 4});
    EXPECT_EQ(selection.method, selection_method::kCrossing);
    EXPECT_TRUE(surface.ButtonDown(step_button::kCrossingMethod));
    const CommandState& top = states.Stack().Top();
    EXPECT_EQ(top.pointsNeeded, 2);
    EXPECT_EQ(top.step, 1) << "the pick is the window's first corner";
    EXPECT_EQ(surface.commandPrompt, "message 109");
    EXPECT_EQ(surface.sounds, std::vector<int32_t>{32});
    selection.calls.clear();
    selection.finds = {true};
    states.AcceptPoint({10, 12});
    EXPECT_EQ(selection.calls[0], "box 3.000000,4.000000 10.000000,12.000000");
    EXPECT_EQ(selection.method, selection_method::kPick) << "the next click picks again";
    EXPECT_EQ(states.Stack().Top().pointsNeeded, 1);
    EXPECT_EQ(states.Stack().Top().step, 0);
    EXPECT_EQ(surface.commandPrompt, "select 1");
    EXPECT_EQ(Depth(), 2) << "the selection updates its own record";
}

TEST_F(CommandStatesTest, TheFallbackFollowsTheDefaultWindowMethod) {
    states.settings.crossingByDefault = false;
    Push(kObjectSelection, 1, "select");
    states.AcceptPoint({3, 4});
    EXPECT_EQ(selection.method, selection_method::kWindow);
    EXPECT_TRUE(surface.ButtonDown(step_button::kWindowMethod));
    EXPECT_EQ(surface.commandPrompt, "message 106");
}

TEST_F(CommandStatesTest, APickThatFindsSomethingOrReplacesStaysAPick) {
    Push(kObjectSelection, 1, "select");
    selection.finds = {true};
    states.AcceptPoint({3, 4});
    EXPECT_EQ(selection.method, selection_method::kPick);
    EXPECT_EQ(states.Stack().Top().pointsNeeded, 1);
    EXPECT_EQ(selection.calls, (std::vector<std::string>{"pick box 3.000000,4.000000", "pass"}));
    // A replacing pick (Alt) that finds nothing does not open a window either.
    selection.calls.clear();
    states.AcceptPoint({5, 5}, true);
    EXPECT_EQ(selection.method, selection_method::kPick);
    EXPECT_TRUE(selection.replacePick);
    EXPECT_EQ(selection.calls.back(), "accept pick");
}

TEST_F(CommandStatesTest, WithoutTheEditButtonsTheEmptyPickStaysAPick) {
    Push(kObjectSelection, 1, "select");
    states.SetEditButtonsMode(0);
    states.AcceptPoint({3, 4});
    EXPECT_EQ(selection.method, selection_method::kPick);
}

TEST_F(CommandStatesTest, AFenceGoesOnFromItsLastPoint) {
    Push(kObjectSelection, 1, "select");
    states.SetWindowSelectionMethod(selection_method::kFence, step_button::kFenceMethod, 34, 111);
    states.AcceptPoint({0, 0});
    states.AcceptPoint({5, 0});
    states.AcceptPoint({5, 5});
    EXPECT_EQ(selection.calls, (std::vector<std::string>{"method 39", "box 0.000000,0.000000 5.000000,0.000000", "pass",
                                                         "box 5.000000,0.000000 5.000000,5.000000", "pass"}));
    EXPECT_EQ(states.Stack().Top().step, 1);
}

TEST_F(CommandStatesTest, ASinglePickModeEndsTheSelectionAtTheFirstHit) {
    Push(kMove, 2, "move");
    states.SetEditButtonsMode(2);
    Push(kObjectSelection, 1, "select");
    EXPECT_EQ(states.EditButtonsMode(), 2);
    states.AcceptPoint({1, 1});
    EXPECT_EQ(Depth(), 2) << "nothing found: still selecting";
    selection.finds = {true};
    states.AcceptPoint({2, 2});
    EXPECT_EQ(Depth(), 1);
    EXPECT_EQ(surface.commandPrompt, "move 1");
    EXPECT_FALSE(states.SelectionStepActive());
    EXPECT_EQ(states.EditButtonsMode(), 0);
}

TEST_F(CommandStatesTest, EndingASelectionReturnsToTheEditOrAbandonsItWhenEmpty) {
    struct Case {
        bool found;
        int depthAfter;
    };
    for (const Case& c : {Case{true, 1}, Case{false, 0}}) {
        states.ResetCommandState();
        selection.count = 0;
        surface.idlePrompts = 0;
        Push(kMove, 2, "move");
        surface.down[step_button::kMove] = true;
        Push(kObjectSelection, 1, "select");
        if (c.found) {
            selection.finds = {true};
            states.AcceptPoint({1, 1});
        }
        states.EndStep();
        EXPECT_EQ(Depth(), c.depthAfter) << c.found;
        EXPECT_EQ(surface.ButtonDown(step_button::kMove), c.found);
        EXPECT_EQ(surface.idlePrompts, c.found ? 0 : 1);
    }
}

TEST_F(CommandStatesTest, AnEraseActsWhenItsSelectionEnds) {
    struct Case {
        bool repeat;
        int depthAfter;
        std::vector<int> clicked;
    };
    for (const Case& c : {Case{false, 0, {}}, Case{true, 1, {step_button::kErase}}}) {
        states.settings.repeat = c.repeat;
        surface.clicked.clear();
        edits.calls.clear();
        Push(kErase, 0, "erase");
        surface.down[step_button::kErase] = true;
        Push(kObjectSelection, 1, "select");
        selection.finds = {true};
        states.AcceptPoint({1, 1});
        states.EndStep();
        EXPECT_EQ(edits.calls, std::vector<std::string>{"erase"});
        EXPECT_EQ(Depth(), c.depthAfter);
        EXPECT_EQ(surface.clicked, c.clicked);
        EXPECT_EQ(surface.ButtonDown(step_button::kErase), c.repeat);
    }
}

TEST_F(CommandStatesTest, TheStretchModeTakesTheWindowForTheEdit) {
    struct StretchEdits : FakeEdits {
        Point a, b;
        void SetEditWindow(Point p, Point q) override {
            a = p;
            b = q;
        }
    } stretch;
    CommandStates own{CommandPorts{surface, view, cursor, selection, stretch, adders, grammar}};
    own.PushCommandState(Step(kStretch, 2, "stretch"));
    own.SetEditButtonsMode(3);
    own.PushCommandState(Step(kObjectSelection, 2, "window"));
    selection.method = selection_method::kCrossing;
    own.AcceptPoint({0, 0});
    own.AcceptPoint({8, 6});
    EXPECT_EQ(stretch.a, (Point{0, 0}));
    EXPECT_EQ(stretch.b, (Point{8, 6}));
    EXPECT_EQ(own.EditButtonsMode(), 1);
    EXPECT_EQ(selection.calls.back(), "accept pick");
}

// --- the window of an empty pick follows the drag

TEST(SelectionMethodForDrag, TheDirectionOfTheDragChoosesTheMethod) {
    struct Case {
        Point cursor;
        bool crossingByDefault;
        uint16_t expected;
    };
    const Point start{10, 10};
    const Case cases[] = {
        {{20, 5}, true, selection_method::kFence},       // below
        {{0, 5}, false, selection_method::kFence},
        {{20, 10}, false, selection_method::kFence},     // level: at counts as below
        {{20, 10.001}, false, selection_method::kCrossing},  // above and right
        {{10.001, 20}, false, selection_method::kCrossing},
        {{10, 20}, false, selection_method::kWindow},    // above, not right
        {{0, 20}, false, selection_method::kWindow},
        {{0, 20}, true, selection_method::kCrossing},    // crossing by default
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SelectionMethodForDrag(start, c.cursor, c.crossingByDefault), c.expected)
            << c.cursor.x << "," << c.cursor.y << " default crossing " << c.crossingByDefault;
    }
}

TEST_F(CommandStatesTest, TheFallbackWindowFollowsTheDragWithItsButtonAndPrompt) {
    states.settings.crossingByDefault = false;
    Push(kObjectSelection, 1, "select");
    EXPECT_FALSE(states.FollowDragWithWindowMethod({0, 0})) << "no window yet";
    states.AcceptPoint({10, 10});
    ASSERT_EQ(selection.method, selection_method::kWindow);
    surface.sounds.clear();
    EXPECT_TRUE(states.FollowDragWithWindowMethod({20, 5}));
    EXPECT_EQ(selection.method, selection_method::kFence);
    EXPECT_TRUE(surface.ButtonDown(step_button::kFenceMethod));
    EXPECT_FALSE(surface.ButtonDown(step_button::kWindowMethod));
    EXPECT_EQ(surface.commandPrompt, "message 111");
    EXPECT_EQ(states.Stack().Top().option5, 0) << "a fence has no rectangle";
    EXPECT_FALSE(states.FollowDragWithWindowMethod({25, 0})) << "still a fence";
    EXPECT_TRUE(states.FollowDragWithWindowMethod({20, 20}));
    EXPECT_EQ(selection.method, selection_method::kCrossing);
    EXPECT_TRUE(surface.ButtonDown(step_button::kCrossingMethod));
    EXPECT_FALSE(surface.ButtonDown(step_button::kFenceMethod));
    EXPECT_EQ(surface.commandPrompt, "message 109");
    EXPECT_EQ(states.Stack().Top().option5, 1);
    EXPECT_TRUE(states.FollowDragWithWindowMethod({5, 20}));
    EXPECT_EQ(selection.method, selection_method::kWindow);
    EXPECT_EQ(surface.sounds, (std::vector<int32_t>{34, 32, 29}));
    // The second corner ends the window: the pick is back and the drag no longer steers.
    states.AcceptPoint({5, 20});
    EXPECT_EQ(selection.method, selection_method::kPick);
    EXPECT_FALSE(states.FollowDragWithWindowMethod({20, 5}));
    EXPECT_EQ(selection.method, selection_method::kPick);
}

TEST_F(CommandStatesTest, APickWindowChosenByTheUserDoesNotFollowTheDrag) {
    Push(kObjectSelection, 1, "select");
    states.SetWindowSelectionMethod(selection_method::kWindow, step_button::kWindowMethod, 29, 106);
    states.AcceptPoint({10, 10});
    EXPECT_FALSE(states.FollowDragWithWindowMethod({20, 5}));
    EXPECT_EQ(selection.method, selection_method::kWindow);
}

// --- the waits of scripts

TEST_F(CommandStatesTest, AScriptWaitEndsAtAnyInputWithItsOwnFlag) {
    struct Case {
        uint8_t kind;
        int input;  // 0 a point, 1 a value, 2 the end
        bool ScriptWaitAnswers::*flag;
    };
    const Case cases[] = {
        {kWaitValue, 1, &ScriptWaitAnswers::valueEntered}, {kWaitValue, 0, &ScriptWaitAnswers::valueEntered},
        {kWaitEnd, 2, &ScriptWaitAnswers::ended},          {kWaitEnd, 0, &ScriptWaitAnswers::ended},
        {kWaitConfirm, 0, &ScriptWaitAnswers::confirmed},  {kWaitConfirm, 2, &ScriptWaitAnswers::confirmed},
    };
    for (const Case& c : cases) {
        states.WaitAnswers() = {};
        ASSERT_EQ(Push(c.kind, 2, "wait"), PushResult::Pushed);
        if (c.input == 0) states.AcceptPoint({1, 2});
        if (c.input == 1) states.AcceptValue(3);
        if (c.input == 2) states.EndStep();
        EXPECT_EQ(Depth(), 0) << int(c.kind) << " input " << c.input;
        ScriptWaitAnswers expected;
        expected.*c.flag = true;
        const ScriptWaitAnswers& got = states.WaitAnswers();
        EXPECT_EQ(got.valueEntered, expected.valueEntered) << int(c.kind);
        EXPECT_EQ(got.ended, expected.ended) << int(c.kind);
        EXPECT_EQ(got.confirmed, expected.confirmed) << int(c.kind);
    }
    // The key wait ends at the command line only.
    states.WaitAnswers() = {};
    ASSERT_EQ(Push(kWaitKey, 1, "key"), PushResult::Pushed);
    states.AcceptPoint({1, 2});
    EXPECT_EQ(Depth(), 1);
}

// --- the window-selection button

TEST_F(CommandStatesTest, AClickWithTheWindowButtonDownKeepsACornerThatTheNextClickCounts) {
    constexpr uint8_t kTwoPointWait = 20;
    Push(kTwoPointWait, 2, "wait");
    surface.down[step_button::kWindowSelection] = true;
    states.AcceptPoint({3, 4});
    const CommandState& top = states.Stack().Top();
    EXPECT_TRUE(top.cornerPending);
    EXPECT_EQ(top.step, 0) << "the corner is no point of the step yet";
    EXPECT_EQ(top.first, (Point{3, 4}));
    EXPECT_EQ(surface.commandPrompt, "wait 1") << "the prompt is shown again";
    // Still down: another corner replaces it.
    states.AcceptPoint({5, 6});
    EXPECT_EQ(top.step, 0);
    EXPECT_EQ(top.first, (Point{5, 6}));
    // Up again: the click counts the kept corner and is not stored itself.
    surface.down[step_button::kWindowSelection] = false;
    states.AcceptPoint({50, 60});
    EXPECT_EQ(top.step, 1);
    EXPECT_FALSE(top.cornerPending);
    EXPECT_EQ(top.first, (Point{5, 6}));
    EXPECT_EQ(states.LastPoint(), (Point{5, 6}));
    // Without a pending corner a click is a point as always.
    states.AcceptPoint({7, 8});
    EXPECT_EQ(top.second, (Point{7, 8}));
}

}  // namespace
}  // namespace linework::test
