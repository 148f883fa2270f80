// What a script run needs from the program around it: the message boxes, the message pump with
// the stop request, the menus, step mode's wait and the commands that leave the run. The main
// form implements it; the batch runner and tests have their own. Every method has a quiet default.
#ifndef LINEWORK_SCRIPT_SCRIPT_HOST_H
#define LINEWORK_SCRIPT_SCRIPT_HOST_H

#include <cstdint>
#include <optional>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/geometry.h"

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

    // --- the drawing commands' screen and their interactive forms (the command-state stack)
    // The cursor and all it shows come off the screen before a script's adder draws.
    virtual void HideCursor() {}
    // The grid and the cursor are drawn again (after an adder, a redraw).
    virtual void RepaintGrid() {}
    // "etsv" with bit 1: the new current entity is marked on the screen.
    virtual void MarkEntity(const Drawing& /*drawing*/, EntityHandle /*entity*/) {}
    // "insert" without a point: the interactive insert step of the block with its scales and
    // angle; the point it delivers, none when the user gave none.
    virtual std::optional<Point> RunInsertStep(std::string_view /*block*/, double /*xScale*/, double /*yScale*/,
                                               double /*angle*/) {
        return std::nullopt;
    }
    // "copy", "move", "rotate", "scale" and "stretch" without numbers start their step, which
    // works on with the edit mode given.
    enum class EditStep { Copy, Move, Rotate, Scale, Stretch };
    virtual void StartEditStep(EditStep /*step*/, int /*editMode*/) {}
    // "sketch": pushes the freehand sketch step (word 1's value and the text of words 2..).
    virtual void StartSketchStep(double /*value*/, std::string_view /*text*/) {}
    // Lets window messages through until the command step started last has ended; true when
    // the user asked the run to stop meanwhile.
    virtual bool WaitForCommandStep() { return false; }
};

}  // namespace linework

#endif
