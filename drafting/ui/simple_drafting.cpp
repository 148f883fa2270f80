#include "ui/simple_drafting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "display/backdrop.h"
#include "display/grid.h"
#include "display/tracking_settings.h"
#include "display/view_zoom.h"
#include "script/system_variables.h"
#include "ui/view_stepping.h"

namespace linework {

namespace {
// The world's limits: a view is never moved beyond them.
constexpr double kWorldLimit = 1e19;
constexpr int kGridSnapButton = 30;
}  // namespace

SimpleDrafting::SimpleDrafting(winforms::PaintBox& paintBox, SystemVariableImage& image, Drawing& drawing,
                               CommandSurface& surface, const NumberGrammar& grammar)
    : paintBox_(paintBox),
      image_(image),
      drawing_(drawing),
      layers_(image),
      view_(image),
      regenerator_(view_, layers_, settings_, KindRenderers::AllOf(placeholders_)),
      tracker_(view_, static_cast<TrackingHost&>(*this)),
      adders_{drawing, image, undo_, NoDrawing(), {}, {}, 0},
      selection_(drawing, image, surface, [this] { return view_.GetViewTransform().scale; },
                 [this](EntityHandle) { paintBox_.Invalidate(); }),
      commands_(CommandPorts{surface, *this, static_cast<CursorTracking&>(*this), selection_, quietEdits_, adders_,
                             grammar}) {
    WriteTrackingDefaults(image_);
    regenerator_.options.foregroundCache = true;
    tracker_.drawing = &drawing_;
    tracker_.layers = &layers_;
}

void SimpleDrafting::SetPanels(StatusPanelParts parts, ViewButtons buttons) {
    panelParts_ = std::move(parts);
    viewButtons_ = buttons;
    panelState_ = {};
}

// A click takes the point the cursor snapped to, as the user saw it, not the raw pixel.
void SimpleDrafting::AcceptPointAt(int x, int y, winforms::MouseButton button, bool alt) {
    const std::vector<uint8_t> headBefore = HeadBytes();
    if (button == winforms::MouseButton::Left) {
        const Point at = TrackedPointAt(x, y);
        if (hooks.acceptPoint) {
            hooks.acceptPoint(at, alt);
        } else {
            commands_.AcceptPoint(at, alt);
        }
    } else if (button == winforms::MouseButton::Right) {
        commands_.EndStep();
    }
    // What a step added (or took back) is drawn with the next paint; otherwise the picture stays,
    // with the point marker the click left.
    if (HeadBytes() != headBefore) paintBox_.Invalidate();
}

// The handle and bytes of the newest entity: a step that adds, replaces or takes back an entity
// changes them.
std::vector<uint8_t> SimpleDrafting::HeadBytes() const {
    std::span<const uint8_t> record;
    if (drawing_.head != 0 && drawing_.entities.Holds(drawing_.head)) record = drawing_[drawing_.head].Bytes();
    std::vector<uint8_t> bytes(sizeof(EntityHandle) + record.size());
    std::memcpy(bytes.data(), &drawing_.head, sizeof(EntityHandle));
    std::copy(record.begin(), record.end(), bytes.begin() + sizeof(EntityHandle));
    return bytes;
}

bool SimpleDrafting::ScaleAllowed(double scale) const {
    return scale > 0 && view_.ZoomAllowed(scale / view_.GetViewTransform().scale);
}

void SimpleDrafting::CentreViewOn(Point at) {
    ViewTransform view = view_.GetViewTransform();
    view.originX = at.x - paintBox_.Width() * view.scale / 2;
    view.originY = at.y - paintBox_.Height() * view.scale / 2;
    SetView(view);
}

COLORREF SimpleDrafting::Background() const {
    return static_cast<COLORREF>(image_.Integer(sysvar::kBackground)) & 0xFFFFFF;
}

void SimpleDrafting::Report(int message) {
    if (hooks.showMessage) hooks.showMessage(message);
}

void SimpleDrafting::UpdateViewTransform() {
    view_.UpdateViewTransform({winforms::Screen::Width(), winforms::Screen::Height()}, PaintBoxSize(), layers_, ranges_);
}

void SimpleDrafting::SetView(const ViewTransform& view) {
    if (!view_.SetViewTransform(view)) return;
    UpdateViewTransform();
    RegenerateDrawing();
}

void SimpleDrafting::ZoomByFactor(double factor) {
    const ZoomLimit limit = CheckZoomLimits(view_, factor);
    if (limit != ZoomLimit::Allowed) return Report(ZoomLimitMessage(limit));
    if (!pan_.Running()) view_.RememberCurrentView();
    SetView(ZoomedByFactor(view_.GetViewTransform(), factor, PaintBoxSize()));
}

void SimpleDrafting::PanByScreenFraction(double dx, double dy) {
    view_.RememberCurrentView();
    SetView(PannedByScreenFraction(view_.GetViewTransform(), dx, dy, PaintBoxSize()));
}

void SimpleDrafting::ZoomExtents() {
    const Box box = ComputeDrawingExtents(drawing_, drawing_.head, view_, layers_, settings_, Renderers());
    const std::optional<ViewTransform> shown = ExtentsView(view_.GetViewTransform(), box, PaintBoxSize());
    if (!shown) return Report(kEmptyDrawingMessage);
    view_.RememberCurrentView();
    SetView(*shown);
    if (hiddenEntityWarning && hooks.askQuestion && AnyEntityOnHiddenLayer(drawing_, drawing_.head, layers_)) {
        if (hooks.askQuestion(kHiddenEntitiesQuestion) == 2) hiddenEntityWarning = false;
    }
}

void SimpleDrafting::PreviousView() { StepViewHistory(1); }

bool SimpleDrafting::StepViewHistory(int step) {
    if (!view_.StepViewHistory(step)) return false;
    UpdateViewTransform();
    RegenerateDrawing();
    return true;
}

void SimpleDrafting::UseStoredView(int n) {
    std::optional<ViewTransform> stored = ReadView(image_, kCurrentViewDouble + 10 * n);
    if (!stored) return;
    storedView_ = n;
    view_.RememberCurrentView();
    SetView(*stored);
}

void SimpleDrafting::CentreViewOnCursor(bool movePointer) {
    // Taken now: the regeneration tracks the pointer again, at its place in the new view.
    const Point world = tracker_.World();
    ViewTransform centred = CentredOn(view_.GetViewTransform(), world, PaintBoxSize());
    const double width = PaintBoxSize().width * centred.scale, height = PaintBoxSize().height * centred.scale;
    centred.originX = std::clamp(centred.originX, -kWorldLimit, std::max(-kWorldLimit, kWorldLimit - width));
    centred.originY = std::clamp(centred.originY, -kWorldLimit, std::max(-kWorldLimit, kWorldLimit - height));
    view_.RememberCurrentView();
    SetView(centred);
    if (!movePointer) return;
    const POINT at = paintBox_.ClientToScreen({view_.WorldToScreenX(world.x), view_.WorldToScreenY(world.y)});
    SetCursorPos(at.x, at.y);
}

void SimpleDrafting::TrackMouse(int x, int y) { TrackMouseAt(x, y, true); }

void SimpleDrafting::TrackMouseAt(int x, int y, bool pump) {
    if (pan_.Running()) {
        pan_.Move(x - panFrom_.x, y - panFrom_.y, CtrlHeld());
        panFrom_ = {x, y};
        return;
    }
    if (regenerating_ || paintBox_.Width() <= 0 || paintBox_.Height() <= 0) return;
    ReadTrackingSettings(image_, hooks.angleUnit ? hooks.angleUnit() : 0, tracker_);
    SyncTrackedStep(tracker_.step);
    tracker_.SetCanvas(&paintBox_.GetCanvas(), {paintBox_.Width(), paintBox_.Height()});
    pumpAllowed_ = pump;
    tracker_.HandleMouseMove({x, y});
    pumpAllowed_ = false;
}

void SimpleDrafting::PaintBackground() {
    PaintBackdrop(paintBox_.GetCanvas(), {paintBox_.Width(), paintBox_.Height()}, Background(), &backdrop_,
                  regenerator_.options.backdropMode);
    tracker_.ForgetScreen();
}

void SimpleDrafting::RegenerateDrawing() {
    if (regenerating_ || paintBox_.Width() <= 0 || paintBox_.Height() <= 0) return;
    regenerating_ = true;
    RefreshPanels();
    winforms::Canvas& canvas = paintBox_.GetCanvas();
    const SIZE box{paintBox_.Width(), paintBox_.Height()};
    ReadTrackingSettings(image_, hooks.angleUnit ? hooks.angleUnit() : 0, tracker_);
    SyncTrackedStep(tracker_.step);
    // The grid and the overlay as it stands go into the new picture: a paint clipped to part of
    // the paint box keeps the overlay outside the clip, and it must match inside.
    const RegenerationResult result = regenerator_.Regenerate(
        canvas, box, drawing_, Background(), &backdrop_, view_.viewChanged, [this](winforms::Canvas& picture) {
            DrawGrid(picture, view_, tracker_.grid, tracker_.grid.colour, Background());
            tracker_.ReplayShown(picture);
        });
    if (result.drawn) {
        view_.viewChanged = false;
        tracker_.SetCanvas(&canvas, box);
        const POINT at = tracker_.Pixel();
        if (at.x >= 0 && at.y >= 0) tracker_.HandleMouseMove(at, true);
        // A paint lends its own canvas, which is gone when the paint ends: the tracker draws
        // nothing more through it (each later use takes the paint box's canvas anew).
        tracker_.SetCanvas(nullptr, box);
    }
    regenerating_ = false;
}

void SimpleDrafting::RefreshPanels() {
    RefreshStatusPanel(panelParts_, panelState_, image_, settings_.colours);
    RefreshViewButtons(viewButtons_, image_, view_.GetViewTransform());
}

void SimpleDrafting::GridSnapSwitchedOff() {
    image_.SetByte(tracking_var::kGridSnap, 0);
    if (hooks.releaseButton) hooks.releaseButton(kGridSnapButton);
}

void SimpleDrafting::ShowMarkerHint(int label, bool show) {
    paintBox_.SetShowHint(show);
    if (show && hooks.messageText) paintBox_.SetHint(hooks.messageText(label));
}

void SimpleDrafting::SetReadout(std::string_view text) {
    if (hooks.setReadout) hooks.setReadout(text);
}

bool SimpleDrafting::PreviewInterrupted() {
    if (GetAsyncKeyState(VK_CONTROL) < 0) return true;
    MSG message;
    movePending_ = PeekMessageA(&message, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE) != FALSE;
    return movePending_;
}

}  // namespace linework
