// The tool buttons that start an interactive command: each pushes its step with prompts from the
// message table and sets the last command code, by which an empty Enter on the command line
// starts the same command again.
#ifndef LINEWORK_UI_COMMAND_BUTTONS_H
#define LINEWORK_UI_COMMAND_BUTTONS_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/command_states.h"

namespace linework {

struct CommandButton {
    int button = 0;
    uint8_t code = 0;  // the last command code it sets
    uint8_t kind = 0;
    uint8_t pointsNeeded = 1;
    uint8_t rubberBand = 0;  // option 5: a rectangle band
    // Message numbers: prompt set 1, prompt set 2 and (0: none) the idle prompt.
    int prompt1 = 0, prompt2 = 0, idlePrompt = 0;
    // Zoom window sets its code only from the idle state with no script running.
    bool codeOnlyWhenIdle = false;
};

// The command button of speed button n; none for buttons of other kinds.
std::optional<CommandButton> CommandButtonOf(int n);

// The step the button pushes, its texts taken from 'message'.
PushRequest CommandButtonRequest(const CommandButton& command, const std::function<std::string(int)>& message);

}  // namespace linework

#endif
