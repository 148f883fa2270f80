// The windowed controls made of the platform's control classes: edit, push button, check box,
// radio button and combo box; their notifications become the library's events.
#ifndef WINFORMS_STD_CONTROLS_H
#define WINFORMS_STD_CONTROLS_H

#include <string>
#include <vector>

#include "winforms/win_control.h"
#include "winplat/owners.h"

namespace winforms {

// A control of a platform class whose colours its parent answers (WM_CTLCOLOR*).
class WINFORMS_API ColouredControl : public WinControl {
public:
    // The brush and colours the control's window paints with.
    HBRUSH ColourFor(HDC dc);

protected:
    explicit ColouredControl(Component* owner) : WinControl(owner) {}
    void ColorChanged() override;

private:
    winplat::GdiObject<HBRUSH> brush_;
};

class WINFORMS_API Edit : public ColouredControl {
public:
    explicit Edit(Component* owner);
    // The text as the window holds it now.
    std::string Text() const;
    void SetText(const std::string& text) { SetCaption(text); }
    unsigned MaxLength() const { return maxLength_; }
    void SetMaxLength(unsigned length);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Whether taking the focus selects the whole text.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
    void SelectAll();
    NotifyEvent OnChange;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Notified(WORD code) override;

private:
    unsigned maxLength_ = 0;
    bool readOnly_ = false;
    bool autoSelect_ = true;
};

class WINFORMS_API Button : public ColouredControl {
public:
    explicit Button(Component* owner);
    // A click sets the form's modal result to it (mrNone: nothing).
    int GetModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // The default button of its form, drawn with the heavier frame.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    void Click() override;

protected:
    void Notified(WORD code) override;

private:
    int modalResult_ = mrNone;
    bool default_ = false;
};

class WINFORMS_API CheckBox : public ColouredControl {
public:
    explicit CheckBox(Component* owner);
    bool Checked() const;
    void SetChecked(bool checked);

protected:
    void Notified(WORD code) override;
};

// Radio buttons with one parent form a group: checking one clears the others.
class WINFORMS_API RadioButton : public ColouredControl {
public:
    explicit RadioButton(Component* owner);
    bool Checked() const;
    void SetChecked(bool checked);

protected:
    void Notified(WORD code) override;
};

enum class ComboStyle : uint8_t { DropDown, DropDownList };

class WINFORMS_API ComboBox : public ColouredControl {
public:
    explicit ComboBox(Component* owner, ComboStyle style = ComboStyle::DropDown);
    void Add(const std::string& item);
    void Clear();
    size_t Count() const { return items_.size(); }
    const std::string& Items(size_t index) const { return items_.at(index); }
    // -1: none chosen.
    int ItemIndex() const;
    void SetItemIndex(int index);
    std::string Text() const;
    void SetText(const std::string& text) { SetCaption(text); }
    ComboStyle Style() const { return style_; }
    NotifyEvent OnChange;

protected:
    void Notified(WORD code) override;
    void BoundsChanged() override;

private:
    std::vector<std::string> items_;
    ComboStyle style_;
};

}  // namespace winforms

#endif
