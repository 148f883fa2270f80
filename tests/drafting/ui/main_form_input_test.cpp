// Keys, the wheel and menu items of the main form: key hooks by name, the hot-key escape, stored
// views, wheel factors, and the lines of the menu files that items run.
#include <cmath>

#include "ui/main_form_fixture.h"

namespace linework::test {
namespace {

using winplat::test::kAlt;
using winplat::test::kCtrl;
using winplat::test::kShift;

std::string Zoom(double factor) { return "zoom " + std::to_string(factor); }

TEST_F(MainFormTest, KeyHooksRunByTheirNames) {
    // Each hook leaves its number in K.
    const std::vector<std::pair<std::string, int>> hooks = {
        {"ACSF12", 1}, {"F3", 2}, {"SA", 3}, {"A", 4}, {"CX", 5}, {"AX", 6}, {"CS5", 7}, {"F12", 8}};
    for (const auto& [name, number] : hooks) WriteFile(name + ".LKP", "K = " + std::to_string(number) + "\r\nstop\r\n");
    Start();
    struct Case {
        UINT key;
        unsigned modifiers;
        int ran;  // K after the key, 0 for no hook
    };
    const Case cases[] = {
        {VK_F12, kAlt | kCtrl | kShift, 1},
        {VK_F3, 0, 2},
        {'A', kShift, 0},
        {'A', 0, 0},
        {'X', kCtrl, 5},
        {'X', kAlt, 6},
        {'5', kCtrl | kShift, 7},
        {VK_F12, 0, 8},
        {VK_F4, 0, 0},  // a mode toggle key without a hook file
    };
    for (const Case& c : cases) {
        form->Engine().variables.Letter('K') = 0;
        form->Edit1().SetText("");
        form->Edit1().SetFocus();
        h.key(c.key, c.modifiers);
        EXPECT_EQ(form->Engine().variables.Letter('K'), c.ran) << "key " << c.key << " modifiers " << c.modifiers;
    }
}

TEST_F(MainFormTest, AHookFileInLowerCaseIsFound) {
    WriteFile("f5.lkp", "K = 55\r\nstop\r\n");
    Start();
    form->Edit1().SetFocus();
    h.key(VK_F5);
    EXPECT_EQ(form->Engine().variables.Letter('K'), 55);
}

TEST_F(MainFormTest, ALetterWithoutAHookIsTypedAndOneWithAHookIsNot) {
    WriteFile("CQ.LKP", "K = 1\r\nstop\r\n");
    Start();
    form->Edit1().SetFocus();
    h.key('B', kShift);
    EXPECT_EQ(form->Edit1().Text(), "B");
    h.key('Q', kCtrl);
    EXPECT_EQ(form->Engine().variables.Letter('K'), 1);
    EXPECT_EQ(form->Edit1().Text(), "B") << "the hooked key is not passed on to the command line";
}

TEST_F(MainFormTest, TheHotKeyEscapeDisablesThePickWindowKeys) {
    RecordingDrafting drafting;
    drafting.commandActive = true;
    drafting.commandCode = true;
    Start(&drafting);
    struct Case {
        const char* line;
        UINT key;
        const char* call;  // "" for none
    };
    const Case cases[] = {
        {"", 'V', "pick 1"},
        {"12", 'S', "pick 2"},
        {"$", 'V', ""},
        {"$12", 'G', ""},
        {"", 'G', "pick 12"},
        {"", VK_SPACE, "pick 0"},
        {"", 'W', "window selection"},
        {"$", 'W', ""},
        {"", 'A', ""},  // not a pick-window key
    };
    for (const Case& c : cases) {
        drafting.calls.clear();
        form->Edit1().SetText(c.line);
        form->Edit1().SetFocus();
        h.key(c.key);
        const std::vector<std::string> expected = *c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{};
        EXPECT_EQ(drafting.calls, expected) << "line '" << c.line << "' key " << c.key;
    }
    drafting.commandCode = false;
    drafting.calls.clear();
    form->Edit1().SetText("");
    h.key('V');
    EXPECT_TRUE(drafting.calls.empty()) << "without a command code the keys are plain keys";
}

TEST_F(MainFormTest, CtrlArrowsStepThroughTheStoredViewsWithWrapping) {
    RecordingDrafting drafting;
    Start(&drafting);
    SystemVariableImage& image = form->Engine().image;
    auto define = [&](int v, double scale) { image.SetDouble(kCurrentViewDouble + 10 * v, scale); };
    for (int v = 1; v <= 10; ++v) define(v, -1);
    define(3, 1);
    define(7, 2);
    form->Edit1().SetFocus();
    struct Case {
        int from;
        UINT key;
        const char* call;
    };
    const Case cases[] = {
        {1, VK_LEFT, "stored view 7"},
        {7, VK_RIGHT, "stored view 3"},
        {3, VK_LEFT, "stored view 7"},
        {8, VK_RIGHT, "stored view 3"},
    };
    for (const Case& c : cases) {
        drafting.calls.clear();
        drafting.storedView = c.from;
        h.key(c.key, kCtrl);
        EXPECT_EQ(drafting.calls, std::vector<std::string>{c.call}) << c.from;
    }
    define(10, 5);
    drafting.calls.clear();
    drafting.storedView = 1;
    h.key(VK_LEFT, kCtrl);
    EXPECT_EQ(drafting.calls, std::vector<std::string>{"stored view 10"}) << "from 1 back to 10";
    for (int v = 1; v <= 10; ++v) define(v, 0);
    drafting.calls.clear();
    h.key(VK_LEFT, kCtrl);
    h.key(VK_RIGHT, kCtrl);
    EXPECT_TRUE(drafting.calls.empty()) << "no stored view: nothing changes";
}

TEST_F(MainFormTest, NavigationKeysActOnlyOnAnEmptyCommandLine) {
    RecordingDrafting drafting;
    Start(&drafting);
    form->Edit1().SetFocus();
    struct Case {
        UINT key;
        unsigned modifiers;
        std::string call;
    };
    const Case cases[] = {
        {VK_PRIOR, 0, Zoom(2)},       {VK_PRIOR, kAlt, Zoom(10)},   {VK_NEXT, 0, Zoom(0.5)},
        {VK_NEXT, kAlt, Zoom(0.1)},   {VK_END, 0, "extents"},       {VK_LEFT, 0, "pan -0.250000 0.000000"},
        {VK_RIGHT, kAlt, "pan 1.000000 0.000000"}, {VK_UP, 0, "pan 0.000000 0.250000"},
        {VK_DOWN, kAlt, "pan 0.000000 -1.000000"}, {VK_UP, kCtrl, "history 1"}, {VK_DOWN, kCtrl, "history -1"},
    };
    for (const Case& c : cases) {
        drafting.calls.clear();
        form->Edit1().SetText("");
        h.key(c.key, c.modifiers);
        EXPECT_EQ(drafting.calls, std::vector<std::string>{c.call}) << c.key << " " << c.modifiers;
    }
    drafting.calls.clear();
    form->Edit1().SetText("10");
    h.key(VK_PRIOR);
    EXPECT_TRUE(drafting.calls.empty()) << "a typed line keeps the keys for itself";
}

TEST_F(MainFormTest, SteppingOutOfTheViewHistoryShowsMessage33) {
    RecordingDrafting drafting;
    drafting.historyAvailable = false;
    CopyKit();
    Start(&drafting);
    BoxSeen seen;
    AnswerBox(1, &seen);
    form->Edit1().SetFocus();
    h.key(VK_UP, kCtrl);
    EXPECT_EQ(seen.text, form->Texts().Message(33));
    EXPECT_EQ(seen.text, "Dal\x9a\xED pohled v historii nen\xED");
}

TEST_F(MainFormTest, TheWheelZoomsByTwoWithCtrlAndByItsEighthRootWithout) {
    RecordingDrafting drafting;
    Start(&drafting);
    form->Edit1().SetFocus();
    auto wheel = [&](int delta, bool ctrl) {
        drafting.calls.clear();
        if (ctrl) winplat::testing::keyDown(VK_CONTROL);
        h.wheel(delta);
        if (ctrl) winplat::testing::keyUp(VK_CONTROL);
        h.pump();
        return drafting.calls;
    };
    EXPECT_EQ(wheel(120, true), std::vector<std::string>{Zoom(2)});
    EXPECT_EQ(wheel(-120, true), std::vector<std::string>{Zoom(0.5)});
    EXPECT_EQ(wheel(120, false), std::vector<std::string>{Zoom(std::pow(2.0, 0.125))});
    EXPECT_EQ(wheel(-120, false), std::vector<std::string>{Zoom(std::pow(0.5, 0.125))});
    SystemVariableImage& image = form->Engine().image;
    image.SetInteger(kInputOptions, image.Integer(kInputOptions) | (1 << 29));
    EXPECT_EQ(wheel(120, true), std::vector<std::string>{Zoom(0.5)}) << "bit 29 reverses the wheel";
}

TEST_F(MainFormTest, MenuItemsRunTheirLineOfTheMenuFile) {
    std::string menu;
    for (int line = 1; line <= 384; ++line) menu += "W = " + std::to_string(line) + "; stop\r\n";
    WriteFile("pdmenu.lkm", menu);
    Start();
    struct Case {
        int top, item, line;
    };
    for (const Case& c : {Case{2, 4, 69}, Case{0, 0, 1}, Case{11, 31, 384}, Case{1, 0, 33}, Case{0, 31, 32}}) {
        form->Engine().variables.Letter('W') = 0;
        form->MenuItemAt(c.top, c.item).Click();
        EXPECT_EQ(form->Engine().variables.Letter('W'), c.line) << "top " << c.top << " item " << c.item;
    }
}

TEST_F(MainFormTest, IconButtonsAndPanelControlsRunTheirLines) {
    std::string icons, panel;
    for (int line = 1; line <= 168; ++line) icons += "I = " + std::to_string(line) + "; stop\r\n";
    for (int line = 1; line <= 80; ++line) panel += "P = " + std::to_string(line) + "; stop\r\n";
    WriteFile("ICONMENU.LKM", icons);
    WriteFile("PNL.LKM", panel);
    Start();
    ScriptVariables& v = form->Engine().variables;
    form->SpeedButton(81).Click();
    EXPECT_EQ(v.Letter('I'), 1);
    form->SpeedButton(140).Click();
    EXPECT_EQ(v.Letter('I'), 60);
    form->SpeedButton(141).Click();
    EXPECT_EQ(v.Letter('I'), 61);
    form->SpeedButton(248).Click();
    EXPECT_EQ(v.Letter('I'), 168);
    form->PanelControl(kFirstPanelLabelChild).Click();
    EXPECT_EQ(v.Letter('P'), 16);
    form->PanelControl(188 + 4).Click();  // PanelButton5
    EXPECT_EQ(v.Letter('P'), 52);
    EXPECT_EQ(form->LastPanelButton(), 5);
    form->PanelControl(kLastPanelClickChild).Click();
    EXPECT_EQ(v.Letter('P'), 79);
    EXPECT_EQ(form->LastPanelButton(), 5) << "only panel buttons set the number";
}

TEST_F(MainFormTest, EnableMenusAndIconsSwitchesTheMenusAndButtons) {
    Start();
    form->EnableMenusAndIcons(false);
    EXPECT_FALSE(form->TopMenu(0).Enabled());
    EXPECT_FALSE(form->TopMenu(11).Enabled());
    EXPECT_FALSE(form->SpeedButton(56).Enabled());
    EXPECT_FALSE(form->SpeedButton(64).Enabled());
    EXPECT_TRUE(form->SpeedButton(55).Enabled());
    EXPECT_TRUE(form->SpeedButton(65).Enabled());
    EXPECT_FALSE(form->SpeedButton(81).Enabled());
    EXPECT_FALSE(form->SpeedButton(248).Enabled());
    form->EnableMenusAndIcons(true);
    EXPECT_TRUE(form->TopMenu(5).Enabled());
    EXPECT_TRUE(form->SpeedButton(60).Enabled());
    EXPECT_TRUE(form->SpeedButton(200).Enabled());
}

}  // namespace
}  // namespace linework::test
