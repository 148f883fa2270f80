// A drawing in memory: its entity records, the drawing list (newest first), the block
// definitions with their own entity lists, and the row-offset tables of raster images.
//
// Records link to each other through 32-bit handles, which is what their next fields hold; a
// handle is a slot number, 0 is none. A freed slot is reused by a later record. The
// records' bytes lie in the drawing's own arena (EntityTable), in the order they were added.
#ifndef LINEWORK_DRAWING_DRAWING_H
#define LINEWORK_DRAWING_DRAWING_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/entity_record.h"
#include "drawing/entity_table.h"
#include "drawing/handle_table.h"
#include "drawing/geometry.h"

namespace linework {

using BlockHandle = uint32_t;
using RowTableHandle = uint32_t;

struct BlockDef {
    BlockHandle next = 0;
    EntityHandle head = 0;  // the block's entities; attribute definitions stand first
    Point base;
    std::string name;  // cp1250, at most 255 characters
};

using RowTable = std::vector<uint32_t>;

struct Drawing {
    EntityTable entities;  // the records, their bytes in the drawing's arena
    HandleTable<std::unique_ptr<BlockDef>> blocks;
    HandleTable<std::unique_ptr<RowTable>> rowTables;
    EntityHandle head = 0;       // the drawing list
    BlockHandle blockHead = 0;   // the block-definition list
    EntityHandle picked = 0;     // the picked entity
    EntityHandle current = 0;    // the scripts' current entity (the entity commands walk it)
    EntityHandle underCursor = 0;
    // Where the entities of the last adding operation end: the head the list had before them.
    EntityHandle walkPosition = 0;
    bool memoryError = false;    // an adder found no memory; loops that add stop at it

    EntityRecord& operator[](EntityHandle handle) { return entities[handle]; }
    const EntityRecord& operator[](EntityHandle handle) const { return entities[handle]; }
    BlockDef& Block(BlockHandle handle) { return *blocks[handle]; }
    const BlockDef& Block(BlockHandle handle) const { return *blocks[handle]; }
};

// Calls visit(handle) for each record of the list from 'head', in list order; the visit may not
// free the record it is given.
template <class Visit>
void ForEachEntity(const Drawing& drawing, EntityHandle head, Visit&& visit) {
    for (EntityHandle at = head; at != 0; at = drawing[at].Next()) visit(at);
}
template <class Visit>
void ForEachBlock(const Drawing& drawing, Visit&& visit) {
    for (BlockHandle at = drawing.blockHead; at != 0; at = drawing.Block(at).next) visit(at);
}

// Links a copy of the record at the head of the drawing list; 0 and the memory-error flag when
// the record is empty (its memory was not there) or the drawing has no room for it.
EntityHandle PushEntity(Drawing& drawing, EntityRecord record);
// Appends the record at the tail of the block's list; 0 as PushEntity.
EntityHandle AppendToBlock(Drawing& drawing, BlockHandle block, EntityRecord record);
// Puts the record in the place of the entity, which keeps its handle, its place in its list and
// the references that name it (an edit that changes a record's size); false and the memory-error
// flag, the entity unchanged, when the record is empty or there is no room for it.
bool ReplaceEntity(Drawing& drawing, EntityHandle entity, EntityRecord record);
// A new definition at the head of the block-definition list.
BlockHandle AddBlockDef(Drawing& drawing, std::string name, Point base);
// Gives a raster image record its row-offset table.
void AttachRowTable(Drawing& drawing, EntityRecord& image, RowTable table);

// Frees the record, with the row-offset table of an image read from a PCX file, and clears the
// picked, under-the-cursor and current references that name it; a walk position that names it
// moves on to its successor (the mark stays where it was in the list). The record must be
// unlinked already.
void FreeEntity(Drawing& drawing, EntityHandle entity);
// Frees every record of the list and leaves the head 0.
void FreeEntityList(Drawing& drawing, EntityHandle& head);
// Unlinks the first record of the drawing list and frees it.
void DeleteFirstEntity(Drawing& drawing);
// Unlinks the block from the definition list, frees its entities, then the definition.
void FreeBlockDef(Drawing& drawing, BlockHandle block);
// Frees every entity and block definition: the drawing is empty.
void ClearDrawing(Drawing& drawing);
// Unlinks the entity from the drawing list (after 'predecessor', or at the head when that is 0)
// and appends it to the block's list; with block 0 the entity is freed.
void MoveEntityToBlock(Drawing& drawing, EntityHandle entity, EntityHandle predecessor, BlockHandle block);

}  // namespace linework

#endif
