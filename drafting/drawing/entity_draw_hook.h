// How the drawing layer has a new entity drawn without knowing the display: the display or the
// main form installs a hook; the default draws nothing (the batch runner, importers in tests).
#ifndef LINEWORK_DRAWING_ENTITY_DRAW_HOOK_H
#define LINEWORK_DRAWING_ENTITY_DRAW_HOOK_H

#include "drawing/drawing.h"

namespace linework {

class EntityDrawHook {
public:
    virtual ~EntityDrawHook() = default;
    // An entity just linked into the drawing list (or, with a reference, a transformed copy that
    // is drawn and dropped): draw it as the display switches say.
    virtual void DrawEntity(const Drawing& /*drawing*/, const EntityRecord& /*record*/, int /*mode*/) {}
    // The temporary overlay (rubber bands, markers) is to be cleared.
    virtual void ClearOverlay() {}
};

// The hook that draws nothing.
EntityDrawHook& NoDrawing();

}  // namespace linework

#endif
