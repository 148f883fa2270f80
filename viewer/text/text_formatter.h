// Lays out one paragraph of formatted text at a time: the stacks of fonts, colours, shadows and
// links its control codes switch, the measured segments, where each line breaks, and where the
// segments of a line stand with tabs and alignment. One formatter serves the process; it measures
// on the device the caller sets. Sizes are device pixels.
//
// Per paragraph: SetDC, BeginParagraph; per line: SplitIntoSegments, LayoutLine (no alignment),
// BreakLine, then either the next byte is a space the line takes too or TrimTrailingSpace, then
// LayoutLine with the alignment; paint or ask positions; EndParagraph; ReleaseFonts when done.
//
// The stacks, the segment table and the item list grow as a paragraph needs, so a paragraph with
// any number of format changes is laid out whole.
#ifndef LECT32_TEXT_TEXT_FORMATTER_H
#define LECT32_TEXT_TEXT_FORMATTER_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "text/font_cache.h"
#include "text/tab_stop_list.h"
#include "text/text_format.h"
#include "winplat/types.h"

namespace lect32 {

class ColourTable;

// What paints a page behind its text: when its page background is shown, lines get no background
// of their own, and a line's rectangle is filled from the page instead.
class PageBackdrop {
public:
    virtual ~PageBackdrop() = default;
    virtual bool BackgroundShown() const = 0;
    // Fills the rectangle with the page background when shown, else with the brush.
    virtual void FillIfShown(HDC device, const RECT& rect, HBRUSH brush) = 0;
};

// Sets the text colour; while a document prints, a colour whose red + green + blue exceeds 600
// is written in black. Returns the previous colour.
COLORREF SetPrintableTextColor(HDC device, COLORREF colour);
// Dashes and gaps of twice the thickness from the current position up to end x (the last dash may
// run past it by up to its length less one); nothing for thickness 0.
void DrawDashedLine(HDC device, int endX, int y, int thickness);

// Marks shown for control characters: kind 0 draws the tab's arrow (8 x 5 pixels), any other
// kind the no-break space's cup (8 x 2), with (x, y) their top left; only the marks' own pixels
// change. False when the program's pictures cannot be had.
constexpr int kMarkWidth = 8;
constexpr int kTabMarkRows = 5;
constexpr int kHardSpaceMarkRows = 2;
bool DrawTabMark(int kind, HDC device, int x, int y);

// Kinds of the line item list.
enum LineItem : uint8_t {
    kItemText = 0,
    kItemFont = 1,
    kItemColours = 2,
    kItemShadow = 3,
    kItemTab = 9,
    kItemEnd = 10,
    kItemLinkStart = 20,
    kItemLinkEnd = 21,
    kItemSkipped = 30,  // a code the formatter does not know, or damaged bytes: counted, not shown
};

struct TextSegment {
    uint16_t start = 0;   // offset in the text given to SplitIntoSegments
    uint16_t length = 0;  // bytes
    int width = 0;
    int spaces = 0;  // spaces and no-break spaces
    int x = 0;
    int extra = 0;          // justification pixels spread over its spaces
    int lastFullWidth = 0;  // A + B + C of the last character when it overhangs
    int overhang = 0;       // -C of the last character when C < 0
    bool link = false;
};

struct StackedFont {
    CharFormat format;
    FontRef font;
    int ascent = 0;
    int descent = 0;
    int shift = 0;  // baseline shift: negative raised, positive lowered
    int underlineOffset = -1;  // measured on first need
    int underlineThickness = 0;
    int averageWidth = 0;
    bool abcWidths = false;
};

struct LinkEntry {
    uint8_t kind = 0;
    uint8_t length = 0;  // the frame's length byte
};

struct LineMetrics {
    int ascent = 0;
    int descent = 0;
    bool tab = false;
};

// Spaces and no-break spaces: both take a share of justification.
int CountSpaces(std::span<const uint8_t> bytes);

// The baseline shift of raised or lowered text of a size in points at a resolution: -(offset + 1)
// raised, offset - 1 lowered, offset 3 up to 7 points, else 4/10 (to 11 points) or 3/10 of the
// size in pixels. Both flags set count as raised.
int BaselineShift(const CharFormat& format, int pixelsPerInch);

class TextFormatter {
public:
    enum Alignment : uint8_t { kLeft = 0, kRight = 1, kJustified = 2, kCentred = 3 };
    static constexpr uint16_t kNoPosition = 0xFFFF;

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
    // Places the segments from left x; right x 0 means no alignment. Returns the line's right end.
    int LayoutLine(int left, int right, Alignment alignment, bool lastLine);
    // Cuts the tables after what fits before right x; the bytes of text the line takes, control
    // codes included.
    size_t BreakLine(uint16_t right);
    void TrimTrailingSpace();

