// A form holding one of every kind of control, drawn headless with the test face and compared
// with its golden image; then changed (a speed button down, a check box cleared, a status text)
// and compared again.
#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

class FormTree : public FormsTest {
protected:
    void SetUp() override {
        form = &app->CreateForm<Form>();
        form->SetCaption("LKP dialog");
        form->SetBorderStyle(BorderStyle::Single);
        form->SetBounds(20, 20, 420, 320);
        menu = &form->Add<MainMenu>();
        for (const char* caption : {"a", "b", "c"}) {
            MenuItem& top = form->Add<MenuItem>();
            top.SetCaption(caption);
            MenuItem& sub = form->Add<MenuItem>();
            sub.SetCaption("mm1");
            top.Add(sub);
            menu->Items().Add(top);
        }
        form->SetMenu(menu);

        Panel& top = place(form->Add<Panel>(), form, 0, 0, 0, 24);
        top.SetAlign(Align::Top);
        top.SetCaption("Horni");
        label = &place(form->Add<Label>(), &top, 6, 5, 0, 0);
        label->SetCaption("1:?");
        Bevel& bevel = place(form->Add<Bevel>(), form, 10, 34, 120, 60);
        bevel.SetShape(BevelShape::Frame);
        place(form->Add<Edit>(), form, 20, 44, 100, 21).SetText("Edit1");
        place(form->Add<Button>(), form, 140, 34, 75, 25).SetCaption("Button1");
        check = &place(form->Add<CheckBox>(), form, 140, 64, 97, 17);
        check->SetCaption("CheckBox1");
        check->SetChecked(true);
        place(form->Add<RadioButton>(), form, 140, 84, 113, 17).SetCaption("RadioButton1");
        RadioGroup& group = place(form->Add<RadioGroup>(), form, 260, 34, 140, 80);
        group.SetCaption("RadioGroup1");
        group.SetItems({"jedna", "dva", "tri"});
        group.SetItemIndex(1);
        ComboBox& combo = place(form->Add<ComboBox>(), form, 10, 110, 120, 0);
        combo.Add("CB1");
        combo.Add("CB2");
        combo.SetItemIndex(1);
        Image& image = place(form->Add<Image>(), form, 140, 110, 32, 32);
        image.Picture().SetSize(16, 16);
        Canvas& art = image.Picture().GetCanvas();
        art.GetBrush().SetColor(RGB(0, 0, 255));
        art.FillRect({0, 0, 16, 16});
        art.GetPen().SetColor(RGB(255, 255, 0));
        art.MoveTo(0, 0);
        art.LineTo(16, 16);
        image.SetCenter(true);
        PaintBox& box = place(form->Add<PaintBox>(), form, 180, 110, 80, 60);
        box.OnPaint = [&box](Component&) {
            Canvas& c = box.GetCanvas();
            c.GetBrush().SetColor(RGB(255, 255, 255));
            c.GetPen().SetColor(RGB(255, 0, 0));
            c.Rectangle(0, 0, box.Width(), box.Height());
            c.MoveTo(0, 0);
            c.LineTo(box.Width(), box.Height());
        };
        for (int i = 0; i < 3; ++i) {
            SpeedButton& b = place(form->Add<SpeedButton>(), form, 270 + i * 25, 120, 23, 22);
            b.SetGroupIndex(38);
            b.SetCaption(std::to_string(i + 1));
            speeds.push_back(&b);
        }
        speeds[0]->SetDown(true);
        speeds[2]->Glyph().SetSize(8, 8);
        speeds[2]->Glyph().GetCanvas().GetBrush().SetColor(RGB(0, 128, 0));
        speeds[2]->Glyph().GetCanvas().FillRect({0, 0, 8, 8});
        speeds[2]->SetCaption("");
        status = &place(form->Add<StatusBar>(), form, 0, 0, 0, 19);
        status->AddPanel(120, "Prikaz:");
        status->AddPanel(42, "LKP");
        status->AddPanel(100, "G 10.0,20.0");
        form->ShowForm();
        h.pump();
    }

    template <class T>
    T& place(T& control, WinControl* parent, int left, int top, int width, int height) {
        if (width && height) control.SetBounds(left, top, width, height);
        else control.SetBounds(left, top, control.Width(), height ? height : control.Height());
        control.SetParent(parent);
        return control;
    }

    Form* form = nullptr;
    MainMenu* menu = nullptr;
    Label* label = nullptr;
    CheckBox* check = nullptr;
    StatusBar* status = nullptr;
    std::vector<SpeedButton*> speeds;
};

TEST_F(FormTree, EveryKindOfControlDrawsAsItsGolden) {
    h.expectImage(h.windowImage(form->Handle(), false), "form_tree");
}

TEST_F(FormTree, ChangesRedrawOnlyWhatChanged) {
    const winplat::test::Image before = h.windowImage(form->Handle(), false);
    speeds[1]->SetDown(true);
    check->SetChecked(false);
    status->SetPanelText(0, "Bod:");
    label->SetCaption("1:100");
    h.pump();
    const winplat::test::Image after = h.windowImage(form->Handle(), false);
    h.expectImage(after, "form_tree_changed");
    EXPECT_NE(before, after);
}

}  // namespace
