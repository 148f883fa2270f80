// The copy operation: every selected entity is added again, moved, through the same adders that
// made it, so a copy is a new entity with its undo code and drawing like any other.
#ifndef LINEWORK_DRAWING_ENTITY_COPY_H
#define LINEWORK_DRAWING_ENTITY_COPY_H

#include "drawing/entity_adders.h"

namespace linework {

// Which of the copied entity's own properties the copy keeps; one that is off takes the current
// property instead.
struct CopyKeepSwitches {
    bool layer = true;
    bool colour = true;
    bool width = true;
    bool endSymbol = true;
    bool lineType = true;
};

// Adds a copy of every selected entity moved by (dx, dy), except raster images protected against
// copying (flag 0x0400). The copies stand at the head of the drawing list in the order of the
// entities they were made from; the current properties are as before; the undo code is "copy".
// Stops at the memory-error flag. The number of copies made.
int AddEntityFromRecord(AdderContext& context, double dx, double dy, const CopyKeepSwitches& keep = {});

}  // namespace linework

#endif
