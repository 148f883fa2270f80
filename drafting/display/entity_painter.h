// Entity drawing: the dispatcher that resolves an entity's pen from the entity or its layer and
// hands the entity to the routine of its kind, and the primitives every straight piece ends in.
// One painter serves the screen (a canvas), the printer (a canvas and the printing mode), extents
// measuring (no canvas, noScreenOutput and collectExtents) and exploding (pieces added to a
// drawing as line entities).
//
// This is the hot loop of a regeneration: the work per entity allocates nothing, entities outside
// the window cost comparisons only, and circles are tested by their box before they are
// flattened.
#ifndef LINEWORK_DISPLAY_ENTITY_PAINTER_H
#define LINEWORK_DISPLAY_ENTITY_PAINTER_H

#include <array>
#include <cstdint>
#include <string_view>

#include "display/arc_flattening.h"
#include "display/display_modes.h"
#include "display/kind_renderers.h"
#include "display/line_types.h"
#include "display/segment_clipping.h"
#include "drawing/drawing.h"
#include "drawing/entity_builders.h"
#include "drawing/entity_views.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "winforms/canvas.h"

namespace linework {

// Started empty: the minimum at the largest single, the maximum at its negative.
inline constexpr double kExtentsStart = 3.4028234663852886e38;

class EntityPainter {
public:
    // 'canvas' may be null when nothing is drawn on a screen (extents, exploding).
    EntityPainter(winforms::Canvas* canvas, const ViewState& view, const LayerTable& layers,
                  const DisplaySettings& settings, KindRenderers renderers);

    DisplayModes modes;
    Box extents{kExtentsStart, kExtentsStart, -kExtentsStart, -kExtentsStart};
    void ResetExtents() { extents = {kExtentsStart, kExtentsStart, -kExtentsStart, -kExtentsStart}; }

    // Takes the window and pixel limits of the view again (after a zoom, pan or resize).
    void ViewChanged();

    // Exploding: pieces become line entities at the head of 'drawing' with these head fields and
    // this style byte (the current properties the caller chose); a memory error there ends it.
    void SetExplodeTarget(Drawing* drawing, HeadFields head, uint8_t style);

    // Skipped when the display is off (and output goes to the screen), and in rotated views for
    // every kind but 3-D polylines; inserts go to the insert routine, the rest to DrawEntity.
    // 'handle' only names the entity in the debug output.
    void DrawEntityIfShown(const EntityRecord& entity, int mode = 0, EntityHandle handle = 0);
    // Mode 0 draws, mode 1 erases (draws in the background colour). Entities on hidden layers
    // (unless drawAllLayers), of line type 6, and with a coordinate that is not a finite number
    // are not drawn.
    void DrawEntity(const EntityRecord& entity, int mode = 0, EntityHandle handle = 0);
    // Polylines and arcs as plain line entities (one per segment) added to the explode target.
    void ExplodeToLines(const EntityRecord& entity);

    // The primitives, for the kind routines.
    void DrawPolyline(const PolylineView& polyline);
    void DrawClippedSegment(double x1, double y1, double x2, double y2);
    void DrawWorldSegment(bool explode, double x1, double y1, double x2, double y2);
    void DrawScreenLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void DrawPatternedLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // '.' one pixel; otherwise a cross of half-size 2 ('T'), 4 ('^') or 3 pixels; only for a point
    // inside the window.
    void DrawPointMarker(char marker, double x, double y);
    // Every segment of the points as one run of the dash pattern.
    void DrawVertexRun(std::span<const Point> points, bool explode);

    // The pen resolved for the entity being drawn.
    uint8_t CurrentColour() const { return colour_; }
    int CurrentWidth() const { return width_; }
    int CurrentLineType() const { return lineType_; }
    bool ThinSolid() const { return thinSolid_; }
    // Starts the dash pattern afresh at the next patterned piece.
    void RestartPattern() { patternRestart_ = true; }
    // World units per pixel of the output: the view's, or the printer's while printing.
    double PixelSize() const;
    const ClipWindow& Window() const { return window_; }
    const ViewState& View() const { return view_; }
    // The text drawn when textOverride is on.
    std::string_view overrideText;

private:
    bool ResolvePen(const EntityRecord& entity, int mode);
    int ResolveLineType(const EntityRecord& entity) const;
    void SetPenColour(COLORREF colour);
    void DrawArc(const ArcView& arc);
    void DrawPolyline3D(const Polyline3DView& polyline);
    void DrawPoint(const PolylineView& point);
    void DrawText(const TextFieldsView& text, std::string_view stored);
    void DrawReference(const ReferenceView& reference);
    void WidenExtents(double x, double y);
    void AddLine(double x1, double y1, double x2, double y2);
    bool ExplodeStopped() const { return explodeTarget_ && explodeTarget_->memoryError; }

    winforms::Canvas* canvas_;
    const ViewState& view_;
    const LayerTable& layers_;
    const DisplaySettings& settings_;
    KindRenderers renderers_;
    ClipWindow window_;

    uint8_t colour_ = 7;
    int width_ = 1;
    int lineType_ = 1;
    bool thinSolid_ = true;
    bool patternRestart_ = true;
    DashState dashes_;

    Drawing* explodeTarget_ = nullptr;
    HeadFields explodeHead_;
    uint8_t explodeStyle_ = 0;

    ArcPoints arcPoints_;
};

}  // namespace linework

#endif
