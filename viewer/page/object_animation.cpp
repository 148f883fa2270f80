// Animated pictures on a page: the animation record made when the object is prepared, and the
// frame steps of the page's animation timer.
#include <algorithm>
#include <vector>

#include "page/animation_record.h"
#include "page/page.h"
#include "pixmill/pixmill.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

// To the owner's parent: an animation is ready, run the animation timer.
constexpr UINT kAnimationPrepared = 9007;

}  // namespace

bool Page::PrepareAnimation(uint16_t i) {
    if (!objects_.Contains(i)) return false;
    const PageObject& o = objects_[i];
    if (!o.Is(ObjectKind::Picture) || o.active) return false;
    const uint16_t image = cachedImage(o.cacheIndex);
    if (!image) return false;
    const auto id = static_cast<PxlImageId>(image);
    const int16_t frames = PXLGetImageFramesNum(id);
    if (frames <= 1) return false;
    std::vector<int32_t> delays(static_cast<size_t>(frames), 0);
    const int16_t copied = PXLGetImageFramesDelay(id, delays.data(), frames);
    AnimationRecord record;
    record.delays.resize(static_cast<size_t>(frames), 0);
    for (int16_t n = 0; n < std::min(copied, frames); ++n) {
        record.delays[static_cast<size_t>(n)] = static_cast<uint16_t>(std::clamp<int32_t>(delays[static_cast<size_t>(n)], 0, 0xFFFF));
    }
    if (!SetSlot(i, Slot::Animation, record.Bytes())) return false;
    if (owner_) SendMessageA(GetParent(owner_), kAnimationPrepared, 0, 0);
    return true;
}

bool Page::AnimationTick() {
    bool running = false;
    for (uint16_t i = 0; i < GetCount(); ++i) {
        if (!objects_[i].Is(ObjectKind::Picture) || objects_[i].attribute < 0) continue;
        const std::vector<uint8_t> stored = CopySlot(i, Slot::Animation);
        if (stored.empty()) continue;
        std::optional<AnimationRecord> record = AnimationRecord::Parse(stored);
        if (!record || !record->Running()) continue;
        const bool moved = record->Tick();
        SetSlot(i, Slot::Animation, record->Bytes());
        if (moved) PaintAnimationFrame(i, static_cast<int16_t>(record->current));
        changed_ = true;
        running = true;
    }
    return running;
}

}  // namespace lect32