    struct CharPlace {
        int x = 0;
        int ascent = 0;
        int descent = 0;
        int baseline = 0;  // the shift of the font there
    };
    CharPlace GetCharX(size_t offset);
    uint16_t GetPositionAtX(int x);
    std::pair<int, int> GetLineExtent() const;
    void OffsetSegments(int dx);

    // Painting of the laid-out line.
    void PaintLine(int16_t x, int16_t top, int16_t leading, int16_t lineWidth);
    void InvertRange(int16_t x, int16_t top, int16_t leading, uint16_t first, uint16_t end);

    const std::vector<TextSegment>& Segments() const { return segments_; }
    const std::vector<uint8_t>& Items() const { return items_; }
    const LineMetrics& Metrics() const { return metrics_; }
    const std::vector<StackedFont>& Fonts() const { return fonts_; }
    const std::vector<ColourPair>& Colours() const { return colours_; }
    const std::vector<Shadow>& Shadows() const { return shadows_; }
    const std::vector<LinkEntry>& Links() const { return links_; }
    const TextFormat& Format() const { return format_; }
    // The underline geometry of a stacked font, measured on first need.
    const StackedFont& UnderlineOf(size_t font);

private:
    struct PaintState;
    COLORREF colourOf(uint8_t index) const;
    COLORREF pairTextColour(int pair) const;
    void switchColours(int pair, PaintState& paint);
    void paintSegment(size_t index, bool lastOfLine, PaintState& paint);
    void underline(int fromX, int toX, int y, int thickness, uint8_t state, COLORREF colour);

    // Where a walk of the line items stands: bytes of text passed and the index reached in each
    // table (-1 before the first).
    struct ItemState {
        size_t count = 0;
        int font = -1, colour = -1, shadow = -1, link = -1, segment = -1;
    };
    struct BreakCandidate {
        ItemState state;
        size_t item = 0;
        uint16_t length = 0;  // the segment's bytes up to the break
        size_t offset = 0;    // the line's bytes
        LineMetrics metrics;
    };

    void pushFont(const CharFormat& asked);
    void selectFont(size_t index);
    void raiseMetrics(const StackedFont& font, const Shadow& shadow);
    void resetMetrics();
    void keepInForce();
    int measure(size_t start, size_t count, const Shadow& shadow, TextSegment* into);
    void closeSegment(size_t start, size_t end, int& used, bool link);
    int decimalOffset(const TextSegment& segment, size_t font);
    void justify(size_t from, int extra, int spaces);
    ItemState applyItem(size_t item, ItemState state);
    ItemState applyItemQuiet(size_t item, ItemState state) const;
    // Before the line's first item: a link carried over from the line before is already counted.
    ItemState lineStart() const { return ItemState{0, -1, -1, -1, carriedLinks_ - 1, -1}; }
    int prefixX(const TextSegment& s, size_t count, const Shadow& shadow);
    ItemState stateAt(size_t segment) const;
    Shadow shadowOf(const ItemState& state) const;
    void cutTables(const ItemState& at, size_t item);
    size_t shorten(size_t item, const ItemState& before, const ItemState& state,
                   const std::optional<BreakCandidate>& candidate, int w);
    void remeasure(size_t segment, uint16_t length);

    HDC dc_ = nullptr;
    HGDIOBJ fontBeforePush_ = nullptr;
    size_t selectedFont_ = SIZE_MAX;
    const ColourTable* colourTable_ = nullptr;
    PageBackdrop* pagePainter_ = nullptr;
    TextFormat format_;
    std::span<const uint8_t> text_;
    TabStopList tabs_;
    uint8_t decimal_ = '.';

    std::vector<StackedFont> fonts_;
    std::vector<ColourPair> colours_;
    std::vector<Shadow> shadows_;
    std::vector<LinkEntry> links_;
    std::vector<uint8_t> items_;
    std::vector<uint16_t> itemLengths_;  // the bytes of text each item stands for
    std::vector<TextSegment> segments_;
    LineMetrics metrics_;
    bool linkOpen_ = false;      // at the current line's start
    int carriedLinks_ = 0;       // 1 when the link open at the line's start is links_[0]
    uint8_t lineLinkState_ = 0;  // 0 none, 1 solid underline, 2 dotted
    int lineLeft_ = 0;
    int lastStopX_ = 0;
    std::vector<int> tabX_;  // the stop of each tab on the line
};

TextFormatter& GetTextFormatter();

}  // namespace lect32

#endif
