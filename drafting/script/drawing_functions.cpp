// Numeric functions over the drawing: entities on layers that are hidden or inactive, and the
// counts of a block definition. Block names are written as they stand (nreb DOOR).
#include "drawing/block_definitions.h"
#include "drawing/drawing_statistics.h"
#include "script/script_functions.h"

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

constexpr NumericFunctionEntry kDrawingNumbers[] = {
    {"off", Off}, {"offlock", Offlock}, {"nrab", Nrab}, {"nreb", Nreb}, {"nreeb", Nreeb},
};

}  // namespace

std::span<const NumericFunctionEntry> DrawingNumberFunctions() { return kDrawingNumbers; }

}  // namespace linework
