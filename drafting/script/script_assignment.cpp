// Assignments: "T = value", "T op= value", "A = 1 B 2 C 3", "A = fn args", and string targets
// "n$ = words..." with = += /= -= *=.
#include <cmath>

#include "script/script_engine.h"

namespace linework {

ScriptEngine::Flow ScriptEngine::Assign() {
    return words_[0].EndsWith('$') ? AssignString() : AssignNumber();
}

ScriptEngine::Flow ScriptEngine::AssignString() {
    const ScriptWord& source = words_[2];
    bool joinable = (source.hasValue && !source.EndsWith('$')) || source.quoted || source.EndsWith('"') ||
                    source.EndsWith('$');
    std::string text;
    if (joinable) {
        text = JoinFrom(2);
    } else if (auto function = stringFunctions_.find(source.text); function != stringFunctions_.end()) {
        auto result = function->second(*this);
        if (result) text = std::move(*result);
    } else {
        return Error("Unknown function " + std::string(source.text.substr(0, 144)));
    }
    if (stop_) return Flow::Stop;
    auto target = IndexOf(words_[0].value, ProgramStore::kSlots);
    if (!target) return Error(IndexError(words_[0].value, '$'));
    int32_t line = *target;
    std::string old = store.GetTextLine(line);
    std::string_view op = words_[1].text;
    std::string result;
    if (op == "=") {
        result = text;
    } else if (op == "+=") {
        result = old + text;
    } else if (op == "/=") {
        result = old + "\r\n" + text;
    } else if (op == "-=") {
        result = text + old;
    } else if (op == "*=") {
        result = text + "\r\n" + old;
    } else {
        return Error("Invalid operator");
    }
    if (result.size() > kMaxScriptText) result.resize(kMaxScriptText);
    store.SetLine(line, result);
    return Flow::Next;
}

ScriptEngine::Flow ScriptEngine::AssignNumber() {
    const ScriptWord& source = words_[2];
    std::string_view op = words_[1].text;
    int last = words_.LastIndex();
    double result;
    int listFrom = 0;  // the first further target, 0 for none
    bool listFromSv = false;
    if (source.hasValue) {
        result = source.value;
        if (last >= 4) {
            const ScriptWord& third = words_[3];
            if (ScriptVariables::IsLetter(third.text) || third.EndsWith('#')) {
                listFrom = 3;
            } else if (third.text.size() == 1) {
                if (!ApplyOperator(third.text[0], result, words_[4].value, result)) return Flow::Stop;
            } else {
                return Error("Invalid operator");
            }
        }
    } else {
        std::string_view name = source.text;
        bool negate = !name.empty() && name[0] == '-';
        if (!name.empty() && (name[0] == '-' || name[0] == '+')) name.remove_prefix(1);
        // "sv" (a system variable by number) is the engine's own, with its list form.
        if (name == "sv") {
            result = systemVariables.Read(words_[3].number);
            if (last >= 5) {
                listFrom = 4;
                listFromSv = true;
            }
        } else if (auto function = numericFunctions_.find(
                       source.EndsWith('"') || source.EndsWith('$') ? kTextAsNumber : name);
                   function != numericFunctions_.end()) {
            auto value = function->second(*this);
            if (!value || stop_) return Flow::Stop;
            result = *value;
        } else {
            return Error("Unknown function " + std::string(source.text.substr(0, 144)));
        }
        if (negate) result = -result;
    }
    if (!StoreNumber(words_[0], op, result)) return Flow::Stop;
    for (int k = listFrom; listFrom && k <= last; k += 2) {
        double value = listFromSv ? systemVariables.Read(words_[k + 1].number) : words_[k + 1].value;
        if (!StoreNumber(words_[k], op, value)) return Flow::Stop;
    }
    return Flow::Next;
}

bool ScriptEngine::StoreNumber(const ScriptWord& target, std::string_view op, double value) {
    double result = value;
    if (op.size() == 2) {
        double old = 0;
        if (ScriptVariables::IsLetter(target.text)) {
            old = variables.Letter(target.text[0]);
        } else if (target.EndsWith('#')) {
            old = target.value;
        }
        if (!ApplyOperator(op[0], old, value, result)) return false;
    } else if (op.size() > 2) {
        Error("Invalid operator");
        return false;
    }
    if (!std::isfinite(result)) {
        Error("Math error");
        return false;
    }
    if (image.Byte(sysvar::kStepMode))
        host_.ShowPrompt(std::string(target.text) + " = " + FormatMeasurement(-1, result));
    if (ScriptVariables::IsLetter(target.text)) {
        variables.Letter(target.text[0]) = result;
    } else if (target.EndsWith('#')) {
        // Splitting refused an element outside the array, so the index is a valid one.
        variables.numbers[static_cast<size_t>(target.hashIndex)] = result;
    }
    return true;
}

bool ScriptEngine::ApplyOperator(char op, double left, double right, double& result) {
    auto integerOp = [&](auto apply) {
        result = static_cast<double>(apply(static_cast<int64_t>(SafeTrunc(left)), static_cast<int64_t>(SafeTrunc(right))));
        return true;
    };
    switch (op) {
        case '+': result = left + right; return true;
        case '-': result = left - right; return true;
        case '*': result = left * right; return true;
        case '/':
            if (right == 0) break;
            result = left / right;
            return true;
        case '%':
        case '\\':
            if (SafeTrunc(right) == 0) break;
            // In 64 bits, so that -2^31 / -1 does not overflow.
            return op == '%' ? integerOp([](int64_t a, int64_t b) { return a % b; })
                             : integerOp([](int64_t a, int64_t b) { return a / b; });
        case '&': return integerOp([](int64_t a, int64_t b) { return a & b; });
        case '|': return integerOp([](int64_t a, int64_t b) { return a | b; });
        case '^': return integerOp([](int64_t a, int64_t b) { return a ^ b; });
        default: Error("Invalid operator"); return false;
    }
    Error("Division by zero");
    return false;
}

}  // namespace linework
