// Lays out a whole paragraph line by line and paints each line below the last: the order of calls
// the document view makes, for tests, previews and benchmarks.
#ifndef LECT32_TEXT_PARAGRAPH_PAINT_H
#define LECT32_TEXT_PARAGRAPH_PAINT_H

#include <cstdint>
#include <span>

#include "text/text_formatter.h"

namespace lect32 {

struct ParagraphBox {
    int x = 0;
    int top = 0;
    int width = 0;  // the right x lines break and align at, from x
    TextFormatter::Alignment alignment = TextFormatter::kLeft;
    bool paint = true;
};

struct ParagraphResult {
    int lines = 0;
    int height = 0;
    size_t bytes = 0;  // the text the lines took; all of it unless a line took none
};

// Begins the paragraph with the format, lays out and (when asked) paints every line, ends it.
ParagraphResult PaintParagraph(TextFormatter& formatter, const TextFormat& format, std::span<const uint8_t> text,
                               const ParagraphBox& box);

}  // namespace lect32

#endif
