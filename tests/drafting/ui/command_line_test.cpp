#include "ui/command_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drawing/entity_builders.h"
#include "ui/command_states_fixture.h"

namespace linework {
namespace {

// A step of a caller's own kind: it keeps its points and stays until ended.
constexpr uint8_t kPointWait = 20;

struct RecordingHooks : CommandLineHooks {
    bool entryOn = true;
    int enterPressed = 0;
    std::vector<bool> keyWaits;
    std::vector<std::string> typedLines;
    int menuRepeats = 0;
    int beeps = 0;
    bool bandShown = false;
    std::vector<std::pair<Point, uint32_t>> markers;
    bool RubberBandShown() const override { return bandShown; }
    void DrawPointMarker(Point at, uint32_t colour) override { markers.emplace_back(at, colour); }
    bool CommandEntryOn() const override { return entryOn; }
    void NoteEnterPressed() override { ++enterPressed; }
    void AnswerKeyWait(bool escaped) override { keyWaits.push_back(escaped); }
    void SetTypedLine(std::string_view line) override { typedLines.emplace_back(line); }
    void RepeatMenuLine() override { ++menuRepeats; }
    void Beep() override { ++beeps; }
    // A view that turns z into an offset of x, so a projected point shows where it came from.
    bool ProjectPoint3D(double x, double y, double z, Point& out) const override {
        out = {x + z, y};
        return z >= 0;
    }
};

class CommandLineTest : public test::CommandStatesTest {
protected:
    RecordingHooks hooks;
    CommandLine line{CommandLinePorts{states, surface, selection, hooks, image, drawing, grammar}};

    CommandLineTest() { SetCoordinateEntryDefaults(image); }

