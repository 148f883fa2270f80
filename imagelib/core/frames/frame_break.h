// The table of frame loads that may be broken off (10 image ids), under its own lock.
#ifndef PIXMILL_CORE_FRAME_BREAK_H
#define PIXMILL_CORE_FRAME_BREAK_H

#include <array>

#include "core/registry/library_state.h"
#include "pixmill/pixmill.h"

namespace pixmill {

void clearFrameBreakTable();
// Sets every slot that holds the id to 0.
void removeFromFrameBreakTable(PxlImageId id);
// Puts the id into a free slot; false when the table is full.
bool addToFrameBreakTable(PxlImageId id);
std::array<PxlImageId, kFrameBreakSlots> frameBreakSlots();
// Asks the frame load of the id to stop: the id goes into the last free slot unless it is there
// already. False when the table is full.
bool requestFrameBreak(PxlImageId id);
bool frameBreakRequested(PxlImageId id);

}  // namespace pixmill

#endif
