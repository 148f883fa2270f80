// The selection bits of the drawing list's entities, set and cleared outside a selection pass.
#ifndef LINEWORK_DRAWING_SELECTION_MARKS_H
#define LINEWORK_DRAWING_SELECTION_MARKS_H

#include "drawing/entity_adders.h"

namespace linework {

// Every selected entity loses its selected bit and is drawn again; with 'keepAsPrevious' it gets
// the previous-selection bit, and an unselected one loses that bit.
void ClearSelection(AdderContext& context, bool keepAsPrevious);
// The number of selected entities of the drawing list.
int CountSelected(const Drawing& drawing);

}  // namespace linework

#endif
