#include "drawing/list_operations.h"

#include <algorithm>
#include <vector>

#include "drawing/block_definitions.h"
#include "drawing/deletion_and_undo.h"

namespace linework {
namespace {

constexpr size_t kMaxBlockName = 255;

bool Matches(const EntityRecord& record, int32_t filter) {
    if (filter == 0) return true;
    if (filter == -1) return (record.KindAndFlags() & entity_flag::kSelected) != 0;
    return filter >= 1 && filter <= 15 && (record.KindAndFlags() >> 4) == filter;
}

bool Duplicates(const EntityRecord& a, const EntityRecord& b, const DuplicateTests& tests) {
    if (a.Kind() != b.Kind() || a.Size() != b.Size()) return false;
    // The selection bits tell nothing of the entity itself: the one compared is always selected.
    constexpr uint8_t kOwnFlags = static_cast<uint8_t>(~(entity_flag::kSelected | entity_flag::kPreviousSelection));
    if (tests.flags && (a.KindAndFlags() & kOwnFlags) != (b.KindAndFlags() & kOwnFlags)) return false;
    if (tests.layer && a.Layer() != b.Layer()) return false;
    if (tests.colour && a.Colour() != b.Colour()) return false;
    if (tests.width && a.Width() != b.Width()) return false;
    auto da = a.Bytes().subspan(kEntityHeadSize);
    auto db = b.Bytes().subspan(kEntityHeadSize);
    return std::equal(da.begin(), da.end(), db.begin(), db.end());
}

bool Referenced(const Drawing& drawing, BlockHandle block) {
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next())
        if (InsertedBlock(drawing, drawing[at]) == block) return true;
    bool used = false;
    const std::string& name = drawing.Block(block).name;
    ForEachBlock(drawing, [&](BlockHandle other) {
        used = used || (other != block && BlockUsesBlock(drawing, name, other));
    });
    return used;
}

}  // namespace

void MoveEntitiesToListHead(AdderContext& context, int32_t filter) {
    const uint8_t code = context.undo.LastOperation();
    if ((code >= undo_code::kAttributeDefinition && code <= undo_code::kLastAdding) || code == undo_code::kExplode)
        CommitPendingDeletes(context);
    Drawing& drawing = context.drawing;
    if (drawing.head == 0) return;
    EntityHandle previous = drawing.head;
    EntityHandle at = drawing[previous].Next();
    while (at != 0) {
        EntityHandle next = drawing[at].Next();
        if (Matches(drawing[at], filter)) {
            drawing[previous].SetNext(next);
            drawing[at].SetNext(drawing.head);
            drawing.head = at;
        } else {
            previous = at;
        }
        at = next;
    }
}

int DeleteDuplicateEntities(AdderContext& context, const DuplicateTests& tests) {
    CommitPendingDeletes(context);
    Drawing& drawing = context.drawing;
    int freed = 0;
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next()) {
        if ((drawing[at].KindAndFlags() & entity_flag::kSelected) == 0) continue;
        EntityHandle previous = at;
        EntityHandle later = drawing[at].Next();
        while (later != 0) {
            EntityHandle next = drawing[later].Next();
            if (Duplicates(drawing[at], drawing[later], tests)) {
                drawing[previous].SetNext(next);
                FreeEntity(drawing, later);
                ++freed;
            } else {
                previous = later;
            }
            later = next;
        }
    }
    return freed;
}

void KillDrawingList(AdderContext& context) {
    Drawing& drawing = context.drawing;
    FreeEntityList(drawing, drawing.head);
    drawing.picked = drawing.underCursor = drawing.current = drawing.walkPosition = 0;
    context.undo.Forget();
    context.undo.SetModified(true);
}

int PurgeUnusedBlocks(AdderContext& context, std::string_view name) {
    CommitPendingDeletes(context);
    Drawing& drawing = context.drawing;
    int freed = 0;
    for (bool again = true; again;) {
        again = false;
        std::vector<BlockHandle> unused;
        ForEachBlock(drawing, [&](BlockHandle block) {
            if ((name.empty() || drawing.Block(block).name == name) && !Referenced(drawing, block))
                unused.push_back(block);
        });
        // Freeing a definition never puts another in use, so a round frees all it found; it may
        // leave ones unused that only the freed used, which the next round finds.
        for (BlockHandle block : unused) FreeBlockDef(drawing, block);
        freed += static_cast<int>(unused.size());
        again = !unused.empty();
    }
    return freed;
}

bool RenameBlockDef(Drawing& drawing, std::string_view from, std::string_view to) {
    BlockHandle block = FindBlockDef(drawing, from);
    if (block == 0 || to.empty() || to.size() > kMaxBlockName || FindBlockDef(drawing, to) != 0) return false;
    drawing.Block(block).name = std::string(to);
    return true;
}

}  // namespace linework
