// Numeric functions over the drawing: entities on layers that are hidden or inactive, the
// counts of a block definition, and the four-point mapping of the selection. Block names are
// written as they stand (nreb DOOR).
#include "drawing/block_definitions.h"
#include "drawing/drawing_statistics.h"
#include "drawing/quad_mapping.h"
#include "script/script_functions.h"
#include "script/system_variables.h"

namespace linework {

namespace {

using Result = std::optional<double>;

Result Off(FunctionContext& c) {
    LayerTable layers(c.engine.image);
    return AnyEntityHidden(c.engine.drawing, layers) ? 1.0 : 0.0;
}
Result Offlock(FunctionContext& c) {
    LayerTable layers(c.engine.image);
    return AnyEntityOnInactiveLayer(c.engine.drawing, layers) ? 1.0 : 0.0;
}

// The entities of the named block's own list that pass 'take'; -1 when there is no such block.
template <class Take>
Result CountInBlock(FunctionContext& c, Take take) {
    const Drawing& drawing = c.engine.drawing;
    BlockHandle block = FindBlockDef(drawing, c.FileName(3));
    if (block == 0) return -1.0;
    double count = 0;
    ForEachEntity(drawing, drawing.Block(block).head, [&](EntityHandle entity) {
        if (take(drawing[entity])) ++count;
    });
    return count;
}

Result Nrab(FunctionContext& c) {
    return CountInBlock(c, [](const EntityRecord& e) { return e.Kind() == EntityKind::AttributeDefinition; });
}
Result Nreb(FunctionContext& c) {
    return CountInBlock(c, [](const EntityRecord&) { return true; });
}
Result Nreeb(FunctionContext& c) {
    const Drawing& drawing = c.engine.drawing;
    BlockHandle block = FindBlockDef(drawing, c.FileName(3));
    if (block == 0) return -1.0;
    return static_cast<double>(CountBlockEntities(drawing, block));
}

// The quadrilaterals the system variables hold: corners 1..4 of the source, then of the target.
Quad QuadAt(const SystemVariableImage& image, int32_t first) {
    Quad quad;
    for (size_t i = 0; i < quad.size(); ++i) {
        const int32_t k = first + 2 * static_cast<int32_t>(i);
        quad[i] = {image.Double(k), image.Double(k + 1)};
    }
    return quad;
}

// A = trfr: the selection carried through the four-point mapping of the quadrilaterals in the
// system variables; 1 when it could be prepared, 0 (nothing moved) when a side pair of either
// quadrilateral is degenerate.
Result Trfr(FunctionContext& c) {
    const SystemVariableImage& image = c.engine.image;
    auto transform = SetupQuadTransform(QuadAt(image, sysvar::kQuadSource), QuadAt(image, sysvar::kQuadTarget),
                                        image.Double(sysvar::kQuadParallelTolerance));
    if (!transform) return 0.0;
    Drawing& drawing = c.engine.drawing;
    ForEachEntity(drawing, drawing.head, [&](EntityHandle entity) {
        EntityRecord& record = drawing[entity];
        if ((record.KindAndFlags() & entity_flag::kSelected) && !record.Erased()) MapEntityThroughQuads(*transform, record);
    });
    return 1.0;
}

constexpr NumericFunctionEntry kDrawingNumbers[] = {
    {"off", Off}, {"offlock", Offlock}, {"nrab", Nrab}, {"nreb", Nreb}, {"nreeb", Nreeb}, {"trfr", Trfr},
};

}  // namespace

std::span<const NumericFunctionEntry> DrawingNumberFunctions() { return kDrawingNumbers; }

}  // namespace linework
