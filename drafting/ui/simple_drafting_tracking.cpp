// The cursor tracking as the command steps drive it: the step on top tells the tracker what to
// draw (the rubber band and its style, the pick box), the tracked cursor moves the step's rubber
// band and the selection window's method, and the steps' requests (erase the bands, track again,
// the markers of what they entered, the drag preview) reach the tracker.
#include "drawing/entity_views.h"
#include "ui/simple_drafting.h"

namespace linework {

void SimpleDrafting::SyncTrackedStep(TrackedStep& step) const {
    const CommandStack& stack = commands_.Stack();
    const bool active = stack.Active();
    const CommandState& top = stack.Top();
    const bool selecting = active && top.kind == command_kind::kObjectSelection;
    const int method = selection_.Method();
    step.waitingForSecondPoint = active && (top.step >= 1 || top.windowButtonDown || top.cornerPending);
    step.rectangle = top.option5 != 0 && !top.windowButtonDown;
    step.dotted = selecting && (method == selection_method::kCrossing || method == selection_method::kFence);
    step.pickSelection = selecting && method == selection_method::kPick;
    step.viewCommand = active && command_kind::IsViewCommand(top.kind);
    step.scaleDrag = active && top.kind == command_kind::kScale && top.step >= 1 && top.option5 == 0;
    step.selecting = selecting;
    step.selectionText = selecting ? selection_.ReadoutText() : std::string();
    step.reference = top.reference;
    step.first = top.first;
}

// Before the band is drawn: the step's band end follows, and a dragged selection window takes
// the method of the drag's direction, which may change the band's style.
void SimpleDrafting::CursorMoved(Point world, TrackedStep& step) {
    commands_.MoveCursor(world);
    commands_.FollowDragWithWindowMethod(world);
    SyncTrackedStep(step);
}

Point SimpleDrafting::TrackedPointAt(int x, int y) {
    const Point raw{view_.ScreenToWorldX(x), view_.ScreenToWorldY(y)};
    if (pan_.Running() || regenerating_ || paintBox_.Width() <= 0 || paintBox_.Height() <= 0) return raw;
    TrackMouseAt(x, y, false);
    return tracker_.World();
}

void SimpleDrafting::DrawPointMarker(Point at, COLORREF colour) {
    if (paintBox_.Width() <= 0 || paintBox_.Height() <= 0) return;
    constexpr int kHalf = 3;
    const int x = view_.WorldToScreenX(at.x), y = view_.WorldToScreenY(at.y);
    winforms::Canvas& canvas = paintBox_.GetCanvas();
    // The cross-hair passes through the point: it goes while the marker is drawn, so that
    // removing it later inverts exactly what it inverted.
    const bool cursorShown = tracker_.Shown().cursor;
    BindTrackerCanvas();
    tracker_.DrawCursor(false);
    canvas.GetPen().SetMode(winforms::PenMode::Copy);
    canvas.GetPen().SetStyle(winforms::PenStyle::Solid);
    canvas.GetPen().SetWidth(1);
    canvas.GetPen().SetColor(colour);
    canvas.MoveTo(x, y - kHalf);
    canvas.LineTo(x, y + kHalf + 1);
    canvas.MoveTo(x - kHalf, y);
    canvas.LineTo(x + kHalf + 1, y);
    if (cursorShown) tracker_.DrawCursor(true);
}

// The end of a tracked move: when the drag preview gave up because the mouse moved on, that move
// is taken off the queue and handled now, so the preview starts again from the new position and
// never lags behind the mouse. Only a move known to wait is taken (a look into an empty queue
// would let time pass), and a move handled here does not pump again.
void SimpleDrafting::PumpPending() {
    if (!pumpAllowed_ || pumping_ || !movePending_) return;
    movePending_ = false;
    pumping_ = true;
    MSG message{};
    if (PeekMessageA(&message, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) DispatchMessageA(&message);
    pumping_ = false;
}

// The canvas of the paint box as it is now: the one a paint lent the tracker is gone once the
// paint ends, and drawing through it would land clipped to that paint's region.
bool SimpleDrafting::BindTrackerCanvas() {
    if (paintBox_.Width() <= 0 || paintBox_.Height() <= 0) {
        tracker_.SetCanvas(nullptr, {0, 0});
        return false;
    }
    tracker_.SetCanvas(&paintBox_.GetCanvas(), {paintBox_.Width(), paintBox_.Height()});
    return true;
}

void SimpleDrafting::EraseRubberBands() {
    BindTrackerCanvas();
    tracker_.DrawRubberBand(false);
}

void SimpleDrafting::PurgeSnapMarkers() {
    BindTrackerCanvas();
    tracker_.PurgeSnapMarkers();
    constructions_.clear();
}

// The segment a polyline step has just added meets the lines entered before it: the crossings
// become temporary markers to snap to.
void SimpleDrafting::AddSnapMarkersOf(const Drawing& drawing, EntityHandle entity) {
    if (!drawing.entities.Holds(entity) || drawing[entity].Kind() != EntityKind::Polyline) return;
    const PolylineView line(drawing[entity]);
    const int vertices = line.VertexCount();
    if (vertices < 2) return;
    const CursorTracker::Construction current{false, line.Vertex(vertices - 2), line.Vertex(vertices - 1)};
    SyncTrackedStep(tracker_.step);
    BindTrackerCanvas();
    tracker_.AddSnapMarkersOfList(constructions_, current);
    constructions_.push_back(current);
}

void SimpleDrafting::TrackCursor() {
    const POINT at = tracker_.Pixel();
    if (regenerating_ || at.x < 0 || at.y < 0 || !BindTrackerCanvas()) return;
    SyncTrackedStep(tracker_.step);
    tracker_.HandleMouseMove(at, true);
}

// The selected entities follow the drag from the base point: turned for a rotation, scaled for
// a scale, moved otherwise.
void SimpleDrafting::StartSelectionPreview(Point base) {
    EndSelectionPreview();
    preview_ = std::make_unique<DragPreview>(view_, layers_, settings_, Renderers());
    preview_->base = base;
    const uint8_t kind = commands_.Stack().Top().kind;
    preview_->kind = kind == command_kind::kRotate  ? PreviewKind::Rotate
                     : kind == command_kind::kScale ? PreviewKind::Scale
                                                    : PreviewKind::Move;
    ForEachEntity(drawing_, drawing_.head, [&](EntityHandle entity) {
        const EntityRecord& record = drawing_[entity];
        if (!record.Erased() && (record.KindAndFlags() & entity_flag::kSelected) != 0) preview_->entities.push_back(entity);
    });
    tracker_.preview = preview_.get();
}

void SimpleDrafting::EndSelectionPreview() {
    if (!preview_) return;
    if (BindTrackerCanvas()) preview_->Erase(paintBox_.GetCanvas(), drawing_, tracker_.overlay.overlayColour);
    tracker_.preview = nullptr;
    preview_.reset();
}

}  // namespace linework
