// The frame of every entity-creating script command. With byte switch 55 off, pending deletions
// are made final and the walk position is set to the head first, so "u" takes back exactly what
// the command adds. With it on, the adder's entity is drawn and then dropped again: no undo is
// recorded, the drawing is not marked modified, and the list stays as it was.
#ifndef LINEWORK_SCRIPT_SCRIPT_ADDS_H
#define LINEWORK_SCRIPT_SCRIPT_ADDS_H

#include "script/script_commands.h"

namespace linework {

void BeginScriptAdd(CommandContext& c);
void EndScriptAdd(CommandContext& c);

// Runs 'add' between the two.
template <class Add>
void ScriptAdd(CommandContext& c, Add&& add) {
    BeginScriptAdd(c);
    add();
    EndScriptAdd(c);
}

}  // namespace linework

#endif
