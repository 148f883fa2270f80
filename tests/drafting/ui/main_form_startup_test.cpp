// The drafting program's start-up: with no files at all, with the shipped kit, and the start-up
// hook run once; the component tree under its program names.
#include "ui/main_form_fixture.h"

namespace linework::test {
namespace {

TEST_F(MainFormTest, WithoutFilesItShowsTheIdlePromptAndPlaceholders) {
    Start();
    EXPECT_EQ(form->Label1().Caption(), "lkt9 ") << "the idle prompt is message 8";
    EXPECT_TRUE(form->Label1().Visible());
    EXPECT_EQ(form->Edit1().Hint(), "lkt176");
    EXPECT_EQ(form->SpeedButton(65).Hint(), "lkt252");
    EXPECT_EQ(form->Engine().image.Byte(5), 1) << "the text file did not match";
    EXPECT_EQ(form->Engine().image.Integer(8), 2) << "the status word says the file was not found";
    for (int top = 0; top < kTopMenus; ++top) {
        EXPECT_EQ(form->TopMenu(top).Caption(), std::string(1, static_cast<char>('a' + top)));
    }
    EXPECT_FALSE(form->FirstPaintPending());
    EXPECT_FALSE(form->Timer1().Enabled()) << "Timer1 ticks again only when a script sets it";
    EXPECT_TRUE(form->TimerHookSwitch());
}

TEST_F(MainFormTest, WithoutAStartUpScriptTheCommandStateIsPoppedOnce) {
    RecordingDrafting drafting;
    Start(&drafting);
    EXPECT_EQ(std::count(drafting.calls.begin(), drafting.calls.end(), "pop"), 1);
}

TEST_F(MainFormTest, WithTheKitCaptionsAndMenusComeFromItsFiles) {
    CopyKit();
    Start();
    EXPECT_EQ(form->Label1().Caption(), "P\xF8\xEDkaz: ");
    EXPECT_EQ(form->Engine().image.Byte(5), 0) << "the shipped table has exactly 267 lines";
    EXPECT_EQ(form->SpeedButton(65).Hint(), "Zp\xECt");
    EXPECT_EQ(form->Edit1().Hint(), "P\xF8\xEDkazov\xFD \xF8\xE1""dek: p\xF8\xEDkaz, sou\xF8""adnice nebo jm\xE9no objektu");
    EXPECT_EQ(form->TopMenu(0).Caption(), "&Soubor");
    EXPECT_EQ(form->MenuItemAt(0, 0).Caption(), "&Konec");
    EXPECT_TRUE(form->MenuItemAt(0, 0).Visible());
    EXPECT_FALSE(form->MenuItemAt(0, 1).Visible()) << "items without a caption stay hidden";
    EXPECT_FALSE(form->TopMenu(2).Visible()) << "unused top menus are hidden";
    EXPECT_EQ(form->Engine().LastError(), "");
}

TEST_F(MainFormTest, TheStartUpScriptRunsExactlyOnce) {
    WriteFile("LK.LKP", "M = M + 1\r\nstop\r\n");
    Start();
    for (int i = 0; i < 5; ++i) {
        form->Invalidate();
        h.pump();
        h.advance(50);
    }
    EXPECT_EQ(form->Engine().variables.Letter('M'), 1);
}

TEST_F(MainFormTest, TheStartUpScriptIsFoundWhateverItsCase) {
    WriteFile("lk.lkp", "M = 7\r\nstop\r\n");
    Start();
    EXPECT_EQ(form->Engine().variables.Letter('M'), 7);
}

// The program's scripts reach the script functions, not only the batch runner's.
TEST_F(MainFormTest, ScriptsOfTheProgramCallTheScriptFunctions) {
    WriteFile("LK.LKP", "M = sqrt 16\r\n5$ = chr 72 105\r\nstop\r\n");
    Start();
    EXPECT_EQ(form->Engine().LastError(), "");
    EXPECT_EQ(form->Engine().variables.Letter('M'), 4);
    EXPECT_EQ(form->Engine().store.GetTextLine(5), "Hi");
}

TEST_F(MainFormTest, TheTimerHookRunsOnEachTickOnceAScriptSetsTheInterval) {
    WriteFile("LK.LKP", "sv 394 100\r\nstop\r\n");
    WriteFile("TIMER.LKP", "T = T + 1\r\nstop\r\n");
    Start();
    h.advance(350);
    const double ticks = form->Engine().variables.Letter('T');
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 4);
}

// At the design size and when the form is made smaller or larger, no tool button is cut off by the
// panel's edges, and none overlaps another.
TEST_F(MainFormTest, EveryToolButtonShowsWholeInTheRightPanel) {
    Start();
    for (int height : {480, 400, 700}) {
        form->SetHeight(height);
        h.pump();
        const RECT area = form->RightPanel().ClientRect();
        ASSERT_GT(area.bottom, 0);
        for (int n = 1; n <= kToolButtons; ++n) {
            const winforms::SpeedButton& b = form->SpeedButton(n);
            EXPECT_GE(b.Left(), area.left) << "button " << n << " at height " << height;
            EXPECT_GE(b.Top(), area.top) << "button " << n << " at height " << height;
            EXPECT_LE(b.Left() + b.Width(), area.right) << "button " << n << " at height " << height;
            EXPECT_LE(b.Top() + b.Height(), area.bottom) << "button " << n << " at height " << height;
            EXPECT_GE(b.Width(), 12);
        }
        const winforms::SpeedButton& first = form->SpeedButton(1);
        const winforms::SpeedButton& second = form->SpeedButton(2);
        EXPECT_GE(second.Left(), first.Left() + first.Width()) << "buttons overlap at height " << height;
    }
    EXPECT_EQ(form->SpeedButton(1).Width(), 24) << "at 700 pixels the buttons keep their full size";
}

// The program ends whatever it is doing between events: timers ticking, hooks set, icon buttons
// and panel controls shown, the left panel hidden, a box answered. Its windows all go.
TEST_F(MainFormTest, TheProgramEndsCleanlyWithItsPartsInUse) {
    WriteFile("LK.LKP", "sv 394 50\r\nstop\r\n");
    WriteFile("TIMER.LKP", "T = T + 1\r\nstop\r\n");
    Start();
    form->Timer2().SetInterval(30);
    form->Timer2().SetEnabled(true);
    for (int n : {81, 140, 141, 248}) form->SpeedButton(n).SetVisible(true);
    for (int child : {kFirstPanelLabelChild, 188, 220}) form->PanelControl(child).SetVisible(true);
    form->LeftPanel().SetVisible(false);
    AnswerBox(1);
    form->Boxes().ShowInfoMessage("Hotovo");
    h.advance(200);
    ASSERT_GT(form->Engine().variables.Letter('T'), 0);
    ASSERT_NE(h.findWindow(nullptr, "Linework"), nullptr);
    form = nullptr;
    picker = nullptr;
    app.reset();
    EXPECT_EQ(h.findWindow(nullptr, "Linework"), nullptr);
    EXPECT_EQ(h.findWindow(nullptr, "BMP dialog"), nullptr);
}

TEST_F(MainFormTest, TheComponentTreeCarriesTheProgramNames) {
    Start();
    for (const char* name : {"PaintBox1", "HorniPanel", "DolniPanel", "LevyPanel", "PravyPanel", "StatusBar1", "Edit1",
                             "Label1", "Label7", "Panel1", "Image3", "SpeedButton1", "SpeedButton80", "SpeedButton140",
                             "SpeedButton141", "SpeedButton248", "PanelBevel1", "PanelComboBox16", "MainMenu1", "mma",
                             "mml", "mm1", "mm384", "PopupMenu1", "ppm32", "Timer1", "Timer2", "MediaPlayer1",
                             "MediaPlayer2", "MediaPlayer3", "OpenDialog1", "PrinterSetupDialog1"}) {
        EXPECT_NE(form->FindComponent(name), nullptr) << name;
    }
    EXPECT_EQ(form->FindComponent("SpeedButton249"), nullptr);
    EXPECT_EQ(form->FindComponent("mm385"), nullptr);
    // The right panel's children in their order: the panel labels begin at child 156.
    EXPECT_EQ(form->PanelControl(0).Name(), "SpeedButton1");
    EXPECT_EQ(form->PanelControl(139).Name(), "SpeedButton140");
    EXPECT_EQ(form->PanelControl(140).Name(), "PanelBevel1");
    EXPECT_EQ(form->PanelControl(kFirstPanelLabelChild).Name(), "PanelLabel1");
    EXPECT_EQ(form->PanelControl(188).Name(), "PanelButton1");
    EXPECT_EQ(form->PanelControl(kLastPanelClickChild).Name(), "PanelCheckBox16");
    EXPECT_EQ(form->PanelControl(220).Name(), "PanelComboBox1");
    EXPECT_EQ(form->StatusBar1().PanelCount(), 4u);
    EXPECT_EQ(app->FormCount(), 4u);
    EXPECT_EQ(app->Forms(1).Caption(), "BMP dialog");
}

}  // namespace
}  // namespace linework::test
