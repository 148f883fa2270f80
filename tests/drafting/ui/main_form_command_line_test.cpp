// The command line of the main form, driven by keystrokes: typed commands through the kit's
// COMMAND hook, and coordinates for a waiting step.
#include <gtest/gtest.h>

#include <string>

#include "drawing/entity_dump.h"
#include "ui/form_command_line.h"
#include "ui/main_form_fixture.h"
#include "ui/simple_drafting.h"

namespace linework::test {
namespace {

class MainFormCommandLineTest : public MainFormTest {
protected:
    void TypeLine(std::string_view text) {
        form->Edit1().SetText("");
        form->Edit1().SetFocus();
        h.type(text);
        h.key(VK_RETURN);
        h.pump();
    }
    SimpleDrafting& Drafting() { return dynamic_cast<SimpleDrafting&>(form->Drafting()); }
};

TEST_F(MainFormCommandLineTest, ATypedLineRunsThroughTheKitsCommandHook) {
    CopyKit();
    Start();
    TypeLine("sv 100 42");
    EXPECT_EQ(form->Engine().LastError(), "");
    EXPECT_EQ(form->Engine().image.Integer(100 - SystemVariableImage::kFirstIntegerNumber), 42);
    EXPECT_EQ(form->Engine().store.GetTextLine(0), "sv 100 42");
}

TEST_F(MainFormCommandLineTest, TypingLineDrawsALine) {
    CopyKit();
    Start();
    TypeLine("line 0 0 10 10");
    EXPECT_EQ(form->Engine().store.GetTextLine(3), "line 0 0 10 10") << "the hook runs the typed line as its own";
    EXPECT_EQ(form->Engine().LastError(), "");
    const std::string dump = DumpDrawing(form->Engine().drawing);
    ASSERT_NE(form->Engine().drawing.head, 0u) << dump;
    PolylineView drawn(form->Engine().drawing[form->Engine().drawing.head]);
    ASSERT_EQ(drawn.VertexCount(), 2) << dump;
    EXPECT_EQ(drawn.Vertex(0), (Point{0, 0})) << dump;
    EXPECT_EQ(drawn.Vertex(1), (Point{10, 10})) << dump;
}

TEST_F(MainFormCommandLineTest, TypedCoordinatesReachTheWaitingStep) {
    CopyKit();
    Start();
    PushRequest request;
    request.kind = command_kind::kPolyline;
    request.pointsNeeded = 1;
    ASSERT_EQ(Drafting().Commands().PushCommandState(request), PushResult::Pushed);
    TypeLine("10,20");
    TypeLine("R5,0");
    TypeLine("5<90");
    form->Engine().image.SetByte(13, 1);
    TypeLine("1,1");
    TypeLine("");
    EXPECT_EQ(Drafting().Commands().Stack().Depth(), 0);
    const Drawing& drawing = form->Engine().drawing;
    ASSERT_NE(drawing.head, 0u);
    PolylineView drawn(drawing[drawing.head]);
    ASSERT_EQ(drawn.VertexCount(), 4) << DumpDrawing(drawing);
    EXPECT_EQ(drawn.Vertex(0), (Point{10, 20}));
    EXPECT_EQ(drawn.Vertex(1), (Point{15, 20}));
    EXPECT_NEAR(drawn.Vertex(2).x, 0, 1e-12);
    EXPECT_NEAR(drawn.Vertex(2).y, 5, 1e-12);
    EXPECT_NEAR(drawn.Vertex(3).x, 1, 1e-12);  // relative to the last point (0, 5)
    EXPECT_NEAR(drawn.Vertex(3).y, 6, 1e-12);
}

TEST_F(MainFormCommandLineTest, ACommandButtonSetsTheCodeThatAnEmptyEnterRepeats) {
    Start();
    struct Case {
        int button;
        uint8_t code;
        uint8_t kind;
    };
    const Case cases[] = {{56, 11, command_kind::kPolyline}, {19, 2, command_kind::kPan}, {11, 1, command_kind::kZoomWindow}};
    for (const Case& c : cases) {
        form->SpeedButton(c.button).Click();
        h.pump();
        ASSERT_TRUE(Drafting().Commands().CommandActive()) << c.button;
        EXPECT_EQ(Drafting().Commands().Stack().Top().kind, c.kind);
        EXPECT_EQ(form->CommandLineInput()->Line().LastCommandCode(), c.code);
        Drafting().Commands().ResetCommandState();
        TypeLine("");
        ASSERT_TRUE(Drafting().Commands().CommandActive()) << "an empty Enter starts button " << c.button << " again";
        EXPECT_EQ(Drafting().Commands().Stack().Top().kind, c.kind);
        Drafting().Commands().ResetCommandState();
    }
    // Zoom window sets its code only from the idle state.
    form->SpeedButton(56).Click();
    h.pump();
    form->SpeedButton(11).Click();
    h.pump();
    EXPECT_EQ(form->CommandLineInput()->Line().LastCommandCode(), 11);
}

}  // namespace
}  // namespace linework::test
