#include "profile/ini_text.h"

#include "registry/reg_tree.h"

namespace winplat::profile {

namespace {

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The name of a "[name]" line; text after the ']' is ignored, as Windows does.
std::optional<std::string_view> sectionOf(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

bool isComment(std::string_view line) {
    line = trim(line);
    return !line.empty() && line.front() == ';';
}

// The key of a "key=value" line.
std::optional<std::string_view> keyOf(std::string_view line) {
    if (isComment(line) || sectionOf(line)) return std::nullopt;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return trim(line.substr(0, equals));
}

std::string_view valueOf(std::string_view line) {
    std::string_view value = trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

bool same(std::string_view a, std::string_view b) { return registry::sameName(a, b); }

}  // namespace

IniText::IniText(std::string_view text) {
    const size_t firstEnd = text.find('\n');
    if (firstEnd != std::string_view::npos && (firstEnd == 0 || text[firstEnd - 1] != '\r')) lineEnd_ = "\n";
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        const size_t taken = newline == std::string_view::npos ? text.size() : newline + 1;
        size_t length = newline == std::string_view::npos ? text.size() : newline;
        if (length > 0 && text[length - 1] == '\r') --length;
        lines_.push_back({std::string(text.substr(0, length)), std::string(text.substr(length, taken - length))});
        text.remove_prefix(taken);
    }
}

std::string IniText::text() const {
    std::string out;
    for (const Line& line : lines_) out.append(line.text).append(line.end);
    return out;
}

void IniText::endLastLine() {
    if (!lines_.empty() && (lines_.back().end.empty() || lines_.back().end.back() != '\n')) lines_.back().end = lineEnd_;
}

void IniText::eraseLines(size_t from, size_t to) {
    if (to == lines_.size() && from > 0) lines_[from - 1].end = lines_.back().end;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(from), lines_.begin() + static_cast<std::ptrdiff_t>(to));
}

std::vector<std::string> IniText::sectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (auto name = sectionOf(line.text)) names.emplace_back(*name);
    }
    return names;
}

std::optional<IniText::Span> IniText::findSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const auto name = sectionOf(lines_[i].text);
        if (!name || !same(*name, trim(section))) continue;
        size_t end = i + 1;
        while (end < lines_.size() && !sectionOf(lines_[end].text)) ++end;
        return Span{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> IniText::findKey(const Span& span, std::string_view key) const {
    for (size_t i = span.header + 1; i < span.end; ++i) {
        const auto name = keyOf(lines_[i].text);
        if (name && same(*name, trim(key))) return i;
    }
    return std::nullopt;
}

std::vector<std::string> IniText::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    const auto span = findSection(section);
    if (!span) return names;
    for (size_t i = span->header + 1; i < span->end; ++i) {
        if (auto name = keyOf(lines_[i].text)) names.emplace_back(*name);
    }
    return names;
}

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const {
    const auto span = findSection(section);
    if (!span) return std::nullopt;
    const auto line = findKey(*span, key);
    if (!line) return std::nullopt;
    return std::string(valueOf(lines_[*line].text));
}

void IniText::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(trim(key)) + "=" + std::string(value);
    const auto span = findSection(section);
    if (!span) {
        endLastLine();
        if (!lines_.empty() && !trim(lines_.back().text).empty()) lines_.push_back({"", lineEnd_});
        lines_.push_back({"[" + std::string(trim(section)) + "]", lineEnd_});
        lines_.push_back({line, lineEnd_});
        return;
    }
    if (const auto at = findKey(*span, key)) {
        // The key keeps the case and place it has in the file.
        std::string& text = lines_[*at].text;
        text = std::string(trim(text.substr(0, text.find('=')))) + "=" + std::string(value);
        return;
    }
    // A new key goes after the section's last non-blank line, before the blank lines that
    // separate it from the next section.
    size_t at = span->end;
    while (at > span->header + 1 && trim(lines_[at - 1].text).empty()) --at;
    if (at == lines_.size()) endLastLine();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{line, lineEnd_});
}

bool IniText::eraseKey(std::string_view section, std::string_view key) {
    const auto span = findSection(section);
    if (!span) return false;
    const auto at = findKey(*span, key);
    if (!at) return false;
    eraseLines(*at, *at + 1);
    return true;
}

bool IniText::eraseSection(std::string_view section) {
    const auto span = findSection(section);
    if (!span) return false;
    eraseLines(span->header, span->end);
    return true;
}

}  // namespace winplat::profile
