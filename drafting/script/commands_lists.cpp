// Undo, and the operations on the whole drawing list and the block definitions.
#include "drawing/deletion_and_undo.h"
#include "drawing/list_operations.h"
#include "script/script_commands.h"

namespace linework {
namespace {

using Result = CommandResult;
constexpr Result kNext = Result::Next;

// "u null" only makes pending deletions final: what could be undone no longer can.
Result Undo(CommandContext& c) {
    if (c.Word(1).text == "null") {
        CommitPendingDeletes(c.adders);
    } else {
        UndoLastOperation(c.adders, c.Edits());
    }
    return kNext;
}

// The newest entity on an active layer, as the program's "ud" button erases it.
Result EraseNewest(CommandContext& c) {
    EraseNewestEntity(c.adders);
    return kNext;
}

Result Purge(CommandContext& c) {
    std::string name = c.Name(1);
    if (c.engine.Failed()) return Result::StopRun;
    PurgeUnusedBlocks(c.adders, name);
    return kNext;
}

// 0 all, -1 the selected entities, 1..15 a kind number.
Result TopList(CommandContext& c) {
    auto filter = c.InRange(1, -1, 15);
    if (!filter) return Result::StopRun;
    MoveEntitiesToListHead(c.adders, *filter);
    return kNext;
}

Result KillDuplicates(CommandContext& c) {
    DeleteDuplicateEntities(c.adders, {c.Val(1) != 0, c.Val(2) != 0, c.Val(3) != 0, c.Val(4) != 0});
    return kNext;
}

Result Kill(CommandContext& c) {
    KillDrawingList(c.adders);
    return kNext;
}

Result BlockRename(CommandContext& c) {
    std::string from = c.NameWord(1);
    std::string to = c.Name(2);
    if (c.engine.Failed()) return Result::StopRun;
    RenameBlockDef(c.DrawingList(), from, to);
    return kNext;
}

constexpr CommandEntry kListCommands[] = {
    {"u", Undo},   {"ud", EraseNewest}, {"purge", Purge}, {"toplist", TopList},
    {"killdup", KillDuplicates}, {"kill", Kill}, {"bren", BlockRename},
};

}  // namespace

std::span<const CommandEntry> ListCommands() { return kListCommands; }

}  // namespace linework
