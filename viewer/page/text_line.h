// What text flow around a page's objects tells the layout about one line: where the text may go
// across the page and how far down that holds.
#ifndef LECT32_PAGE_TEXT_LINE_H
#define LECT32_PAGE_TEXT_LINE_H

#include <cstdint>

namespace lect32 {

struct TextLine {
    static constexpr int32_t kUnlimited = 0x7FFFFFFF;

    enum class Kind : uint8_t {
        Blocked = 0,    // no span wide enough in this band
        Span = 1,       // a span found
        NoObjects = 2,  // no objects from here down
    };

    Kind kind = Kind::Blocked;
    int16_t spanLeft = 0;  // from the left margin of the layout area
    int32_t top = 0;       // of the band
    int16_t spanWidth = 0;
    int32_t height = 0;  // of the band; kUnlimited below the last object
    int32_t reserved1 = 0;  // cleared on every fit, for the view's use
    int32_t reserved2 = 0;
    int32_t behindText = 0;  // an object of the band lies behind the text
};

}  // namespace lect32

#endif
