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

// Entities of every definition, each insert counted as the entities of the definition it names,
// indexed by block handle (0 for a handle that holds no definition).
std::vector<uint64_t> CountAllBlockEntities(const Drawing& drawing);
uint64_t CountBlockEntities(const Drawing& drawing, BlockHandle block);

}  // namespace linework

#endif
