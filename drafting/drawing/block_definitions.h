// Look-ups over the block-definition list. Definitions read from a file may insert each other in
// a cycle; every walk here visits a definition once, so a cycle ends the walk instead of running
// without end (a cyclic insert counts no entities).
#ifndef LINEWORK_DRAWING_BLOCK_DEFINITIONS_H
#define LINEWORK_DRAWING_BLOCK_DEFINITIONS_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "drawing/drawing.h"

namespace linework {

// The first definition in list order whose name equals 'name' exactly (case counts); 0 if none.
BlockHandle FindBlockDef(const Drawing& drawing, std::string_view name);

// Whether the definition is named 'name' or inserts, at any depth, a definition so named: an
// insert of 'name' into it would make a block contain itself.
bool BlockUsesBlock(const Drawing& drawing, std::string_view name, BlockHandle block);

// The definition an insert names, or 0 when the record is no insert or names none.
BlockHandle InsertedBlock(const Drawing& drawing, const EntityRecord& record);

// Relinks the definition list so that every definition stands behind all it inserts: the list is
// walked from its head and each definition is put after those it inserts, depth first (a cycle is
// cut where the walk meets it). Definitions can then be written or rebuilt in list order.
void OrderBlockDefinitions(Drawing& drawing);

// The working storage of the walks over all definitions. A caller that walks often (the
// statistics, after every command) keeps one, so a walk allocates only when the drawing has more
// definitions than at the walk before.
struct BlockWalkScratch {
    enum class Mark : uint8_t { New, Open, Done };
    struct Frame {
        BlockHandle block;
        EntityHandle at;  // the next member to look at
    };
    std::vector<Mark> marks;
    std::vector<Frame> stack;
    std::vector<BlockHandle> order;  // nested definitions first
    std::vector<uint64_t> counts;
};

// Entities of every definition, each insert counted as the entities of the definition it names,
// indexed by block handle (0 for a handle that holds no definition). The counts live in
// 'scratch' until its next use.
const std::vector<uint64_t>& CountAllBlockEntities(const Drawing& drawing, BlockWalkScratch& scratch);
uint64_t CountBlockEntities(const Drawing& drawing, BlockHandle block);

}  // namespace linework

#endif
