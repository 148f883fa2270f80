// The status bar's panels: which panel a point hits, on both sides of every edge, and the last
// panel reaching the bar's right edge.
#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

TEST_F(FormsTest, AStatusBarFindsThePanelUnderAPoint) {
    Form& form = plainForm(0, 0, 640, 200);
    StatusBar& bar = form.Add<StatusBar>();
    bar.SetParent(&form);
    bar.AddPanel(400);
    bar.AddPanel(42);
    bar.AddPanel(175);
    ASSERT_EQ(bar.Width(), 640);
    ASSERT_EQ(bar.Top(), 200 - 19) << "at the bottom by default";
    const struct {
        int x;
        int panel;
    } cases[] = {{-1, -1}, {0, 0}, {399, 0}, {400, 1}, {441, 1}, {442, 2}, {616, 2}, {617, 2}, {639, 2}, {640, -1}};
    for (const auto& c : cases) EXPECT_EQ(bar.PanelAt(c.x), c.panel) << "x " << c.x;
    const RECT last = bar.PanelRect(2);
    EXPECT_EQ(last.left, 442);
    EXPECT_EQ(last.right, 640);
}

TEST_F(FormsTest, AStatusBarRefusesPanelsItDoesNotHave) {
    winplat::testing::DebugCapture debug;
    Form& form = plainForm();
    StatusBar& bar = form.Add<StatusBar>();
    bar.AddPanel(50, "a");
    bar.SetPanelText(1, "b");
    EXPECT_TRUE(debug.contains("no such panel"));
    bar.SetPanelText(0, "c");
    EXPECT_EQ(bar.Panels(0).text, "c");
}

TEST_F(FormsTest, ClicksOnAStatusBarReportItsOwnCoordinates) {
    Form& form = plainForm(0, 0, 640, 200);
    StatusBar& bar = form.Add<StatusBar>();
    bar.SetParent(&form);
    bar.AddPanel(400);
    bar.AddPanel(42);
    int panel = -2;
    bar.OnMouseUp = [&](Component& s, MouseButton, ShiftState, int x, int) { panel = static_cast<StatusBar&>(s).PanelAt(x); };
    h.click(420, 190);
    EXPECT_EQ(panel, 1);
}

}  // namespace
