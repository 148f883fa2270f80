// The tool buttons that start interactive commands. While a script runs they start nothing: the
// edit buttons only come up again.
#include "ui/command_buttons.h"
#include "ui/form_command_line.h"
#include "ui/main_form.h"
#include "ui/simple_drafting.h"

namespace linework {

void MainForm::CommandButtonClick(int n) {
    const std::optional<CommandButton> command = CommandButtonOf(n);
    if (!command || !simpleDrafting_) return;
    if (engine_->Running()) {
        for (int edit = step_button::kRotate; edit <= step_button::kErase; ++edit) SpeedButton(edit).SetDown(false);
        return;
    }
    const bool idle = !drafting_->CommandActive();
    if (commandLine_ && (idle || !command->codeOnlyWhenIdle)) commandLine_->Line().SetLastCommandCode(command->code);
    simpleDrafting_->Commands().PushCommandState(
        CommandButtonRequest(*command, [this](int message) { return std::string(texts_.Message(message)); }));
}

}  // namespace linework
