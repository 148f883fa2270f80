#include "drawing/entity_table.h"

#include <algorithm>

namespace linework {

EntityRecord EntityTable::Place(const EntityRecord& record) {
    if (!record) return {};
    std::span<uint8_t> room = arena_.Take(record.Size());
    if (room.empty()) return {};
    EntityRecord placed(room, record.Size());
    std::ranges::copy(record.Bytes(), placed.Bytes().begin());
    return placed;
}

EntityHandle EntityTable::Add(const EntityRecord& record) {
    EntityRecord placed = Place(record);
    if (!placed) return 0;
    return slots_.Add(std::move(placed));
}

EntityHandle EntityTable::AddBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() < kEntityHeadSize) return 0;
    std::span<uint8_t> room = arena_.Take(bytes.size());
    if (room.empty()) return 0;
    EntityRecord placed(room, bytes.size());
    std::ranges::copy(bytes, placed.Bytes().begin());
    return slots_.Add(std::move(placed));
}

bool EntityTable::Replace(EntityHandle handle, const EntityRecord& record) {
    EntityRecord& old = slots_[handle];
    EntityRecord placed = Place(record);
    if (!placed) return false;
    placed.SetNext(old.Next());
    std::span<uint8_t> room = old.Room();
    old = std::move(placed);
    arena_.Give(room);
    return true;
}

void EntityTable::Free(EntityHandle handle) {
    std::span<uint8_t> room = slots_[handle].Room();
    slots_.Free(handle);
    arena_.Give(room);
}

}  // namespace linework
