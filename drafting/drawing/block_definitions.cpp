#include "drawing/block_definitions.h"

namespace linework {
namespace {

// Fills scratch.order with the definitions in list order, each after every definition it
// inserts. The walk keeps its own stack (nesting read from a file can be deep) and marks
// definitions as it enters them, so an insert of a definition still open on the stack is a cycle
// and is passed over.
void NestedFirst(const Drawing& drawing, BlockWalkScratch& scratch) {
    using Mark = BlockWalkScratch::Mark;
    auto& marks = scratch.marks;
    auto& stack = scratch.stack;
    auto& order = scratch.order;
    marks.assign(drawing.blocks.End(), Mark::New);
    stack.clear();
    order.clear();
    ForEachBlock(drawing, [&](BlockHandle root) {
        if (marks[root] != Mark::New) return;
        marks[root] = Mark::Open;
        stack.push_back({root, drawing.Block(root).head});
        while (!stack.empty()) {
            auto& frame = stack.back();
            if (frame.at == 0) {
                marks[frame.block] = Mark::Done;
                order.push_back(frame.block);
                stack.pop_back();
                continue;
            }
            BlockHandle inserted = InsertedBlock(drawing, drawing[frame.at]);
            frame.at = drawing[frame.at].Next();
            if (inserted != 0 && marks[inserted] == Mark::New) {
                marks[inserted] = Mark::Open;
                stack.push_back({inserted, drawing.Block(inserted).head});
            }
        }
    });
}

}  // namespace

BlockHandle FindBlockDef(const Drawing& drawing, std::string_view name) {
    for (BlockHandle at = drawing.blockHead; at != 0; at = drawing.Block(at).next) {
        if (drawing.Block(at).name == name) return at;
    }
    return 0;
}

BlockHandle InsertedBlock(const Drawing& drawing, const EntityRecord& record) {
    if (record.Kind() != EntityKind::BlockInsert) return 0;
    BlockHandle block = record.Load<uint32_t>(entity_field::kBlock);
    return drawing.blocks.Holds(block) ? block : 0;
}

bool BlockUsesBlock(const Drawing& drawing, std::string_view name, BlockHandle block) {
    std::vector<bool> seen(drawing.blocks.End(), false);
    std::vector<BlockHandle> pending{block};
    seen[block] = true;
    while (!pending.empty()) {
        const BlockDef& definition = drawing.Block(pending.back());
        pending.pop_back();
        if (definition.name == name) return true;
        ForEachEntity(drawing, definition.head, [&](EntityHandle member) {
            BlockHandle inserted = InsertedBlock(drawing, drawing[member]);
            if (inserted != 0 && !seen[inserted]) {
                seen[inserted] = true;
                pending.push_back(inserted);
            }
        });
    }
    return false;
}

void OrderBlockDefinitions(Drawing& drawing) {
    BlockWalkScratch scratch;
    NestedFirst(drawing, scratch);
    BlockHandle next = 0;
    for (auto at = scratch.order.rbegin(); at != scratch.order.rend(); ++at) {
        drawing.Block(*at).next = next;
        next = *at;
    }
    drawing.blockHead = next;
}

const std::vector<uint64_t>& CountAllBlockEntities(const Drawing& drawing, BlockWalkScratch& scratch) {
    // Nested definitions come first, so an insert's count is known when it is met; one that is
    // not (a cycle) counts 0.
    NestedFirst(drawing, scratch);
    auto& counts = scratch.counts;
    counts.assign(drawing.blocks.End(), 0);
    for (BlockHandle block : scratch.order) {
        uint64_t count = 0;
        ForEachEntity(drawing, drawing.Block(block).head, [&](EntityHandle member) {
            const EntityRecord& record = drawing[member];
            count += record.Kind() == EntityKind::BlockInsert ? counts[InsertedBlock(drawing, record)] : 1;
        });
        counts[block] = count;
    }
    return counts;
}

uint64_t CountBlockEntities(const Drawing& drawing, BlockHandle block) {
    BlockWalkScratch scratch;
    return CountAllBlockEntities(drawing, scratch)[block];
}

}  // namespace linework
