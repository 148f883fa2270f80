#include "picture_table.h"

#include <algorithm>

namespace vexmill {

PictureTable& PictureTable::instance() {
    static PictureTable table;
    return table;
}

uint16_t PictureTable::add(std::shared_ptr<const Picture> picture) {
    std::lock_guard lock(mutex_);
    auto free = std::find(slots_.begin(), slots_.end(), nullptr);
    if (free == slots_.end()) {
        if (slots_.size() >= UINT16_MAX) return 0;
        free = slots_.insert(slots_.end(), nullptr);
    }
    *free = std::move(picture);
    return static_cast<uint16_t>(free - slots_.begin() + 1);
}

std::shared_ptr<const Picture> PictureTable::find(uint16_t id) const {
    std::lock_guard lock(mutex_);
    if (id == 0 || id > slots_.size()) return nullptr;
    return slots_[id - 1];
}

bool PictureTable::remove(uint16_t id) {
    std::lock_guard lock(mutex_);
    if (id == 0 || id > slots_.size() || !slots_[id - 1]) return false;
    slots_[id - 1].reset();
    // Trailing free slots go, so the table is as small as its highest id.
    while (!slots_.empty() && !slots_.back()) slots_.pop_back();
    return true;
}

}  // namespace vexmill
