// The edits of the selection. Erase and copy are the drawing layer's own; the others go to the
// selection engine's edits (SelectionEdits). Without numbers "copy", "move", "rotate", "scale"
// and "stretch" start their interactive step on the command-state stack through the host.
#include <algorithm>

#include "drawing/deletion_and_undo.h"
#include "drawing/entity_copy.h"
#include "script/script_commands.h"

namespace linework {
namespace {

using Result = CommandResult;
using EditStep = ScriptHost::EditStep;
constexpr Result kNext = Result::Next;

// The mode word of the transforms: 0..3, values above 3 counting as 3.
int EditMode(CommandContext& c, int k) {
    c.state.editMode = std::clamp(c.Num(k), 0, 3);
    return c.state.editMode;
}

// A transform given without its numbers (fewer words than 'numbers') runs interactively.
bool Interactive(CommandContext& c, int numbers, EditStep step, int modeWord) {
    if (c.Last() >= numbers) return false;
    c.Host().StartEditStep(step, EditMode(c, modeWord));
    return true;
}

Result Block(CommandContext& c) {
    std::string name = c.Name(3);
    if (c.engine.Failed()) return Result::StopRun;
    c.Edits().DefineBlockFromSelection(name, c.PointAt(1));
    return kNext;
}

Result Erase(CommandContext& c) {
    EraseSelection(c.adders);
    return kNext;
}

Result Explode(CommandContext& c) {
    c.Edits().ExplodeSelection();
    return kNext;
}

Result Change(CommandContext& c) {
    c.Edits().ChangeSelectedEntities(static_cast<uint32_t>(c.Num(1)));
    return kNext;
}

// The copies are an addition of their own: pending deletions are made final and the walk
// position set first, so "u" takes back exactly the copies.
Result Copy(CommandContext& c) {
    if (Interactive(c, 2, EditStep::Copy, 3)) return kNext;
    EditMode(c, 3);
    CommitPendingDeletes(c.adders);
    c.DrawingList().walkPosition = c.DrawingList().head;
    AddEntityFromRecord(c.adders, c.Val(1), c.Val(2));
    return kNext;
}

Result Move(CommandContext& c) {
    if (Interactive(c, 2, EditStep::Move, 3)) return kNext;
    c.Edits().SetEditMode(EditMode(c, 3));
    c.Edits().MoveSelection(c.Val(1), c.Val(2));
    return kNext;
}

Result Rotate(CommandContext& c) {
    if (Interactive(c, 3, EditStep::Rotate, 4)) return kNext;
    c.Edits().SetEditMode(EditMode(c, 4));
    c.Edits().RotateSelection(c.Val(3), c.PointAt(1));
    return kNext;
}

Result Scale(CommandContext& c) {
    if (Interactive(c, 4, EditStep::Scale, 5)) return kNext;
    c.Edits().SetEditMode(EditMode(c, 5));
    c.Edits().ScaleSelection(c.Val(3), c.Val(4), c.PointAt(1));
    return kNext;
}

Result Stretch(CommandContext& c) {
    if (Interactive(c, 2, EditStep::Stretch, 3)) return kNext;
    c.Edits().SetEditMode(EditMode(c, 3));
    c.Edits().StretchSelection(c.Val(1), c.Val(2));
    return kNext;
}

constexpr CommandEntry kEditCommands[] = {
    {"block", Block}, {"erase", Erase},   {"explode", Explode}, {"change", Change},   {"copy", Copy},
    {"move", Move},   {"rotate", Rotate}, {"scale", Scale},     {"stretch", Stretch},
};

}  // namespace

std::span<const CommandEntry> EditCommands() { return kEditCommands; }

}  // namespace linework
