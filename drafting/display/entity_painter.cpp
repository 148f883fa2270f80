#include "display/entity_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "drawing/entity_geometry.h"
#include "winplat/debug.h"

namespace linework {
namespace {

// Texts longer than this are cut when they are drawn.
constexpr size_t kMaxDrawnText = 127;

void SayNotFinite(const EntityRecord& entity, EntityHandle handle) {
    char line[128];
    std::snprintf(line, sizeof line,
                  "Linework: entity %u (kind 0x%02X, layer %u) is not drawn: a coordinate is not a finite number\n",
                  handle, entity.KindAndFlags() & 0xF0u, entity.Layer());
    OutputDebugStringA(line);
}

}  // namespace

EntityPainter::EntityPainter(winforms::Canvas* canvas, const ViewState& view, const LayerTable& layers,
                             const DisplaySettings& settings, KindRenderers renderers)
    : canvas_(canvas), view_(view), layers_(layers), settings_(settings), renderers_(renderers),
      window_(ClipWindow::Of(view)) {}

void EntityPainter::ViewChanged() { window_ = ClipWindow::Of(view_); }

void EntityPainter::SetExplodeTarget(Drawing* drawing, HeadFields head, uint8_t style) {
    explodeTarget_ = drawing;
    explodeHead_ = head;
    explodeStyle_ = style;
}

double EntityPainter::PixelSize() const {
    return modes.printing ? settings_.printerScale : view_.GetViewTransform().scale;
}

void EntityPainter::DrawEntityIfShown(const EntityRecord& entity, int mode, EntityHandle handle) {
    if (!modes.displayOn && !modes.noScreenOutput) return;
    // Rotated views show 3-D polylines only: the kind byte read as signed leaves out the kinds
    // from 0x80 on as well as those below 0x70.
    if (view_.ViewKind() != 0 && static_cast<int8_t>(entity.KindAndFlags()) < 0x70) return;
    if (entity.Erased()) return;
    if (entity.Kind() != EntityKind::BlockInsert) return DrawEntity(entity, mode, handle);
    if (!HasFiniteGeometry(entity)) return SayNotFinite(entity, handle);
    renderers_.insert->DrawBlockInsert(*this, false, InsertView(entity), mode);
}

void EntityPainter::DrawEntity(const EntityRecord& entity, int mode, EntityHandle handle) {
    if (layers_.Has(entity.Layer(), layer_flag::kNotDrawn) && !modes.drawAllLayers) return;
    if (!HasFiniteGeometry(entity)) return SayNotFinite(entity, handle);
    if (!modes.collectExtents && !ResolvePen(entity, mode)) return;
    visitEntity(entity, Overloaded{
        [&](const PolylineView& polyline) {
            if (polyline.Style() >= 8 && polyline.SegmentCount() >= 2) {
                renderers_.hatch->DrawHatchedPolyline(*this, false, polyline);
            } else if (!modes.collectExtents && polyline.EndSymbol() != 0 && polyline.SegmentCount() != 0) {
                renderers_.endSymbol->DrawEndSymbolPolyline(*this, false, polyline);
            } else {
                DrawPolyline(polyline);
            }
        },
        [&](const Polyline3DView& polyline) { DrawPolyline3D(polyline); },
        [&](const ArcView& arc) { DrawArc(arc); },
        [&](const TextView& text) { DrawText(text, text.Text()); },
        [&](const AttributeDefinitionView& attribute) { DrawText(attribute, attribute.Tag()); },
        [&](const DimensionView& dimension) { renderers_.dimension->DrawDimension(*this, false, dimension); },
        [&](const RasterImageView& image) {
            // The image's display bit 2 hides it while the drag overlay runs.
            if (modes.dragDrawing && (image.Display() & 0x04) != 0) return;
            renderers_.image->DrawRasterImage(*this, image, mode);
        },
        [&](const ReferenceView& reference) { DrawReference(reference); },
        [&](const EntityView&) {},  // inserts come through DrawEntityIfShown; other kinds draw nothing
    });
}

bool EntityPainter::ResolvePen(const EntityRecord& entity, int mode) {
    colour_ = EffectiveColour(entity, layers_, entity.Layer());
    if (modes.showWidths) {
        width_ = EffectiveWidth(entity, layers_, entity.Layer());
    } else if (modes.printing) {
        width_ = PrinterPenWidth(colour_, settings_.colours, settings_.printerPens);
    } else {
        width_ = 1;
    }
    width_ = std::max(width_, 1);  // a width of 0 draws as the one-pixel pen
    if (canvas_ && !modes.dragDrawing && !modes.keepPen) {
        const ColourTable& colours = settings_.colours;
        bool highlighted = (entity.KindAndFlags() & entity_flag::kSelected) != 0 && !modes.suppressHighlight &&
                           colours.highlight != colours.Background();
        SetPenColour(mode == 1 ? colours.Background() : highlighted ? colours.highlight : colours[colour_]);
    }
    if (canvas_ && canvas_->GetPen().Width() != width_) canvas_->GetPen().SetWidth(width_);
    lineType_ = ResolveLineType(entity);
    if (lineType_ == line_type::kInvisible) return false;
    thinSolid_ = width_ == 1 && lineType_ == line_type::kSolid;
    return true;
}

int EntityPainter::ResolveLineType(const EntityRecord& entity) const {
    int own = visitEntity(entity, Overloaded{
        [](const PolylineView& polyline) { return polyline.IsPoint() ? 1 : polyline.LineType() + 0; },
        [](const Polyline3DView& polyline) { return polyline.SegmentCount() == 0 ? 1 : polyline.LineType() + 0; },
        [](const ArcView& arc) { return arc.LineType() & 7; },
        [](const EntityView&) { return 1; },
    });
    int resolved = own != line_type::kByLayer ? own : static_cast<int>((layers_.Word(entity.Layer()) >> 16) & 7);
    // Type 7 has no pattern of its own and draws exactly as solid, last pixel included.
    return resolved == line_type::kNoPattern ? line_type::kSolid : resolved;
}

void EntityPainter::SetPenColour(COLORREF colour) {
    winforms::Pen& pen = canvas_->GetPen();
    if (pen.Color() != colour) pen.SetColor(colour);
}

void EntityPainter::DrawPolyline(const PolylineView& polyline) {
    if (polyline.IsPoint()) return DrawPoint(polyline);
    patternRestart_ = true;
    Point from = polyline.Vertex(0);
    for (int i = 1; i <= polyline.SegmentCount(); ++i) {
        Point to = polyline.Vertex(i);
        DrawClippedSegment(from.x, from.y, to.x, to.y);
        from = to;
    }
}

void EntityPainter::DrawPoint(const PolylineView& point) {
    Point p = point.Vertex(0);
    uint8_t style = point.Style();
    patternRestart_ = true;
    auto square = [&](double h) {
        DrawClippedSegment(p.x - h, p.y - h, p.x + h, p.y - h);
        DrawClippedSegment(p.x + h, p.y - h, p.x + h, p.y + h);
        DrawClippedSegment(p.x + h, p.y + h, p.x - h, p.y + h);
        DrawClippedSegment(p.x - h, p.y + h, p.x - h, p.y - h);
    };
    double size = point.AuxiliarySize();
    if (style & 0x01) DrawClippedSegment(p.x, p.y, p.x, p.y);
    if (style & 0x02) square(PixelSize());
    if (style & 0x04) square(size / 2);
    if (style & 0x08) {
        DrawClippedSegment(p.x - size, p.y, p.x + size, p.y);
        DrawClippedSegment(p.x, p.y - size, p.x, p.y + size);
    }
    if (style & 0x10) {
        DrawClippedSegment(p.x - size, p.y - size, p.x + size, p.y + size);
        DrawClippedSegment(p.x - size, p.y + size, p.x + size, p.y - size);
    }
}

void EntityPainter::DrawPolyline3D(const Polyline3DView& polyline) {
    // Shown through the view's rotation and perspective; a piece with an end behind the eye is
    // left out.
    patternRestart_ = true;
    Point from;
    Point3 v = polyline.Vertex(0);
    bool fromShown = view_.ProjectPoint3D(v.x, v.y, v.z, from);
    for (int i = 1; i <= polyline.SegmentCount(); ++i) {
        Point to;
        v = polyline.Vertex(i);
        bool toShown = view_.ProjectPoint3D(v.x, v.y, v.z, to);
        if (fromShown && toShown) DrawClippedSegment(from.x, from.y, to.x, to.y);
        from = to;
        fromShown = toShown;
    }
}

void EntityPainter::DrawArc(const ArcView& arc) {
    if (modes.noScreenOutput && !modes.collectExtents && !modes.printing && settings_.fixedArcSegments == 0) return;
    Point c = arc.Centre();
    double r = arc.Radius();
    if (!modes.noScreenOutput && !(window_.originX <= c.x + r && c.x - r <= window_.worldRight &&
                                   window_.originY <= c.y + r && c.y - r <= window_.worldTop)) {
        return;
    }
    if (modes.collectExtents && arc.IsCircle()) return DrawClippedSegment(c.x - r, c.y - r, c.x + r, c.y + r);
    int count = FlattenArc(arc, PixelSize(), settings_.fixedArcSegments, arcPoints_);
    DrawVertexRun(std::span<const Point>(arcPoints_.data(), static_cast<size_t>(count) + 1), false);
}

void EntityPainter::DrawText(const TextFieldsView& text, std::string_view stored) {
    TextRequest request;
    request.showInsertionMark = modes.showInsertionMarks;
    request.font = text.Font();
    request.text = modes.textOverride ? overrideText : stored.substr(0, kMaxDrawnText);
    request.justification = text.Justification();
    request.verticalAlignment = text.VerticalAlignment();
    request.at = text.Insertion();
    request.height = text.Height();
    request.width = text.CharWidth();
    request.angle = text.Angle();
    renderers_.text->DrawVectorText(*this, request);
}

void EntityPainter::DrawReference(const ReferenceView& reference) {
    Point at = reference.Insertion();
    if (modes.showInsertionMarks && !modes.noScreenOutput) DrawPointMarker('^', at.x, at.y);
    if (modes.showReferencedDrawings && !modes.dragDrawing) renderers_.reference->DrawReferencedDrawing(*this, reference);
}

void EntityPainter::DrawVertexRun(std::span<const Point> points, bool explode) {
    patternRestart_ = true;
    for (size_t i = 1; i < points.size(); ++i) {
        if (explode && ExplodeStopped()) return;
        DrawWorldSegment(explode, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    }
}

void EntityPainter::WidenExtents(double x, double y) {
    extents.x1 = std::min(extents.x1, x);
    extents.y1 = std::min(extents.y1, y);
    extents.x2 = std::max(extents.x2, x);
    extents.y2 = std::max(extents.y2, y);
}

void EntityPainter::DrawClippedSegment(double x1, double y1, double x2, double y2) {
    if (modes.noScreenOutput) {
        if (modes.collectExtents) {
            WidenExtents(x1, y1);
            WidenExtents(x2, y2);
        }
        return;
    }
    std::optional<PixelSegment> s = ClipWorldSegment(window_, x1, y1, x2, y2, thinSolid_);
    if (!s) return;
    if (lineType_ == line_type::kSolid) return DrawScreenLine(s->x1, s->y1, s->x2, s->y2);
    if (settings_.patternScale != 0) return DrawPatternedLine(s->x1, s->y1, s->x2, s->y2);
    if (!canvas_) return;
    canvas_->GetPen().SetStyle(SystemPenStyle(lineType_));
    DrawScreenLine(s->x1, s->y1, s->x2, s->y2);
    canvas_->GetPen().SetStyle(winforms::PenStyle::Solid);
}

void EntityPainter::DrawWorldSegment(bool explode, double x1, double y1, double x2, double y2) {
    if (explode) return AddLine(x1, y1, x2, y2);
    DrawClippedSegment(x1, y1, x2, y2);
}

void EntityPainter::DrawScreenLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!canvas_) return;
    const POINT points[2] = {{x1, y1}, {x2, y2}};
    canvas_->Polyline(points);
}

