// Two-stage deletion and the one level of undo. Erasing only sets an entity's erased bit; the
// erased entities are freed when pending deletions are committed, which every operation that
// cannot be undone together with them does first. The walk position (Drawing::walkPosition)
// marks where the entities of the last adding operation end, so undoing an addition erases
// exactly them.
#ifndef LINEWORK_DRAWING_DELETION_AND_UNDO_H
#define LINEWORK_DRAWING_DELETION_AND_UNDO_H

#include "drawing/entity_adders.h"
#include "drawing/selection_edits.h"

namespace linework {

// Unlinks and frees every erased entity of the drawing list.
void FreeErasedEntities(Drawing& drawing);
// After erase, "ud" or explode every erased entity of the drawing list is unlinked and freed;
// in every case the undo code becomes 0 (nothing to undo), without marking the drawing modified.
void CommitPendingDeletes(AdderContext& context);
// Every erased entity loses the erased bit and is drawn; the undo code becomes 0.
void RestoreErasedEntities(AdderContext& context);
// The entities from the head of the drawing list down to the walk position are taken off the
// screen and, with 'remove', unlinked and freed, else given the erased bit.
void EraseNewestAdditions(AdderContext& context, bool remove);

enum class NewestErased { Head, Other, None };
// Commits pending deletions, then erases the newest entity on an active layer that is not a
// protected raster image, and records "ud". Says whether that was the head of the list, another
// entity, or none qualified.
NewestErased EraseNewestEntity(AdderContext& context);
// Commits pending deletions, then every selected entity but a protected raster image is taken off
// the screen and erased; every selected entity loses both selection bits; records "erase".
void EraseSelection(AdderContext& context);
// Undoes the last operation by its code: an addition is erased (and can be brought back by undo
// again), erasures are restored, an explosion's pieces freed and the exploded entities restored;
// block and the transforms go to 'edits'. False when there was nothing to undo.
bool UndoLastOperation(AdderContext& context, SelectionEdits& edits);

// A raster image that may be neither moved, copied nor erased.
bool IsProtectedImage(const EntityRecord& record);

}  // namespace linework

#endif
