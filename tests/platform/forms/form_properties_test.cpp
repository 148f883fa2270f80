// A form's border styles, stay-on-top, centred position and window state reach its window; its
// activate, deactivate, move and resize events come when they happen; a form's canvas draws on it
// during OnPaint.
#include <string>
#include <vector>

#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

TEST_F(FormsTest, BorderStylesGiveTheirWindowStyles) {
    const struct {
        BorderStyle border;
        DWORD style;      // bits that must be set
        DWORD absent;     // bits that must be clear
        DWORD exStyle;
    } cases[] = {
        {BorderStyle::None, WS_POPUP, WS_CAPTION | WS_THICKFRAME, 0},
        {BorderStyle::Single, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME, 0},
        {BorderStyle::Sizeable, WS_CAPTION | WS_THICKFRAME, 0, 0},
        {BorderStyle::Dialog, WS_POPUP | WS_CAPTION, WS_THICKFRAME | WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME},
        {BorderStyle::ToolWindow, WS_CAPTION, WS_THICKFRAME, WS_EX_TOOLWINDOW},
        {BorderStyle::SizeToolWin, WS_CAPTION | WS_THICKFRAME, 0, WS_EX_TOOLWINDOW},
    };
    Form& form = app->CreateForm<Form>();
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.border));
        form.SetBorderStyle(c.border);
        const auto info = h.windowInfo(form.Handle());
        EXPECT_EQ(info.style & c.style, c.style);
        EXPECT_EQ(info.style & c.absent, 0u);
        EXPECT_EQ(info.exStyle & (WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW), c.exStyle);
    }
}

TEST_F(FormsTest, AStayOnTopFormStaysAboveTheOthers) {
    Form& below = plainForm(10, 10, 200, 100);
    Form& top = plainForm(50, 50, 200, 100);
    top.SetFormStyle(FormStyle::StayOnTop);
    EXPECT_TRUE(h.windowInfo(top.Handle()).exStyle & WS_EX_TOPMOST);
    SetActiveWindow(below.Handle());
    h.pump();
    EXPECT_LT(h.windowInfo(top.Handle()).zIndex, h.windowInfo(below.Handle()).zIndex);
    top.SetFormStyle(FormStyle::Normal);
    EXPECT_FALSE(h.windowInfo(top.Handle()).exStyle & WS_EX_TOPMOST);
}

TEST_F(FormsTest, ACentredFormIsCentredWhenShownAndTheStateApplies) {
    Form& form = app->CreateForm<Form>();
    form.SetBounds(0, 0, 200, 101);
    form.SetPosition(Position::ScreenCenter);
    form.ShowForm();
    EXPECT_EQ(form.Left(), (640 - 200) / 2);
    EXPECT_EQ(form.Top(), (480 - 101) / 2);
    form.SetWindowState(WindowState::Maximized);
    EXPECT_TRUE(IsZoomed(form.Handle()));
    EXPECT_EQ(form.GetWindowState(), WindowState::Maximized);
    form.SetWindowState(WindowState::Normal);
    EXPECT_FALSE(IsZoomed(form.Handle()));
    form.Hide();
    form.SetWindowState(WindowState::Minimized);
    EXPECT_FALSE(IsIconic(form.Handle())) << "a hidden form takes its state when shown";
    form.ShowForm();
    EXPECT_TRUE(IsIconic(form.Handle()));
}

TEST_F(FormsTest, ActivationMovesAndResizesReachTheirEvents) {
    std::vector<std::string> events;
    Form& first = plainForm(10, 10, 200, 100);
    first.SetName("Form1");
    Form& second = plainForm(300, 10, 200, 100);
    second.SetName("Form2");
    for (Form* f : {&first, &second}) {
        f->OnActivate = [&](Component& s) { events.push_back(s.Name() + " activate"); };
        f->OnDeactivate = [&](Component& s) { events.push_back(s.Name() + " deactivate"); };
        f->OnMove = [&](Component& s) { events.push_back(s.Name() + " move"); };
        f->OnResize = [&](Component& s) { events.push_back(s.Name() + " resize"); };
    }
    SetActiveWindow(second.Handle());
    h.pump();
    events.clear();
    h.click(20, 20);  // into the first
    EXPECT_EQ(events, (std::vector<std::string>{"Form2 deactivate", "Form1 activate"}));
    events.clear();
    first.SetBounds(20, 10, 200, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"Form1 move"}));
    events.clear();
    first.SetBounds(20, 10, 250, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"Form1 resize"}));
    EXPECT_EQ(first.ClientWidth(), 250);
}

