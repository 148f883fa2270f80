#include "display/cursor_tracker.h"

#include <cmath>

#include "display/display_messages.h"

#include "drawing/geometry.h"

namespace linework {

namespace {

// The mode whose snap points become markers instead of moving the cursor.
constexpr int kGatherMode = 12;

bool SameEnds(const CursorTracker::Construction& c) { return c.a == c.b; }
double RadiusOf(const CursorTracker::Construction& c) { return std::hypot(c.b.x - c.a.x, c.b.y - c.a.y); }

}  // namespace

CursorTracker::CursorTracker(const ViewState& view, TrackingHost& host) : view_(view), host_(host) {}

void CursorTracker::SetCanvas(winforms::Canvas* canvas, SIZE box) {
    canvas_ = canvas;
    box_ = box;
}

bool CursorTracker::SnapCursor(Point& world) {
    bool snapped = false;
    if (modes.gridSnap) {
        const ViewTransform& v = view_.GetViewTransform();
        GridSnapRequest request{grid.spacingX, grid.spacingY, {0, 0}, v.scale, overlay.minimumGridPitch};
        if (grid.relative) request.origin = {v.originX, v.originY};
        switch (SnapToGrid(world, request)) {
            case GridSnap::Snapped:
                snapped = true;
                break;
            case GridSnap::TooFine:
                modes.gridSnap = false;
                host_.ShowMessage(kGridTooFineMessage);
                host_.GridSnapSwitchedOff();
                break;
            case GridSnap::Off:
                break;
        }
    }
    const bool onObject = SnapToObject(world);
    snapped = snapped || onObject;
    world_ = world;
    const bool onMarker = !onObject && !markerSnapSuspended && SnapToNearestMarker();
    if (onMarker) {
        world = world_;
        snapped = true;
    }
    if (step.waitingForSecondPoint && !onMarker && !onObject) {
        if (modes.ortho) {
            world = OrthoSnap(world, step.reference);
            snapped = true;
        } else if (modes.angleSnap && modes.angleStep > 0) {
            world = AngleSnap(world, step.reference, modes.angleOrigin, modes.angleStep);
            snapped = true;
        }
    }
    return snapped;
}

// The entities under the pick box round the cursor: their snap point of the mode takes the
// cursor (modes 1..11), or their snap points become temporary markers (mode 12).
bool CursorTracker::SnapToObject(Point& world) {
    if (objectSnapMode_ <= 0 || step.viewCommand || drawing == nullptr || layers == nullptr) return false;
    const PickBox box{world, overlay.pickBoxHalf * view_.GetViewTransform().scale};
    if (objectSnapMode_ == kGatherMode) {
        for (Point p : SnapPointsUnder(*drawing, *layers, box)) AddSnapMarker(kObjectPointLabel, -1, p);
        return false;
    }
    const std::optional<Point> at = ObjectSnapPoint(objectSnapMode_, *drawing, *layers, box);
    if (!at) return false;
    world = *at;
    return true;
}

void CursorTracker::SetObjectSnapMode(int mode) {
    if (objectSnapMode_ == kGatherMode && mode != kGatherMode) PurgeSnapMarkers();
    objectSnapMode_ = mode;
}

void CursorTracker::SetSketching(bool on) {
    sketching = on;
    sketchPrevious_ = world_;
}

void CursorTracker::SetDrawingLimits(const DrawingLimits& limits) {
    const bool wasShown = limitsShown_;
    if (wasShown) DrawLimitsFrame();
    limits_ = limits;
    limitsShown_ = wasShown && limits_.shown;
    if (limitsShown_) DrawLimitsFrame();
}

// The frame at the place it has in the view now: drawn once shows it, twice removes it. Two
// corners that share a coordinate make a line.
void CursorTracker::DrawLimitsFrame() {
    if (!Drawable()) return;
    const POINT a{view_.WorldToScreenX(limits_.a.x), view_.WorldToScreenY(limits_.a.y)};
    const POINT b{view_.WorldToScreenX(limits_.b.x), view_.WorldToScreenY(limits_.b.y)};
    BeginOverlay(*canvas_, limits_.colour);
    canvas_->GetPen().SetStyle(winforms::PenStyle::Dot);
    if (limits_.a.x != limits_.b.x && limits_.a.y != limits_.b.y) {
        DrawBandRectangle(*canvas_, a, b);
    } else {
        DrawBandLine(*canvas_, a, b);
    }
    RestoreNormalPen(*canvas_);
}

void CursorTracker::HandleMouseMove(POINT at, bool forced) {
    Point world{view_.ScreenToWorldX(at.x), view_.ScreenToWorldY(at.y)};
    POINT pixel = at;
    if (SnapCursor(world)) pixel = {view_.WorldToScreenX(world.x), view_.WorldToScreenY(world.y)};
    world_ = world;
    if (pixel.x == pixel_.x && pixel.y == pixel_.y && !forced) return;
    DrawCursor(false);
    DrawRubberBand(false);
    if (preview && drawing && canvas_) preview->Erase(*canvas_, *drawing, overlay.overlayColour);
    if (sketching) host_.AddSketchSegment(sketchPrevious_, world_);
    pixel_ = pixel;
    DrawCursor(true);
    if (step.waitingForSecondPoint) {
        host_.CursorMoved(world_, step);
        step.rubberBandEnd = world_;
        DrawRubberBand(true);
        step.fromFirst = {world_.x - step.first.x, world_.y - step.first.y};
        step.fromReference = {world_.x - step.reference.x, world_.y - step.reference.y};
        if (preview && drawing && canvas_) {
            preview->Draw(*canvas_, *drawing, overlay.overlayColour, step.fromFirst,
                          [this] { return host_.PreviewInterrupted(); });
        }
    }
    ShowReadout();
    sketchPrevious_ = world_;
    host_.PumpPending();
}

void CursorTracker::DrawCursor(bool show) {
    if (!Drawable()) return;
    const bool pick = show && step.pickSelection;
    const bool aperture = show && objectSnapMode_ >= 1 && objectSnapMode_ <= 11 && !step.viewCommand;
    if (show && !shown_.cursor) cursorAt_ = pixel_;
    if (shown_.cursor != show) {
        BeginOverlay(*canvas_, overlay.cursorColour);
        DrawCrossHair(*canvas_, cursorAt_, box_.cx, box_.cy);
        shown_.cursor = show;
    }
    if (shown_.pickBox != pick) {
        BeginOverlay(*canvas_, overlay.overlayColour);
        DrawSquareAround(*canvas_, cursorAt_, overlay.pickBoxHalf);
        shown_.pickBox = pick;
    }
    if (shown_.aperture != aperture) {
        BeginOverlay(*canvas_, overlay.markerColour);
        DrawSquareAround(*canvas_, cursorAt_, overlay.apertureHalf);
        shown_.aperture = aperture;
    }
    RestoreNormalPen(*canvas_);
    if (limitsShown_ != (show && limits_.shown)) {
        DrawLimitsFrame();
        limitsShown_ = !limitsShown_;
    }
    if (show) ShowSnapMarkers(true);
}

void CursorTracker::DrawRubberBand(bool show) {
    if (!Drawable() || shown_.rubberBand == show) return;
    if (show) {
        if (!step.waitingForSecondPoint) return;
        bandFrom_ = {view_.WorldToScreenX(step.reference.x), view_.WorldToScreenY(step.reference.y)};
        bandTo_ = {view_.WorldToScreenX(step.rubberBandEnd.x), view_.WorldToScreenY(step.rubberBandEnd.y)};
        bandRectangle_ = step.rectangle && step.reference.x != step.rubberBandEnd.x &&
                         step.reference.y != step.rubberBandEnd.y;
        bandDotted_ = step.dotted;
    }
    BeginOverlay(*canvas_, overlay.overlayColour);
    if (bandDotted_) canvas_->GetPen().SetStyle(winforms::PenStyle::Dot);
    if (bandRectangle_) {
        DrawBandRectangle(*canvas_, bandFrom_, bandTo_);
    } else {
        DrawBandLine(*canvas_, bandFrom_, bandTo_);
    }
    RestoreNormalPen(*canvas_);
    shown_.rubberBand = show;
}

void CursorTracker::DrawOneMarker(const SnapMarker& marker) {
    BeginOverlay(*canvas_, overlay.markerColour);
    DrawMarkerFigure(*canvas_, {view_.WorldToScreenX(marker.at.x), view_.WorldToScreenY(marker.at.y)});
    RestoreNormalPen(*canvas_);
}

void CursorTracker::ShowSnapMarkers(bool show) {
    if (!Drawable() || shown_.markers == show) return;
    for (const SnapMarker& marker : markers_.Markers()) DrawOneMarker(marker);
    shown_.markers = show;
}

MarkerChange CursorTracker::AddSnapMarker(int32_t label, int32_t count, Point at, bool removal) {
    const MarkerChange change = markers_.Add(label, count, at, removal);
    if (Drawable() && shown_.markers && (change == MarkerChange::Added || change == MarkerChange::Removed)) {
        DrawOneMarker({count, label, at});
    }
    return change;
}

void CursorTracker::PurgeSnapMarkers() {
    const std::vector<SnapMarker> purged = markers_.PurgeTemporary();
    if (!Drawable() || !shown_.markers) return;
    for (const SnapMarker& marker : purged) DrawOneMarker(marker);
}

void CursorTracker::AddSnapMarkersOfList(const std::vector<Construction>& list, const Construction& current) {
    if (!step.waitingForSecondPoint || SameEnds(current)) return;
    for (const Construction& element : list) {
        if (SameEnds(element)) continue;
        if (!element.circle && !current.circle) {
            Point at;
            if (IntersectLines(element.a, element.b, current.a, current.b, kOnFirstSegment | kOnSecondSegment, at)) {
                AddSnapMarker(kLineLineLabel, -1, at);
            }
            continue;
        }
        Crossings crossings;
        int32_t label = kLineCircleLabel;
        if (element.circle && current.circle) {
            crossings = IntersectCircles(element.a, RadiusOf(element), current.a, RadiusOf(current));
            label = kCircleCircleLabel;
        } else {
            const Construction& line = element.circle ? current : element;
            const Construction& circle = element.circle ? element : current;
            crossings = IntersectLineCircle(line.a, line.b, circle.a, RadiusOf(circle), true);
        }
        for (int i = 0; i < crossings.count; ++i) AddSnapMarker(label, -1, crossings.points[static_cast<size_t>(i)]);
    }
}

bool CursorTracker::SnapToNearestMarker() {
    const double tolerance = overlay.snapApertureHalf * view_.GetViewTransform().scale * 2.0;
    const SnapMarker* nearest = markers_.Nearest(world_, tolerance);
    if (!nearest) {
        host_.ShowMarkerHint(0, false);
        return false;
    }
    world_ = nearest->at;
    host_.ShowMarkerHint(nearest->label, true);
    return true;
}

void CursorTracker::HideAll() {
    if (preview && drawing && canvas_) preview->Erase(*canvas_, *drawing, overlay.overlayColour);
    DrawRubberBand(false);
    DrawCursor(false);
    ShowSnapMarkers(false);
}

void CursorTracker::ForgetScreen() {
    shown_ = {};
    limitsShown_ = false;
    if (preview) preview->Forget();
}

void CursorTracker::ReplayShown(winforms::Canvas& canvas) {
    winforms::Canvas* screen = canvas_;
    const ShownMarks shown = shown_;
    canvas_ = &canvas;
    // Drawn from nothing to what is shown, each figure once.
    shown_ = {};
    if (shown.cursor || shown.pickBox || shown.aperture) {
        BeginOverlay(canvas, overlay.cursorColour);
        if (shown.cursor) DrawCrossHair(canvas, cursorAt_, box_.cx, box_.cy);
        BeginOverlay(canvas, overlay.overlayColour);
        if (shown.pickBox) DrawSquareAround(canvas, cursorAt_, overlay.pickBoxHalf);
        BeginOverlay(canvas, overlay.markerColour);
        if (shown.aperture) DrawSquareAround(canvas, cursorAt_, overlay.apertureHalf);
        RestoreNormalPen(canvas);
    }
    if (shown.rubberBand) {
        BeginOverlay(canvas, overlay.overlayColour);
        if (bandDotted_) canvas.GetPen().SetStyle(winforms::PenStyle::Dot);
        if (bandRectangle_) {
            DrawBandRectangle(canvas, bandFrom_, bandTo_);
        } else {
            DrawBandLine(canvas, bandFrom_, bandTo_);
        }
        RestoreNormalPen(canvas);
    }
    if (shown.markers) {
        for (const SnapMarker& marker : markers_.Markers()) DrawOneMarker(marker);
    }
    if (limitsShown_) DrawLimitsFrame();
    if (preview && drawing) preview->Replay(canvas, *drawing, overlay.overlayColour);
    shown_ = shown;
    canvas_ = screen;
}

std::string CursorTracker::Readout() const {
    ReadoutState state;
    state.selecting = step.selecting;
    state.selectionText = step.selectionText;
    state.scaleDrag = step.scaleDrag;
    state.scaleFactor = std::hypot(step.fromFirst.x, step.fromFirst.y);
    state.rubberBandShown = shown_.rubberBand;
    state.cursor = world_;
    state.reference = step.reference;
    state.userOrigin = userOrigin;
    return FormatReadout(state, readout);
}

void CursorTracker::ShowReadout() { host_.SetReadout(Readout()); }

}  // namespace linework
