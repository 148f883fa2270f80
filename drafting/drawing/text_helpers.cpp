#include "drawing/text_helpers.h"

#include <array>

#include "winplat/cp1250.h"

namespace linework {

namespace {

bool IsBlank(unsigned char c) { return c < 33; }

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

std::string NormalizeProgramLine(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    bool quoted = false;
    size_t i = 0;
    while (i < line.size()) {
        auto c = static_cast<unsigned char>(line[i]);
        if (c == '"') {
            quoted = !quoted;
            out += '"';
            ++i;
        } else if (quoted) {
            out += c == static_cast<unsigned char>(kStatementSeparator) ? ' ' : static_cast<char>(c);
            ++i;
        } else if (IsBlank(c)) {
            size_t end = i;
            while (end < line.size() && IsBlank(static_cast<unsigned char>(line[end]))) ++end;
            if (end == line.size() || line[end] != ';') out += ' ';
            i = end;
        } else if (c == ';') {
            out += kStatementSeparator;
            ++i;
            while (i < line.size() && (line[i] == ';' || IsBlank(static_cast<unsigned char>(line[i])))) ++i;
        } else {
            out += static_cast<char>(c);
            ++i;
        }
    }
    auto edge = [](char c) { return IsBlank(static_cast<unsigned char>(c)) || c == kStatementSeparator; };
    if (!out.empty() && edge(out.front())) out.erase(0, 1);
    if (!out.empty() && edge(out.back())) out.pop_back();
    return out;
}

std::string ExpandNewlineMarks(std::string_view text) { return ReplaceAllText(text, "%%", "\r\n"); }

std::string ReplaceAllText(std::string_view text, std::string_view search, std::string_view replacement) {
    if (search.empty()) return std::string(text);
    std::string out;
    size_t from = 0;
    for (size_t at; (at = text.find(search, from)) != std::string_view::npos; from = at + search.size()) {
        out.append(text.substr(from, at - from));
        out.append(replacement);
    }
    out.append(text.substr(from));
    return out;
}

std::string PadDateTimeText(std::string_view input) {
    std::string text(TrimBlanks(input));
    if (text.size() <= 12) return text;
    // Positions after each insert, as the day, month and hour fields move right.
    for (auto [mark, at] : std::array<std::pair<char, size_t>, 3>{{{'.', 1}, {'.', 4}, {':', 12}}}) {
        if (text.size() > at && text[at] == mark) text.insert(at - 1, 1, '0');
    }
    return text;
}

std::string UpperCaseShortString(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(winplat::cp1250::toUpper(static_cast<uint8_t>(c)));
    return out;
}

void FilterEditKey(char& key, bool keypadDecimal, bool passControlKeys) {
    if (keypadDecimal) key = '.';
    if (passControlKeys) return;
    auto c = static_cast<unsigned char>(key);
    if (c >= 32) return;
    switch (c) {
        case 0: case 3: case 8: case 15: case 20: case 21: case 22: case 26: return;
        default: key = 0;
    }
}

uint8_t MapImportedLineType(int32_t imported) {
    static constexpr std::array<uint8_t, 8> kTypes{0, 3, 2, 2, 4, 4, 5, 1};
    return imported >= 1 && imported <= 7 ? kTypes[static_cast<size_t>(imported)] : 0;
}

}  // namespace linework
