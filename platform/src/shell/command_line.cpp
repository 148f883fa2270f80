#include "shell/command_line.h"

namespace winplat::shell {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t skipBlanks(std::string_view line, size_t at) {
    while (at < line.size() && isBlank(line[at])) ++at;
    return at;
}

// The program's name from 'at'; returns where it ended.
size_t programName(std::string_view line, size_t at, std::string& name) {
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            quoted = !quoted;
        } else if (isBlank(c) && !quoted) {
            break;
        } else {
            name += c;
        }
    }
    return at;
}

// One argument after the program's name from 'at'; returns where it ended.
size_t argument(std::string_view line, size_t at, std::string& text) {
    bool quoted = false;
    while (at < line.size()) {
        const char c = line[at];
        if (c == '\\') {
            size_t run = 0;
            while (at < line.size() && line[at] == '\\') ++run, ++at;
            const bool beforeQuote = at < line.size() && line[at] == '"';
            text.append(beforeQuote ? run / 2 : run, '\\');
            if (beforeQuote && run % 2 == 1) {
                text += '"';
                ++at;
            }
            continue;
        }
        if (c == '"') {
            if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                text += '"';
                quoted = false;
                at += 2;
            } else {
                quoted = !quoted;
                ++at;
            }
            continue;
        }
        if (isBlank(c) && !quoted) break;
        text += c;
        ++at;
    }
    return at;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    size_t at = skipBlanks(line, 0);
    if (at == line.size()) return arguments;
    std::string name;
    at = programName(line, at, name);
    arguments.push_back(std::move(name));
    for (at = skipBlanks(line, at); at < line.size(); at = skipBlanks(line, at)) {
        std::string text;
        at = argument(line, at, text);
        arguments.push_back(std::move(text));
    }
    return arguments;
}

std::string quoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) return std::string(argument);
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote itself escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // The closing quote follows: backslashes before it are doubled too.
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string joinCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line += ' ';
        const std::string& a = arguments[i];
        const bool blank = a.find_first_of(" \t") != std::string::npos;
        line += i > 0 ? quoteArgument(a) : blank || a.empty() ? "\"" + a + "\"" : a;
    }
    return line;
}

}  // namespace winplat::shell
