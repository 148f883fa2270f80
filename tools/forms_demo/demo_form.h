// The form library's demonstration form: one control of every kind, a main menu and a status bar.
// The form tests draw it headless against its golden, and the screen test shows it on the SDL
// host under Xvfb.
#ifndef TOOLS_FORMS_DEMO_DEMO_FORM_H
#define TOOLS_FORMS_DEMO_DEMO_FORM_H

#include <vector>

#include "winforms/forms.h"

namespace forms_demo {

struct DemoForm {
    winforms::Form* form = nullptr;
    winforms::Label* label = nullptr;
    winforms::CheckBox* check = nullptr;
    winforms::StatusBar* status = nullptr;
    std::vector<winforms::SpeedButton*> speeds;  // group 38; the first is down
};

// Made in the application as its next form, at (left, top), not yet shown. Clicking a speed button
// writes its number into the first status panel.
DemoForm buildDemoForm(winforms::Application& app, int left = 0, int top = 0);

}  // namespace forms_demo

#endif
