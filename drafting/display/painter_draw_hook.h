// The draw hook of the drawing layer over an entity painter: what an adder or an edit has drawn
// goes to the painter's canvas as the display switches say, mode 1 erasing.
#ifndef LINEWORK_DISPLAY_PAINTER_DRAW_HOOK_H
#define LINEWORK_DISPLAY_PAINTER_DRAW_HOOK_H

#include "display/entity_painter.h"
#include "drawing/entity_draw_hook.h"

namespace linework {

class PainterDrawHook : public EntityDrawHook {
public:
    explicit PainterDrawHook(EntityPainter& painter) : painter_(painter) {}
    void DrawEntity(const Drawing& /*drawing*/, const EntityRecord& record, int mode) override {
        painter_.DrawEntityIfShown(record, mode);
    }

private:
    EntityPainter& painter_;
};

}  // namespace linework

#endif
