#include "drawing/selection_marks.h"

namespace linework {

void ClearSelection(AdderContext& context, bool keepAsPrevious) {
    Drawing& drawing = context.drawing;
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
        EntityRecord& record = drawing[at];
        uint8_t flags = record.KindAndFlags();
        const bool selected = (flags & entity_flag::kSelected) != 0;
        if (selected) flags = static_cast<uint8_t>(flags & ~entity_flag::kSelected);
        if (keepAsPrevious) {
            flags = selected ? static_cast<uint8_t>(flags | entity_flag::kPreviousSelection)
                             : static_cast<uint8_t>(flags & ~entity_flag::kPreviousSelection);
        }
        record.SetByte(entity_field::kKindAndFlags, flags);
        if (selected) context.draw.DrawEntity(drawing, record, 0);
    });
}

int CountSelected(const Drawing& drawing) {
    int count = 0;
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
        if (drawing[at].KindAndFlags() & entity_flag::kSelected) ++count;
    });
    return count;
}

}  // namespace linework
