// A block grown and locked in one call, for the containers that grow a block a record at a time and
// write the record at once: GlobalReAlloc followed by GlobalLock takes the memory lock twice and
// finds the block twice, and a record costs only a few nanoseconds more than those calls.
#ifndef WINPLAT_GLOBAL_GROWTH_H
#define WINPLAT_GLOBAL_GROWTH_H

#include "winplat/types.h"

namespace winplat {

// What GlobalReAlloc(block, bytes, GMEM_MOVEABLE) and then GlobalLock(block) do, as one step: the
// block gets the new size (moving when it may, contents kept, new bytes unwritten) and one more
// lock, and the result is its data (a discarded block gets storage again, as GlobalReAlloc gives
// it). Null, with the block as it was and no lock taken, when the handle is not a block
// (ERROR_INVALID_HANDLE), bytes is 0, which would discard the block (ERROR_INVALID_PARAMETER), or
// memory cannot be had (ERROR_NOT_ENOUGH_MEMORY).
WINPLAT_API void* GlobalReAllocLocked(HGLOBAL block, SIZE_T bytes);

}  // namespace winplat

#endif
