// Functions over single entities: the texts and names of the current entity (the one the entity
// commands walk to, or "getl" picked), and the attribute definitions of a block and the attribute
// values of an insert unpacked into the store lines the attribute commands take them from: an
// attribute definition's tag, default value and prompt go to lines 1, 2 and 3 (what "atrdef"
// makes a definition of), and value i of an insert goes to line i (what an insert takes value i
// from). A current entity of another kind, or none, gives an empty text or 0.
#include "drawing/block_definitions.h"
#include "drawing/entity_views.h"
#include "script/script_functions.h"

namespace linework {

namespace {

using Text = std::optional<std::string>;
using Number = std::optional<double>;

// The current entity when it is of that kind, else null.
const EntityRecord* CurrentOfKind(const FunctionContext& c, EntityKind kind) {
    const Drawing& drawing = c.engine.drawing;
    if (drawing.current == 0 || !drawing.entities.Holds(drawing.current)) return nullptr;
    const EntityRecord& record = drawing[drawing.current];
    return record.Kind() == kind ? &record : nullptr;
}

Text Etext(FunctionContext& c) {
    const EntityRecord* record = CurrentOfKind(c, EntityKind::Text);
    return record ? std::string(TextView(*record).Text()) : std::string();
}

Text Edim(FunctionContext& c) {
    const EntityRecord* record = CurrentOfKind(c, EntityKind::Dimension);
    return record ? std::string(DimensionView(*record).Text()) : std::string();
}

// The name of the definition the current insert refers to; empty when it refers to none.
Text Ebname(FunctionContext& c) {
    const EntityRecord* record = CurrentOfKind(c, EntityKind::BlockInsert);
    if (!record) return std::string();
    const BlockHandle block = InsertView(*record).Block();
    if (!c.engine.drawing.blocks.Holds(block)) return std::string();
    return c.engine.drawing.Block(block).name;
}

Text Elkdref(FunctionContext& c) {
    const EntityRecord* record = CurrentOfKind(c, EntityKind::DrawingReference);
    return record ? std::string(ReferenceView(*record).FileName()) : std::string();
}

Text Ebmref(FunctionContext& c) {
    const EntityRecord* record = CurrentOfKind(c, EntityKind::RasterImage);
    return record ? std::string(RasterImageView(*record).FileName()) : std::string();
}

// Tag, default value and prompt to store lines 1, 2 and 3; the flag word is the result.
double UnpackAttributeDefinition(FunctionContext& c, const EntityRecord& record) {
    const AttributeDefinitionView view(record);
    c.engine.store.SetLine(1, view.Tag());
    c.engine.store.SetLine(2, view.Default());
    c.engine.store.SetLine(3, view.Prompt());
    return view.Flags();
}

// A = batrdef N BLOCK: the N-th attribute definition of the block (from 1, in list order); 0
// with the lines untouched when the block or the definition is not there.
Number Batrdef(FunctionContext& c) {
    const Drawing& drawing = c.engine.drawing;
    const int32_t wanted = c.Num(3);
    const BlockHandle block = FindBlockDef(drawing, c.FileName(4));
    if (block == 0 || wanted < 1) return 0.0;
    const EntityRecord* found = nullptr;
    int32_t seen = 0;
    ForEachEntity(drawing, drawing.Block(block).head, [&](EntityHandle entity) {
        const EntityRecord& record = drawing[entity];
        if (record.Kind() == EntityKind::AttributeDefinition && ++seen == wanted && !found) found = &record;
    });
    return found ? UnpackAttributeDefinition(c, *found) : 0.0;
}

Number Eatrdef(FunctionContext& c) {
    const EntityRecord* record = CurrentOfKind(c, EntityKind::AttributeDefinition);
    return record ? UnpackAttributeDefinition(c, *record) : 0.0;
}

// A = ebatr N: value N (from 1) of the current insert to store line N; 1 when the insert has it,
// else 0 with the line untouched.
Number Ebatr(FunctionContext& c) {
    const EntityRecord* record = CurrentOfKind(c, EntityKind::BlockInsert);
    const int32_t wanted = c.Num(3);
    if (!record) return 0.0;
    const InsertView view(*record);
    if (wanted < 1 || wanted > view.AttributeCount()) return 0.0;
    c.engine.store.SetLine(wanted, view.AttributeValue(wanted - 1));
    return 1.0;
}

constexpr StringFunctionEntry kEntityTexts[] = {
    {"etext", Etext}, {"edim", Edim}, {"ebname", Ebname}, {"elkdref", Elkdref}, {"ebmref", Ebmref},
};

constexpr NumericFunctionEntry kEntityNumbers[] = {
    {"batrdef", Batrdef},
    {"eatrdef", Eatrdef},
    {"ebatr", Ebatr},
};

}  // namespace

std::span<const StringFunctionEntry> EntityTextFunctions() { return kEntityTexts; }
std::span<const NumericFunctionEntry> EntityNumberFunctions() { return kEntityNumbers; }

}  // namespace linework
