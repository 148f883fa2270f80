// Speed buttons: a click puts a grouped button down and lets the others of its group up; with
// AllowAllUp a second click lets it up; an ungrouped button never stays down; the right button
// reaches OnMouseUp only.
#include <algorithm>
#include <string>
#include <vector>

#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

class SpeedButtons : public FormsTest {
protected:
    void SetUp() override {
        form = &plainForm(0, 0, 400, 100);
        // Buttons 0..2 in group 38, 3 in group 39, 4 in no group, 25 pixels apart.
        const int groups[] = {38, 38, 38, 39, 0};
        for (int i = 0; i < 5; ++i) {
            SpeedButton& b = form->Add<SpeedButton>();
            b.SetName("SpeedButton" + std::to_string(i + 1));
            b.SetBounds(i * 25, 0, 23, 22);
            b.SetGroupIndex(groups[i]);
            b.SetParent(form);
            b.OnClick = [this](Component& s) { clicks.push_back(s.Name()); };
            buttons.push_back(&b);
        }
    }

    std::string downs() const {
        std::string out;
        for (SpeedButton* b : buttons) out += b->Down() ? 'D' : '-';
        return out;
    }

    void click(int index) { h.click(index * 25 + 5, 5); }

    Form* form = nullptr;
    std::vector<SpeedButton*> buttons;
    std::vector<std::string> clicks;
};

TEST_F(SpeedButtons, AClickPutsAButtonDownAndItsGroupUp) {
    struct Step {
        int button;
        bool allowAllUp;
        const char* after;
    };
    const Step steps[] = {
        {0, false, "D----"},
        {1, false, "-D---"},
        {3, false, "-D-D-"},  // another group keeps its own
        {1, false, "-D-D-"},  // a down button of a group that keeps one down stays down
        {4, false, "-D-D-"},  // no group: never down
        {1, true, "---D-"},   // allowed all up: the second click lets it up
        {2, true, "--DD-"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        buttons[0]->SetAllowAllUp(step.allowAllUp);
        click(step.button);
        EXPECT_EQ(downs(), step.after);
    }
    EXPECT_EQ(clicks.size(), std::size(steps)) << "every click runs OnClick";
    EXPECT_TRUE(buttons[2]->AllowAllUp()) << "the group shares AllowAllUp";
    EXPECT_FALSE(buttons[3]->AllowAllUp());
}

TEST_F(SpeedButtons, SettingDownKeepsTheGroupRulesAndSaysWhyItRefuses) {
    winplat::testing::DebugCapture debug;
    buttons[4]->SetDown(true);
    EXPECT_FALSE(buttons[4]->Down());
    EXPECT_TRUE(debug.contains("cannot stay down"));
    buttons[0]->SetDown(true);
    buttons[2]->SetDown(true);
    EXPECT_EQ(downs(), "--D--");
    buttons[2]->SetDown(false);
    EXPECT_TRUE(buttons[2]->Down());
    EXPECT_TRUE(debug.contains("keeps one button down"));
    buttons[2]->SetAllowAllUp(true);
    buttons[2]->SetDown(false);
    EXPECT_EQ(downs(), "-----");
    EXPECT_TRUE(clicks.empty()) << "setting Down is no click";
}

TEST_F(SpeedButtons, TheRightButtonIsNoClickButReachesMouseUp) {
    std::vector<std::string> ups;
    buttons[0]->OnMouseUp = [&](Component&, MouseButton b, ShiftState, int x, int y) {
        ups.push_back(std::string(formstest::buttonName(b)) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    h.rightClick(7, 9);
    EXPECT_EQ(ups, (std::vector<std::string>{"right 7,9"}));
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(downs(), "-----");
}

TEST_F(SpeedButtons, TwoHundredFortyEightButtonsAreMadeWithoutWindows) {
    Panel& panel = form->Add<Panel>();
    panel.SetParent(form);
    std::string tree = winplat::testing::windowTree();
    const size_t windowsBefore = static_cast<size_t>(std::count(tree.begin(), tree.end(), '\n'));
    for (int i = 0; i < 248; ++i) {
        SpeedButton& b = form->Add<SpeedButton>();
        b.SetGroupIndex(i < 140 ? 0 : 39);
        b.SetParent(&panel);
    }
    tree = winplat::testing::windowTree();
    EXPECT_EQ(static_cast<size_t>(std::count(tree.begin(), tree.end(), '\n')), windowsBefore);
    EXPECT_EQ(panel.ControlCount(), 248u);
    EXPECT_EQ(panel.Controls(200).ChildIndex(), 200);
}

}  // namespace
