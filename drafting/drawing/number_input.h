// The typed-number grammar of the command line and of script arguments.
//
// An input is one operand or two joined by one of * + - / (the operator never first or last, and
// only after a blank, ".", a digit or "H"). An operand is a plain decimal real, a hexadecimal
// number ending in "H" (1 to 16 digits), "unit:sub" when sub-units are set, or "deg.min.sec" in
// degree mode. Plain reals are read by a strict parser of that grammar alone: "inf", "nan", hex
// floats and locale commas are not numbers. Results above 1e38 in magnitude are refused.
#ifndef LINEWORK_DRAWING_NUMBER_INPUT_H
#define LINEWORK_DRAWING_NUMBER_INPUT_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace linework {

// Angle unit modes of the user: degrees, grads; any other value is radians.
inline constexpr int32_t kAngleDegrees = 0;
inline constexpr int32_t kAngleGrads = 1;

inline constexpr double kMaxInputMagnitude = 1e38;

// What the grammar depends on: the angle unit mode (the D.M.S form is read in degree mode only)
// and the number of sub-units in a unit (0: the unit:sub form is off).
struct NumberGrammar {
    int32_t angleMode = kAngleDegrees;
    int32_t subUnits = 0;
};

// A 32-bit integer of a double: truncated toward zero; 2^31..2^32-1 wrap to negative integers;
// anything else outside the range, and NaN, gives 0.
inline int32_t SafeTrunc(double value) {
    if (!(value >= -2147483648.0 && value <= 4294967295.0)) return 0;
    if (value > 2147483647.0) return static_cast<int32_t>(static_cast<int64_t>(value - 4294967296.0));
    return static_cast<int32_t>(value);
}

// A plain decimal real: optional sign, digits with an optional point, optional exponent; the
// whole text, nothing before or after. Nothing for anything else or a value beyond a double.
std::optional<double> ParsePlainReal(std::string_view text);

// Whether the text is a plain decimal real by that grammar whose magnitude lies beyond a double
// (1e400): a number, but one no double holds. A value too small for a double is no overflow.
bool PlainRealOverflows(std::string_view text);

// A plain decimal integer with an optional sign that fits 32 bits.
std::optional<int32_t> ParsePlainInteger(std::string_view text);

// One operand of the grammar (trimmed first).
std::optional<double> ParseNumber(std::string_view text, const NumberGrammar& grammar);

// The whole grammar: an operand, or two with one operator.
std::optional<double> EvaluateNumberInput(std::string_view text, const NumberGrammar& grammar);

// The value of the last accepted input, as the command line and the scripts keep it.
struct NumberInput {
    NumberGrammar grammar;
    double real = 0;
    int32_t integer = 0;

    // True when the text is a number; then real and integer hold it, else both stay as they were.
    bool Evaluate(std::string_view text);
};

}  // namespace linework

#endif
