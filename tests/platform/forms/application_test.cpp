// The application: forms in the order made, the first the main one; the hook that sees every
// message before dispatch; processing waiting messages; the screen and the mouse; the wheel.
#include <algorithm>
#include <string>
#include <vector>

#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;
using winplat::test::kCtrl;
using winplat::test::kNoModifiers;

TEST_F(FormsTest, FormsAreKeptInTheOrderMadeAndTheFirstIsTheMainForm) {
    std::vector<std::string> created;
    Form& first = app->CreateForm<Form>();
    Form& second = app->CreateForm<Form>();
    Form& third = app->CreateForm<Form>();
    EXPECT_EQ(app->FormCount(), 3u);
    EXPECT_EQ(app->MainForm(), &first);
    EXPECT_EQ(&app->Forms(1), &second);
    EXPECT_EQ(&app->Forms(2), &third);
    EXPECT_EQ(first.Name(), "Form1");
    EXPECT_EQ(third.Name(), "Form3");
    EXPECT_FALSE(first.Visible()) << "made hidden";
}

TEST_F(FormsTest, TheHookSeesEachMessageFirstAndMayKeepItFromItsWindow) {
    Form& form = plainForm();
    std::vector<UINT> seen;
    int clicks = 0;
    form.OnClick = [&](Component&) { ++clicks; };
    app->OnMessage = [&](MSG& message, bool& handled) {
        seen.push_back(message.message);
        handled = message.message == WM_LBUTTONUP;
    };
    PostMessageA(form.Handle(), WM_USER + 7, 0, 0);
    app->ProcessMessages();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], static_cast<UINT>(WM_USER + 7));
    // A click through the application's loop: the release is kept from the form, so no click.
    winplat::testing::mouseMove(50, 50);
    winplat::testing::mouseButton(winplat::host::MouseButton::Left, true);
    winplat::testing::mouseButton(winplat::host::MouseButton::Left, false);
    app->ProcessMessages();
    EXPECT_EQ(clicks, 0);
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_LBUTTONDOWN)), seen.end());
    app->OnMessage = nullptr;
    winplat::testing::mouseButton(winplat::host::MouseButton::Left, true);
    winplat::testing::mouseButton(winplat::host::MouseButton::Left, false);
    app->ProcessMessages();
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormsTest, ClosingTheMainFormEndsRun) {
    Form& main = app->CreateForm<Form>();
    Timer& timer = main.Add<Timer>();
    timer.SetInterval(10);
    timer.SetOnTimer([&](Component&) { main.Close(); });
    app->Run();
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(main.Visible());
}

TEST_F(FormsTest, TheScreenAndTheMouse) {
    EXPECT_EQ(Screen::Width(), 640);
    EXPECT_EQ(Screen::Height(), 480);
    EXPECT_EQ(Screen::PixelsPerInch(), 96);
    Mouse::SetCursorPos({123, 45});
    EXPECT_EQ(Mouse::CursorPos().x, 123);
    EXPECT_EQ(Mouse::CursorPos().y, 45);
    Form& form = plainForm();
    SetActiveWindow(form.Handle());
    EXPECT_EQ(Screen::ActiveForm(), &form);
}

TEST_F(FormsTest, TheScreensCursorShowsOverEveryControl) {
    Form& form = plainForm();
    PaintBox& box = form.Add<PaintBox>();
    box.SetBounds(0, 0, 100, 100);
    box.SetCursor(Cursor::Cross);
    box.SetParent(&form);
    h.mouseMove(50, 50);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_CROSS));
    h.mouseMove(250, 150);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW)) << "beside the paint box: the form's class cursor";
    Screen::SetCursor(Cursor::HourGlass);
    h.mouseMove(50, 51);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    Screen::SetCursor(Cursor::Default);
}

struct WheelCase {
    const char* what;
    int delta;
    unsigned modifiers;
    const char* expected;
};

TEST_F(FormsTest, TheWheelReachesTheFormOfTheFocusedControl) {
    Form& form = plainForm();
    Edit& edit = form.Add<Edit>();
    edit.SetParent(&form);
    edit.SetFocus();
    h.pump();
    std::string seen;
    form.OnMouseWheel = [&](Component& s, ShiftState shift, int delta, POINT at, bool&) {
        seen = s.Name() + " " + std::to_string(delta) + " " + formstest::letters(shift) + " " + std::to_string(at.x) +
               "," + std::to_string(at.y);
    };
    form.SetName("Form1");
    h.mouseMove(200, 150);
    const WheelCase cases[] = {
        {"a notch away", 120, kNoModifiers, "Form1 120  200,150"},
        {"a notch back with Ctrl", -120, kCtrl, "Form1 -120 C 200,150"},
        {"three notches", 360, kNoModifiers, "Form1 360  200,150"},
    };
    for (const WheelCase& c : cases) {
        SCOPED_TRACE(c.what);
        seen.clear();
        holding(c.modifiers, [&] { h.wheel(c.delta); });
        EXPECT_EQ(seen, c.expected);
    }
}

TEST_F(FormsTest, HintsFollowTheControlUnderTheMouse) {
    Form& form = plainForm();
    Label& label = form.Add<Label>();
    label.SetBounds(0, 0, 50, 20);
    label.SetHint("Barva");
    label.SetShowHint(true);
    label.SetParent(&form);
    int changes = 0;
    app->OnHint = [&](Component&) { ++changes; };
    h.mouseMove(20, 20);
    EXPECT_EQ(app->Hint(), "Barva");
    h.mouseMove(21, 20);
    EXPECT_EQ(changes, 1) << "the same hint again is no change";
    h.mouseMove(120, 20);
    EXPECT_EQ(app->Hint(), "") << "a control without a hint to show clears it";
    EXPECT_EQ(changes, 2);
}

}  // namespace
