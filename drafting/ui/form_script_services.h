// What the script functions ask of the program that only the main form can give: its file-open
// and file-save dialogs, its pop-up menu, the waits for a key, and the command steps that ask the
// user for a point, a distance or a line. Each shows or waits on the application's message loop,
// so the form stays alive and nothing spins while the user decides.
#ifndef LINEWORK_UI_FORM_SCRIPT_SERVICES_H
#define LINEWORK_UI_FORM_SCRIPT_SERVICES_H

#include <optional>

#include "script/script_services.h"
#include "ui/command_states.h"
#include "winforms/forms.h"

namespace linework {

class MainForm;

// The name of the main form's modal loop while a script waits for one of its keys; a test
// answers it (kind Form) by pressing keys.
inline constexpr const char* kKeyWaitName = "kbd";
// ... while a script waits for its command step (a point, a distance); a test answers it by
// clicking or typing.
inline constexpr const char* kStepWaitName = "step";

class FormScriptServices : public ScriptServices {
public:
    explicit FormScriptServices(MainForm& form) : form_(form) {}

    std::string OpenFileName(std::string_view filter, std::string_view extension, std::string_view start) override;
    std::string SaveFileName(std::string_view filter, std::string_view extension, std::string_view start) override;
    int32_t PopupMenu(int32_t count, int32_t alignment, bool atPoint, int32_t x, int32_t y) override;
    int32_t TakeKey(std::span<const int32_t> codes) override;
    HWND MainWindow() override;

    // The script's own command steps, on the drawing side's command stack.
    int32_t CommandStepDepth() override;
    bool BeginPointStep(const PointStepRequest& request) override;
    bool StepWaiting() override;
    PointStepAnswer TakePointAnswer() override;
    bool BeginLinePick(int32_t sound, std::string_view prompt) override;
    LinePickAnswer TakeLinePick() override;
    void CancelStep() override;
    bool WaitForMessages() override;

    // The form's side of the script commands' steps (ScriptHost): the insert step's point, none
    // when the user gave none or the run was stopped; the wait for the step begun last, true
    // when the run was asked to stop (or the program ends) meanwhile.
    std::optional<Point> RunInsertStep();
    bool WaitForCommandStep();

private:
    // The simple drawing side's command steps; null when another drawing side takes the input.
    CommandStates* Steps();

    std::string ChosenFile(winforms::FileDialog& dialog, std::string_view filter, std::string_view extension,
                           std::string_view start);
    // Lets messages through until the last key is one of the codes, a stop is asked for or the
    // program ends.
    void WaitForKey(std::span<const int32_t> codes);
    bool StopAsked() const;

    MainForm& form_;
    // The depth of the step begun last and its kind; depth 0 when none waits.
    int stepDepth_ = 0;
    uint8_t stepKind_ = 0;
};

}  // namespace linework

#endif
