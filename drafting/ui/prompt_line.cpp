#include "ui/prompt_line.h"

#include "drawing/file_names.h"
#include "script/system_variables.h"
#include "winplat/debug.h"
#include "winplat/paths.h"

namespace linework {

namespace {
constexpr int kCommandLineGap = 2;
}

PromptLine::PromptLine(CommandLineParts parts, SystemVariableImage& image, std::string programFolder)
    : parts_(parts), image_(image), programFolder_(std::move(programFolder)) {}

void PromptLine::ShowPromptText(std::string_view text) {
    if (parts_.statusBar.PanelCount() == 0 || parts_.statusBar.Panels(0).text == text) return;
    parts_.statusBar.SetPanelText(0, std::string(text));
}

void PromptLine::SetPrompt(std::string_view text) {
    ShowPromptText(text);
    remembered_ = std::string(text.substr(0, kMaxPrompt));
}

void PromptLine::RestorePrompt() { ShowPromptText(remembered_); }

void PromptLine::SetCommandPrompt(std::string_view text) {
    winforms::Label& label = parts_.label;
    winforms::Edit& edit = parts_.edit;
    const int panelWidth = parts_.bottomPanel.ClientRect().right;
    int left = 0;
    if (text.empty()) {
        label.SetCaption("");
        label.SetVisible(false);
    } else {
        label.SetCaption(std::string(text) + " ");
        label.SetVisible(true);
        left = label.Left() + label.Width() + kCommandLineGap;
    }
    edit.SetBounds(left, edit.Top(), std::max(0, panelWidth - left), edit.Height());
}

void PromptLine::SetCommandEditText(std::string_view text) { parts_.edit.SetText(std::string(text)); }

std::string PromptLine::GetCommandEditText() const { return parts_.edit.Text(); }

void PromptLine::FocusCommandLine() {
    // Already there: moving the focus away and back would repaint the line on every paint.
    if (!focusSwitch || parts_.edit.Focused()) return;
    if (parts_.bottomPanel.CanFocus()) parts_.bottomPanel.SetFocus();
    if (parts_.edit.CanFocus()) parts_.edit.SetFocus();
}

void PromptLine::PlayPromptSound(int32_t n) {
    if (n == 0 || image_.Byte(sysvar::kSoundSwitch) == 0) return;
    const std::string name = CompleteFileName("", "WAV\\" + std::to_string(n) + ".WAV", programFolder_);
    lastSound_ = name;
    if (!winplat::files::resolve(name)) {
        OutputDebugStringA(("prompt sound: no file " + name + "\n").c_str());
        return;
    }
    winforms::MediaPlayer& player = parts_.player;
    player.Close();
    player.SetFileName(name);
    if (!player.Open() || !player.Play()) OutputDebugStringA(("prompt sound: cannot play " + name + "\n").c_str());
}

}  // namespace linework
