#include "display/view_zoom.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "display/entity_painter.h"

namespace linework {

namespace {
// Below this a side of the extents counts as no size at all.
constexpr double kNoSize = 1e-19;
constexpr double kMargin = 1.05;
}  // namespace

ZoomLimit CheckZoomLimits(const ViewState& view, double factor) {
    if (!(factor > 0) || !std::isfinite(factor)) return ZoomLimit::TooSmall;
    const double scale = view.GetViewTransform().scale * factor;
    if (factor < 1 && scale < view.MinScale()) return ZoomLimit::TooSmall;
    if (factor > 1 && scale > view.MaxScale()) return ZoomLimit::TooLarge;
    return ZoomLimit::Allowed;
}

int ZoomLimitMessage(ZoomLimit limit) {
    switch (limit) {
        case ZoomLimit::TooSmall: return kZoomTooSmallMessage;
        case ZoomLimit::TooLarge: return kZoomTooLargeMessage;
        case ZoomLimit::Allowed: break;
    }
    return 0;
}

ViewTransform ZoomedByFactor(const ViewTransform& view, double factor, PixelSize box) {
    ViewTransform zoomed = view;
    const double d = (view.scale - view.scale * factor) * 0.5;
    zoomed.scale = view.scale * factor;
    zoomed.originX += box.width * d;
    zoomed.originY += box.height * d;
    return zoomed;
}

ViewTransform PannedByScreenFraction(const ViewTransform& view, double fx, double fy, PixelSize box) {
    ViewTransform panned = view;
    panned.originX += box.width * view.scale * fx;
    panned.originY += box.height * view.scale * fy;
    return panned;
}

std::optional<ViewTransform> ExtentsView(const ViewTransform& view, const Box& extents, PixelSize box) {
    if (!(extents.x1 <= extents.x2) || !(extents.y1 <= extents.y2)) return std::nullopt;
    ViewTransform shown = view;
    const double w = extents.x2 - extents.x1;
    const double h = extents.y2 - extents.y1;
    shown.scale = 1;
    if (!(w < kNoSize && h < kNoSize)) {
        shown.scale = kMargin * std::max(w / std::max(box.width, 1), h / std::max(box.height, 1));
    }
    shown.originX = ((extents.x1 + extents.x2) - box.width * shown.scale) * 0.5;
    shown.originY = ((extents.y1 + extents.y2) - box.height * shown.scale) * 0.5;
    return shown;
}

ViewTransform CentredOn(const ViewTransform& view, Point point, PixelSize box) {
    ViewTransform centred = view;
    centred.originX = point.x - box.width * view.scale * 0.5;
    centred.originY = point.y - box.height * view.scale * 0.5;
    return centred;
}

Box ComputeDrawingExtents(const Drawing& drawing, EntityHandle head, const ViewState& view, LayerTable& layers,
                          const DisplaySettings& settings, KindRenderers renderers) {
    // The scale ranges do not apply: a layer outside its range at this zoom still has extents.
    std::array<uint32_t, kLayerCount> words{};
    for (int layer = 0; layer < kLayerCount; ++layer) {
        const auto l = static_cast<uint8_t>(layer);
        words[static_cast<size_t>(layer)] = layers.Word(l);
        layers.SetWord(l, words[static_cast<size_t>(layer)] & ~layer_flag::kOutOfScaleRange);
    }
    EntityPainter painter(nullptr, view, layers, settings, renderers);
    painter.modes.noScreenOutput = true;
    painter.modes.collectExtents = true;
    ForEachEntity(drawing, head, [&](EntityHandle at) { painter.DrawEntityIfShown(drawing[at], 0, at); });
    for (int layer = 0; layer < kLayerCount; ++layer) {
        layers.SetWord(static_cast<uint8_t>(layer), words[static_cast<size_t>(layer)]);
    }
    return painter.extents;
}

bool AnyEntityOnHiddenLayer(const Drawing& drawing, EntityHandle head, const LayerTable& layers) {
    for (EntityHandle at = head; at != 0; at = drawing[at].Next()) {
        const EntityRecord& entity = drawing[at];
        if (!entity.Erased() && layers.Has(entity.Layer(), layer_flag::kNotDrawn)) return true;
    }
    return false;
}

}  // namespace linework
