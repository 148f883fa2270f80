#include "script/script_functions.h"

#include <cmath>

namespace linework {

std::string FunctionContext::Join(int k) const {
    std::string joined;
    for (; k <= Last() && !engine.Failed(); ++k) joined += Str(k);
    return joined;
}

std::string FunctionContext::FileName(int k) const {
    std::string joined;
    for (; k <= Last() && !engine.Failed(); ++k) joined += Word(k).IsString() ? Str(k) : std::string(RawText(k));
    return joined;
}

std::optional<double> FunctionContext::Finite(double value) const {
    if (!std::isfinite(value)) return Fail("Math error");
    return value;
}

ScriptFunctions::ScriptFunctions(ScriptEngine& engine, ScriptServices& services)
    : engine_(engine), services_(services) {
    auto numeric = [this](std::span<const NumericFunctionEntry> table) {
        for (const NumericFunctionEntry& entry : table)
            engine_.AddNumericFunction(std::string(entry.name), [this, fn = entry.function](ScriptEngine& running) {
                FunctionContext context{running, services_, state_};
                return fn(context);
            });
    };
    auto text = [this](std::span<const StringFunctionEntry> table) {
        for (const StringFunctionEntry& entry : table)
            engine_.AddStringFunction(std::string(entry.name), [this, fn = entry.function](ScriptEngine& running) {
                FunctionContext context{running, services_, state_};
                return fn(context);
            });
    };
    numeric(MathFunctions());
    numeric(TextNumberFunctions());
    numeric(DrawingNumberFunctions());
    numeric(FileNumberFunctions());
    numeric(SystemNumberFunctions());
    numeric(EntityNumberFunctions());
    numeric(StepNumberFunctions());
    text(TextFunctions());
    text(NameFunctions());
    text(EntityTextFunctions());
}

}  // namespace linework
