#include "host/input_script.h"

#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "winplat/cp1250.h"

namespace winplat::host {
namespace {

using Kind = ScriptStep::Kind;

// Screen coordinates and wheel deltas stay far inside what the messages carry (16 bits).
constexpr long kLargestNumber = 32767;
constexpr long kLongestWait = 24L * 3600 * 1000;

struct Words {
    std::vector<std::string_view> list;
};

Words split(std::string_view line) {
    Words words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        const size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
        if (at > start) words.list.push_back(line.substr(start, at - start));
    }
    return words;
}

bool number(std::string_view word, long lowest, long highest, long& value) {
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    return error == std::errc{} && stop == end && value >= lowest && value <= highest;
}

// The numbers after the command: exactly 'count' of them, each within the bounds.
bool numbers(const Words& words, size_t count, long lowest, long highest, std::vector<long>& values,
             std::string& why) {
    if (words.list.size() != count + 1) {
        why = "'" + std::string(words.list[0]) + "' takes " + std::to_string(count) + " number" +
              (count == 1 ? "" : "s");
        return false;
    }
    for (size_t i = 1; i <= count; ++i) {
        long value = 0;
        if (!number(words.list[i], lowest, highest, value)) {
            why = "'" + std::string(words.list[i]) + "' is not a number from " + std::to_string(lowest) + " to " +
                  std::to_string(highest);
            return false;
        }
        values.push_back(value);
    }
    return true;
}

POINT point(long x, long y) { return {static_cast<LONG>(x), static_cast<LONG>(y)}; }

// What follows the command word, as written (type keeps the spaces inside it).
std::string_view rest(std::string_view line, std::string_view command) {
    std::string_view after = line.substr(static_cast<size_t>(command.data() + command.size() - line.data()));
    while (!after.empty() && (after.front() == ' ' || after.front() == '\t')) after.remove_prefix(1);
    // Spaces before a comment are not typed.
    while (!after.empty() && (after.back() == ' ' || after.back() == '\t')) after.remove_suffix(1);
    return after;
}

bool pointStep(Kind kind, const Words& words, ScriptStep& step, std::string& why) {
    std::vector<long> v;
    if (!numbers(words, 2, -kLargestNumber, kLargestNumber, v, why)) return false;
    step.kind = kind;
    step.from = point(v[0], v[1]);
    return true;
}

bool parseStep(std::string_view line, const Words& words, ScriptStep& step, std::string& why) {
    static const std::map<std::string_view, Kind, std::less<>> pointCommands{
        {"move", Kind::Move}, {"click", Kind::Click}, {"dblclick", Kind::DoubleClick}, {"rclick", Kind::RightClick}};
    const std::string_view command = words.list[0];
    std::vector<long> v;
    if (const auto found = pointCommands.find(command); found != pointCommands.end()) {
        return pointStep(found->second, words, step, why);
    }
    if (command == "wait") {
        if (!numbers(words, 1, 0, kLongestWait, v, why)) return false;
        step.kind = Kind::Wait;
        step.waitMs = static_cast<uint32_t>(v[0]);
        return true;
    }
    if (command == "drag") {
        if (!numbers(words, 4, -kLargestNumber, kLargestNumber, v, why)) return false;
        step.kind = Kind::Drag;
        step.from = point(v[0], v[1]);
        step.to = point(v[2], v[3]);
        return true;
    }
    if (command == "wheel") {
        if (!numbers(words, 1, -kLargestNumber, kLargestNumber, v, why)) return false;
        step.kind = Kind::Wheel;
        step.wheelDelta = static_cast<int>(v[0]);
        return true;
    }
    if (command == "key") {
        if (words.list.size() != 2) {
            why = "'key' takes one key, e.g. F7 or ctrl+s";
            return false;
        }
        const auto chord = parseChord(words.list[1]);
        if (!chord) {
            why = "'" + std::string(words.list[1]) + "' names no key";
            return false;
        }
        step.kind = Kind::Key;
        step.chord = *chord;
        return true;
    }
    if (command == "type") {
        const std::string_view text = rest(line, command);
        bool exact = true;
        step.text = cp1250::fromUtf8(text, &exact);
        if (text.empty() || !exact) {
            why = text.empty() ? "'type' takes the text to type" : "the text holds characters cp1250 has not";
            return false;
        }
        step.kind = Kind::Type;
        return true;
    }
    if (command == "snap") {
        if (words.list.size() != 2) {
            why = "'snap' takes one file name";
            return false;
        }
        step.kind = Kind::Snap;
        step.text = std::string(words.list[1]);
        return true;
    }
    why = "unknown command '" + std::string(command) + "'";
    return false;
}

std::string_view withoutComment(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // Only a '#' that starts a word opens a comment, so "type a#b" types both letters.
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
    }
    return line;
}

}  // namespace

ParsedScript parseInputScript(std::string_view text) {
    ParsedScript script;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        const std::string_view line = withoutComment(raw);
        const Words words = split(line);
        if (words.list.empty()) continue;
        ScriptStep step;
        std::string why;
        if (!parseStep(line, words, step, why)) {
            script.steps.clear();
            script.error = "line " + std::to_string(lineNumber) + ": " + why;
            return script;
        }
        step.line = lineNumber;
        script.steps.push_back(std::move(step));
    }
    return script;
}

ParsedScript readInputScript(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ParsedScript failed;
        failed.error = "cannot read the input script " + path;
        return failed;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseInputScript(text.str());
}

}  // namespace winplat::host