void EntityPainter::DrawPatternedLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (patternRestart_) {
        patternRestart_ = false;
        dashes_.index = 0;
        dashes_.remainder = 0;
        dashes_.pattern = BuildDashPattern(lineType_, width_, settings_.patternScale, modes.printing);
    }
    double dx = x2 - x1, dy = y2 - y1;
    double length = std::hypot(dx, dy);
    WalkDashes(dashes_, length, [&](double from, double to) {
        DrawScreenLine(x1 + RoundToPixel(dx * from / length), y1 + RoundToPixel(dy * from / length),
                       x1 + RoundToPixel(dx * to / length), y1 + RoundToPixel(dy * to / length));
    });
}

void EntityPainter::DrawPointMarker(char marker, double x, double y) {
    if (modes.noScreenOutput || !window_.Contains(x, y)) return;
    int32_t c = window_.Column(x), r = window_.Row(y);
    if (marker == '.') return DrawScreenLine(c, r, c + 1, r);
    int32_t h = marker == 'T' ? 2 : marker == '^' ? 4 : 3;
    DrawScreenLine(c, r - h, c, r + h + 1);
    DrawScreenLine(c - h, r, c + h + 1, r);
}

void EntityPainter::AddLine(double x1, double y1, double x2, double y2) {
    if (!explodeTarget_ || explodeTarget_->memoryError) return;
    const Point ends[2] = {{x1, y1}, {x2, y2}};
    PushEntity(*explodeTarget_, MakePolyline(ends, explodeHead_, 0, explodeStyle_));
}

void EntityPainter::ExplodeToLines(const EntityRecord& entity) {
    if (!HasFiniteGeometry(entity)) return SayNotFinite(entity, 0);
    visitEntity(entity, Overloaded{
        [&](const PolylineView& polyline) {
            for (int i = 1; i <= polyline.SegmentCount() && !ExplodeStopped(); ++i) {
                Point a = polyline.Vertex(i - 1), b = polyline.Vertex(i);
                AddLine(a.x, a.y, b.x, b.y);
            }
        },
        [&](const ArcView& arc) {
            int count = FlattenArc(arc, PixelSize(), settings_.fixedArcSegments, arcPoints_);
            DrawVertexRun(std::span<const Point>(arcPoints_.data(), static_cast<size_t>(count) + 1), true);
        },
        [](const EntityView&) {},
    });
}

}  // namespace linework
