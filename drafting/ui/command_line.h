// The command line (Edit1): Enter hands its text to the waiting command as a point, a value or
// the end of its input, or, with no command waiting, runs it as a typed command; an empty Enter
// repeats the last command. Esc ends the waiting step.
//
// A typed command runs as the hook script of its name when it is one plain word and that file
// exists, else through the hook "COMMAND". Before either runs, the cleaned line is put into store
// line 0 (0$), where the hook reads it; it also stays on the command line.
#ifndef LINEWORK_UI_COMMAND_LINE_H
#define LINEWORK_UI_COMMAND_LINE_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/layer_table.h"
#include "drawing/number_input.h"
#include "drawing/system_variable_image.h"
#include "script/program_store.h"
#include "ui/command_states.h"
#include "ui/coordinate_entry.h"

namespace linework {

// The last command codes an empty Enter repeats by.
namespace last_command {
inline constexpr uint8_t kTyped = 33;
inline constexpr uint8_t kMenuLine = 34;
}  // namespace last_command

// Kinds of step that wait for the user on behalf of a script.
namespace script_wait_kind {
inline constexpr uint8_t kValue = command_kind::kWaitValue;
inline constexpr uint8_t kKey = command_kind::kWaitKey;
inline constexpr uint8_t kEnd = command_kind::kWaitEnd;
inline constexpr uint8_t kConfirm = command_kind::kWaitConfirm;
}  // namespace script_wait_kind

// Why a typed line was refused.
inline constexpr char kTypedLineTooLong[] = "The command line is longer than 127 characters.";

// What the command line needs beyond the steps and the form's surface.
class CommandLineHooks {
public:
    virtual ~CommandLineHooks() = default;
    // The interpreter's command-entry switch: off while a script waits for Enter itself.
    virtual bool CommandEntryOn() const { return true; }
    virtual void NoteEnterPressed() {}
    // A key wait of a script is answered (escaped: by Esc).
    virtual void AnswerKeyWait(bool /*escaped*/) {}
    // The typed line for the COMMAND hook (store line 0).
    virtual void SetTypedLine(std::string_view /*line*/) {}
    // The last menu line is run again.
    virtual void RepeatMenuLine() {}
    virtual void Beep() {}
    // Whether a rubber band is on the screen now.
    virtual bool RubberBandShown() const { return false; }
    // A point marker (a small cross, 1 pixel wide) in the colour at the point taken.
    virtual void DrawPointMarker(Point /*at*/, uint32_t /*colour*/) {}
    // The view's 3-D projection of a typed point; false when it cannot be shown.
    virtual bool ProjectPoint3D(double x, double y, double /*z*/, Point& out) const {
        out = {x, y};
        return true;
    }
};

struct CommandLinePorts {
    CommandStates& commands;
    CommandSurface& surface;
    SelectionEngine& selection;
    CommandLineHooks& hooks;
    SystemVariableImage& image;
    const Drawing& drawing;
    const NumberGrammar& grammar;
};

class CommandLine {
public:
    explicit CommandLine(CommandLinePorts parts);

    // A character typed into the command line; only Enter (13) and Esc (27) act.
    void EnterCommandLine(char key);
    // A point (the input point, doubles 4 and 5) or the end of the input for the waiting step;
    // typed, or clicked ('replace': the pick's Alt). With point markers on (byte 27) and no
    // rubber band shown, the point gets a marker in the marker colour (integer 287).
    void AcceptPoint(Point at, bool replace = false);
    void AcceptValue(double value);
    void EndInput();
    // Runs the last typed command.
    void RunTypedCommand();

    // Set by the tool buttons (the undo operation codes) and by loading a menu line.
    void SetLastCommandCode(uint8_t code) { lastCode_ = code; }
    uint8_t LastCommandCode() const { return lastCode_; }
    const std::string& LastTypedCommand() const { return lastTyped_; }

private:
    void IdleEnter(const std::string& text);
    void RepeatLastCommand();
    void Escape();
    void CoordinateEntry(std::string_view text);
    bool StepAcceptsValue(const CommandState& step) const;

    CommandLinePorts p_;
    LayerTable layers_;
    uint8_t lastCode_ = 0;
    std::string lastTyped_;
};

// Whether a typed command may name its own hook file: one word of letters, digits, "_" and "-"
// (no blank, dot, drive or folder), so nothing typed reaches a file outside the program folder.
bool TypedCommandNamesHook(std::string_view line);

}  // namespace linework

#endif
