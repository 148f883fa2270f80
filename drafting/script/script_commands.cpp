#include "script/script_commands.h"

namespace linework {

std::string CommandContext::Join(int k) const {
    std::string joined;
    for (; k <= Last() && !engine.Failed(); ++k) joined += Str(k);
    return joined;
}

std::string CommandContext::Name(int k) const {
    std::string joined;
    for (; k <= Last() && !engine.Failed(); ++k) joined += Word(k).IsString() ? Str(k) : std::string(Word(k).text);
    return joined;
}

std::optional<int32_t> CommandContext::InRange(int k, int32_t first, int32_t last) const {
    const double value = Val(k);
    if (value >= first && value <= last) return Num(k);
    Fail(kValueOutOfRange);
    return std::nullopt;
}

std::optional<uint8_t> CommandContext::Byte(int k) const {
    auto value = InRange(k, 0, 255);
    if (!value) return std::nullopt;
    return static_cast<uint8_t>(*value);
}

double& CommandContext::PointValue(int i) const {
    return engine.storedValues.slots[StoredValues::kPointList + static_cast<size_t>(i)];
}

ScriptCommands::ScriptCommands(ScriptEngine& engine)
    : engine_(engine),
      adders_{.drawing = engine.drawing,
              .variables = engine.image,
              .undo = engine.undo,
              .draw = state_.draw,
              .programFolder = engine.ProgramFolder(),
              .textLine = [&engine](int32_t line) { return engine.store.GetTextLine(line); }} {
    auto add = [this](std::span<const CommandEntry> table) {
        for (const CommandEntry& entry : table)
            engine_.AddCommand(std::string(entry.name), [this, fn = entry.function](ScriptEngine& running) {
                CommandContext context{running, state_, adders_};
                return fn(context);
            });
    };
    add(DrawCommands());
    add(EditCommands());
    add(ListCommands());
    add(EntityCommands());
    add(SelectionCommands());
}

}  // namespace linework
