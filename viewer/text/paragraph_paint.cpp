#include "text/paragraph_paint.h"

namespace lect32 {

ParagraphResult PaintParagraph(TextFormatter& formatter, const TextFormat& format, std::span<const uint8_t> text,
                               const ParagraphBox& box) {
    ParagraphResult result;
    formatter.BeginParagraph(format);
    int y = box.top;
    while (result.bytes < text.size()) {
        const auto rest = text.subspan(result.bytes);
        formatter.SplitIntoSegments(rest, box.width);
        formatter.LayoutLine(0, 0, TextFormatter::kLeft, false);
        size_t n = formatter.BreakLine(static_cast<uint16_t>(box.width));
        if (n == 0) break;
        if (n < rest.size() && rest[n] == ' ') ++n;
        else formatter.TrimTrailingSpace();
        formatter.LayoutLine(0, box.width, box.alignment, n >= rest.size());
        const LineMetrics& metrics = formatter.Metrics();
        if (box.paint)
            formatter.PaintLine(static_cast<int16_t>(box.x), static_cast<int16_t>(y), 0, static_cast<int16_t>(box.width));
        y += metrics.ascent + metrics.descent;
        result.bytes += n;
        ++result.lines;
    }
    formatter.EndParagraph();
    result.height = y - box.top;
    return result;
}

}  // namespace lect32
