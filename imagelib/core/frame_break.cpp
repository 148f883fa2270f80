#include "core/frame_break.h"

#include <algorithm>
#include <mutex>

namespace pixmill {
namespace {

std::mutex frameBreakMutex;
std::array<PxlImageId, kFrameBreakSlots> slots{};

}  // namespace

void clearFrameBreakTable() {
    std::lock_guard lock(frameBreakMutex);
    slots.fill(0);
}

void removeFromFrameBreakTable(PxlImageId id) {
    std::lock_guard lock(frameBreakMutex);
    std::replace(slots.begin(), slots.end(), id, PxlImageId{0});
}

bool addToFrameBreakTable(PxlImageId id) {
    std::lock_guard lock(frameBreakMutex);
    auto free = std::find(slots.begin(), slots.end(), PxlImageId{0});
    if (free == slots.end()) return false;
    *free = id;
    return true;
}

std::array<PxlImageId, kFrameBreakSlots> frameBreakSlots() {
    std::lock_guard lock(frameBreakMutex);
    return slots;
}

}  // namespace pixmill
