#include "demo_form.h"

#include <string>

namespace forms_demo {

namespace {

using namespace winforms;

template <class T>
T& place(T& control, WinControl* parent, int left, int top, int width = 0, int height = 0) {
    control.SetBounds(left, top, width ? width : control.Width(), height ? height : control.Height());
    control.SetParent(parent);
    return control;
}

void addMenu(Form& form) {
    MainMenu& menu = form.Add<MainMenu>();
    for (const char* caption : {"a", "b", "c"}) {
        MenuItem& top = form.Add<MenuItem>();
        top.SetCaption(caption);
        MenuItem& sub = form.Add<MenuItem>();
        sub.SetCaption("mm1");
        top.Add(sub);
        menu.Items().Add(top);
    }
    form.SetMenu(&menu);
}

void drawPicture(Bitmap& picture) {
    picture.SetSize(16, 16);
    Canvas& art = picture.GetCanvas();
    art.GetBrush().SetColor(RGB(0, 0, 255));
    art.FillRect({0, 0, 16, 16});
    art.GetPen().SetColor(RGB(255, 255, 0));
    art.MoveTo(0, 0);
    art.LineTo(16, 16);
}

}  // namespace

DemoForm buildDemoForm(Application& app, int left, int top) {
    DemoForm demo;
    Form& form = app.CreateForm<Form>();
    demo.form = &form;
    form.SetCaption("LKP dialog");
    form.SetBorderStyle(BorderStyle::Single);
    form.SetBounds(left, top, 420, 320);
    addMenu(form);

    Panel& panel = place(form.Add<Panel>(), &form, 0, 0, 10, 24);
    panel.SetAlign(Align::Top);
    panel.SetCaption("Horni");
    demo.label = &place(form.Add<Label>(), &panel, 6, 5);
    demo.label->SetCaption("1:?");
    place(form.Add<Bevel>(), &form, 10, 34, 120, 60).SetShape(BevelShape::Frame);
    place(form.Add<Edit>(), &form, 20, 44, 100, 21).SetText("Edit1");
    place(form.Add<Button>(), &form, 140, 34, 75, 25).SetCaption("Button1");
    demo.check = &place(form.Add<CheckBox>(), &form, 140, 64, 97, 17);
    demo.check->SetCaption("CheckBox1");
    demo.check->SetChecked(true);
    place(form.Add<RadioButton>(), &form, 140, 84, 113, 17).SetCaption("RadioButton1");
    RadioGroup& group = place(form.Add<RadioGroup>(), &form, 260, 34, 140, 80);
    group.SetCaption("RadioGroup1");
    group.SetItems({"jedna", "dva", "tri"});
    group.SetItemIndex(1);
    ComboBox& combo = place(form.Add<ComboBox>(), &form, 10, 110, 120);
    combo.Add("CB1");
    combo.Add("CB2");
    combo.SetItemIndex(1);
    Image& image = place(form.Add<Image>(), &form, 140, 110, 32, 32);
    drawPicture(image.Picture());
    image.SetCenter(true);
    PaintBox& box = place(form.Add<PaintBox>(), &form, 180, 110, 80, 60);
    box.OnPaint = [&box](Component&) {
        Canvas& c = box.GetCanvas();
        c.GetBrush().SetColor(RGB(255, 255, 255));
        c.GetPen().SetColor(RGB(255, 0, 0));
        c.Rectangle(0, 0, box.Width(), box.Height());
        c.MoveTo(0, 0);
        c.LineTo(box.Width(), box.Height());
    };
    demo.status = &place(form.Add<StatusBar>(), &form, 0, 0, 10, 19);
    demo.status->AddPanel(120, "Prikaz:");
    demo.status->AddPanel(42, "LKP");
    demo.status->AddPanel(100, "G 10.0,20.0");
    for (int i = 0; i < 3; ++i) {
        SpeedButton& b = place(form.Add<SpeedButton>(), &form, 270 + i * 25, 120, 23, 22);
        b.SetGroupIndex(38);
        b.SetCaption(std::to_string(i + 1));
        StatusBar* status = demo.status;
        b.OnClick = [status, i](Component&) { status->SetPanelText(0, "Tlacitko " + std::to_string(i + 1)); };
        demo.speeds.push_back(&b);
    }
    demo.speeds[0]->SetDown(true);
    // A green square on a white ground; the ground's colour (the bottom-left pixel's) is left out.
    Bitmap& glyph = demo.speeds[2]->Glyph();
    glyph.SetSize(10, 10);
    glyph.GetCanvas().GetBrush().SetColor(RGB(255, 255, 255));
    glyph.GetCanvas().FillRect({0, 0, 10, 10});
    glyph.GetCanvas().GetBrush().SetColor(RGB(0, 128, 0));
    glyph.GetCanvas().FillRect({2, 2, 8, 8});
    demo.speeds[2]->SetCaption("");
    return demo;
}

}  // namespace forms_demo
