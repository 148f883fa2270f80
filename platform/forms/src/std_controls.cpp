#include "winforms/std_controls.h"

#include "winforms/application.h"
#include "winforms/form.h"
#include "winplat/controls.h"
#include "winplat/draw.h"

namespace winforms {

namespace {
// The closed combo box's list drops this far below its field.
constexpr int kDroppedHeight = 160;
}  // namespace

HBRUSH ColouredControl::ColourFor(HDC dc) {
    if (!brush_) brush_.reset(CreateSolidBrush(Color()));
    SetBkColor(dc, Color());
    SetTextColor(dc, GetFont().Color());
    return brush_.get();
}

void ColouredControl::ColorChanged() {
    brush_.reset();
    Invalidate();
}

Edit::Edit(Component* owner) : ColouredControl(owner) {
    bounds_ = {0, 0, 121, 21};
    SetColor(GetSysColor(COLOR_WINDOW));
    SetTabStop(true);
    CreateHandle("EDIT", WS_BORDER | ES_AUTOHSCROLL);
}

std::string Edit::Text() const {
    const int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), length + 1)));
    return text;
}

void Edit::SetMaxLength(unsigned length) {
    maxLength_ = length;
    SendMessageA(handle_, EM_LIMITTEXT, length, 0);
}

void Edit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    SendMessageA(handle_, EM_SETREADONLY, readOnly, 0);
}

void Edit::SelectAll() { SendMessageA(handle_, EM_SETSEL, 0, -1); }

LRESULT Edit::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(message, wParam, lParam);
    if (message == WM_SETFOCUS && autoSelect_) SelectAll();
    return result;
}

void Edit::Notified(WORD code) {
    if (code != EN_CHANGE) return;
    caption_ = Text();
    if (OnChange) OnChange(*this);
}

Button::Button(Component* owner) : ColouredControl(owner) {
    bounds_ = {0, 0, 75, 25};
    SetTabStop(true);
    CreateHandle("BUTTON", BS_PUSHBUTTON);
}

void Button::SetDefault(bool isDefault) {
    default_ = isDefault;
    SendMessageA(handle_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::Click() {
    Application::EventScope scope;
    if (modalResult_ != mrNone) {
        if (Form* form = ParentForm()) form->SetModalResult(modalResult_);
    }
    Control::Click();
}

void Button::Notified(WORD code) {
    if (code == BN_CLICKED) Click();
}

CheckBox::CheckBox(Component* owner) : ColouredControl(owner) {
    bounds_ = {0, 0, 97, 17};
    SetTabStop(true);
    CreateHandle("BUTTON", BS_AUTOCHECKBOX);
}

bool CheckBox::Checked() const { return SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Notified(WORD code) {
    if (code == BN_CLICKED) Click();
}

RadioButton::RadioButton(Component* owner) : ColouredControl(owner) {
    bounds_ = {0, 0, 113, 17};
    SetTabStop(true);
    CreateHandle("BUTTON", BS_RADIOBUTTON);
}

bool RadioButton::Checked() const { return SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RadioButton::SetChecked(bool checked) {
    SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked || !Parent()) return;
    for (size_t i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<RadioButton*>(&Parent()->Controls(i));
        if (other && other != this) SendMessageA(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void RadioButton::Notified(WORD code) {
    if (code != BN_CLICKED) return;
    SetChecked(true);
    Click();
}

ComboBox::ComboBox(Component* owner, ComboStyle style) : ColouredControl(owner), style_(style) {
    bounds_ = {0, 0, 145, 21 + kDroppedHeight};
    SetColor(GetSysColor(COLOR_WINDOW));
    SetTabStop(true);
    CreateHandle("COMBOBOX", WS_VSCROLL | (style == ComboStyle::DropDown ? CBS_DROPDOWN : CBS_DROPDOWNLIST));
    RECT field{};
    GetWindowRect(handle_, &field);
    bounds_.bottom = bounds_.top + (field.bottom - field.top);  // the field; the list is dropped
}

void ComboBox::Add(const std::string& item) {
    items_.push_back(item);
    SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::Clear() {
    items_.clear();
    SendMessageA(handle_, CB_RESETCONTENT, 0, 0);
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int index) {
    SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    caption_ = Text();
}

std::string ComboBox::Text() const {
    const int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), length + 1)));
    return text;
}

void ComboBox::Notified(WORD code) {
    if (code == CBN_SELCHANGE) {
        const int index = ItemIndex();
        caption_ = index >= 0 && static_cast<size_t>(index) < items_.size() ? items_[static_cast<size_t>(index)] : Text();
        if (OnChange) OnChange(*this);
        Click();
    } else if (code == CBN_EDITCHANGE) {
        caption_ = Text();
        if (OnChange) OnChange(*this);
    }
}

void ComboBox::BoundsChanged() {
    // The window's height is the field's; the list keeps the room it was made with.
    RECT field{};
    GetWindowRect(handle_, &field);
    bounds_.bottom = bounds_.top + (field.bottom - field.top);
    WinControl::BoundsChanged();
}

}  // namespace winforms
