#include "ui/drawing_selection.h"

namespace linework {

DrawingSelection::DrawingSelection(Drawing& drawing, SystemVariableImage& image, CommandSurface& surface,
                                   std::function<double()> scale, std::function<void(EntityHandle)> redraw)
    : drawing_(drawing),
      image_(image),
      surface_(surface),
      scale_(std::move(scale)),
      redraw_(std::move(redraw)),
      layers_(image),
      core_(drawing, layers_, static_cast<SelectionOutput&>(*this)) {}

void DrawingSelection::SetPickBoxAround(Point at) { core_.SetPickBox(at, scale_ ? scale_() : 1.0); }

bool DrawingSelection::SelectEntities() {
    CurrentProperties current(image_);
    core_.current = {static_cast<uint8_t>(current.Get(CurrentProperties::Layer)),
                     static_cast<uint8_t>(current.Get(CurrentProperties::Colour))};
    core_.pick.pixelSize = scale_ ? scale_() : 1.0;
    const int changed = core_.SelectEntities();
    // A replacing pick changes two entities and counts none: it still found one.
    const bool singleHit = core_.state.method == select_method::kPick || core_.state.method == select_method::kLast;
    return changed != 0 || (singleHit && core_.state.lastHit != 0);
}

void DrawingSelection::UnpickLast() {
    const EntityHandle picked = drawing_.picked;
    drawing_.picked = 0;
    if (picked == 0 || !drawing_.entities.Holds(picked)) return;
    EntityRecord& entity = drawing_[picked];
    if (entity.Erased()) return;
    const bool selected = (entity.KindAndFlags() & entity_flag::kSelected) != 0;
    entity.SetByte(entity_field::kKindAndFlags, static_cast<uint8_t>(entity.KindAndFlags() ^ entity_flag::kSelected));
    core_.AddToCount(selected ? -1 : 1);
    RedrawEntity(picked);
    core_.ShowSelectionCount();
}

}  // namespace linework
