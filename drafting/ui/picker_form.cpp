#include "ui/picker_form.h"

namespace linework {

PickerForm::PickerForm(winforms::Component* owner) : winforms::Form(owner) {
    SetName("Form2");
    SetCaption("BMP dialog");
    SetBorderStyle(winforms::BorderStyle::Dialog);
    SetKeyPreview(true);
    picture_ = &Add<winforms::Image>();
    picture_->SetName("Image1");
    picture_->SetParent(this);
    label1_ = &Add<winforms::Label>();
    label1_->SetName("Label1");
    label1_->SetAutoSize(false);
    label1_->SetTransparent(true);
    label1_->SetParent(this);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        winforms::Button& button = Add<winforms::Button>();
        button.SetName("Button" + std::to_string(i + 1));
        button.SetTag(static_cast<long>(i + 1));
        button.SetVisible(false);
        button.SetParent(this);
        button.OnClick = [this](winforms::Component& sender) { ButtonClick(sender); };
        buttons_[i] = &button;
    }
    OnShow = [this](winforms::Component&) { FormShow(); };
    OnKeyDown = [this](winforms::Component&, WORD& key, winforms::ShiftState) { FormKeyDown(key); };
}

void PickerForm::FormShow() {
    if (kind != kMessageBoxKind) return;
    const int first = answer >= 1 && answer <= 3 ? answer : 1;
    answer = 0;
    winforms::Button& chosen = Buttons(first);
    chosen.SetDefault(true);
    if (chosen.Visible()) chosen.SetFocus();
}

void PickerForm::ButtonClick(winforms::Component& sender) {
    answer = static_cast<int>(sender.Tag());
    SetModalResult(winforms::mrOk);
}

void PickerForm::FormKeyDown(WORD& key) {
    if (key != VK_ESCAPE) return;
    key = 0;
    answer = 0;
    SetModalResult(winforms::mrCancel);
}

}  // namespace linework
