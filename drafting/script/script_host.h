// What a script run needs from the program around it: the message boxes, the message pump with
// the stop request, the menus, step mode's wait and the commands that leave the run. The main
// form implements it; the batch runner and tests have their own. Every method has a quiet default.
#ifndef LINEWORK_SCRIPT_SCRIPT_HOST_H
#define LINEWORK_SCRIPT_SCRIPT_HOST_H

#include <cstdint>
#include <string_view>

namespace linework {

class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    // The error box: the message with its position ("...\r\non LKP line 3:1").
    virtual void ShowError(std::string_view) {}
    // The information box ("LKP file is corrupt").
    virtual void ShowInfo(std::string_view) {}
    // The prompt line (the program name when an error is shown).
    virtual void ShowPrompt(std::string_view) {}
    // Lets pending window messages through; true when the user asked the run to stop (Esc).
    virtual bool PumpMessages() { return false; }
    // Main menu and tool buttons, off during a run unless its first line begins with "!".
    virtual void SetMenusEnabled(bool) {}
    // Step mode: before a statement of a visible line; false stops the run.
    virtual bool WaitForStep(int32_t /*line*/, int32_t /*statement*/) { return true; }
    // "stop" with a text: the command line's text.
    virtual void SetCommandText(std::string_view) {}
    // "null": interactive commands and pending view modes are cancelled.
    virtual void ResetCommandState() {}
    // "quit" and "end": the program ends after the run.
    virtual void QuitProgram() {}
    // A menu line loaded alone, which an empty Enter on the command line repeats.
    virtual void RememberCommand(std::string_view) {}
};

}  // namespace linework

#endif
