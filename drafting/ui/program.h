// The program block: the application titled "Linework", its four forms made in order (the main
// form, the picker and message box "BMP dialog", "LKP dialog" and "System dialog"), and the
// message loop.
#ifndef LINEWORK_UI_PROGRAM_H
#define LINEWORK_UI_PROGRAM_H

#include <string>

#include "winforms/forms.h"

namespace linework {

class MainForm;
class PickerForm;

struct LineworkForms {
    MainForm* main = nullptr;
    PickerForm* picker = nullptr;
    winforms::Form* scriptDialog = nullptr;
    winforms::Form* systemDialog = nullptr;
};

// Makes the four forms in the application (which the caller owns and runs).
LineworkForms CreateLineworkForms(winforms::Application& application, const std::string& programFolder);

// The whole program: the host, the program folder with its kit, the forms, the loop; the exit
// code.
int RunLinework();

}  // namespace linework

#endif
