#include "ui/simple_drafting.h"

#include <algorithm>

#include "display/entity_painter.h"
#include "script/system_variables.h"
#include "ui/view_stepping.h"

namespace linework {

SimpleDrafting::SimpleDrafting(winforms::PaintBox& paintBox, SystemVariableImage& image, Drawing& drawing,
                               CommandSurface& surface, const NumberGrammar& grammar)
    : paintBox_(paintBox),
      image_(image),
      drawing_(drawing),
      layers_(image),
      view_(image),
      adders_{drawing, image, undo_, NoDrawing(), {}, {}, 0},
      selection_(drawing, image, surface, [this] { return view_.GetViewTransform().scale; },
                 [this](EntityHandle) { paintBox_.Invalidate(); }),
      commands_(CommandPorts{surface, *this, quietCursor_, selection_, quietEdits_, adders_, grammar}) {}

void SimpleDrafting::AcceptPointAt(int x, int y, winforms::MouseButton button, bool alt) {
    if (button == winforms::MouseButton::Left) {
        commands_.AcceptPoint({view_.ScreenToWorldX(x), view_.ScreenToWorldY(y)}, alt);
    } else if (button == winforms::MouseButton::Right) {
        commands_.EndStep();
    }
    // What a step added is drawn with the next paint.
    paintBox_.Invalidate();
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

void SimpleDrafting::UpdateViewTransform() {
    view_.UpdateViewTransform({winforms::Screen::Width(), winforms::Screen::Height()},
                              {paintBox_.Width(), paintBox_.Height()}, layers_, ranges_);
}

void SimpleDrafting::SetView(const ViewTransform& view) {
    view_.PushViewHistory();
    if (!view_.SetViewTransform(view)) return;
    UpdateViewTransform();
    RegenerateDrawing();
}

void SimpleDrafting::ZoomByFactor(double factor) {
    if (!(factor > 0) || !view_.ZoomAllowed(factor)) return;
    ViewTransform view = view_.GetViewTransform();
    // The paint box's centre stays where it is.
    const double cx = view.originX + paintBox_.Width() * view.scale / 2;
    const double cy = view.originY + paintBox_.Height() * view.scale / 2;
    view.scale /= factor;
    view.originX = cx - paintBox_.Width() * view.scale / 2;
    view.originY = cy - paintBox_.Height() * view.scale / 2;
    SetView(view);
}

void SimpleDrafting::PanByScreenFraction(double dx, double dy) {
    ViewTransform view = view_.GetViewTransform();
    view.originX += dx * paintBox_.Width() * view.scale;
    view.originY += dy * paintBox_.Height() * view.scale;
    SetView(view);
}

void SimpleDrafting::ZoomExtents() {
    if (drawing_.head == 0) return;
    EntityPainter painter(nullptr, view_, layers_, settings_, KindRenderers::AllOf(placeholders_));
    painter.modes.noScreenOutput = true;
    painter.modes.collectExtents = true;
    ForEachEntity(drawing_, drawing_.head, [&](EntityHandle at) { painter.DrawEntityIfShown(drawing_[at], 0, at); });
    const Box& box = painter.extents;
    if (!(box.x2 >= box.x1) || !(box.y2 >= box.y1)) return;
    const double w = std::max(1, paintBox_.Width() - 1);
    const double h = std::max(1, paintBox_.Height() - 1);
    ViewTransform view = view_.GetViewTransform();
    view.scale = std::max({(box.x2 - box.x1) / w, (box.y2 - box.y1) / h, 1e-9}) * 1.05;
    view.originX = (box.x1 + box.x2) / 2 - w * view.scale / 2;
    view.originY = (box.y1 + box.y2) / 2 - h * view.scale / 2;
    SetView(view);
}

void SimpleDrafting::PreviousView() {
    if (StepViewHistory(1)) return;
}

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
    SetView(*stored);
}

void SimpleDrafting::PaintBackground() {
    winforms::Canvas& canvas = paintBox_.GetCanvas();
    canvas.GetBrush().SetColor(Background());
    canvas.FillRect({0, 0, paintBox_.Width(), paintBox_.Height()});
}

void SimpleDrafting::RegenerateDrawing() {
    if (regenerating_ || paintBox_.Width() <= 0 || paintBox_.Height() <= 0) return;
    regenerating_ = true;
    PaintBackground();
    EntityPainter painter(&paintBox_.GetCanvas(), view_, layers_, settings_, KindRenderers::AllOf(placeholders_));
    ForEachEntity(drawing_, drawing_.head, [&](EntityHandle at) { painter.DrawEntityIfShown(drawing_[at], 0, at); });
    regenerating_ = false;
}

}  // namespace linework