TEST_F(FormsTest, TheFormsCanvasDrawsDuringOnPaintUnderItsControls) {
    Form& form = plainForm(0, 0, 100, 80);
    Label& label = form.Add<Label>();
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 10, 10);
    label.SetColor(RGB(0, 255, 0));
    label.SetParent(&form);
    form.OnPaint = [&form](Component&) {
        Canvas& c = form.GetCanvas();
        c.GetBrush().SetColor(RGB(255, 0, 0));
        c.FillRect({0, 0, 50, 50});
    };
    form.Invalidate();
    h.pump();
    const winplat::test::Image shown = h.windowImage(form.Handle(), true);
    EXPECT_EQ(shown.at(5, 5), 0x00FF00u) << "the label over what the form painted";
    EXPECT_EQ(shown.at(20, 20), 0xFF0000u);
    EXPECT_EQ(shown.at(49, 49), 0xFF0000u);
    EXPECT_EQ(shown.at(50, 50), shown.at(90, 70)) << "the form's own colour beyond the painted square";
    EXPECT_NE(shown.at(90, 70), 0xFF0000u);
}

// A paint box of 30 x 20 at (20, 10) of the form, shown.
PaintBox& boxAt20x10(Form& form, winplat::test::Harness& h) {
    PaintBox& box = form.Add<PaintBox>();
    box.SetBounds(20, 10, 30, 20);
    box.SetParent(&form);
    h.pump();
    return box;
}

// A pen that shows on any background and, drawn twice, leaves no trace.
void blueNotXor(Canvas& canvas) {
    canvas.GetPen().SetColor(RGB(0, 0, 255));
    canvas.GetPen().SetMode(PenMode::NotXor);
}

TEST_F(FormsTest, APaintBoxCanvasOutsideAPaintDrawsInsideTheBoxOnly) {
    Form& form = plainForm(0, 0, 100, 80);
    PaintBox& box = boxAt20x10(form, h);
    Canvas& canvas = box.GetCanvas();
    blueNotXor(canvas);
    canvas.MoveTo(-10, 5);
    canvas.LineTo(60, 5);  // far beyond both edges
    winplat::test::Image shown = h.windowImage(form.Handle(), true);
    EXPECT_NE(shown.at(20, 15), shown.at(19, 15)) << "drawn from the box's left edge";
    EXPECT_NE(shown.at(49, 15), shown.at(50, 15)) << "to its right edge and no further";
    EXPECT_EQ(shown.at(19, 15), shown.at(10, 40)) << "the form beside the box is untouched";
    canvas.MoveTo(-10, 5);
    canvas.LineTo(60, 5);
    shown = h.windowImage(form.Handle(), true);
    EXPECT_EQ(shown.at(30, 15), shown.at(10, 40)) << "not-xor twice leaves no trace";
}

// Each call moves the canvas's origin to the box's corner; a second call must clip to the same
// box, not to one shifted by the origin the first call left.
TEST_F(FormsTest, APaintBoxCanvasTakenAgainStillReachesTheWholeBox) {
    Form& form = plainForm(0, 0, 100, 80);
    PaintBox& box = boxAt20x10(form, h);
    box.GetCanvas();
    Canvas& canvas = box.GetCanvas();
    blueNotXor(canvas);
    canvas.MoveTo(0, 2);
    canvas.LineTo(30, 2);
    const winplat::test::Image shown = h.windowImage(form.Handle(), true);
    EXPECT_NE(shown.at(20, 12), shown.at(10, 40)) << "the box's first column";
    EXPECT_NE(shown.at(49, 12), shown.at(10, 40)) << "its last column";
    EXPECT_EQ(shown.at(50, 12), shown.at(10, 40)) << "nothing beyond it";
}

}  // namespace
