// TForm2, "BMP dialog": the small modal form the main form opens at the mouse. Its pickers come
// later; here it is the program's own message box: a picture, the text in Label1 and up to three
// buttons, Button1..Button3, whose number becomes the answer.
#ifndef LINEWORK_UI_PICKER_FORM_H
#define LINEWORK_UI_PICKER_FORM_H

#include <array>

#include "winforms/forms.h"

namespace linework {

class PickerForm : public winforms::Form {
public:
    static constexpr int kMessageBoxKind = 8;

    explicit PickerForm(winforms::Component* owner);

    winforms::Label& Label1() { return *label1_; }
    winforms::Image& Picture() { return *picture_; }
    winforms::Button& Buttons(int n) { return *buttons_.at(static_cast<size_t>(n - 1)); }

    int kind = 0;
    // The button to make the default when the box shows (1..3, else 1); after the box, the
    // number of the button pressed, 0 when it was closed otherwise.
    int answer = 0;

private:
    void FormShow();
    void ButtonClick(winforms::Component& sender);
    void FormKeyDown(WORD& key);

    winforms::Label* label1_;
    winforms::Image* picture_;
    std::array<winforms::Button*, 3> buttons_{};
};

}  // namespace linework

#endif
