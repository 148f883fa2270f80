// The entity-creating commands: each takes its numbers from the words and calls its adder inside
// BeginScriptAdd/EndScriptAdd; layer, colour, width and line type come from the current
// properties, as for every adder.
#include <vector>

#include "drawing/angles.h"
#include "drawing/block_definitions.h"
#include "drawing/entity_views.h"
#include "drawing/deletion_and_undo.h"
#include "script/script_adds.h"

namespace linework {
namespace {

using Result = CommandResult;
constexpr Result kNext = Result::Next;

Result Arc(CommandContext& c) {
    ScriptAdd(c, [&] { AddArc(c.adders, c.PointAt(1), c.PointAt(3), c.PointAt(5)); });
    return kNext;
}

Result Circle(CommandContext& c) {
    const Point on{c.Val(1) + c.Val(3), c.Val(2)};
    ScriptAdd(c, [&] { AddArc(c.adders, c.PointAt(1), on, on); });
    return kNext;
}

// The tag, default value and prompt are store lines 1, 2 and 3.
Result AttributeDefinition(CommandContext& c) {
    auto justify = c.Byte(6);
    if (!justify) return Result::StopRun;
    AttributeStrings strings{c.engine.store.GetTextLine(1), c.engine.store.GetTextLine(2),
                             c.engine.store.GetTextLine(3), static_cast<uint16_t>(c.Num(7) & 0xFFFF)};
    ScriptAdd(c, [&] {
        AddAttributeDefinition(c.adders, strings, *justify, c.PointAt(1), c.Val(3), c.Val(4), c.Val(5));
    });
    return kNext;
}

// The five points and the measured value lie in the stored point list, where the interactive
// dimension step (or "svxy", or "etsv" of another dimension) left them.
Result Dimension(CommandContext& c) {
    auto style = c.Byte(1);
    if (!style) return Result::StopRun;
    std::string text = c.Join(2);
    if (c.engine.Failed()) return Result::StopRun;
    DimensionGeometry geometry;
    for (int i = 0; i < DimensionView::kPointCount; ++i)
        geometry.points[static_cast<size_t>(i)] = {c.PointValue(2 * i), c.PointValue(2 * i + 1)};
    geometry.value = c.PointValue(2 * DimensionView::kPointCount);
    ScriptAdd(c, [&] { AddDimension(c.adders, geometry, *style, text); });
    return kNext;
}

Result Insert(CommandContext& c) {
    std::string name = c.NameWord(1);
    if (c.engine.Failed()) return Result::StopRun;
    BlockHandle block = FindBlockDef(c.DrawingList(), name);
    const double xScale = c.Val(2), yScale = c.Val(3);
    if (block == 0 || xScale * yScale == 0) return kNext;
    const double angle = NormalizeAngle(c.Val(4));
    Point at = c.PointAt(5);
    if (!c.Has(6)) {
        std::optional<Point> given = c.Host().RunInsertStep(name, xScale, yScale, angle);
        if (!given) return kNext;
        at = *given;
    }
    ScriptAdd(c, [&] { AddBlockInsert(c.adders, block, xScale, yScale, angle, at); });
    return kNext;
}

Result DrawingReference(CommandContext& c) {
    std::string name = c.Name(6);
    if (c.engine.Failed()) return Result::StopRun;
    ScriptAdd(c, [&] { AddDrawingReference(c.adders, name, c.Val(3), c.Val(4), c.Val(5), c.PointAt(1)); });
    return kNext;
}

Result RasterImage(CommandContext& c) {
    if (c.Word(1).text == "save" || c.Word(1).text == "explode") return kNext;
    std::string name = c.Name(5);
    if (c.engine.Failed()) return Result::StopRun;
    ScriptAdd(c, [&] { AddRasterImage(c.adders, 0, name, c.PointAt(1), c.Val(3), c.Val(4)); });
    return kNext;
}

Result PointCommand(CommandContext& c) {
    const Point vertex[] = {c.PointAt(1)};
    ScriptAdd(c, [&] { AddPolyline(c.adders, vertex, false, true); });
    return kNext;
}

Result Line(CommandContext& c) {
    const Point ends[] = {c.PointAt(1), c.PointAt(3)};
    ScriptAdd(c, [&] { AddPolyline(c.adders, ends, false, true); });
    return kNext;
}

// Through the vertex pairs of words 1.., or with one word n through the first n + 1 points of
// the stored point list.
Result Polyline(CommandContext& c, bool patterned) {
    std::vector<Point> vertices;
    if (c.Last() == 1) {
        auto last = c.InRange(1, 0, kMaxPolylineVertices - 1);
        if (!last) return Result::StopRun;
        for (int i = 0; i <= *last; ++i) vertices.push_back({c.PointValue(2 * i), c.PointValue(2 * i + 1)});
    } else {
        for (int k = 1; k + 1 <= c.Last(); k += 2) vertices.push_back(c.PointAt(k));
    }
    ScriptAdd(c, [&] { AddPolyline(c.adders, vertices, patterned, true); });
    return kNext;
}
Result Pline(CommandContext& c) { return Polyline(c, false); }
Result Hatch(CommandContext& c) { return Polyline(c, true); }

// The freehand sketch step adds its own lines; the walk position marks where they begin, so "u"
// takes them back together.
Result Sketch(CommandContext& c) {
    std::string text = c.Join(2);
    if (c.engine.Failed()) return Result::StopRun;
    c.Host().StartSketchStep(c.Val(1), text);
    CommitPendingDeletes(c.adders);
    c.DrawingList().walkPosition = c.DrawingList().head;
    const bool stop = c.Host().WaitForCommandStep();
    c.Host().RepaintGrid();
    if (stop) c.engine.RequestStop();
    return kNext;
}

Result Text(CommandContext& c) {
    auto justify = c.Byte(6);
    if (!justify) return Result::StopRun;
    std::string text = c.Join(7);
    if (c.engine.Failed()) return Result::StopRun;
    ScriptAdd(c, [&] { AddText(c.adders, text, *justify, c.PointAt(1), c.Val(3), c.Val(4), c.Val(5)); });
    return kNext;
}

constexpr CommandEntry kDrawCommands[] = {
    {"arc", Arc},     {"atrdef", AttributeDefinition}, {"circle", Circle},       {"dim", Dimension},
    {"insert", Insert}, {"lkdref", DrawingReference},  {"bmref", RasterImage},   {"point", PointCommand},
    {"line", Line},   {"pline", Pline},                {"hatch", Hatch},         {"sketch", Sketch},
    {"text", Text},
};

}  // namespace

std::span<const CommandEntry> DrawCommands() { return kDrawCommands; }

}  // namespace linework
