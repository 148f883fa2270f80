// A component freed inside an event stays whole until the outermost event returns; outside events
// it goes at once; an owner frees what it owns.
#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

// A label that counts its destruction.
class CountedLabel : public Label {
public:
    CountedLabel(Component* owner, int* destroyed) : Label(owner), destroyed_(destroyed) {}
    ~CountedLabel() override { ++*destroyed_; }

private:
    int* destroyed_;
};

class CountedForm : public Form {
public:
    CountedForm(Component* owner, int* destroyed) : Form(owner), destroyed_(destroyed) {}
    ~CountedForm() override { ++*destroyed_; }

private:
    int* destroyed_;
};

TEST_F(FormsTest, AControlFreedInItsOwnClickLivesUntilTheClickReturns) {
    Form& form = plainForm();
    int destroyed = 0;
    CountedLabel& label = form.Add<CountedLabel>(&destroyed);
    label.SetName("Label1");
    label.SetBounds(10, 10, 50, 20);
    label.SetParent(&form);
    std::string seenAfterFree;
    int destroyedInside = -1;
    label.OnClick = [&](Component& sender) {
        sender.Free();
        destroyedInside = destroyed;
        seenAfterFree = sender.Name();           // still whole
        static_cast<Label&>(sender).SetCaption("x");  // and still usable
    };
    h.click(25, 25);
    EXPECT_EQ(destroyedInside, 0);
    EXPECT_EQ(seenAfterFree, "Label1");
    EXPECT_EQ(destroyed, 1) << "freed when the click returned";
    EXPECT_EQ(form.FindComponent("Label1"), nullptr);
    EXPECT_EQ(form.ControlCount(), 0u);
    h.click(25, 25);  // the form's own click now, nothing left of the label
}

TEST_F(FormsTest, AFormFreedInsideAnEventOfOneOfItsControlsGoesAfterIt) {
    plainForm();
    int destroyed = 0;
    CountedForm& second = app->CreateForm<CountedForm>(&destroyed);
    second.SetBorderStyle(BorderStyle::None);
    second.SetBounds(350, 10, 100, 100);
    Button& button = second.Add<Button>();
    button.SetBounds(10, 10, 60, 25);
    button.SetParent(&second);
    second.ShowForm();
    h.pump();
    int destroyedInside = -1;
    bool buttonWindowInside = false;
    button.OnClick = [&](Component& sender) {
        static_cast<Control&>(sender).ParentForm()->Free();
        destroyedInside = destroyed;
        buttonWindowInside = IsWindow(static_cast<WinControl&>(sender).Handle()) != FALSE;
    };
    const size_t forms = app->FormCount();
    h.click(350 + 40, 10 + 22);
    EXPECT_EQ(destroyedInside, 0);
    EXPECT_TRUE(buttonWindowInside);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(app->FormCount(), forms - 1);
}

// The drafting form's way: the form owns every control, graphic and windowed, and they sit on its
// panels; the labels made before and after their panel cover both orders of freeing.
TEST_F(FormsTest, AFormFreesTheControlsItOwnsOnItsPanelsWhileStillWhole) {
    plainForm();
    int destroyed = 0;
    int formsDestroyed = 0;
    CountedForm& second = app->CreateForm<CountedForm>(&formsDestroyed);
    CountedLabel& before = second.Add<CountedLabel>(&destroyed);
    Panel& panel = second.Add<Panel>();
    panel.SetParent(&second);
    before.SetParent(&panel);
    CountedLabel& after = second.Add<CountedLabel>(&destroyed);
    after.SetParent(&panel);
    Panel& inner = second.Add<Panel>();
    inner.SetParent(&panel);
    second.Add<CountedLabel>(&destroyed).SetParent(&inner);
    second.Add<Edit>().SetParent(&inner);
    second.Add<SpeedButton>().SetParent(&panel);
    second.Add<Button>().SetParent(&panel);
    second.Add<StatusBar>().SetParent(&second);
    second.ShowForm();
    h.pump();
    const size_t forms = app->FormCount();
    second.Free();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(formsDestroyed, 1);
    EXPECT_EQ(app->FormCount(), forms - 1);
}

TEST_F(FormsTest, OutsideEventsFreeIsImmediateAndOwnersFreeWhatTheyOwn) {
    Form& form = plainForm();
    int destroyed = 0;
    Panel& panel = form.Add<Panel>();
    CountedLabel& owned = panel.Add<CountedLabel>(&destroyed);
    owned.SetParent(&form);
    CountedLabel& alone = form.Add<CountedLabel>(&destroyed);
    alone.Free();
    EXPECT_EQ(destroyed, 1);
    panel.Free();
    EXPECT_EQ(destroyed, 2) << "the panel took the label it owned";
    EXPECT_EQ(form.ControlCount(), 0u);
}

TEST_F(FormsTest, AFormClosedWithFreeInItsOnCloseGoesAfterTheClose) {
    plainForm();
    int destroyed = 0;
    CountedForm& second = app->CreateForm<CountedForm>(&destroyed);
    second.OnClose = [&](Component&, CloseAction& action) { action = CloseAction::Free; };
    second.ShowForm();
    h.pump();
    PostMessageA(second.Handle(), WM_CLOSE, 0, 0);
    h.pump();
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
