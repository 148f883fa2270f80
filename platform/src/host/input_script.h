// Input scripts (WINPLAT_INPUT): one step a line, played as the program runs.
//
//     # comments start with '#'
//     wait 500              host time passes (ms)
//     move 10 20            the pointer moves to a screen point
//     click 120 40          left press and release there; rclick: the right button
//     dblclick 120 40       two left clicks, a double click
//     drag 10 10 200 50     left press at the first point, release at the second
//     wheel -120            the wheel turns (120 a notch, positive away from the user)
//     key F7                a key pressed and released; "key ctrl+s" with modifiers held
//     type Dobrý den        characters typed (UTF-8 in the file, cp1250 to the program)
//     snap a.png            the screen written to a PNG file
#ifndef WINPLAT_SRC_HOST_INPUT_SCRIPT_H
#define WINPLAT_SRC_HOST_INPUT_SCRIPT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/key_names.h"
#include "winplat/draw.h"

namespace winplat::host {

struct ScriptStep {
    enum class Kind : uint8_t { Wait, Move, Click, DoubleClick, RightClick, Drag, Wheel, Key, Type, Snap };
    Kind kind = Kind::Wait;
    uint32_t waitMs = 0;
    POINT from{};  // the point of move, click, dblclick, rclick; where a drag starts
    POINT to{};    // where a drag ends
    int wheelDelta = 0;
    KeyChord chord;
    std::string text;  // type: cp1250; snap: the file's path (UTF-8)
    int line = 0;      // where it was written
};

struct ParsedScript {
    std::vector<ScriptStep> steps;
    std::string error;  // "line 3: ..." for the first line refused; empty when all were read
    bool ok() const { return error.empty(); }
};

ParsedScript parseInputScript(std::string_view text);
// Reads and parses a script file; a file that cannot be read is an error naming it.
ParsedScript readInputScript(const std::string& path);

}  // namespace winplat::host

#endif
