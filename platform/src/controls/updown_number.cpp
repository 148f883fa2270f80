#include "controls/updown_number.h"

#include <algorithm>
#include <cstdint>

namespace winplat::controls {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == kThousandsSeparator || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

int UpDownRange::clamp(int position) const {
    return std::clamp(position, low(), high());
}

int UpDownRange::deltaFor(int direction, int increment) const {
    return (upper < lower ? -direction : direction) * increment;
}

int UpDownRange::moved(int position, int delta, bool wrap) const {
    const int64_t target = int64_t{position} + delta;
    if (target > high()) return wrap ? low() : high();
    if (target < low()) return wrap ? high() : low();
    return static_cast<int>(target);
}

std::string formatPosition(int position, bool thousands) {
    const std::string digits = std::to_string(position < 0 ? -int64_t{position} : int64_t{position});
    std::string out = position < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (thousands && i > 0 && (digits.size() - i) % 3 == 0) out += kThousandsSeparator;
        out += digits[i];
    }
    return out;
}

std::optional<int> parsePosition(std::string_view text) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !isDigit(text.front())) return std::nullopt;
    int64_t value = 0;
    for (const char c : text) {
        if (isBlank(c)) continue;  // a separator between digits (the ends are trimmed)
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace winplat::controls
