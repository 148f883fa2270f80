#include "controls/edit_layout.h"

#include <algorithm>

namespace winplat::controls {

int CharWidths::of(char c, int x) const {
    if (c == '\t') return tabStop - x % tabStop;
    return advance[static_cast<unsigned char>(c)];
}

int CharWidths::run(std::string_view text) const {
    int x = 0;
    for (char c : text) x += of(c, x);
    return x;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The end of the hard line that starts at 'start': the CR of its CR LF, or the end of the text.
size_t hardLineEnd(std::string_view text, size_t start) {
    size_t p = text.find("\r\n", start);
    return p == std::string_view::npos ? text.size() : p;
}

// How many bytes of text[start, end) go on one wrapped line.
size_t wrappedLength(std::string_view text, size_t start, size_t end, const CharWidths& widths, int wrapWidth) {
    int x = 0;
    size_t lastBreak = 0;  // bytes up to and including the last blank run seen
    for (size_t p = start; p < end; ++p) {
        const char c = text[p];
        if (isBlank(c)) {
            // Blanks may hang past the edge: a line never starts with the blanks that ended the last.
            x += widths.of(c, x);
            lastBreak = p + 1 - start;
            continue;
        }
        x += widths.of(c, x);
        if (x > wrapWidth) {
            if (lastBreak > 0) return lastBreak;
            return std::max<size_t>(p - start, 1);
        }
    }
    return end - start;
}

}  // namespace

std::vector<EditLine> layOutLines(std::string_view text, const CharWidths& widths, int wrapWidth) {
    std::vector<EditLine> lines;
    size_t start = 0;
    while (true) {
        const size_t end = hardLineEnd(text, start);
        size_t lineStart = start;
        while (wrapWidth > 0 && lineStart < end) {
            const size_t length = wrappedLength(text, lineStart, end, widths, wrapWidth);
            if (lineStart + length >= end) break;
            lines.push_back({lineStart, length, lineStart + length});
            lineStart += length;
        }
        const bool hasBreak = end < text.size();
        lines.push_back({lineStart, end - lineStart, hasBreak ? end + 2 : end});
        if (!hasBreak) break;
        start = end + 2;
    }
    return lines;
}

size_t lineOfPosition(const std::vector<EditLine>& lines, size_t position) {
    const auto after = std::upper_bound(lines.begin(), lines.end(), position,
                                        [](size_t p, const EditLine& line) { return p < line.start; });
    return after == lines.begin() ? 0 : static_cast<size_t>(after - lines.begin()) - 1;
}

int xOfPosition(std::string_view text, const EditLine& line, size_t position, const CharWidths& widths) {
    const size_t end = std::clamp(position, line.start, line.start + line.length);
    return widths.run(text.substr(line.start, end - line.start));
}

size_t positionOfX(std::string_view text, const EditLine& line, int x, const CharWidths& widths) {
    int left = 0;
    for (size_t p = line.start; p < line.start + line.length; ++p) {
        const int advance = widths.of(text[p], left);
        if (x < left + (advance + 1) / 2) return p;
        left += advance;
    }
    return line.start + line.length;
}

}  // namespace winplat::controls
