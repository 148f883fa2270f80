// The steps by which one line of a paragraph is laid out, run in their order on the formatter.
#include "text/text_formatter.h"

namespace lect32 {

LaidOutLine TextFormatter::TakeLine(size_t bytes) const { return Detached(bytes); }

LaidOutLine LayOutLine(TextFormatter& paragraph, std::span<const uint8_t> text, int width,
                       TextFormatter::Alignment alignment, const LineOptions& options) {
    if (options.again) paragraph.SplitIntoSegmentsAgain(text, width);
    else paragraph.SplitIntoSegments(text, width);
    if (paragraph.Metrics().tab && options.tabBreakWidth) {
        const int tabWidth = options.tabBreakWidth(width);
        if (tabWidth != width) {
            width = tabWidth;
            paragraph.SplitIntoSegmentsAgain(text, width);
        }
    }
    if (text.empty()) {
        paragraph.LayoutLine(options.left, 0, TextFormatter::kLeft, true);
        return paragraph.TakeLine(0);
    }
    paragraph.LayoutLine(options.left, 0, TextFormatter::kLeft, false);
    size_t n = paragraph.BreakLine(static_cast<uint16_t>(width));
    if (n == 0) return paragraph.TakeLine(0);
    if (n < text.size() && text[n] == ' ') ++n;
    else paragraph.TrimTrailingSpace();
    const int right = options.right < 0 ? width : options.right;
    paragraph.LayoutLine(options.left, right, alignment, n >= text.size());
    return paragraph.TakeLine(n);
}

LaidOutLine LayOutStoredLine(TextFormatter& paragraph, std::span<const uint8_t> line, bool trimSpace, int left,
                             int right, TextFormatter::Alignment alignment, bool lastLine) {
    paragraph.SplitIntoSegments(line, 0);
    if (trimSpace) paragraph.TrimTrailingSpace();
    paragraph.LayoutLine(left, right, alignment, lastLine);
    return paragraph.TakeLine(line.size());
}

}  // namespace lect32
