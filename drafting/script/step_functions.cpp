// Numeric functions that ask the user through an interactive command step of the drawing view
// and wait for the answer: "getd" (a point or a distance), "getl" (a line picked), and "fptp"
// (how many steps are stacked). The wait sleeps on the message loop between window messages;
// it ends when the step does, when the run is asked to stop, or when the program ends.
#include "drawing/entity_views.h"
#include "script/script_functions.h"
#include "script/script_words.h"

namespace linework {

namespace {

using Result = std::optional<double>;

// Lets window messages through until the step ends; false, the step cancelled, when the run
// was asked to stop or the program is ending first.
bool WaitForStep(FunctionContext& c) {
    while (c.services.StepWaiting()) {
        if (c.engine.StopRequested() || !c.services.WaitForMessages()) {
            c.services.CancelStep();
            return false;
        }
    }
    return true;
}

// Stores a value in the target that follows word k's: the next letter (Z is followed by a, z by
// none) or the next element of the array. Words of other forms store nothing.
bool StoreInNextTarget(FunctionContext& c, int k, double value) {
    const ScriptWord& word = c.Word(k);
    if (ScriptVariables::IsLetter(word.text)) {
        const char letter = word.text[0];
        if (letter == 'z') return true;
        c.engine.variables.Letter(letter == 'Z' ? 'a' : static_cast<char>(letter + 1)) = value;
    } else if (word.EndsWith('#')) {
        const int32_t next = word.hashIndex + 1;
        if (next >= ScriptVariables::kArraySize) {
            c.Fail(IndexError(next, '#'));
            return false;
        }
        c.engine.variables.numbers[static_cast<size_t>(next)] = value;
    }
    return true;
}

// A = getd K T PROMPT1 [PROMPT2]: K 1 asks for a distance (two points or a typed number), any
// other K for a point. Given, the point's x goes to target T and its y to the target after it,
// a distance to T, and the result is 1; cancelled, the targets keep their values and it is 0.
Result Getd(FunctionContext& c) {
    PointStepRequest request;
    request.distance = c.Num(3) == 1;
    request.prompt1 = c.Str(5);
    request.prompt2 = c.Last() >= 6 ? c.Str(6) : request.prompt1;
    if (c.engine.Failed() || !c.services.BeginPointStep(request)) return 0.0;
    if (!WaitForStep(c)) return 0.0;
    const PointStepAnswer answer = c.services.TakePointAnswer();
    if (!answer.given) return 0.0;
    if (request.distance) {
        if (!c.Finite(answer.distance) || !c.engine.StoreTarget(4, answer.distance)) return std::nullopt;
    } else {
        if (!c.Finite(answer.point.x) || !c.Finite(answer.point.y)) return std::nullopt;
        if (!c.engine.StoreTarget(4, answer.point.x) || !StoreInNextTarget(c, 4, answer.point.y)) return std::nullopt;
    }
    return 1.0;
}

bool IsLineKind(EntityKind kind) { return kind == EntityKind::Polyline || kind == EntityKind::Dimension; }

// A = getl SOUND PROMPT...: the single pick. A polyline or a dimension picked (or a block insert
// whose picked part is one) gives 1: the picked segment's end points go to slots 8 to 11 of the
// stored value table, the entity becomes the current one and its selected flag is flipped back.
Result Getl(FunctionContext& c) {
    const std::string prompt = c.Join(4);
    if (c.engine.Failed() || !c.services.BeginLinePick(c.Num(3), prompt)) return 0.0;
    if (!WaitForStep(c)) return 0.0;
    const LinePickAnswer pick = c.services.TakeLinePick();
    Drawing& drawing = c.engine.drawing;
    if (pick.entity == 0 || !drawing.entities.Holds(pick.entity)) return 0.0;
    EntityRecord& record = drawing[pick.entity];
    const EntityKind kind = record.Kind() == EntityKind::BlockInsert ? pick.part : record.Kind();
    if (!IsLineKind(kind)) return 0.0;
    for (double value : {pick.from.x, pick.from.y, pick.to.x, pick.to.y})
        if (!c.Finite(value)) return std::nullopt;
    auto& slots = c.engine.storedValues.slots;
    slots[StoredValues::kPickedSegment] = pick.from.x;
    slots[StoredValues::kPickedSegment + 1] = pick.from.y;
    slots[StoredValues::kPickedSegment + 2] = pick.to.x;
    slots[StoredValues::kPickedSegment + 3] = pick.to.y;
    record.SetByte(entity_field::kKindAndFlags, record.KindAndFlags() ^ entity_flag::kSelected);
    drawing.current = pick.entity;
    return 1.0;
}

Result Fptp(FunctionContext& c) { return static_cast<double>(c.services.CommandStepDepth()); }

constexpr NumericFunctionEntry kSteps[] = {
    {"getd", Getd},
    {"getl", Getl},
    {"fptp", Fptp},
};

}  // namespace

std::span<const NumericFunctionEntry> StepNumberFunctions() { return kSteps; }

}  // namespace linework
