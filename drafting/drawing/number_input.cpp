#include "drawing/number_input.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "drawing/text_helpers.h"

namespace linework {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The operator of "a op b": the first of * + - / at positions 2..len-1 (1-based) that follows a
// blank or control character, ".", a digit or "H", so that 2e-5 and -3 stay single operands.
size_t FindOperator(std::string_view text) {
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        char c = text[i];
        if (c != '*' && c != '+' && c != '-' && c != '/') continue;
        auto before = static_cast<unsigned char>(text[i - 1]);
        if (before < 33 || before == '.' || IsDigit(static_cast<char>(before)) || before == 'H' || before == 'h')
            return i;
    }
    return std::string_view::npos;
}

std::optional<double> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 16) return std::nullopt;
    long double value = 0;
    long double multiplier = 1;
    for (size_t i = digits.size(); i-- > 0;) {
        char c = static_cast<char>(toupper(static_cast<unsigned char>(digits[i])));
        int digit;
        if (IsDigit(c)) {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value += digit * multiplier;
        multiplier *= 16;
    }
    return static_cast<double>(value);
}

// A trailing part that may be left out ("3:" and "12.30." end there): 0 when empty.
std::optional<double> OptionalReal(std::string_view text) {
    return text.empty() ? std::optional<double>(0) : ParsePlainReal(text);
}

// unit:sub, the text already signless (a "0" in front).
std::optional<double> ParseUnits(std::string_view text, int32_t subUnits) {
    size_t colon = text.find(':');
    auto unit = ParsePlainReal(text.substr(0, colon));
    auto sub = OptionalReal(text.substr(colon + 1));
    if (!unit || !sub) return std::nullopt;
    return *unit + std::fabs(*sub / subUnits);
}

// deg.min.sec, the text already signless.
std::optional<double> ParseDegrees(std::string_view text) {
    size_t first = text.find('.');
    size_t second = text.find('.', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    auto degrees = ParsePlainReal(text.substr(0, first));
    auto minutes = ParsePlainInteger(text.substr(first + 1, second - first - 1));
    auto seconds = OptionalReal(text.substr(second + 1));
    if (!degrees || !minutes || !seconds) return std::nullopt;
    return *degrees + std::fabs(static_cast<double>(*minutes)) / 60 + std::fabs(*seconds) / 3600;
}

// The parts of a plain decimal real: sign, digits with an optional point, optional exponent.
struct PlainRealParts {
    std::string_view integer, fraction;
    int64_t exponent = 0;  // saturated far beyond any double's range
};

std::optional<PlainRealParts> SplitPlainReal(std::string_view text) {
    PlainRealParts parts;
    size_t i = 0;
    auto digitsFrom = [&](size_t start) {
        while (i < text.size() && IsDigit(text[i])) ++i;
        return text.substr(start, i - start);
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    parts.integer = digitsFrom(i);
    if (i < text.size() && text[i] == '.') parts.fraction = digitsFrom(++i);
    if (parts.integer.empty() && parts.fraction.empty()) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::string_view exponent = digitsFrom(i);
        if (exponent.empty()) return std::nullopt;
        for (char c : exponent) parts.exponent = std::min<int64_t>(parts.exponent * 10 + (c - '0'), 1000000);
        if (negative) parts.exponent = -parts.exponent;
    }
    if (i != text.size()) return std::nullopt;
    return parts;
}

}  // namespace

std::optional<double> ParsePlainReal(std::string_view text) {
    if (!SplitPlainReal(text)) return std::nullopt;
    // from_chars takes no leading "+"; the grammar above already excluded what it would add.
    std::string_view number = text[0] == '+' ? text.substr(1) : text;
    double value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    return value;
}

bool PlainRealOverflows(std::string_view text) {
    auto parts = SplitPlainReal(text);
    if (!parts || ParsePlainReal(text)) return false;
    // Out of a double's range one way or the other: the power of ten of the first non-zero digit
    // says which.
    std::string digits = std::string(parts->integer) + std::string(parts->fraction);
    size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return false;
    int64_t power = static_cast<int64_t>(parts->integer.size()) - static_cast<int64_t>(first) - 1 + parts->exponent;
    return power > 0;
}

std::optional<int32_t> ParsePlainInteger(std::string_view text) {
    // from_chars takes a "-" but no "+": a "+" is stripped first, and no "-" may follow it.
    std::string_view digits = !text.empty() && text[0] == '+' ? text.substr(1) : text;
    const bool secondSign = digits.size() < text.size() && !digits.empty() && digits[0] == '-';
    int32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || secondSign || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<double> ParseNumber(std::string_view input, const NumberGrammar& grammar) {
    std::string_view text = TrimBlanks(input);
    if (text.empty()) return std::nullopt;
    if (auto plain = ParsePlainReal(text)) return plain;
    if (text.back() == 'H' || text.back() == 'h') return ParseHex(text.substr(0, text.size() - 1));

    double sign = 1;
    std::string signless = "0";
    if (text[0] == '+' || text[0] == '-') {
        sign = text[0] == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    signless += text;
    std::optional<double> value;
    if (grammar.subUnits != 0 && signless.find(':') != std::string::npos) {
        value = ParseUnits(signless, grammar.subUnits);
    } else if (grammar.angleMode == kAngleDegrees && signless.find('.') != std::string::npos) {
        value = ParseDegrees(signless);
    }
    if (!value) return std::nullopt;
    return *value * sign;
}

std::optional<double> EvaluateNumberInput(std::string_view input, const NumberGrammar& grammar) {
    std::string_view text = TrimBlanks(input);
    size_t at = FindOperator(text);
    double value;
    if (at == std::string_view::npos) {
        auto operand = ParseNumber(text, grammar);
        if (!operand) return std::nullopt;
        value = *operand;
    } else {
        auto left = ParseNumber(text.substr(0, at), grammar);
        auto right = ParseNumber(text.substr(at + 1), grammar);
        if (!left || !right) return std::nullopt;
        switch (text[at]) {
            case '*': value = *left * *right; break;
            case '+': value = *left + *right; break;
            case '-': value = *left - *right; break;
            default:
                if (*right == 0) return std::nullopt;
                value = *left / *right;
        }
    }
    if (!(std::fabs(value) <= kMaxInputMagnitude)) return std::nullopt;
    return value;
}

bool NumberInput::Evaluate(std::string_view text) {
    auto value = EvaluateNumberInput(text, grammar);
    if (!value) return false;
    real = *value;
    integer = SafeTrunc(*value);
    return true;
}

}  // namespace linework
