// The main form as the command steps see it: its tool buttons, the prompt line and command line,
// the prompt sounds, the message table and the hook scripts.
#ifndef LINEWORK_UI_FORM_COMMAND_SURFACE_H
#define LINEWORK_UI_FORM_COMMAND_SURFACE_H

#include "ui/command_step_ports.h"

namespace linework {

class MainForm;

class FormCommandSurface : public CommandSurface {
public:
    // The buttons the steps hold down are made to latch, each on its own.
    explicit FormCommandSurface(MainForm& form);

    void SetButtonDown(int n, bool down) override;
    bool ButtonDown(int n) const override;
    void ClickButton(int n) override;
    void SetPrompt(std::string_view text) override;
    void SetCommandPrompt(std::string_view text) override;
    void ShowIdlePrompt() override;
    std::string CommandLineText() const override;
    void SetCommandLineText(std::string_view text) override;
    void FocusCommandLine() override;
    void PlaySound(int32_t n) override;
    bool SoundsOn() const override;
    void SetSoundsOn(bool on) override;
    std::string Message(int n) const override;
    void ShowReadout(std::string_view text) override;
    void RefreshModeButtons() override;
    void EnableEditButtons(int mode) override;
    void CloseScriptDialogWhenDue() override;
    bool ScriptRunning() const override;
    bool RunScriptFile(std::string_view name) override;

private:
    bool ValidButton(int n) const;

    MainForm& form_;
};

}  // namespace linework

#endif
