// The mouse reaches the right control's events: graphic controls are hit-tested by their parent,
// windowed ones get their own messages; coordinates are the control's own, the shift state names
// the keys and buttons held; a click is a press and release on the same control.
#include <string>
#include <vector>

#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;
using winplat::test::kAlt;
using winplat::test::kCtrl;
using winplat::test::kNoModifiers;
using winplat::test::kShift;

// What the handlers saw, one line per event: "<name> <event> <button> <x>,<y> <shift>".
struct Journal {
    std::vector<std::string> lines;
    void watch(Control& control) {
        control.OnMouseDown = [this](Component& s, MouseButton b, ShiftState shift, int x, int y) {
            lines.push_back(s.Name() + " down " + formstest::buttonName(b) + " " + std::to_string(x) + "," +
                            std::to_string(y) + " " + formstest::letters(shift));
        };
        control.OnMouseUp = [this](Component& s, MouseButton b, ShiftState shift, int x, int y) {
            lines.push_back(s.Name() + " up " + formstest::buttonName(b) + " " + std::to_string(x) + "," +
                            std::to_string(y) + " " + formstest::letters(shift));
        };
        control.OnClick = [this](Component& s) { lines.push_back(s.Name() + " click"); };
        control.OnDblClick = [this](Component& s) { lines.push_back(s.Name() + " dblclick"); };
    }
};

class MouseEvents : public FormsTest {
protected:
    // A 300 x 200 form at (10, 10): a label at (20, 30), a speed button at (100, 30), a paint box
    // at (150, 100) and a panel at (20, 100) holding a label of its own at (5, 5).
    void SetUp() override {
        form = &plainForm();
        form->SetName("Form1");
        label = &form->Add<Label>();
        label->SetName("Label1");
        label->SetCaption("Barva");
        label->SetBounds(20, 30, 40, 16);
        label->SetParent(form);
        speed = &form->Add<SpeedButton>();
        speed->SetName("SpeedButton1");
        speed->SetBounds(100, 30, 23, 22);
        speed->SetParent(form);
        box = &form->Add<PaintBox>();
        box->SetName("PaintBox1");
        box->SetBounds(150, 100, 100, 80);
        box->SetParent(form);
        panel = &form->Add<Panel>();
        panel->SetName("Panel1");
        panel->SetBounds(20, 100, 100, 60);
        panel->SetParent(form);
        inner = &form->Add<Label>();
        inner->SetName("Label2");
        inner->SetAutoSize(false);
        inner->SetBounds(5, 5, 30, 20);
        inner->SetParent(panel);
        for (Control* c : std::vector<Control*>{form, label, speed, box, panel, inner}) journal.watch(*c);
        h.pump();
    }

    Form* form = nullptr;
    Label* label = nullptr;
    SpeedButton* speed = nullptr;
    PaintBox* box = nullptr;
    Panel* panel = nullptr;
    Label* inner = nullptr;
    Journal journal;
};

struct ClickCase {
    const char* what;
    int x, y;  // on the screen
    unsigned modifiers;
    bool right;
    std::vector<std::string> expected;
};

// The form's client corner is (10, 10) on the screen.
const ClickCase kClicks[] = {
    {"a label's first pixel", 30, 40, kNoModifiers, false,
     {"Label1 down left 0,0 L", "Label1 up left 0,0 ", "Label1 click"}},
    {"a label's last pixel", 69, 55, kNoModifiers, false,
     {"Label1 down left 39,15 L", "Label1 up left 39,15 ", "Label1 click"}},
    {"just right of the label: the form", 70, 40, kNoModifiers, false,
     {"Form1 down left 60,30 L", "Form1 up left 60,30 ", "Form1 click"}},
    {"just below the label: the form", 30, 56, kNoModifiers, false,
     {"Form1 down left 20,46 L", "Form1 up left 20,46 ", "Form1 click"}},
    {"the speed button with Shift", 111, 41, kShift, false,
     {"SpeedButton1 down left 1,1 SL", "SpeedButton1 up left 1,1 S", "SpeedButton1 click"}},
    {"the paint box with Ctrl", 160, 110, kCtrl, false,
     {"PaintBox1 down left 0,0 CL", "PaintBox1 up left 0,0 C", "PaintBox1 click"}},
    {"the paint box with Alt", 249, 189, kAlt, false,
     {"PaintBox1 down left 99,79 AL", "PaintBox1 up left 99,79 A", "PaintBox1 click"}},
    {"the paint box with Shift, Ctrl and Alt", 200, 150, kShift | kCtrl | kAlt, false,
     {"PaintBox1 down left 50,50 SACL", "PaintBox1 up left 50,50 SAC", "PaintBox1 click"}},
    {"the right button: no click", 200, 150, kNoModifiers, true,
     {"PaintBox1 down right 50,50 R", "PaintBox1 up right 50,50 "}},
    {"the right button with Ctrl on the speed button", 111, 51, kCtrl, true,
     {"SpeedButton1 down right 1,11 CR", "SpeedButton1 up right 1,11 C"}},
    {"a label on a panel, in the panel's coordinates", 36, 116, kNoModifiers, false,
     {"Label2 down left 1,1 L", "Label2 up left 1,1 ", "Label2 click"}},
    {"the panel beside its label", 70, 140, kNoModifiers, false,
     {"Panel1 down left 40,30 L", "Panel1 up left 40,30 ", "Panel1 click"}},
};

