#include "store/picture_use_tally.h"

#include <algorithm>

#include "store/file_name_table.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: picture use tally");

uint16_t raised(uint16_t uses) { return uses == 0xFFFF ? uses : static_cast<uint16_t>(uses + 1); }

}  // namespace

void PictureUseTally::ResetCounted() {
    for (int n = 0; n < count_; ++n) entries_[static_cast<size_t>(n)].counted = 0;
}

PictureUseTally::Entry* PictureUseTally::FindOrAppend(uint16_t index, uint8_t type, uint16_t recorded) {
    Entry* const end = entries_.data() + count_;
    Entry* found = std::find_if(entries_.data(), end, [&](const Entry& e) { return e.type == type && e.index == index; });
    if (found != end) return found;
    if (count_ == kCapacity) return refuse(nullptr, "the tally holds 100 files already");
    entries_[static_cast<size_t>(count_)] = Entry{type, index, recorded, 0};
    return &entries_[static_cast<size_t>(count_++)];
}

bool PictureUseTally::AddRecorded(uint16_t index, uint8_t type) {
    Entry* entry = FindOrAppend(index, type, 0);
    if (!entry) return false;
    entry->recorded = raised(entry->recorded);
    return true;
}

bool PictureUseTally::AddCounted(uint16_t index, bool present, uint8_t type) {
    Entry* entry = FindOrAppend(index, type, present ? 1 : 0);
    if (!entry) return false;
    entry->counted = raised(entry->counted);
    return true;
}

int PictureUseTally::Commit(FileNameTable& pictures) {
    int changed = 0;
    for (int n = 0; n < count_; ++n) {
        Entry& entry = entries_[static_cast<size_t>(n)];
        if (entry.counted == entry.recorded) continue;
        if (entry.type == kPictureType) pictures.ChangeUses(entry.index, int{entry.counted} - int{entry.recorded});
        entry.recorded = entry.counted;
        changed = 1;
    }
    RemoveUnused();
    return changed;
}

void PictureUseTally::RemoveUnused() {
    Entry* const end = entries_.data() + count_;
    Entry* kept = std::remove_if(entries_.data(), end, [](const Entry& e) { return e.recorded == 0; });
    count_ = static_cast<int>(kept - entries_.data());
}

}  // namespace lect32
