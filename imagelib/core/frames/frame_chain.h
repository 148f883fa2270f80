// Walking the frame chains of animations: each frame names the next one (which it owns) and the
// chain's first frame.
#ifndef PIXMILL_CORE_FRAME_CHAIN_H
#define PIXMILL_CORE_FRAME_CHAIN_H

#include "core/registry/image_registry.h"

namespace pixmill {

// Ids are 16-bit, so a longer walk has met a loop.
constexpr int kMaxChainFrames = 32767;

// Calls visit(record) for each frame from id on, with the frame locked in the mode, until visit
// returns false, the chain ends or an id is unknown. The number of frames visited.
template <class Visit>
int walkChain(PxlImageId id, Access mode, Visit&& visit) {
    int visited = 0;
    while (id != 0 && visited < kMaxChainFrames) {
        ImageLock frame = lockImage(id, mode);
        if (!frame) break;
        ++visited;
        if (!visit(*frame)) break;
        id = frame->nextFrame;
    }
    return visited;
}

// The frames from id to the end of its chain (0 for an unknown id).
int countFrames(PxlImageId id);

// The id 'index' steps along the chain from first (index below 0 counts as 0); 0 past the end or
// for an unknown first, the last id reached when one on the way is unknown.
PxlImageId frameAt(PxlImageId first, int index);

}  // namespace pixmill

#endif
