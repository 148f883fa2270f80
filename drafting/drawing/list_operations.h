// Whole-list operations: reordering the drawing list, removing duplicates, freeing the list,
// and the block-definition list's purge and rename.
#ifndef LINEWORK_DRAWING_LIST_OPERATIONS_H
#define LINEWORK_DRAWING_LIST_OPERATIONS_H

#include <array>
#include <cstdint>
#include <string_view>

#include "drawing/entity_adders.h"

namespace linework {

// Moves the entities that match 'filter' to the head of the drawing list in reverse order:
// 0 every entity (the list is reversed), -1 the selected ones, 1..15 those of that kind number
// (the high nibble of the kind byte). After an addition or an explosion pending deletions are
// committed first, since their undo could no longer find its entities.
void MoveEntitiesToListHead(AdderContext& context, int32_t filter);

// Which comparisons a duplicate must pass beside byte-equal data of the same kind.
struct DuplicateTests {
    bool flags = true;   // the kind-and-flags byte but its selection bits
    bool layer = true;
    bool colour = true;
    bool width = true;
};
// Commits pending deletions, then for each selected entity frees the later entities of the list
// that duplicate it. The number freed.
int DeleteDuplicateEntities(AdderContext& context, const DuplicateTests& tests);

// Frees the whole drawing list. Nothing of it can be undone, so the undo code becomes 0; every
// reference into the list (picked, under the cursor, current, walk position) is cleared.
void KillDrawingList(AdderContext& context);

// Commits pending deletions, then frees, in rounds until a round frees nothing, every block
// definition (every one, or with a name only those so named) that no insert of the drawing list
// names and no other definition uses. The number freed.
int PurgeUnusedBlocks(AdderContext& context, std::string_view name);

// Renames the definition 'from'; false, nothing changed, when there is none of that name or
// 'to' is empty, longer than 255 characters or taken. Inserts name definitions by handle, so
// they keep showing the renamed one.
bool RenameBlockDef(Drawing& drawing, std::string_view from, std::string_view to);

}  // namespace linework

#endif
