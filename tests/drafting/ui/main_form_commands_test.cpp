// The command steps in the running program: the idle hook after start-up, clicks in the drawing
// reaching the waiting step, "null" emptying the stack, and a script's commands kept apart from
// those that wait.
#include "ui/main_form_fixture.h"
#include "ui/simple_drafting.h"

namespace linework::test {
namespace {

using namespace command_kind;

class MainFormCommandsTest : public MainFormTest {
protected:
    CommandStates& Commands() { return dynamic_cast<SimpleDrafting&>(form->Drafting()).Commands(); }

    // Clicks at pixel (x, y) of the paint box.
    void ClickDrawing(int x, int y) {
        const POINT at = form->PaintBox1().ClientToScreen({x, y});
        h.click(at.x, at.y);
    }

    PushRequest Step(uint8_t kind, uint8_t points, const std::string& prompt) {
        PushRequest request;
        request.kind = kind;
        request.pointsNeeded = points;
        request.set1 = {prompt, "", 0};
        request.set2 = {prompt + "?", "", 0};
        return request;
    }
};

TEST_F(MainFormCommandsTest, WithoutAStartUpScriptTheIdleHookRunsOnce) {
    WriteFile("UCSWAIT.LKP", "U = U + 1\r\nstop\r\n");
    Start();
    EXPECT_EQ(form->Engine().variables.Letter('U'), 1);
    EXPECT_EQ(form->Label1().Caption(), "lkt9 ") << "the idle prompt";
    EXPECT_FALSE(form->Drafting().CommandActive());
}

TEST_F(MainFormCommandsTest, ClicksInTheDrawingReachTheWaitingZoomWindow) {
    Start();
    ASSERT_EQ(Commands().PushCommandState(Step(kZoomWindow, 2, "okno")), PushResult::Pushed);
    EXPECT_TRUE(form->SpeedButton(step_button::kZoomWindow).Down());
    EXPECT_EQ(form->Label1().Caption(), "okno ");
    const ViewTransform before = ReadView(form->Engine().image, kCurrentViewDouble).value();
    const int bottom = form->PaintBox1().Height() - 1;
    ClickDrawing(10, bottom - 20);
    EXPECT_EQ(form->Label1().Caption(), "okno? ");
    ClickDrawing(110, bottom - 70);
    const ViewTransform after = ReadView(form->Engine().image, kCurrentViewDouble).value();
    // A window 100 pixels wide and 50 high: the paint box's shape decides which side fills it.
    const double w = form->PaintBox1().Width();
    const double h = form->PaintBox1().Height();
    const double expected = (50.0 / 100.0 > h / w) ? 50 * before.scale / h : 100 * before.scale / w;
    EXPECT_DOUBLE_EQ(after.scale, expected);
    EXPECT_DOUBLE_EQ(after.originX, before.originX + 10 * before.scale);
    EXPECT_DOUBLE_EQ(after.originY, before.originY + 20 * before.scale);
    EXPECT_FALSE(form->SpeedButton(step_button::kZoomWindow).Down());
    EXPECT_FALSE(form->Drafting().CommandActive());
}

TEST_F(MainFormCommandsTest, ClickedPointsDrawAPolylineAndTheRightButtonEndsIt) {
    Start();
    Commands().PushCommandState(Step(kPolyline, 1, "bod"));
    ClickDrawing(20, 20);
    ClickDrawing(60, 20);
    ClickDrawing(60, 60);
    Drawing& drawing = form->Engine().drawing;
    ASSERT_NE(drawing.head, 0u);
    EXPECT_EQ(drawing[drawing.head].VertexCount(), 3);
    EXPECT_EQ(drawing[drawing.head].Next(), 0u) << "one polyline, not one per click";
    const POINT at = form->PaintBox1().ClientToScreen({70, 70});
    h.rightClick(at.x, at.y);
    EXPECT_FALSE(form->Drafting().CommandActive());
    EXPECT_EQ(drawing[drawing.head].VertexCount(), 3);
}

TEST_F(MainFormCommandsTest, NullEmptiesTheStackAndAScriptsCommandsStackAbove) {
    WriteFile("F5.LKP", "D = 1\r\nnull\r\nstop\r\n");
    Start();
    Commands().PushCommandState(Step(kMove, 2, "posun"));
    Commands().PushCommandState(Step(kPan, 2, "posun pohledu"));
    ASSERT_EQ(Commands().Stack().Depth(), 2);
    form->Edit1().SetFocus();
    h.key(VK_F5);
    ASSERT_EQ(form->Engine().variables.Letter('D'), 1) << "the hook ran";
    EXPECT_EQ(Commands().Stack().Depth(), 2) << "a script's null leaves what waited before it";
    EXPECT_EQ(Commands().Stack().BottomMark(), 0) << "the mark goes back when the run ends";
    // A run that set no mark (the engine run directly) empties everything.
    form->Engine().store.SetLine(1, "null");
    form->Engine().store.SetLine(2, "stop");
    form->Engine().RunProgram();
    EXPECT_EQ(Commands().Stack().Depth(), 0);
    EXPECT_FALSE(form->SpeedButton(step_button::kPan).Down());
}

TEST_F(MainFormCommandsTest, TheEditButtonsFollowTheEditButtonsMode) {
    Start();
    struct Case {
        int mode;
        std::vector<int> enabled;
    };
    const Case cases[] = {
        {0, {}},
        {1, {66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79}},
        {2, {68, 78, 79}},
        {3, {69, 78, 79}},
    };
    for (const Case& c : cases) {
        Commands().SetEditButtonsMode(c.mode);
        std::vector<int> enabled;
        for (int n = 60; n <= 80; ++n) {
            if (form->SpeedButton(n).Enabled() && n >= 66 && n <= 79) enabled.push_back(n);
        }
        EXPECT_EQ(enabled, c.enabled) << "mode " << c.mode;
    }
    EXPECT_TRUE(form->SpeedButton(65).Enabled()) << "buttons outside the group are left alone";
    EXPECT_TRUE(form->SpeedButton(80).Enabled());
}

TEST_F(MainFormCommandsTest, TheModeButtonsShowTheDrawingModesTheSelectionPutsAside) {
    Start();
    SystemVariableImage& image = form->Engine().image;
    image.SetByte(65, 1);  // grid
    image.SetByte(66, 1);  // ortho
    Commands().PushCommandState(Step(kObjectSelection, 1, "vyber"));
    EXPECT_TRUE(form->SpeedButton(27).Down()) << "the grid is no drawing mode: it stays";
    EXPECT_FALSE(form->SpeedButton(28).Down());
    Commands().ResetSelectionState();
    EXPECT_TRUE(form->SpeedButton(27).Down());
    EXPECT_TRUE(form->SpeedButton(28).Down()) << "ortho is back";
    EXPECT_EQ(image.Byte(66), 1);
}

}  // namespace
}  // namespace linework::test
