// The drag preview: the selected entities drawn in the overlay moved, turned or scaled by the
// drag, so the user sees where an edit would put them. A large selection takes long to draw, so
// the drawing gives up as soon as the mouse moves on or Ctrl is held, and counts what it drew:
// the erasing pass draws exactly those again, and the next drawing starts afresh from the new
// position, so the preview never lags behind the mouse.
#ifndef LINEWORK_DISPLAY_DRAG_PREVIEW_H
#define LINEWORK_DISPLAY_DRAG_PREVIEW_H

#include <cstddef>
#include <functional>
#include <vector>

#include "display/display_modes.h"
#include "display/kind_renderers.h"
#include "drawing/drawing.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "winforms/canvas.h"

namespace linework {

enum class PreviewKind { Move, Rotate, Scale };

// How often the drawing asks whether to give up: after every this many entities.
inline constexpr size_t kPreviewInterruptStride = 16;

class DragPreview {
public:
    DragPreview(const ViewState& view, const LayerTable& layers, const DisplaySettings& settings,
                KindRenderers renderers);

    PreviewKind kind = PreviewKind::Move;
    Point base;  // the command's first point: the rotation and scale centre
    std::vector<EntityHandle> entities;

    // Draws the entities with the drag vector (cursor minus the first point) until done or
    // 'interrupted' says to stop; what was drawn before must have been erased. The number drawn.
    size_t Draw(winforms::Canvas& canvas, const Drawing& drawing, COLORREF colour, Point drag,
                const std::function<bool()>& interrupted);
    // Draws again exactly what the last Draw drew, which removes it.
    void Erase(winforms::Canvas& canvas, const Drawing& drawing, COLORREF colour);
    // Draws what is shown on another canvas (a picture that replaces the screen's), the state
    // unchanged.
    void Replay(winforms::Canvas& canvas, const Drawing& drawing, COLORREF colour);
    size_t Drawn() const { return drawn_; }
    bool Shown() const { return shown_; }
    // Forgets what is on the screen (a background paint removed it).
    void Forget() { shown_ = false; drawn_ = 0; }

private:
    size_t DrawFirst(winforms::Canvas& canvas, const Drawing& drawing, COLORREF colour, size_t count,
                     const std::function<bool()>* interrupted);
    void Transform(EntityRecord& record) const;

    const ViewState& view_;
    const LayerTable& layers_;
    const DisplaySettings& settings_;
    KindRenderers renderers_;
    Point drag_;
    size_t drawn_ = 0;
    bool shown_ = false;
};

}  // namespace linework

#endif
