#include "ui/form_command_surface.h"

#include "script/system_variables.h"
#include "ui/main_form.h"

namespace linework {

namespace {

// The buttons the steps hold down while their command waits.
constexpr int kLatchingButtons[] = {11, 19, 22, 27, 28, 29, 30, 41, 56, 57, 58, 59, 60, 61, 62, 63, 67, 68, 69, 70};
constexpr int kFirstLatchGroup = 1000;
constexpr int kFirstModeButton = 27;
constexpr int32_t kGridByte = 65;
constexpr int kFirstEditButton = 66;
constexpr int kLastEditButton = 79;
constexpr int kAddButton = 78;
constexpr int kRemoveButton = 79;
constexpr int kPickButton = 68;
constexpr int kCrossingButton = 69;
constexpr size_t kReadoutPanel = 2;

}  // namespace

FormCommandSurface::FormCommandSurface(MainForm& form) : form_(form) {
    for (int n : kLatchingButtons) {
        winforms::SpeedButton& button = form_.SpeedButton(n);
        if (button.GroupIndex() != 0) continue;
        button.SetGroupIndex(kFirstLatchGroup + n);
        button.SetAllowAllUp(true);
    }
}

bool FormCommandSurface::ValidButton(int n) const { return n >= 1 && n <= kToolButtons; }

void FormCommandSurface::SetButtonDown(int n, bool down) {
    if (ValidButton(n)) form_.SpeedButton(n).SetDown(down);
}

bool FormCommandSurface::ButtonDown(int n) const { return ValidButton(n) && form_.SpeedButton(n).Down(); }

void FormCommandSurface::ClickButton(int n) {
    if (ValidButton(n)) form_.SpeedButton(n).Click();
}

void FormCommandSurface::SetPrompt(std::string_view text) { form_.Prompts().SetPrompt(text); }

void FormCommandSurface::SetCommandPrompt(std::string_view text) { form_.Prompts().SetCommandPrompt(text); }

void FormCommandSurface::ShowIdlePrompt() { form_.Prompts().SetCommandPrompt(form_.Texts().Message(kIdlePromptMessage)); }

std::string FormCommandSurface::CommandLineText() const { return form_.Prompts().GetCommandEditText(); }

void FormCommandSurface::SetCommandLineText(std::string_view text) { form_.Prompts().SetCommandEditText(text); }

void FormCommandSurface::FocusCommandLine() { form_.Prompts().FocusCommandLine(); }

void FormCommandSurface::PlaySound(int32_t n) { form_.Prompts().PlayPromptSound(n); }

bool FormCommandSurface::SoundsOn() const { return form_.Engine().image.Byte(sysvar::kSoundSwitch) != 0; }

void FormCommandSurface::SetSoundsOn(bool on) { form_.Engine().image.SetByte(sysvar::kSoundSwitch, on ? 1 : 0); }

std::string FormCommandSurface::Message(int n) const { return form_.Texts().Message(n); }

void FormCommandSurface::ShowReadout(std::string_view text) {
    winforms::StatusBar& bar = form_.StatusBar1();
    if (bar.PanelCount() > kReadoutPanel) bar.SetPanelText(kReadoutPanel, std::string(text));
}

void FormCommandSurface::RefreshModeButtons() {
    const SystemVariableImage& image = form_.Engine().image;
    for (int k = 0; k < 4; ++k) SetButtonDown(kFirstModeButton + k, image.Byte(kGridByte + k) != 0);
}

// Mode 1 enables every edit button; modes 2 and 3 (a single pick, the stretch window) only the
// pick or crossing button with add and remove; mode 0 none.
void FormCommandSurface::EnableEditButtons(int mode) {
    for (int n = kFirstEditButton; n <= kLastEditButton; ++n) {
        bool on = mode == 1;
        if (mode == 2 || mode == 3) {
            on = n == kAddButton || n == kRemoveButton || n == (mode == 2 ? kPickButton : kCrossingButton);
        }
        form_.SpeedButton(n).SetEnabled(on);
    }
}

void FormCommandSurface::CloseScriptDialogWhenDue() { form_.Engine().runtime.CloseScriptDialogOnTimeout(false); }

bool FormCommandSurface::ScriptRunning() const { return form_.Engine().Running(); }

bool FormCommandSurface::RunScriptFile(std::string_view name) { return form_.RunScriptFile(name); }

}  // namespace linework
