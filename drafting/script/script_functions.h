// The function words of assignments ("A = sqrt B", "5$ = chr 72 105"), one table of
// {name, function} per family, each function a free function of a small context. RegisterScript
// Functions hands every table to the engine once; the engine looks the word up after its own.
#ifndef LINEWORK_SCRIPT_SCRIPT_FUNCTIONS_H
#define LINEWORK_SCRIPT_SCRIPT_FUNCTIONS_H

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>

#include "script/script_engine.h"
#include "script/script_services.h"

namespace linework {

// What the functions keep between calls.
struct FunctionState {
    // "rnd": seeded when the functions are registered; tests seed it themselves.
    std::mt19937 random{std::random_device{}()};
};

// One call of a function: the engine with the statement's words, the services, the state.
// Arguments start at word 3 (word 2 is the function's name).
struct FunctionContext {
    ScriptEngine& engine;
    ScriptServices& services;
    FunctionState& state;

    int Last() const { return engine.Words().LastIndex(); }
    const ScriptWord& Word(int k) const { return engine.Words()[k]; }
    int32_t Num(int k) const { return Word(k).number; }
    double Val(int k) const { return Word(k).value; }
    std::string_view RawText(int k) const { return Word(k).text; }
    // The string form of word k, and of words k.. joined without separators.
    std::string Str(int k) const { return engine.WordText(k); }
    std::string Join(int k) const;
    // Words k.. as a file name written as it stands (LIB.LKP), quoted words and n$ by their text.
    std::string FileName(int k) const;
    // Reports the error: the function gives no result.
    std::nullopt_t Fail(std::string_view message) const {
        engine.Fail(message);
        return std::nullopt;
    }
    // A result that is not a finite number stops the run with "Math error".
    std::optional<double> Finite(double value) const;
};

using NumericFunctionFn = std::optional<double> (*)(FunctionContext&);
using StringFunctionFn = std::optional<std::string> (*)(FunctionContext&);
struct NumericFunctionEntry {
    std::string_view name;
    NumericFunctionFn function;
};
struct StringFunctionEntry {
    std::string_view name;
    StringFunctionFn function;
};

// The families, each from its own file.
std::span<const NumericFunctionEntry> MathFunctions();
std::span<const NumericFunctionEntry> TextNumberFunctions();
std::span<const NumericFunctionEntry> DrawingNumberFunctions();
std::span<const NumericFunctionEntry> FileNumberFunctions();
std::span<const NumericFunctionEntry> SystemNumberFunctions();
std::span<const NumericFunctionEntry> EntityNumberFunctions();
std::span<const NumericFunctionEntry> StepNumberFunctions();
std::span<const StringFunctionEntry> TextFunctions();
std::span<const StringFunctionEntry> NameFunctions();
std::span<const StringFunctionEntry> EntityTextFunctions();

// "name file": starts a directory search (eight words or more) or hands out its next file.
std::optional<std::string> SearchDirectory(FunctionContext& c);

// Registers every family with the engine. The functions object must outlive the engine's runs.
class ScriptFunctions {
public:
    ScriptFunctions(ScriptEngine& engine, ScriptServices& services);
    FunctionState& State() { return state_; }

private:
    ScriptEngine& engine_;
    ScriptServices& services_;
    FunctionState state_;
};

}  // namespace linework

#endif
