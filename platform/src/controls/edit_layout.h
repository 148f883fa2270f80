// Where an edit control's text goes: the lines it falls into (at CR LF, and with word wrap at the
// last blank that fits the width) and the x of each position on its line, from the advance
// widths of the font's bytes. Pure arithmetic; the window measures the font once per change.
#ifndef WINPLAT_SRC_CONTROLS_EDIT_LAYOUT_H
#define WINPLAT_SRC_CONTROLS_EDIT_LAYOUT_H

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace winplat::controls {

// The advance of every byte, and the distance between tab stops.
struct CharWidths {
    std::array<int, 256> advance{};
    int tabStop = 1;

    // The advance of the byte drawn at x (a tab reaches the next stop).
    int of(char c, int x) const;
    // The width of a run of text that starts at x = 0.
    int run(std::string_view text) const;
};

// One line: its first byte, how many bytes it shows (without its CR LF), and where the next line
// starts.
struct EditLine {
    size_t start = 0;
    size_t length = 0;
    size_t next = 0;
    bool operator==(const EditLine&) const = default;
};

// The lines of a text: breaks at CR LF, and, for a wrap width above 0, after the last blank that
// fits (a word wider than the width is broken where it stops fitting, keeping at least one byte
// a line). There is always one line, and one after a final CR LF.
std::vector<EditLine> layOutLines(std::string_view text, const CharWidths& widths, int wrapWidth);

// The line a position is on: the last line starting at or before it.
size_t lineOfPosition(const std::vector<EditLine>& lines, size_t position);

// The x of a position on its line, and the position on a line nearest to an x (rounding to the
// nearer edge of the byte under it).
int xOfPosition(std::string_view text, const EditLine& line, size_t position, const CharWidths& widths);
size_t positionOfX(std::string_view text, const EditLine& line, int x, const CharWidths& widths);

}  // namespace winplat::controls

#endif
