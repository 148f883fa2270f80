#include "page/object_array.h"

#include <algorithm>

#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: page objects");

}  // namespace

PageObject* ObjectArray::Lock(int i) {
    if (i == -1) i = 0;
    if (!Contains(i)) return nullptr;
    ++locks_;
    cursor_ = i;
    return &records_[static_cast<size_t>(i)];
}

void ObjectArray::Unlock() {
    if (locks_ == 0) return refuse.log("unlocked more often than locked");
    if (--locks_ == 0) cursor_ = -1;
}

void ObjectArray::SetCursor(int i) {
    if (i == -1) i = 0;
    cursor_ = Contains(i) ? i : -1;
}

uint16_t ObjectArray::SortedPlace(int32_t y, int16_t x) const {
    // The first that does not lie before: a page whose objects moved since their last sorting
    // still gets each new object at the same place.
    const auto at = std::find_if(records_.begin(), records_.end(), [&](const PageObject& o) { return !PlacedBefore(o, y, x); });
    return static_cast<uint16_t>(at - records_.begin());
}

bool ObjectArray::Insert(uint16_t at, const PageObject& record) {
    if (locks_) return refuse(false, "the records are locked and may not move");
    if (Count() >= kMaxObjects) return refuse(false, "the page holds as many objects as its text lists can");
    records_.insert(records_.begin() + std::min<size_t>(at, records_.size()), record);
    return true;
}

bool ObjectArray::Erase(uint16_t at) {
    if (locks_) return refuse(false, "the records are locked and may not move");
    if (at >= Count()) return refuse(false, "no such object");
    records_.erase(records_.begin() + at);
    return true;
}

void ObjectArray::Move(uint16_t from, uint16_t to) {
    if (from >= Count() || to >= Count() || from == to) return;
    const auto first = records_.begin();
    if (from < to) {
        std::rotate(first + from, first + from + 1, first + to + 1);
    } else {
        std::rotate(first + to, first + from, first + from + 1);
    }
}

void ObjectArray::Clear() {
    records_.clear();
    locks_ = 0;
    cursor_ = -1;
}

}  // namespace lect32
