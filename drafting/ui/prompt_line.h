// Where the program talks to the user without a box: the prompt in the status bar's first panel,
// and the command line of the bottom panel, its label and edit box. Prompts may bring a sound,
// "WAV\<n>.WAV" of the program folder, played while the sound switch is on.
#ifndef LINEWORK_UI_PROMPT_LINE_H
#define LINEWORK_UI_PROMPT_LINE_H

#include <string>
#include <string_view>

#include "drawing/system_variable_image.h"
#include "winforms/forms.h"

namespace linework {

inline constexpr size_t kMaxPrompt = 127;

struct CommandLineParts {
    winforms::StatusBar& statusBar;
    winforms::Panel& bottomPanel;
    winforms::Label& label;
    winforms::Edit& edit;
    winforms::MediaPlayer& player;
};

class PromptLine {
public:
    PromptLine(CommandLineParts parts, SystemVariableImage& image, std::string programFolder);

    void ShowPromptText(std::string_view text);
    // Shows the text and remembers it (cut to 127 characters).
    void SetPrompt(std::string_view text);
    void RestorePrompt();
    const std::string& RememberedPrompt() const { return remembered_; }

    // The label shows the text and a blank; the edit box follows it to the panel's right edge
    // (from the left edge when the text is empty).
    void SetCommandPrompt(std::string_view text);
    void SetCommandEditText(std::string_view text);
    std::string GetCommandEditText() const;
    // When focusing is on: the bottom panel, then its edit box, get the focus.
    void FocusCommandLine();
    bool focusSwitch = true;

    // Plays "WAV\<n>.WAV" (n not 0, the sound switch on); a missing file is skipped.
    void PlayPromptSound(int32_t n);
    // The file the last sound was asked from, "" when none was (for the log and tests).
    const std::string& LastSoundFile() const { return lastSound_; }

private:
    CommandLineParts parts_;
    SystemVariableImage& image_;
    std::string programFolder_;
    std::string remembered_;
    std::string lastSound_;
};

}  // namespace linework

#endif
