#include "core/frames/frame_break.h"

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

bool requestFrameBreak(PxlImageId id) {
    std::lock_guard lock(frameBreakMutex);
    if (std::find(slots.begin(), slots.end(), id) != slots.end()) return true;
    auto free = std::find(slots.rbegin(), slots.rend(), PxlImageId{0});
    if (free == slots.rend()) return false;
    *free = id;
    return true;
}

bool frameBreakRequested(PxlImageId id) {
    std::lock_guard lock(frameBreakMutex);
    return std::find(slots.begin(), slots.end(), id) != slots.end();
}

}  // namespace pixmill
