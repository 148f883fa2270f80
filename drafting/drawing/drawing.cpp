#include "drawing/drawing.h"

namespace linework {
namespace {

// A raster image whose source nibble is 0 was read from a PCX file and owns a row-offset table.
bool OwnsRowTable(const EntityRecord& record) {
    return record.Kind() == EntityKind::RasterImage && (record.Load<uint16_t>(entity_field::kImageFlags) & 0xF0) == 0;
}

EntityHandle Tail(const Drawing& drawing, EntityHandle head) {
    EntityHandle tail = 0;
    ForEachEntity(drawing, head, [&](EntityHandle at) { tail = at; });
    return tail;
}

void LinkAtTail(Drawing& drawing, EntityHandle& head, EntityHandle entity) {
    drawing[entity].SetNext(0);
    EntityHandle tail = Tail(drawing, head);
    if (tail == 0) {
        head = entity;
    } else {
        drawing[tail].SetNext(entity);
    }
}

}  // namespace

EntityHandle PushEntity(Drawing& drawing, EntityRecord record) {
    EntityHandle entity = drawing.entities.Add(record);
    if (entity == 0) {
        drawing.memoryError = true;
        return 0;
    }
    drawing[entity].SetNext(drawing.head);
    drawing.head = entity;
    return entity;
}

EntityHandle AppendToBlock(Drawing& drawing, BlockHandle block, EntityRecord record) {
    EntityHandle entity = drawing.entities.Add(record);
    if (entity == 0) {
        drawing.memoryError = true;
        return 0;
    }
    LinkAtTail(drawing, drawing.Block(block).head, entity);
    return entity;
}

bool ReplaceEntity(Drawing& drawing, EntityHandle entity, EntityRecord record) {
    if (drawing.entities.Replace(entity, record)) return true;
    drawing.memoryError = true;
    return false;
}

BlockHandle AddBlockDef(Drawing& drawing, std::string name, Point base) {
    auto block = std::make_unique<BlockDef>();
    block->next = drawing.blockHead;
    block->base = base;
    block->name = std::move(name);
    drawing.blockHead = drawing.blocks.Add(std::move(block));
    return drawing.blockHead;
}

void AttachRowTable(Drawing& drawing, EntityRecord& image, RowTable table) {
    image.Store<uint32_t>(entity_field::kRowTable, drawing.rowTables.Add(std::make_unique<RowTable>(std::move(table))));
}

void FreeEntity(Drawing& drawing, EntityHandle entity) {
    const EntityRecord& record = drawing[entity];
    if (OwnsRowTable(record)) {
        RowTableHandle table = record.Load<uint32_t>(entity_field::kRowTable);
        if (drawing.rowTables.Holds(table)) drawing.rowTables.Free(table);
    }
    if (drawing.picked == entity) drawing.picked = 0;
    if (drawing.current == entity) drawing.current = 0;
    if (drawing.underCursor == entity) drawing.underCursor = 0;
    if (drawing.walkPosition == entity) drawing.walkPosition = record.Next();
    drawing.entities.Free(entity);
}

void FreeEntityList(Drawing& drawing, EntityHandle& head) {
    while (head != 0) {
        EntityHandle entity = head;
        head = drawing[entity].Next();
        FreeEntity(drawing, entity);
    }
}

void DeleteFirstEntity(Drawing& drawing) {
    if (drawing.head == 0) return;
    EntityHandle first = drawing.head;
    drawing.head = drawing[first].Next();
    FreeEntity(drawing, first);
}

void FreeBlockDef(Drawing& drawing, BlockHandle block) {
    if (drawing.blockHead == block) {
        drawing.blockHead = drawing.Block(block).next;
    } else {
        ForEachBlock(drawing, [&](BlockHandle at) {
            if (drawing.Block(at).next == block) drawing.Block(at).next = drawing.Block(block).next;
        });
    }
    FreeEntityList(drawing, drawing.Block(block).head);
    drawing.blocks.Free(block);
}

void ClearDrawing(Drawing& drawing) {
    FreeEntityList(drawing, drawing.head);
    while (drawing.blockHead != 0) FreeBlockDef(drawing, drawing.blockHead);
    drawing.walkPosition = 0;
    drawing.memoryError = false;
}

void MoveEntityToBlock(Drawing& drawing, EntityHandle entity, EntityHandle predecessor, BlockHandle block) {
    EntityHandle after = drawing[entity].Next();
    if (predecessor == 0) {
        drawing.head = after;
    } else {
        drawing[predecessor].SetNext(after);
    }
    if (block == 0) {
        FreeEntity(drawing, entity);
    } else {
        LinkAtTail(drawing, drawing.Block(block).head, entity);
    }
}

}  // namespace linework
