#include "display/drag_preview.h"

#include <cmath>

#include "display/entity_painter.h"
#include "display/overlay.h"
#include "drawing/angles.h"
#include "drawing/entity_geometry.h"

namespace linework {

DragPreview::DragPreview(const ViewState& view, const LayerTable& layers, const DisplaySettings& settings,
                         KindRenderers renderers)
    : view_(view), layers_(layers), settings_(settings), renderers_(renderers) {}

void DragPreview::Transform(EntityRecord& record) const {
    if (kind == PreviewKind::Move) return MoveEntity(record, drag_.x, drag_.y);
    const double length = std::hypot(drag_.x, drag_.y);
    const double angle = DirectionAngle(drag_.x, drag_.y);
    const double c = std::cos(angle), s = std::sin(angle);
    ForEachPointOffset(record, [&](size_t offset) {
        const double x = record.Double(offset) - base.x, y = record.Double(offset + 8) - base.y;
        if (kind == PreviewKind::Rotate) {
            record.SetDouble(offset, base.x + x * c - y * s);
            record.SetDouble(offset + 8, base.y + x * s + y * c);
        } else {
            record.SetDouble(offset, base.x + x * length);
            record.SetDouble(offset + 8, base.y + y * length);
        }
    });
}

size_t DragPreview::DrawFirst(winforms::Canvas& canvas, const Drawing& drawing, COLORREF colour, size_t count,
                              const std::function<bool()>* interrupted) {
    BeginOverlay(canvas, colour);
    EntityPainter painter(&canvas, view_, layers_, settings_, renderers_);
    painter.modes.dragDrawing = true;
    painter.modes.keepPen = true;
    painter.modes.showWidths = false;
    size_t done = 0;
    for (; done < count && done < entities.size(); ++done) {
        if (interrupted && done % kPreviewInterruptStride == 0 && done != 0 && (*interrupted)()) break;
        const EntityHandle handle = entities[done];
        if (!drawing.entities.Holds(handle)) continue;
        EntityRecord copy = EntityRecord::FromBytes(drawing[handle].Bytes());
        if (!copy) continue;
        Transform(copy);
        painter.DrawEntityIfShown(copy, 0, handle);
    }
    RestoreNormalPen(canvas);
    return done;
}

size_t DragPreview::Draw(winforms::Canvas& canvas, const Drawing& drawing, COLORREF colour, Point drag,
                         const std::function<bool()>& interrupted) {
    drag_ = drag;
    drawn_ = DrawFirst(canvas, drawing, colour, entities.size(), &interrupted);
    shown_ = true;
    return drawn_;
}

void DragPreview::Erase(winforms::Canvas& canvas, const Drawing& drawing, COLORREF colour) {
    if (!shown_) return;
    DrawFirst(canvas, drawing, colour, drawn_, nullptr);
    shown_ = false;
    drawn_ = 0;
}

void DragPreview::Replay(winforms::Canvas& canvas, const Drawing& drawing, COLORREF colour) {
    if (shown_) DrawFirst(canvas, drawing, colour, drawn_, nullptr);
}

}  // namespace linework
