// Lays out one paragraph of formatted text at a time: the stacks of fonts, colours, shadows and
// links its control codes switch, the measured segments, where each line breaks, and where the
// segments of a line stand with tabs and alignment. One formatter serves the process; it measures
// on the device the caller sets. Sizes are device pixels.
//
// Per paragraph: SetDC, BeginParagraph; per line: SplitIntoSegments, LayoutLine (no alignment),
// BreakLine, then either the next byte is a space the line takes too or TrimTrailingSpace, then
// LayoutLine with the alignment (LayOutLine below runs these steps and hands the line out as a
// value); paint or ask positions; EndParagraph; ReleaseFonts when done.
//
// The stacks, the segment table and the item list grow as a paragraph needs, so a paragraph with
// any number of format changes is laid out whole.
#ifndef LECT32_TEXT_TEXT_FORMATTER_H
#define LECT32_TEXT_TEXT_FORMATTER_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "text/font_cache.h"
#include "text/laid_out_line.h"
#include "text/tab_stop_list.h"
#include "text/text_format.h"
#include "winplat/types.h"

namespace lect32 {

class ColourTable;

// Spaces and no-break spaces: both take a share of justification.
int CountSpaces(std::span<const uint8_t> bytes);

// The baseline shift of raised or lowered text of a size in points at a resolution: -(offset + 1)
// raised, offset - 1 lowered, offset 3 up to 7 points, else 4/10 (to 11 points) or 3/10 of the
// size in pixels. Both flags set count as raised.
int BaselineShift(const CharFormat& format, int pixelsPerInch);

class TextFormatter : public LaidOutLine {
public:
    enum Alignment : uint8_t { kLeft = 0, kRight = 1, kJustified = 2, kCentred = 3 };

    TextFormatter();

    void SetDC(HDC device);
    HDC GetDC() const { return dc_; }
    void SetColourTable(const ColourTable* colours) { colourTable_ = colours; }
    void SetPageBackdrop(PageBackdrop* backdrop) { pagePainter_ = backdrop; }
    TabStopList& Tabs() { return tabs_; }
    void SetDecimalSeparator(char separator) { decimal_ = static_cast<uint8_t>(separator); }

    void BeginParagraph(const TextFormat& format);
    void EndParagraph();
    void ReleaseFonts();

    // Fills in the format each part that the codes of the text set, with its presence flag.
    static void ScanControlCodes(std::span<const uint8_t> text, TextFormat& format);

    // Cuts the text from a line's start into segments and items. Returns the offset after the
    // paragraph's end code; when a width is reached, the offset of the space the walk stopped at;
    // at the end of a text without end code, its length when a width was given, else the number
    // of line items.
    size_t SplitIntoSegments(std::span<const uint8_t> text, int width);
    // The line just cut, cut again from its start (another width, or after a different band).
    size_t SplitIntoSegmentsAgain(std::span<const uint8_t> text, int width);
    // Places the segments from left x; right x 0 means no alignment. Returns the line's right end.
    int LayoutLine(int left, int right, Alignment alignment, bool lastLine);
    // Cuts the tables after what fits before right x; the bytes of text the line takes, control
    // codes included.
    size_t BreakLine(uint16_t right);
    void TrimTrailingSpace();

    // The line laid out last, as a value of its own that taking 'bytes' of the text; it keeps a
    // copy of those bytes and stays valid whatever the formatter does next.
    LaidOutLine TakeLine(size_t bytes) const;

private:
    struct BreakCandidate {
        ItemState state;
        size_t item = 0;
        uint16_t length = 0;  // the segment's bytes up to the break
        size_t offset = 0;    // the line's bytes
        LineMetrics metrics;
    };

    void pushFont(const CharFormat& asked);
    void raiseMetrics(const StackedFont& font, const Shadow& shadow);
    void resetMetrics();
    void keepInForce();
    size_t split(std::span<const uint8_t> text, int width);
    void closeSegment(size_t start, size_t end, int& used, bool link);
    int decimalOffset(const TextSegment& segment, size_t font);
    void justify(size_t from, int extra, int spaces);
    ItemState applyItem(size_t item, ItemState state);
    void cutTables(const ItemState& at, size_t item);
    size_t shorten(size_t item, const ItemState& before, const ItemState& state,
                   const std::optional<BreakCandidate>& candidate, int w);
    void remeasure(size_t segment, uint16_t length);

    TabStopList tabs_;
    uint8_t decimal_ = '.';
    bool linkOpen_ = false;  // at the current line's start
};

// What a line is laid out for beyond its text, width and alignment.
struct LineOptions {
    int left = 0;   // where the line starts: the paragraph's indent for this line
    int right = -1;  // the right x the alignment uses; -1: the width
    // Asked after the first cut of a line that holds a tab: the width to break that line at
    // instead (the width given when it returns it unchanged).
    std::function<int(int width)> tabBreakWidth;
    // The line was cut before (at another width or place): it is cut again from its start.
    bool again = false;
};

// One line of a paragraph begun on the formatter: cut from the text's start at the width, broken
// after the last word that fits (a space after it joins the line, a trailing one is trimmed) and
// placed with the alignment (a line that takes the rest of the text counts as the last, which
// is not justified). Returns the line; an empty text gives one line of no bytes, and Bytes() 0
// for a non-empty text means nothing fits.
LaidOutLine LayOutLine(TextFormatter& paragraph, std::span<const uint8_t> text, int width,
                       TextFormatter::Alignment alignment, const LineOptions& options = {});

// A line whose bytes are known (as a view keeps them) laid out again without breaking: its
// trailing space trimmed when asked, placed from left to right with the alignment.
LaidOutLine LayOutStoredLine(TextFormatter& paragraph, std::span<const uint8_t> line, bool trimSpace, int left,
                             int right, TextFormatter::Alignment alignment, bool lastLine);

TextFormatter& GetTextFormatter();

}  // namespace lect32

#endif
