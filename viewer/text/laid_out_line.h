// A laid-out line as a value: the segments of its text with their places, the line items that
// switch fonts, colours, shadows and links between them, its metrics and tab positions, and the
// bytes of text it took. Painting and the position queries are operations on the value, so a view
// can keep many lines at once and paint or hit-test any of them later. The formatter lays lines
// out into a value of its own (it derives from this class) and hands copies out.
//
// A copy keeps the bytes of its line, shared between copies, and holds the fonts of its items;
// its operations select those fonts on the device it is given and put the device's font back.
#ifndef LECT32_TEXT_LAID_OUT_LINE_H
#define LECT32_TEXT_LAID_OUT_LINE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "text/font_cache.h"
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

class LaidOutLine {
public:
    static constexpr uint16_t kNoPosition = 0xFFFF;

    struct CharPlace {
        int x = 0;
        int ascent = 0;
        int descent = 0;
        int baseline = 0;  // the shift of the font there
    };

    // The device later operations measure and paint on (a copy keeps the one it was laid out on).
    void SetDevice(HDC device) { dc_ = device; }
    HDC Device() const { return dc_; }

    // Positions and painting. A copy selects its fonts for the call and restores the device's
    // font afterwards; the formatter leaves its fonts selected as it goes.
    CharPlace GetCharX(size_t offset);
    uint16_t GetPositionAtX(int x);
    std::pair<int, int> GetLineExtent() const;
    void OffsetSegments(int dx);
    void PaintLine(int16_t x, int16_t top, int16_t leading, int16_t lineWidth);
    void InvertRange(int16_t x, int16_t top, int16_t leading, uint16_t first, uint16_t end);

    // Bytes of text the line took, control codes included (set on a copy).
    size_t Bytes() const { return bytes_; }
    int Height() const { return metrics_.ascent + metrics_.descent; }
    std::span<const uint8_t> Text() const { return text_; }
    const std::vector<TextSegment>& Segments() const { return segments_; }
    const std::vector<uint8_t>& Items() const { return items_; }
    const LineMetrics& Metrics() const { return metrics_; }
    const std::vector<StackedFont>& Fonts() const { return fonts_; }
    const std::vector<ColourPair>& Colours() const { return colours_; }
    const std::vector<Shadow>& Shadows() const { return shadows_; }
    const std::vector<LinkEntry>& Links() const { return links_; }
    const std::vector<int>& TabPositions() const { return tabX_; }
    const TextFormat& Format() const { return format_; }
    // The underline geometry of a stacked font, measured on first need.
    const StackedFont& UnderlineOf(size_t font);

protected:
    // Where a walk of the line items stands: bytes of text passed and the index reached in each
    // table (-1 before the first).
    struct ItemState {
        size_t count = 0;
        int font = -1, colour = -1, shadow = -1, link = -1, segment = -1;
    };
    struct PaintState;
    // Around each public operation of a copy: its fonts are selected afresh and the device's
    // font is put back at the end.
    class DeviceScope {
    public:
        explicit DeviceScope(LaidOutLine& line);
        ~DeviceScope();
        DeviceScope(const DeviceScope&) = delete;
        DeviceScope& operator=(const DeviceScope&) = delete;

    private:
        LaidOutLine& line_;
    };

    // A copy of this line that owns the bytes it took.
    LaidOutLine Detached(size_t bytes) const;

    void selectFont(size_t index);
    int measure(size_t start, size_t count, const Shadow& shadow, TextSegment* into);
    COLORREF colourOf(uint8_t index) const;
    COLORREF pairTextColour(int pair) const;
    void switchColours(int pair, PaintState& paint);
    void paintSegment(size_t index, bool lastOfLine, PaintState& paint);
    void underline(int fromX, int toX, int y, int thickness, uint8_t state, COLORREF colour);
    ItemState applyItemQuiet(size_t item, ItemState state) const;
    // Before the line's first item: a link carried over from the line before is already counted.
    ItemState lineStart() const { return ItemState{0, -1, -1, -1, carriedLinks_ - 1, -1}; }
    int prefixX(const TextSegment& s, size_t count, const Shadow& shadow);
    ItemState stateAt(size_t segment) const;
    Shadow shadowOf(const ItemState& state) const;

    HDC dc_ = nullptr;
    HGDIOBJ fontBeforePush_ = nullptr;
    size_t selectedFont_ = SIZE_MAX;
    const ColourTable* colourTable_ = nullptr;
    PageBackdrop* pagePainter_ = nullptr;
    TextFormat format_;
    std::span<const uint8_t> text_;

    std::vector<StackedFont> fonts_;
    std::vector<ColourPair> colours_;
    std::vector<Shadow> shadows_;
    std::vector<LinkEntry> links_;
    std::vector<uint8_t> items_;
    std::vector<uint16_t> itemLengths_;  // the bytes of text each item stands for
    std::vector<TextSegment> segments_;
    LineMetrics metrics_;
    int carriedLinks_ = 0;       // 1 when the link open at the line's start is links_[0]
    uint8_t lineLinkState_ = 0;  // 0 none, 1 solid underline, 2 dotted
    int lineLeft_ = 0;
    int lastStopX_ = 0;
    std::vector<int> tabX_;  // the stop of each tab on the line

private:
    std::shared_ptr<const std::vector<uint8_t>> ownText_;  // a copy's bytes; none in the formatter
    size_t bytes_ = 0;
    int scopeDepth_ = 0;
};

}  // namespace lect32

#endif