TEST_F(MouseEvents, ClicksReachTheControlUnderThePointer) {
    for (const ClickCase& c : kClicks) {
        SCOPED_TRACE(c.what);
        journal.lines.clear();
        holding(c.modifiers, [&] { c.right ? h.rightClick(c.x, c.y) : h.click(c.x, c.y); });
        EXPECT_EQ(journal.lines, c.expected);
    }
}

TEST_F(MouseEvents, APressLeavingTheControlStaysWithItAndIsNoClick) {
    // Down on the label, up over the form: the label keeps the mouse until the release.
    h.drag(30, 40, 200, 40);
    ASSERT_GE(journal.lines.size(), 2u);
    EXPECT_EQ(journal.lines.front(), "Label1 down left 0,0 L");
    EXPECT_EQ(journal.lines.back(), "Label1 up left 170,0 ");
}

TEST_F(MouseEvents, MovesReportThePositionAndTheButtonsHeld) {
    std::vector<std::string> moves;
    box->OnMouseMove = [&](Component& s, ShiftState shift, int x, int y) {
        moves.push_back(s.Name() + " " + std::to_string(x) + "," + std::to_string(y) + " " + formstest::letters(shift));
    };
    h.mouseMove(170, 120);
    winplat::testing::mouseButton(winplat::host::MouseButton::Middle, true);
    h.pump();
    h.mouseMove(171, 122);
    winplat::testing::mouseButton(winplat::host::MouseButton::Middle, false);
    h.pump();
    EXPECT_EQ(moves, (std::vector<std::string>{"PaintBox1 10,10 ", "PaintBox1 11,12 M"}));
    EXPECT_EQ(journal.lines, (std::vector<std::string>{"PaintBox1 down middle 10,10 M", "PaintBox1 up middle 11,12 "}));
}

TEST_F(MouseEvents, ADoubleClickIsMarkedAndRunsOnDblClick) {
    h.doubleClick(160, 110);
    EXPECT_EQ(journal.lines, (std::vector<std::string>{"PaintBox1 down left 0,0 L", "PaintBox1 up left 0,0 ",
                                                       "PaintBox1 click", "PaintBox1 dblclick",
                                                       "PaintBox1 down left 0,0 LD", "PaintBox1 up left 0,0 "}))
        << "the second press of a double click makes no second click";
}

TEST_F(MouseEvents, HiddenAndDisabledGraphicControlsLetTheMouseThrough) {
    label->Hide();
    h.click(30, 40);
    EXPECT_EQ(journal.lines.front(), "Form1 down left 20,30 L");
    label->Show();
    label->SetEnabled(false);
    journal.lines.clear();
    h.click(30, 40);
    EXPECT_EQ(journal.lines.front(), "Form1 down left 20,30 L");
    label->SetEnabled(true);
    journal.lines.clear();
    h.click(30, 40);
    EXPECT_EQ(journal.lines.front(), "Label1 down left 0,0 L");
}

TEST_F(MouseEvents, TheLastOfOverlappingGraphicControlsIsOnTop) {
    Label& over = form->Add<Label>();
    over.SetName("Over");
    over.SetAutoSize(false);
    over.SetBounds(25, 35, 10, 10);
    over.SetParent(form);
    journal.watch(over);
    h.click(36, 46);
    EXPECT_EQ(journal.lines.front(), "Over down left 1,1 L");
    form->SetChildIndex(over, 0);  // now below the label
    journal.lines.clear();
    h.click(36, 46);
    EXPECT_EQ(journal.lines.front(), "Label1 down left 6,6 L");
}

}  // namespace
