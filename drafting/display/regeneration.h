// Regeneration: the whole drawing drawn anew into the paint box, through an off-screen bitmap
// when double buffering is on, over the background and its backdrop picture.
//
// With the foreground cache on, an insert of the empty block "$LK_FG" divides the drawing list:
// the older entities behind it are drawn once into a cached bitmap, and each regeneration copies
// that bitmap and draws only the newer entities in front of the mark. The cache is rebuilt when
// the view changed and whenever what it shows would differ: it keeps a digest of the view, the
// paint box, the background, the layer table and the bytes of every entity behind the mark, so an
// entity edited, erased or added there shows at the next regeneration as it would without the
// cache. No entity is ever moved or left out.
#ifndef LINEWORK_DISPLAY_REGENERATION_H
#define LINEWORK_DISPLAY_REGENERATION_H

#include <cstddef>
#include <cstdint>
#include <functional>

#include "display/display_modes.h"
#include "display/kind_renderers.h"
#include "drawing/drawing.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "winforms/bitmap.h"
#include "winforms/canvas.h"

namespace linework {

inline constexpr std::string_view kForegroundMarkName = "$LK_FG";

// The first insert of the list (not erased) of an empty block named "$LK_FG"; 0 if none.
EntityHandle FindForegroundMark(const Drawing& drawing);

struct RegenerationOptions {
    bool doubleBuffer = true;
    bool foregroundCache = false;
    bool drawingOn = true;
    int backdropMode = 0;
};

struct RegenerationResult {
    bool drawn = false;      // false while suspended: the regeneration is pending
    bool fromCache = false;  // the background came from the cache
    size_t entities = 0;     // entities handed to the painter
};

class Regenerator {
public:
    Regenerator(const ViewState& view, const LayerTable& layers, const DisplaySettings& settings,
                KindRenderers renderers);

    RegenerationOptions options;
    DisplayModes modes;
    // While suspended a regeneration only marks itself pending.
    bool suspended = false;
    bool pending = false;

    // Draws the drawing on 'target' (the paint box's canvas) of 'box' pixels. 'viewChanged'
    // forces the cache to be rebuilt. 'finish' draws what goes over the drawing (the grid, the
    // overlay as it stands) before the picture reaches the screen, so a paint clipped to part
    // of the paint box leaves the screen as one picture.
    RegenerationResult Regenerate(winforms::Canvas& target, SIZE box, const Drawing& drawing, COLORREF background,
                                  const winforms::Bitmap* backdrop, bool viewChanged,
                                  const std::function<void(winforms::Canvas&)>& finish = {});
    void ForgetCache() { cacheValid_ = false; }

private:
    size_t DrawRun(winforms::Canvas& canvas, const Drawing& drawing, EntityHandle from, EntityHandle stop);
    uint64_t BackgroundDigest(SIZE box, const Drawing& drawing, EntityHandle mark, COLORREF background) const;

    const ViewState& view_;
    const LayerTable& layers_;
    const DisplaySettings& settings_;
    KindRenderers renderers_;
    winforms::Bitmap buffer_;
    winforms::Bitmap cache_;
    uint64_t cacheDigest_ = 0;
    bool cacheValid_ = false;
};

}  // namespace linework

#endif
