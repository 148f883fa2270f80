#include "script/script_adds.h"

#include "drawing/deletion_and_undo.h"
#include "script/system_variables.h"

namespace linework {

void BeginScriptAdd(CommandContext& c) {
    Drawing& drawing = c.DrawingList();
    c.state.temporaryAdd = c.engine.image.Byte(sysvar::kTemporaryAdds) != 0;
    if (c.state.temporaryAdd) {
        c.state.rememberedHead = drawing.head;
        c.engine.undo.SetRecording(false);
    } else {
        CommitPendingDeletes(c.adders);
        drawing.walkPosition = drawing.head;
    }
    c.Host().HideCursor();
}

void EndScriptAdd(CommandContext& c) {
    c.Host().RepaintGrid();
    if (!c.state.temporaryAdd) return;
    c.state.temporaryAdd = false;
    c.engine.undo.SetRecording(true);
    Drawing& drawing = c.DrawingList();
    // Exactly one entity added: the first one's successor is the head remembered before.
    if (drawing.head != 0 && drawing.head != c.state.rememberedHead &&
        drawing[drawing.head].Next() == c.state.rememberedHead)
        DeleteFirstEntity(drawing);
}

}  // namespace linework
