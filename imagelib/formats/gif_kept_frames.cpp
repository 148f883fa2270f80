#include "formats/gif_kept_frames.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace pixmill {

int64_t KeptGifFrames::systemClock() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int64_t KeptGifFrames::now() const {
    std::lock_guard hold(lock_);
    return clock_();
}

KeptGifFrames::Clock KeptGifFrames::setClock(Clock clock) {
    std::lock_guard hold(lock_);
    return std::exchange(clock_, clock);
}

GifFrameIndex KeptGifFrames::take(const std::string& path, int64_t offset) {
    std::lock_guard hold(lock_);
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& e) { return e.offset == offset && e.path == path; });
    if (found == entries_.end()) return {};
    GifFrameIndex index = std::move(found->index);
    entries_.erase(found);
    return index;
}

bool KeptGifFrames::worthKeeping(const GifFrameIndex& index, int64_t lentAt) const {
    return index.complete() && index.frameCount() <= kMostFrames && index.file().changedNs <= lentAt - kSettleNs;
}

void KeptGifFrames::giveBack(const std::string& path, int64_t offset, GifFrameIndex index, int64_t lentAt) {
    if (!worthKeeping(index, lentAt)) return;
    std::lock_guard hold(lock_);
    // Another load of the same picture may have given its index back meanwhile: the later wins.
    std::erase_if(entries_, [&](const Entry& e) { return e.offset == offset && e.path == path; });
    if (entries_.size() == kMostKept) entries_.pop_back();
    entries_.insert(entries_.begin(), Entry{path, offset, std::move(index)});
}

void KeptGifFrames::clear() {
    std::lock_guard hold(lock_);
    entries_.clear();
}

bool KeptGifFrames::holds(const std::string& path, int64_t offset) const {
    std::lock_guard hold(lock_);
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.offset == offset && e.path == path; });
}

size_t KeptGifFrames::count() const {
    std::lock_guard hold(lock_);
    return entries_.size();
}

// Made on first use and never destroyed, like the library's other state: shut-down empties it and
// may run after the static destructors.
KeptGifFrames& keptGifFrames() {
    static KeptGifFrames* const store = new KeptGifFrames;
    return *store;
}

BorrowedGifFrames::BorrowedGifFrames(const char* path, int64_t offset, KeptGifFrames& store)
    : store_(store), path_(path), offset_(offset), lentAt_(store.now()), index_(store.take(path_, offset)) {}

BorrowedGifFrames::~BorrowedGifFrames() { store_.giveBack(path_, offset_, std::move(index_), lentAt_); }

}  // namespace pixmill
