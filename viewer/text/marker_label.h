// The list marker of a paragraph: the format's bullet character in the marker faces, or the item's
// number in the paragraph's own font, with its measures for placing it before the first line.
#ifndef LECT32_TEXT_MARKER_LABEL_H
#define LECT32_TEXT_MARKER_LABEL_H

#include <cstdint>
#include <string>

#include "text/font_cache.h"
#include "text/text_format.h"

namespace lect32 {

class ColourTable;

// The number of a list item: decimal for style 0, else letters from "A" (style 1) or "a"
// (style 2) in plain bijective base 26: A..Z, AA..ZZ, AAA...
std::string ListNumberText(uint8_t style, uint32_t number);

// A built marker (the format's list-marker part names kind, style, suffix and colour).
class MarkerLabel {
public:
    static constexpr int16_t kSmallestBullet = 8;

    // kind 1: the format's bullet character in marker face 0 at 3/4 of the paragraph's size, at
    // least 8 points (a character of 0 draws nothing); else the number, then that character.
    void Build(HDC device, const TextFormat& format, uint32_t number);
    void Draw(HDC device, int x, int y, const ColourTable& colours) const;
    void Release() {}

    const std::string& Text() const { return text_; }
    int Width() const { return width_; }
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int Height() const { return height_; }
    int AverageWidth() const { return averageWidth_; }

private:
    FontRef font_;
    std::string text_;
    int width_ = 0, ascent_ = 0, descent_ = 0, height_ = 0, averageWidth_ = 0;
    uint8_t colour_ = 0;
};

}  // namespace lect32

#endif
