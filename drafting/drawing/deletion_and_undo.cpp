#include "drawing/deletion_and_undo.h"

#include "drawing/layer_table.h"

namespace linework {
namespace {

constexpr uint16_t kProtectedImageFlag = 0x0400;
constexpr int kDraw = 0;
constexpr int kErase = 1;

uint8_t Flags(const EntityRecord& record) { return record.KindAndFlags(); }
void SetFlags(EntityRecord& record, uint8_t flags) { record.SetByte(entity_field::kKindAndFlags, flags); }

// Unlinks and frees every record of the drawing list that 'take' names.
template <class Take>
void FreeWhere(Drawing& drawing, Take take) {
    EntityHandle previous = 0;
    EntityHandle at = drawing.head;
    while (at != 0) {
        EntityHandle next = drawing[at].Next();
        if (take(drawing[at])) {
            if (previous == 0) {
                drawing.head = next;
            } else {
                drawing[previous].SetNext(next);
            }
            FreeEntity(drawing, at);
        } else {
            previous = at;
        }
        at = next;
    }
}

bool IsPendingDeletionCode(uint8_t code) {
    return code == undo_code::kErase || code == undo_code::kEraseNewest || code == undo_code::kExplode;
}

}  // namespace

bool IsProtectedImage(const EntityRecord& record) {
    return record.Kind() == EntityKind::RasterImage &&
           (record.Load<uint16_t>(entity_field::kImageFlags) & kProtectedImageFlag) != 0;
}

void FreeErasedEntities(Drawing& drawing) {
    FreeWhere(drawing, [](const EntityRecord& record) { return record.Erased(); });
}

void CommitPendingDeletes(AdderContext& context) {
    if (IsPendingDeletionCode(context.undo.LastOperation())) FreeErasedEntities(context.drawing);
    context.undo.Forget();
}

void RestoreErasedEntities(AdderContext& context) {
    Drawing& drawing = context.drawing;
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
        EntityRecord& record = drawing[at];
        if (!record.Erased()) return;
        SetFlags(record, static_cast<uint8_t>(Flags(record) & ~entity_flag::kErased));
        context.draw.DrawEntity(drawing, record, kDraw);
    });
    context.undo.Forget();
}

void EraseNewestAdditions(AdderContext& context, bool remove) {
    Drawing& drawing = context.drawing;
    const EntityHandle stop = drawing.walkPosition;
    // The walk position may have left the list (a record freed or moved since): then nothing of
    // the list is taken for an addition rather than all of it.
    bool stopInList = stop == 0;
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) { stopInList = stopInList || at == stop; });
    if (!stopInList) return;
    if (remove) {
        while (drawing.head != stop) {
            if (!drawing[drawing.head].Erased()) context.draw.DrawEntity(drawing, drawing[drawing.head], kErase);
            DeleteFirstEntity(drawing);
        }
        return;
    }
    for (EntityHandle at = drawing.head; at != stop; at = drawing[at].Next()) {
        EntityRecord& record = drawing[at];
        if (record.Erased()) continue;
        context.draw.DrawEntity(drawing, record, kErase);
        SetFlags(record, static_cast<uint8_t>(Flags(record) | entity_flag::kErased));
    }
}

NewestErased EraseNewestEntity(AdderContext& context) {
    CommitPendingDeletes(context);
    Drawing& drawing = context.drawing;
    LayerTable layers(context.variables);
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next()) {
        EntityRecord& record = drawing[at];
        if (record.Erased() || layers.Has(record.Layer(), layer_flag::kInactive) || IsProtectedImage(record)) continue;
        context.draw.DrawEntity(drawing, record, kErase);
        SetFlags(record, static_cast<uint8_t>(Flags(record) | entity_flag::kErased));
        context.undo.SetUndoOperation(undo_code::kEraseNewest);
        return at == drawing.head ? NewestErased::Head : NewestErased::Other;
    }
    return NewestErased::None;
}

void EraseSelection(AdderContext& context) {
    CommitPendingDeletes(context);
    Drawing& drawing = context.drawing;
    constexpr uint8_t kBothSelectionBits = entity_flag::kSelected | entity_flag::kPreviousSelection;
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
        EntityRecord& record = drawing[at];
        if ((Flags(record) & entity_flag::kSelected) == 0) return;
        uint8_t flags = static_cast<uint8_t>(Flags(record) & ~kBothSelectionBits);
        if (!IsProtectedImage(record)) {
            context.draw.DrawEntity(drawing, record, kErase);
            flags |= entity_flag::kErased;
        }
        SetFlags(record, flags);
    });
    context.undo.SetUndoOperation(undo_code::kErase);
}

bool UndoLastOperation(AdderContext& context, SelectionEdits& edits) {
    const uint8_t code = context.undo.LastOperation();
    if (code >= undo_code::kAttributeDefinition && code <= undo_code::kLastAdding) {
        EraseNewestAdditions(context, false);
        context.undo.SetUndoOperation(undo_code::kErase);
    } else if (code == undo_code::kErase || code == undo_code::kEraseNewest) {
        RestoreErasedEntities(context);
    } else if (code == undo_code::kExplode) {
        EraseNewestAdditions(context, true);
        RestoreErasedEntities(context);
    } else if (code >= undo_code::kBlock && code <= undo_code::kStretch) {
        edits.UndoEdit(code);
    } else {
        return false;
    }
    return true;
}

SelectionEdits& NoSelectionEdits() {
    static SelectionEdits none;
    return none;
}

}  // namespace linework
