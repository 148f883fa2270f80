// The script's entity walk: "etsv" steps through the selected entities and copies the current one
// out to system variables (entity_variable) and the stored point list; "svte" writes them back or
// makes a new entity of them; the other commands redraw, unselect or retext the current entity.
// Without a current entity, or with one of another kind, a command does nothing.
#include <vector>

#include "drawing/block_definitions.h"
#include "drawing/entity_views.h"
#include "drawing/layer_table.h"
#include "drawing/saved_properties.h"
#include "script/script_adds.h"

namespace linework {
namespace {

using Result = CommandResult;
using namespace entity_field;
namespace var = entity_variable;
constexpr Result kNext = Result::Next;
constexpr int kDraw = 0;
constexpr int kErase = 1;
constexpr size_t kMaxShortString = 255;
constexpr size_t kMaxAttributeBytes = 256;
constexpr int32_t kInsertOverflowSwitch = 3;

// The record the command works on: the current entity, when it lies in the drawing list.
EntityRecord* Current(CommandContext& c) {
    Drawing& drawing = c.DrawingList();
    if (drawing.current == 0) return nullptr;
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next())
        if (at == drawing.current) return &drawing[at];
    return nullptr;
}

// --- copying out ("etsv") and back ("svte")

// The point-list layout of each kind: the doubles at these record offsets, in this order.
struct ListLayout {
    std::vector<size_t> offsets;
};

ListLayout LayoutOf(const EntityRecord& record) {
    ListLayout layout;
    auto add = [&](std::initializer_list<size_t> offsets) { layout.offsets.insert(layout.offsets.end(), offsets); };
    switch (record.Kind()) {
        case EntityKind::Polyline:
            for (int i = 0; i < PolylineView(record).VertexCount(); ++i)
                add({kVertices + 16 * static_cast<size_t>(i), kVertices + 16 * static_cast<size_t>(i) + 8});
            break;
        case EntityKind::Polyline3D:
            for (int i = 0; i < Polyline3DView(record).VertexCount(); ++i)
                add({kVertices + 24 * static_cast<size_t>(i), kVertices + 24 * static_cast<size_t>(i) + 8});
            break;
        case EntityKind::Arc: add({kCentre, kCentre + 8, kArcStart, kArcStart + 8, kArcEnd, kArcEnd + 8}); break;
        case EntityKind::Text:
        case EntityKind::AttributeDefinition: add({kTextX, kTextY, kTextHeight, kTextAngle, kCharWidth}); break;
        case EntityKind::Dimension:
            for (size_t i = 0; i < 10; ++i) add({kDimensionPoints + 8 * i});
            add({kDimensionValue});
            break;
        case EntityKind::BlockInsert:
            add({kInsertX, kInsertY, kXScale, kYScale, kRotation});
            for (int i = 0; i < InsertView(record).AttributeCount(); ++i)
                add({kAttributePositions + 16 * static_cast<size_t>(i), kAttributePositions + 16 * static_cast<size_t>(i) + 8});
            break;
        case EntityKind::DrawingReference: add({kReferenceX, kReferenceY, kXScale, kYScale, kRotation}); break;
        case EntityKind::RasterImage: add({kImageX, kImageY, kPixelWidth, kPixelHeight}); break;
    }
    return layout;
}

// The attribute definition's flag word lies after its three strings; 0 when the record ends first.
size_t AttributeFlagsOffset(const EntityRecord& record) {
    size_t offset = kText;
    for (int i = 0; i < 3 && offset < record.Size(); ++i) offset += 1 + record.Byte(offset);
    return offset + 2 <= record.Size() ? offset : 0;
}

void CopyOut(CommandContext& c, const EntityRecord& record) {
    SystemVariableImage& image = c.engine.image;
    for (int32_t k = var::kKind; k <= var::kDisplay; ++k) image.SetInteger(k, 0);
    image.SetInteger(var::kKind, record.KindAndFlags() >> 4);
    image.SetInteger(var::kLayer, record.Layer());
    image.SetInteger(var::kColour, record.Colour());
    image.SetInteger(var::kWidth, record.Width());
    switch (record.Kind()) {
        case EntityKind::Polyline:
        case EntityKind::Polyline3D:
            image.SetInteger(var::kCount, record.VertexCount());
            image.SetInteger(var::kStyle, record.Byte(kStyle));
            image.SetInteger(var::kEndSymbol, record.Byte(kEndSymbol));
            break;
        case EntityKind::Arc: image.SetInteger(var::kStyle, record.Byte(kArcLineType)); break;
        case EntityKind::Text: image.SetInteger(var::kJustifyFont, record.Byte(kJustifyAndFont)); break;
        case EntityKind::AttributeDefinition:
            image.SetInteger(var::kJustifyFont, record.Byte(kJustifyAndFont));
            image.SetInteger(var::kFlags, AttributeDefinitionView(record).Flags());
            break;
        case EntityKind::Dimension: image.SetInteger(var::kStyle, record.Byte(kDimensionStyle)); break;
        case EntityKind::BlockInsert:
            image.SetInteger(var::kCount, InsertView(record).AttributeCount());
            image.SetInteger(var::kDisplay, record.Byte(kInsertDisplay));
            break;
        case EntityKind::RasterImage: {
            RasterImageView view(record);
            image.SetInteger(var::kFlags, view.Flags());
            image.SetInteger(var::kLastColumn, view.LastColumn());
            image.SetInteger(var::kLastRow, view.LastRow());
            break;
        }
        case EntityKind::DrawingReference: break;
    }
    ListLayout layout = LayoutOf(record);
    for (size_t i = 0; i < layout.offsets.size(); ++i) c.PointValue(static_cast<int>(i)) = record.Double(layout.offsets[i]);
}

// An integer variable that a byte field takes; the failure when it lies outside 0..255.
std::optional<uint8_t> ByteVariable(CommandContext& c, int32_t k) {
    int32_t value = c.engine.image.Integer(k);
    if (value >= 0 && value <= 255) return static_cast<uint8_t>(value);
    c.Fail(kValueOutOfRange);
    return std::nullopt;
}

// Writes the variables back into the record; false (the record unchanged) after a failure.
bool CopyIn(CommandContext& c, EntityRecord& record) {
    auto layer = ByteVariable(c, var::kLayer), colour = ByteVariable(c, var::kColour);
    auto width = ByteVariable(c, var::kWidth);
    if (!layer || !colour || !width) return false;
    std::optional<uint8_t> style = 0, endSymbol = 0, justify = 0, display = 0;
    switch (record.Kind()) {
        case EntityKind::Polyline:
        case EntityKind::Polyline3D:
            style = ByteVariable(c, var::kStyle);
            endSymbol = ByteVariable(c, var::kEndSymbol);
            break;
        case EntityKind::Arc:
        case EntityKind::Dimension: style = ByteVariable(c, var::kStyle); break;
        case EntityKind::Text:
        case EntityKind::AttributeDefinition: justify = ByteVariable(c, var::kJustifyFont); break;
        case EntityKind::BlockInsert: display = ByteVariable(c, var::kDisplay); break;
        default: break;
    }
    if (!style || !endSymbol || !justify || !display) return false;
    record.SetByte(kLayer, *layer);
    record.SetByte(kColour, *colour);
    record.SetByte(kWidth, *width);
    const auto flags = static_cast<uint16_t>(c.engine.image.Integer(var::kFlags));
    switch (record.Kind()) {
        case EntityKind::Polyline:
        case EntityKind::Polyline3D:
            record.SetByte(kStyle, *style);
            record.SetByte(kEndSymbol, *endSymbol);
            break;
        case EntityKind::Arc: record.SetByte(kArcLineType, *style); break;
        case EntityKind::Dimension: record.SetByte(kDimensionStyle, *style); break;
        case EntityKind::Text: record.SetByte(kJustifyAndFont, *justify); break;
        case EntityKind::AttributeDefinition:
            record.SetByte(kJustifyAndFont, *justify);
            if (size_t at = AttributeFlagsOffset(record)) record.Store<uint16_t>(at, flags);
            break;
        case EntityKind::BlockInsert: record.SetByte(kInsertDisplay, *display); break;
        case EntityKind::RasterImage: record.Store<uint16_t>(kImageFlags, flags); break;
        case EntityKind::DrawingReference: break;
    }
    ListLayout layout = LayoutOf(record);
    for (size_t i = 0; i < layout.offsets.size(); ++i) record.SetDouble(layout.offsets[i], c.PointValue(static_cast<int>(i)));
    return true;
}

// Unlinks the entity from the drawing list and frees it.
void Unlink(Drawing& drawing, EntityHandle entity) {
    EntityHandle previous = 0;
    for (EntityHandle at = drawing.head; at != 0; previous = at, at = drawing[at].Next()) {
        if (at != entity) continue;
        MoveEntityToBlock(drawing, entity, previous, 0);
        return;
    }
}

Result Etsv(CommandContext& c) {
    Drawing& drawing = c.DrawingList();
    const int32_t bits = c.Num(1);
    EntityHandle from = drawing.head;
    if (EntityRecord* current = Current(c)) {
        from = current->Next();
        if (bits & 1) Unlink(drawing, drawing.current);
    }
    EntityHandle next = from;
    while (next != 0 && (drawing[next].KindAndFlags() & entity_flag::kSelected) == 0) next = drawing[next].Next();
    drawing.current = next;
    if (next == 0) {
        c.engine.image.SetInteger(var::kKind, 0);
        return kNext;
    }
    CopyOut(c, drawing[next]);
    if (bits & 2) c.Host().MarkEntity(drawing, next);
    return kNext;
}

// --- "svte create"

std::string CurrentName(const EntityRecord* current, EntityKind kind, const Drawing& drawing) {
    if (!current || current->Kind() != kind) return {};
    switch (kind) {
        case EntityKind::Text: return std::string(TextView(*current).Text());
        case EntityKind::Dimension: return std::string(DimensionView(*current).Text());
        case EntityKind::BlockInsert: {
            BlockHandle block = InsertView(*current).Block();
            return drawing.blocks.Holds(block) ? drawing.Block(block).name : std::string();
        }
        case EntityKind::DrawingReference: return std::string(ReferenceView(*current).FileName());
        case EntityKind::RasterImage: return std::string(RasterImageView(*current).FileName());
        default: return {};
    }
}

Result Create(CommandContext& c) {
    const EntityRecord* current = Current(c);
    int32_t kindNumber = c.Num(2);
    if (c.Val(2) <= 0) {
        if (!current) return kNext;
        kindNumber = c.engine.image.Integer(var::kKind);
    }
    if (kindNumber < 1 || kindNumber > 15) return c.Fail(kValueOutOfRange);
    const auto kind = static_cast<EntityKind>(kindNumber << 4);
    int32_t count = c.Val(3) > 0 ? c.Num(3) : c.engine.image.Integer(var::kCount);
    std::string text = c.Has(4) ? c.Name(4) : CurrentName(current, kind, c.DrawingList());
    auto layer = ByteVariable(c, var::kLayer), colour = ByteVariable(c, var::kColour);
    auto width = ByteVariable(c, var::kWidth), style = ByteVariable(c, var::kStyle);
    auto justify = ByteVariable(c, var::kJustifyFont);
    if (c.engine.Failed() || !layer || !colour || !width || !style || !justify) return Result::StopRun;
    auto p = [&](int i) { return c.PointValue(i); };
    auto at = [&](int i) { return Point{p(i), p(i + 1)}; };
    SavedProperties saved(c.engine.image);
    CurrentProperties properties(c.engine.image);
    properties.Set(CurrentProperties::Layer, *layer);
    properties.Set(CurrentProperties::Colour, *colour);
    properties.Set(CurrentProperties::Width, *width);
    properties.Set(CurrentProperties::LineType, *style & 7);
    AdderContext& a = c.adders;
    switch (kind) {
        case EntityKind::Polyline: {
            if (count < 1 || count > kMaxPolylineVertices) return c.Fail(kValueOutOfRange);
            properties.Set(CurrentProperties::EndSymbol, c.engine.image.Integer(var::kEndSymbol));
            std::vector<Point> vertices;
            for (int i = 0; i < count; ++i) vertices.push_back(at(2 * i));
            ScriptAdd(c, [&] { AddPolyline(a, vertices, (*style >> 3) != 0, true); });
            break;
        }
        case EntityKind::Arc: ScriptAdd(c, [&] { AddArc(a, at(0), at(2), at(4)); }); break;
        case EntityKind::Text: ScriptAdd(c, [&] { AddText(a, text, *justify, at(0), p(2), p(4), p(3)); }); break;
        case EntityKind::AttributeDefinition: {
            AttributeStrings strings{c.engine.store.GetTextLine(1), c.engine.store.GetTextLine(2),
                                     c.engine.store.GetTextLine(3),
                                     static_cast<uint16_t>(c.engine.image.Integer(var::kFlags))};
            ScriptAdd(c, [&] { AddAttributeDefinition(a, strings, *justify, at(0), p(2), p(4), p(3)); });
            break;
        }
        case EntityKind::Dimension: {
            DimensionGeometry geometry;
            for (size_t i = 0; i < geometry.points.size(); ++i) geometry.points[i] = at(2 * static_cast<int>(i));
            geometry.value = p(10);
            ScriptAdd(c, [&] { AddDimension(a, geometry, *style, text); });
            break;
        }
        case EntityKind::BlockInsert: {
            BlockHandle block = FindBlockDef(c.DrawingList(), text);
            if (block != 0) ScriptAdd(c, [&] { AddBlockInsert(a, block, p(2), p(3), p(4), at(0)); });
            break;
        }
        case EntityKind::DrawingReference:
            ScriptAdd(c, [&] { AddDrawingReference(a, text, p(2), p(3), p(4), at(0)); });
            break;
        case EntityKind::RasterImage: {
            const auto flags = static_cast<uint16_t>(c.engine.image.Integer(var::kFlags));
            ScriptAdd(c, [&] { AddRasterImage(a, flags, text, at(0), p(2), p(3)); });
            break;
        }
        default: return c.Fail(kValueOutOfRange);
    }
    return kNext;
}

Result Svte(CommandContext& c) {
    if (c.Word(1).text == "create") return Create(c);
    EntityRecord* current = Current(c);
    if (!current) return kNext;
    Drawing& drawing = c.DrawingList();
    c.adders.draw.DrawEntity(drawing, *current, kErase);
    const bool written = CopyIn(c, *current);
    c.adders.draw.DrawEntity(drawing, *current, kDraw);
    return written ? kNext : Result::StopRun;
}

// --- the other entity commands

Result Edraw(CommandContext& c) {
    EntityRecord* current = Current(c);
    if (!current) return kNext;
    c.Host().HideCursor();
    c.adders.draw.DrawEntity(c.DrawingList(), *current, c.Num(1));
    c.Host().RepaintGrid();
    return kNext;
}

Result Eunsel(CommandContext& c) {
    EntityRecord* current = Current(c);
    if (!current) return kNext;
    current->SetByte(kKindAndFlags, current->KindAndFlags() ^ entity_flag::kSelected);
    return kNext;
}

// The record in the current entity's place: its handle stays, so every reference to it (the
// walk, the picked entity, the list links) still names it.
void Replace(CommandContext& c, std::vector<uint8_t> bytes) {
    EntityRecord record = EntityRecord::FromBytes(bytes);
    Drawing& drawing = c.DrawingList();
    if (!record) return;
    c.adders.draw.DrawEntity(drawing, drawing[drawing.current], kErase);
    ReplaceEntity(drawing, drawing.current, std::move(record));
    c.adders.draw.DrawEntity(drawing, drawing[drawing.current], kDraw);
}

Result ReplaceText(CommandContext& c, EntityKind kind, size_t textOffset) {
    EntityRecord* current = Current(c);
    if (!current || current->Kind() != kind) return kNext;
    std::string text = c.Join(1);
    if (c.engine.Failed()) return Result::StopRun;
    text.resize(std::min(text.size(), kMaxShortString));
    auto bytes = current->Bytes();
    std::vector<uint8_t> replaced(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(textOffset));
    replaced.push_back(static_cast<uint8_t>(text.size()));
    replaced.insert(replaced.end(), text.begin(), text.end());
    Replace(c, std::move(replaced));
    return kNext;
}
Result Etext(CommandContext& c) { return ReplaceText(c, EntityKind::Text, kText); }
Result Edim(CommandContext& c) { return ReplaceText(c, EntityKind::Dimension, kDimensionText); }

// Attribute value w1 (1 for the first) of the current insert becomes the text of words 2..; values
// beyond 256 bytes in all set the insert-overflow switch and change nothing.
Result Ebatr(CommandContext& c) {
    EntityRecord* current = Current(c);
    if (!current || current->Kind() != EntityKind::BlockInsert) return kNext;
    InsertView view(*current);
    const int count = view.AttributeCount();
    auto index = c.InRange(1, 1, count);
    if (!index) return Result::StopRun;
    std::string value = c.Join(2);
    if (c.engine.Failed()) return Result::StopRun;
    std::vector<std::string> values;
    size_t total = 0;
    for (int i = 0; i < count; ++i) {
        values.emplace_back(i + 1 == *index ? std::string_view(value) : view.AttributeValue(i));
        total += 1 + values.back().size();
    }
    if (value.size() > kMaxShortString || total > kMaxAttributeBytes) {
        c.engine.image.SetByte(kInsertOverflowSwitch, 1);
        return kNext;
    }
    const size_t positionsEnd = kAttributePositions + 16 * static_cast<size_t>(count);
    auto bytes = current->Bytes();
    std::vector<uint8_t> replaced(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(positionsEnd));
    replaced[kAttributeCount] = static_cast<uint8_t>(count);
    for (const std::string& text : values) {
        replaced.push_back(static_cast<uint8_t>(text.size()));
        replaced.insert(replaced.end(), text.begin(), text.end());
    }
    Replace(c, std::move(replaced));
    return kNext;
}

// The definition whose own list holds the entity, 0 for an entity of the drawing list.
BlockHandle OwningBlock(const Drawing& drawing, EntityHandle entity) {
    BlockHandle owner = 0;
    ForEachBlock(drawing, [&](BlockHandle block) {
        ForEachEntity(drawing, drawing.Block(block).head, [&](EntityHandle at) {
            if (at == entity) owner = block;
        });
    });
    return owner;
}

// The current insert shows the named definition instead. An insert inside a definition may not
// come to show that definition, even through nested inserts: the block would contain itself.
Result Ebname(CommandContext& c) {
    Drawing& drawing = c.DrawingList();
    if (drawing.current == 0 || !drawing.entities.Holds(drawing.current) ||
        drawing[drawing.current].Kind() != EntityKind::BlockInsert)
        return kNext;
    std::string name = c.Name(1);
    if (c.engine.Failed()) return Result::StopRun;
    BlockHandle block = FindBlockDef(drawing, name);
    if (block == 0) return kNext;
    if (BlockHandle owner = OwningBlock(drawing, drawing.current);
        owner != 0 && BlockUsesBlock(drawing, drawing.Block(owner).name, block))
        return c.Fail("Block would contain itself: " + name);
    EntityRecord& record = drawing[drawing.current];
    c.adders.draw.DrawEntity(drawing, record, kErase);
    record.Store<uint32_t>(kBlock, block);
    c.adders.draw.DrawEntity(drawing, record, kDraw);
    return kNext;
}

constexpr CommandEntry kEntityCommands[] = {
    {"etsv", Etsv}, {"svte", Svte},   {"edraw", Edraw}, {"eunsel", Eunsel},
    {"etext", Etext}, {"edim", Edim}, {"ebatr", Ebatr}, {"ebname", Ebname},
};

}  // namespace

std::span<const CommandEntry> EntityCommands() { return kEntityCommands; }

}  // namespace linework
