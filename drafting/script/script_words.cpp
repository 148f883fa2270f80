#include "script/script_words.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace linework {

namespace {

// Value of an unquoted word: see the header.
// Whether the typed-number grammar could read the text at all: every form holds a digit, except
// hexadecimal numbers of letters alone ("FFH"). Command words and operators skip the grammar.
bool MayBeNumber(std::string_view text) {
    if (text.size() >= 2 && (text.back() == 'H' || text.back() == 'h')) return true;
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A run of up to 15 decimal digits, the most common number of all, without the general parser.
bool SmallInteger(std::string_view text, double& value) {
    if (text.empty() || text.size() > 15) return false;
    int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    value = static_cast<double>(n);
    return true;
}

bool ValueWord(ScriptWord& word, ScriptVariables& variables, const NumberGrammar& grammar, std::string& error) {
    if (ScriptVariables::IsLetter(word.text)) {
        word.value = variables.Letter(word.text[0]);
        word.number = SafeTrunc(word.value);
        word.hasValue = true;
        return true;
    }
    double small = 0;
    if (SmallInteger(word.text, small)) {
        word.value = small;
        word.number = SafeTrunc(small);
        word.hasValue = true;
        return true;
    }
    // A plain number starts with a digit or a point, after an optional sign ("+=" is no number).
    auto startsNumber = [](std::string_view text) {
        char c = text.empty() ? '\0' : text[0];
        return (c >= '0' && c <= '9') || c == '.';
    };
    bool signedText = !word.text.empty() && (word.text[0] == '+' || word.text[0] == '-');
    bool numeric = startsNumber(signedText ? word.text.substr(1) : word.text);
    if (auto plain = numeric ? ParsePlainReal(word.text) : std::nullopt) {
        word.value = *plain;
        word.number = SafeTrunc(*plain);
        word.hasValue = true;
        return true;
    }
    // A number no double holds is a floating-point fault of the statement, not a word without
    // a value (which would be 0).
    if (numeric && PlainRealOverflows(word.text)) {
        error = "Math error";
        return false;
    }
    std::string_view rest = word.text;
    if (!rest.empty() && rest.back() == '$') rest.remove_suffix(1);
    bool element = !rest.empty() && rest.back() == '#';
    if (element) rest.remove_suffix(1);
    bool negate = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negate = rest[0] == '-';
        rest.remove_prefix(1);
    }
    double value;
    if (ScriptVariables::IsLetter(rest)) {
        value = variables.Letter(rest[0]);
    } else if (auto typed = MayBeNumber(rest) ? EvaluateNumberInput(rest, grammar) : std::nullopt) {
        value = *typed;
    } else {
        return true;  // no value: 0
    }
    if (element) {
        auto n = IndexOf(value, ScriptVariables::kArraySize);
        if (!n) {
            error = IndexError(value, '#');
            return false;
        }
        word.hashIndex = *n;
        value = variables.numbers[static_cast<size_t>(*n)];
    }
    word.value = negate ? -value : value;
    word.number = SafeTrunc(word.value);
    word.hasValue = true;
    return true;
}

}  // namespace

bool WordTable::Split(std::string_view statement, ScriptVariables& variables, const NumberGrammar& grammar,
                      std::string& error) {
    statement_ = statement;
    count_ = 0;
    std::string_view rest = statement;
    while (!rest.empty() && count_ < kMaxWords) {
        ScriptWord& word = words_[static_cast<size_t>(count_++)];
        word = ScriptWord{};
        if (rest[0] == '"') {
            size_t close = rest.find('"', 1);
            // An unclosed quote runs to the end, where the statement gets its closing quote: the
            // word reads "text" wherever it is shown. Built aside first, as the statement may
            // lie in the buffer it replaces.
            if (close == std::string_view::npos) {
                std::string closed;
                closed.reserve(statement.size() + 1);
                closed.append(statement).push_back('"');
                closed_ = std::move(closed);
                return Split(closed_, variables, grammar, error);
            }
            size_t end = close + 1;
            word.text = rest.substr(0, end);
            word.quoted = true;
            rest.remove_prefix(std::min(rest.size(), end + 1));
            continue;
        }
        // Words are short: a plain scan beats a library search call here.
        size_t blank = static_cast<size_t>(std::find(rest.begin(), rest.end(), ' ') - rest.begin());
        word.text = rest.substr(0, blank);
        rest.remove_prefix(std::min(rest.size(), blank + 1));
        if (!ValueWord(word, variables, grammar, error)) return false;
    }
    return true;
}

std::string_view WordTable::RestAfter(int k) const {
    if (k >= count_) return {};
    const ScriptWord& word = words_[static_cast<size_t>(k)];
    size_t end = static_cast<size_t>(word.text.data() - statement_.data()) + word.text.size() + 1;
    return end >= statement_.size() ? std::string_view() : statement_.substr(end);
}

std::optional<int32_t> IndexOf(double value, int32_t size) {
    double index = std::trunc(value);
    if (!(index >= 0 && index < size)) return std::nullopt;
    return static_cast<int32_t>(index);
}

std::string IndexError(double value, char kind) {
    return FormatMeasurement(-1, std::trunc(value)) + kind + " out of range";
}

std::string FormatMeasurement(int32_t format, double value) {
    char text[400];
    if (format >= 0) {
        std::snprintf(text, sizeof text, "%*.*f", (format >> 8) & 0xFF, format & 0xFF, value);
        return text;
    }
    std::snprintf(text, sizeof text, "%.15G", value);
    std::string out = text;
    // "1E+15" -> "1E15", "1E-05" -> "1E-5".
    size_t e = out.find('E');
    if (e != std::string::npos) {
        std::string mantissa = out.substr(0, e);
        bool negative = out[e + 1] == '-';
        size_t digits = out.find_first_not_of("+-0", e + 1);
        out = mantissa + "E" + (negative ? "-" : "") + (digits == std::string::npos ? "0" : out.substr(digits));
    }
    return out;
}

}  // namespace linework