    // Types the text into the command line and presses the key.
    void Type(const std::string& text, char key = '\r') {
        surface.commandLine = text;
        line.EnterCommandLine(key);
    }
    void WaitForPoints(uint8_t kind = kPointWait) { ASSERT_EQ(Push(kind, 2, "wait"), PushResult::Pushed); }
    Point InputPoint() const { return {image.Double(4), image.Double(5)}; }
};

TEST_F(CommandLineTest, EntryFormsGiveThesePoints) {
    struct Case {
        const char* typed;
        uint8_t swap = 0, negX = 0, negY = 0, relative = 0;
        Point expected;
    };
    const std::vector<Case> cases = {
        {"10,20", 0, 0, 0, 0, {10, 20}},
        {"10,20", 0, 0, 0, 1, {15, 25}},  // relative to the last point (5, 5)
        {" -1.5 , 2e1 ", 0, 0, 0, 0, {-1.5, 20}},
        {"10,20", 1, 0, 0, 0, {20, 10}},
        {"10,20", 0, 1, 0, 0, {-10, 20}},
        {"10,20", 0, 0, 1, 0, {10, -20}},
        {"10,20", 1, 1, 1, 0, {-20, -10}},  // swapped first, then negated
        {"5<90", 0, 0, 0, 0, {0, 5}},
        {"5<90", 0, 0, 0, 1, {5, 10}},
        {"2<-90", 0, 0, 0, 0, {0, -2}},
        {"4<450", 0, 0, 0, 0, {0, 4}},  // a full turn more
        {"1,2,3", 0, 0, 0, 0, {4, 2}},  // projected: x + z
        {"3*2,1+1", 0, 0, 0, 0, {6, 2}},
    };
    for (const Case& c : cases) {
        image.SetByte(12, c.swap);
        image.SetByte(10, c.negX);
        image.SetByte(11, c.negY);
        image.SetByte(13, c.relative);
        image.SetDouble(2, 5);
        image.SetDouble(3, 5);
        states.ResetCommandState();
        WaitForPoints();
        Type(c.typed);
        EXPECT_NEAR(InputPoint().x, c.expected.x, 1e-12) << c.typed;
        EXPECT_NEAR(InputPoint().y, c.expected.y, 1e-12) << c.typed;
        EXPECT_EQ(states.Stack().Top().step, 1) << c.typed;
        EXPECT_NEAR(states.Stack().Top().first.x, c.expected.x, 1e-12) << c.typed;
        EXPECT_EQ(surface.commandLine, "") << c.typed;
        // The point becomes the last point (doubles 2 and 3).
        EXPECT_NEAR(image.Double(2), c.expected.x, 1e-12) << c.typed;
    }
}

TEST_F(CommandLineTest, TextsThatMeanNothingLeaveTheStepWaiting) {
    for (const char* typed : {"10,x", "5<east", "abc", "1,2,", "1,2,x", "1,,2", "<5", "1,2,-3"}) {
        states.ResetCommandState();
        WaitForPoints();
        image.SetDouble(4, 77);
        Type(typed);
        EXPECT_EQ(states.Stack().Top().step, 0) << typed;
        EXPECT_EQ(image.Double(4), 77) << typed;
        EXPECT_EQ(surface.commandLine, typed) << typed;  // left for the user to mend
    }
}

TEST_F(CommandLineTest, RelativePrefixAddsTheBasePointInEitherCase) {
    for (const char* typed : {"R10,20", "r10,20", "R5<0"}) {
        states.ResetCommandState();
        WaitForPoints();
        line.AcceptPoint({100, 200});  // a click: the base point
        image.SetByte(13, 1);          // relative prefix wins over relative-to-last
        image.SetDouble(2, -1000);
        image.SetDouble(3, -1000);
        Type(typed);
        const Point expected = std::string(typed) == "R5<0" ? Point{105, 200} : Point{110, 220};
        EXPECT_NEAR(states.Stack().Top().second.x, expected.x, 1e-12) << typed;
        EXPECT_NEAR(states.Stack().Top().second.y, expected.y, 1e-12) << typed;
    }
}

TEST_F(CommandLineTest, ChangedSeparatorAndPrefixes) {
    image.SetInteger(303, 'a');
    image.SetInteger(304, '@');
    WaitForPoints();
    line.AcceptPoint({1, 1});
    Type("@3A0");  // the polar separator found in upper case too
    EXPECT_NEAR(states.Stack().Top().second.x, 4, 1e-12);
    EXPECT_NEAR(states.Stack().Top().second.y, 1, 1e-12);
}

TEST_F(CommandLineTest, DirectDistanceAlongTheRubberBand) {
    PushRequest request = Step(kPointWait, 2, "band");
    request.option5 = 1;
    ASSERT_EQ(states.PushCommandState(request), PushResult::Pushed);
    line.AcceptPoint({10, 10});
    states.MoveCursor({10, 50});  // the band points straight up
    Type("7");
    EXPECT_NEAR(states.Stack().Top().second.x, 10, 1e-12);
    EXPECT_NEAR(states.Stack().Top().second.y, 17, 1e-12);
}

TEST_F(CommandLineTest, APlainNumberWithoutABandIsNothingUnlessAValueIsWanted) {
    WaitForPoints();
    Type("7");
    EXPECT_EQ(states.Stack().Top().step, 0);
    // The circle takes a typed radius once it has its centre.
    ASSERT_EQ(Push(command_kind::kCircle, 2, "circle"), PushResult::Pushed);
    Type("3,4");
    Type("2.5");
    ASSERT_EQ(EntityCount(), 1);
    ArcView circle(drawing[drawing.head]);
    EXPECT_TRUE(circle.IsCircle());
    EXPECT_DOUBLE_EQ(circle.Radius(), 2.5);
    EXPECT_EQ(circle.Centre(), (Point{3, 4}));
    EXPECT_EQ(image.Integer(6), 0);  // a value
}

TEST_F(CommandLineTest, ObjectNamesFindTheFirstVisibleTextExactly) {
    PushEntity(drawing, MakeText("DOOR", {1, 2}, {.layer = 5}));
    PushEntity(drawing, MakeText("door", {3, 4}));
    EntityHandle erased = PushEntity(drawing, MakeText("DOOR", {9, 9}));
    drawing[erased].SetByte(entity_field::kKindAndFlags, drawing[erased].KindAndFlags() | entity_flag::kErased);
    PushEntity(drawing, MakeText("DOOR", {30, 40}, {.layer = 6}));
    PushEntity(drawing, MakeText("DOOR", {50, 60}, {.layer = 7}));  // newest, hidden
    LayerTable layers(image);
    layers.SetWord(7, layers.Word(7) | layer_flag::kHidden);
    layers.SetWord(6, layers.Word(6) | layer_flag::kLocked);  // locked still counts
    WaitForPoints();
    Type("$DOOR");
    EXPECT_EQ(InputPoint(), (Point{30, 40}));
    Type("$door");
    EXPECT_EQ(InputPoint(), (Point{3, 4}));
    Type("$WINDOW");
    EXPECT_EQ(states.Stack().Top().step, 2);  // still two: nothing more was taken
    EXPECT_EQ(InputPoint(), (Point{3, 4}));
}

TEST_F(CommandLineTest, EmptyEnterEndsTheStep) {
    ASSERT_EQ(Push(command_kind::kPolyline, 1, "line"), PushResult::Pushed);
    Type("0,0");
    Type("10,0");
    Type("10,10");
    Type("");
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(image.Integer(6), 2);
    ASSERT_EQ(EntityCount(), 1);
    PolylineView drawn(drawing[drawing.head]);
    ASSERT_EQ(drawn.VertexCount(), 3);
    EXPECT_EQ(drawn.Vertex(2), (Point{10, 10}));
}

TEST_F(CommandLineTest, EscInAFreshSelectionClearsIt) {
    ASSERT_EQ(Push(command_kind::kObjectSelection, 1, "select"), PushResult::Pushed);
    ASSERT_TRUE(states.SelectionStepActive());
    selection.calls.clear();
    Type("", '\x1b');
    ASSERT_FALSE(selection.calls.empty());
    EXPECT_EQ(selection.calls.front(), "clear");
    EXPECT_EQ(image.Integer(6), 2);
}

TEST_F(CommandLineTest, IdleEnterRunsTheTypedCommandThroughItsHook) {
    surface.runScript = [](std::string_view name) { return name == "COMMAND"; };
    Type("line 0 0 10 10");
    EXPECT_EQ(surface.scripts, (std::vector<std::string>{"COMMAND"}));  // not one word: no own hook
    EXPECT_EQ(hooks.typedLines, (std::vector<std::string>{"line 0 0 10 10"}));
    EXPECT_EQ(line.LastCommandCode(), last_command::kTyped);
    surface.scripts.clear();
    Type("zoom");
    EXPECT_EQ(surface.scripts, (std::vector<std::string>{"zoom", "COMMAND"}));  // no ZOOM.LKP
    surface.scripts.clear();
    surface.runScript = nullptr;  // every hook is there
    Type("zoom");
    EXPECT_EQ(surface.scripts, (std::vector<std::string>{"zoom"}));
    surface.scripts.clear();
    for (const char* path : {"..\\LK", "C:LK", "a.b", "/x"}) Type(path);
    EXPECT_EQ(surface.scripts, (std::vector<std::string>(4, "COMMAND")));
}

TEST_F(CommandLineTest, TypedLinesAreCleanedAndBounded) {
    Type(std::string("  sv   100\t 7 "));
    EXPECT_EQ(line.LastTypedCommand(), "sv 100 7");
    const std::string longest = "5$ = \"" + std::string(120, 'x') + "\"";  // 127 characters
    ASSERT_EQ(longest.size(), 127u);
    Type(longest);
    EXPECT_EQ(line.LastTypedCommand(), longest);
    EXPECT_TRUE(surface.refusals.empty());
    const size_t ran = surface.scripts.size();
    Type(longest + "y");
    EXPECT_EQ(surface.scripts.size(), ran);
    EXPECT_EQ(surface.refusals, (std::vector<std::string>{kTypedLineTooLong}));
    EXPECT_EQ(line.LastTypedCommand(), longest);  // the refused line is not remembered
    // Blanks do not count against the bound once cleaned.
    Type("sv 1 " + std::string(200, ' ') + "2");
    EXPECT_EQ(line.LastTypedCommand(), "sv 1 2");
}

TEST_F(CommandLineTest, EmptyEnterRepeatsByTheLastCode) {
    struct Case {
        uint8_t code;
        int button;
    };
    for (Case c : {Case{1, 11}, Case{2, 19}, Case{5, 57}, Case{11, 56}, Case{20, 62}, Case{25, 63}, Case{29, 61},
                   Case{30, 58}, Case{31, 60}, Case{32, 59}}) {
        surface.clicked.clear();
        line.SetLastCommandCode(c.code);
        Type("");
        EXPECT_EQ(surface.clicked, std::vector<int>{c.button}) << int(c.code);
    }
    for (uint8_t code : {0, 3, 4, 12, 26, 35}) {
        surface.clicked.clear();
        line.SetLastCommandCode(code);
        Type("");
        EXPECT_TRUE(surface.clicked.empty()) << int(code);
    }
    line.SetLastCommandCode(last_command::kMenuLine);
    Type("");
    EXPECT_EQ(hooks.menuRepeats, 1);
    Type("sv 1 2");
    surface.scripts.clear();
    surface.commandLine.clear();
    line.EnterCommandLine('\r');
    EXPECT_EQ(surface.commandLine, "sv 1 2");  // put back and run again
    EXPECT_EQ(surface.scripts, (std::vector<std::string>{"COMMAND"}));
}

TEST_F(CommandLineTest, IdleEscAndWaitsOfScripts) {
    Type("sv 1 2", '\x1b');
    EXPECT_TRUE(surface.scripts.empty());
    EXPECT_TRUE(hooks.typedLines.empty());
    hooks.entryOn = false;
    Type("sv 1 2");
    EXPECT_EQ(hooks.enterPressed, 1);
    EXPECT_TRUE(surface.scripts.empty());
    hooks.entryOn = true;
    surface.scriptRunning = true;
    Type("sv 1 2");
    EXPECT_TRUE(surface.scripts.empty());
    surface.scriptRunning = false;
    ASSERT_EQ(Push(script_wait_kind::kKey, 0, "key"), PushResult::Pushed);
    Type("10,10");
    Type("", '\x1b');
    EXPECT_EQ(hooks.keyWaits, (std::vector<bool>{false, true}));
    EXPECT_EQ(image.Double(4), 0);  // no point was taken
}

TEST_F(CommandLineTest, AcceptPointBeepsWhenAsked) {
    WaitForPoints();
    line.AcceptPoint({1, 2});
    EXPECT_EQ(hooks.beeps, 0);
    image.SetByte(24, 1);
    line.AcceptPoint({3, 4});
    EXPECT_EQ(hooks.beeps, 1);
    EXPECT_EQ(image.Integer(6), 1);
}

TEST_F(CommandLineTest, APointGetsAMarkerWhileMarkersAreOnAndNoRubberBandShows) {
    struct Case {
        uint8_t markersOn;
        bool bandShown;
        bool marked;
    };
    const Case cases[] = {{0, false, false}, {1, false, true}, {1, true, false}, {0, true, false}};
    image.SetInteger(entry_variable::kPointMarkerColour, 0x12345678);
    for (const Case& c : cases) {
        WaitForPoints();
        hooks.markers.clear();
        image.SetByte(entry_variable::kPointMarkers, c.markersOn);
        hooks.bandShown = c.bandShown;
        Type("10,20");
        ASSERT_EQ(hooks.markers.size(), c.marked ? 1u : 0u) << int(c.markersOn) << " " << c.bandShown;
        if (c.marked) {
            EXPECT_EQ(hooks.markers[0].first, (Point{10, 20}));
            EXPECT_EQ(hooks.markers[0].second, 0x345678u) << "the colour's RGB part";
        }
        states.ResetCommandState();
    }
}

TEST_F(CommandLineTest, AClickedPointGoesThroughTheEntryLikeATypedOne) {
    WaitForPoints();
    image.SetByte(entry_variable::kBeepOnPoint, 1);
    line.AcceptPoint({7, 8});
    EXPECT_EQ(InputPoint(), (Point{7, 8}));
    EXPECT_EQ(image.Double(entry_variable::kLastPointX), 7);
    EXPECT_EQ(image.Double(entry_variable::kLastPointX + 1), 8);
    EXPECT_EQ(image.Integer(entry_variable::kPointStatus), 1);
    EXPECT_EQ(hooks.beeps, 1);
    EXPECT_EQ(states.Stack().Top().first, (Point{7, 8}));
}

}  // namespace
}  // namespace linework
