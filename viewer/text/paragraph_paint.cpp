#include "text/paragraph_paint.h"

namespace lect32 {

ParagraphResult PaintParagraph(TextFormatter& formatter, const TextFormat& format, std::span<const uint8_t> text,
                               const ParagraphBox& box) {
    ParagraphResult result;
    formatter.BeginParagraph(format);
    int y = box.top;
    while (result.bytes < text.size()) {
        LaidOutLine line = LayOutLine(formatter, text.subspan(result.bytes), box.width, box.alignment);
        if (line.Bytes() == 0) break;
        if (box.paint) line.PaintLine(static_cast<int16_t>(box.x), static_cast<int16_t>(y), 0, static_cast<int16_t>(box.width));
        y += line.Height();
        result.bytes += line.Bytes();
        ++result.lines;
    }
    formatter.EndParagraph();
    result.height = y - box.top;
    return result;
}

}  // namespace lect32
