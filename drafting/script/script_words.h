// A statement cut into words, and each word's value: numbers, the typed-number grammar, the
// variables A..Z and a..z, array elements n# and A#, string references n$ and A$ (their number is
// the line), a leading + or - (- negates). Quoted words keep their quotes and have no value.
// Words are views into the statement's text; splitting allocates nothing, except for a statement
// whose last quote is unclosed, which the table closes in a copy of its own.
#ifndef LINEWORK_SCRIPT_SCRIPT_WORDS_H
#define LINEWORK_SCRIPT_SCRIPT_WORDS_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "drawing/number_input.h"

namespace linework {

// The script's own variables, kept from run to run.
struct ScriptVariables {
    static constexpr int32_t kArraySize = 1000;
    std::array<double, 'z' - 'A' + 1> letters{};  // indexed by character code - 'A'
    std::array<double, kArraySize> numbers{};      // the "#" array

    static bool IsLetter(std::string_view text) {
        return text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
    }
    double& Letter(char c) { return letters[static_cast<size_t>(c - 'A')]; }
};

struct ScriptWord {
    std::string_view text;
    double value = 0;
    int32_t number = 0;
    int32_t hashIndex = 0;
    bool hasValue = false;  // a number, a variable, an element or a grammar input
    bool quoted = false;

    bool EndsWith(char c) const { return !text.empty() && text.back() == c; }
    bool IsString() const { return quoted || EndsWith('$'); }
};

class WordTable {
public:
    static constexpr int kMaxWords = 63;

    // Splits and values the statement (which must outlive the table's use). False when a word's
    // element index lies outside the array or a number lies beyond a double; 'error' then says
    // which ("1000# out of range", "Math error").
    bool Split(std::string_view statement, ScriptVariables& variables, const NumberGrammar& grammar,
               std::string& error);

    int Count() const { return count_; }
    int LastIndex() const { return count_ - 1; }
    // Word k; an empty word (no text, no value) past the last.
    const ScriptWord& operator[](int k) const {
        static const ScriptWord kNone{};
        return k >= 0 && k < count_ ? words_[static_cast<size_t>(k)] : kNone;
    }
    // The text after word k and its following blank: what "else" runs as its own statement.
    std::string_view RestAfter(int k) const;

private:
    std::array<ScriptWord, kMaxWords> words_{};
    std::string closed_;  // the statement with its closing quote added, when it lacked one
    std::string_view statement_;
    int count_ = 0;
};

// The element or store line an index word names (5#, A#, 5$, A$): its value truncated toward
// zero, when that lies in 0..size-1. Judged on the value itself, not on its 32-bit number, which
// would wrap 2^32 to 0 and 2^31 to a negative index.
std::optional<int32_t> IndexOf(double value, int32_t size);
// "n# out of range" or "n$ out of range" (kind '#' or '$'), n the index as the value gives it.
std::string IndexError(double value, char kind);

// The general text of a number (15 significant digits, "." as decimal point, "1E15" exponents),
// or with a format word of 0 or more the fixed form: width bits 8-15, decimals bits 0-7.
std::string FormatMeasurement(int32_t format, double value);

}  // namespace linework

#endif
