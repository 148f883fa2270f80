// A drawing's entity records by handle. A record taken in is copied into the table's arena, so
// the records of a list made one after another lie side by side in memory; the slot of a handle
// holds the record's place and size. Freeing a record gives its room back to the arena.
#ifndef LINEWORK_DRAWING_ENTITY_TABLE_H
#define LINEWORK_DRAWING_ENTITY_TABLE_H

#include <cstdint>
#include <span>

#include "drawing/entity_arena.h"
#include "drawing/entity_record.h"
#include "drawing/handle_table.h"

namespace linework {

using EntityHandle = uint32_t;

class EntityTable {
public:
    // The handle of a copy of the record, or 0 when the record is empty or the arena has no room.
    EntityHandle Add(const EntityRecord& record);
    // The same for bytes that form one whole record (the caller has checked EntityRecordSize):
    // a reader places its work record's bytes without making a record of its own first.
    EntityHandle AddBytes(std::span<const uint8_t> bytes);
    // Puts a copy of 'record' in the place of the one the handle names, keeping the handle and
    // the old record's next link, and gives the old room back; false, the old record kept, when
    // the record is empty or there is no room.
    bool Replace(EntityHandle handle, const EntityRecord& record);
    bool Holds(EntityHandle handle) const { return slots_.Holds(handle); }
    // A handle that holds nothing is a fault of our own code and stops here. A record assigned
    // through the reference owns its bytes, and the room of the one it replaced stays lent until
    // the table dies: Replace is the way to change a record's size.
    EntityRecord& operator[](EntityHandle handle) { return slots_[handle]; }
    const EntityRecord& operator[](EntityHandle handle) const { return slots_[handle]; }
    void Free(EntityHandle handle);
    // One past the largest handle given out.
    EntityHandle End() const { return slots_.End(); }
    const EntityArena& Arena() const { return arena_; }

private:
    // A copy of the record in room of the arena; empty when there is none.
    EntityRecord Place(const EntityRecord& record);

    // Declared first, so it outlives the records in it.
    EntityArena arena_;
    HandleTable<EntityRecord> slots_;
};

}  // namespace linework

#endif
