// The fixed 63-byte record that says how a page is laid out and decorated. Each page carries one,
// the document properties carry the document's defaults, and a page's Flags word says which
// groups of fields the page sets itself: every group whose bit is clear comes from the defaults.
// Packed, because its size and member offsets are part of what the page code relies on.
#ifndef LECT32_PAGE_PAGE_STYLE_H
#define LECT32_PAGE_PAGE_STYLE_H

#include <cstdint>

namespace lect32 {

#pragma pack(push, 1)

// Four 16-bit values in order. A page style keeps its margins here in their stored order, which
// is left, right, top, bottom: read them through PageStyle's margin accessors.
struct ShortRect {
    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;
};

// One (id, byte) pair of the page's link group; id -1 means the pair is unused.
struct PageStyleLink {
    int16_t id = -1;
    uint8_t value = 0;
};

// The page window reads the same record in the page's stored versions and names its members as
// follows: flags = flags, width = width, layoutWord = height, margins = leftMargin, rightMargin,
// topMargin, bottomMargin in that stored order (see the margin accessors below),
// backgroundColour = backColour, widthMode = widthMode, oldFormPresence = legacyColoursPresent,
// group10 = contentsList, contentsParam1 .. contentsParam4, group20 = bannerOn, bannerStyle,
// group40Word/Byte = soundIndex, soundMode, backgroundPicture = backPicture,
// backgroundPictureMode = backPictureMode, group80Byte = option80, group100Byte = noSearch,
// group200Byte = option200, group400Byte = option400, group200Words = value200a, value200b,
// group400Words = value400a, value400b, group800Bytes = option800a, option800b, group800Word =
// value800, links = pageLinks, group2000Present = timedChange, group2000Word1 = timedPage,
// group2000Byte = timedLink, group2000Word2 = timedTicks, trailingId = templatePage.
struct PageStyle {
    // Group bits of Flags.
    static constexpr uint16_t kTrailingIdAbsent = 0x0001;  // stored form only: no trailing id
    static constexpr uint16_t kWidthGroup = 0x0002;
    static constexpr uint16_t kColourGroup = 0x0004;
    static constexpr uint16_t kPictureGroup = 0x0008;
    static constexpr uint16_t kGroup10 = 0x0010;
    static constexpr uint16_t kGroup20 = 0x0020;
    static constexpr uint16_t kGroup40 = 0x0040;
    static constexpr uint16_t kGroup80 = 0x0080;
    static constexpr uint16_t kGroup100 = 0x0100;
    static constexpr uint16_t kGroup200 = 0x0200;
    static constexpr uint16_t kGroup400 = 0x0400;
    static constexpr uint16_t kGroup800 = 0x0800;
    static constexpr uint16_t kLinkGroup = 0x1000;
    static constexpr uint16_t kGroup2000 = 0x2000;

    static constexpr uint8_t kUnsetColour = 255;  // in a stored page style

    uint16_t flags = 0;
    int16_t width = 400;
    int16_t layoutWord = 0;  // the defaults leave it; stored styles always supply it
    ShortRect margins = {10, 10, 10, 10};
    uint8_t backgroundColour = 15;
    uint8_t widthMode = 0;  // the width counts when it is 1
    uint8_t oldFormPresence = 0;
    uint8_t group10[5] = {0, 1, 0, 2, 0};
    uint8_t group20[2] = {0, 0};
    int16_t group40Word = -1;
    uint8_t group40Byte = 1;
    int16_t backgroundPicture = -1;
    uint8_t backgroundPictureMode = 1;
    uint8_t group80Byte = 0;
    uint8_t group100Byte = 0;
    uint8_t group200Byte = 0;
    uint8_t group400Byte = 0;
    int16_t group200Words[2] = {0, 0};
    int16_t group400Words[2] = {200, 200};
    uint8_t group800Bytes[2] = {1, 1};
    int16_t group800Word = 0;
    PageStyleLink links[3];
    uint8_t group2000Present = 0;
    int16_t group2000Word1 = -1;
    uint8_t group2000Byte = 0;
    int16_t group2000Word2 = 10;
    int16_t trailingId = -1;

    // The margins as stored: left, right, top, bottom. ShortRect names its four values left, top,
    // right, bottom, so its 'top' holds the right margin and its 'right' the top margin.
    int16_t LeftMargin() const { return margins.left; }
    int16_t RightMargin() const { return margins.top; }
    int16_t TopMargin() const { return margins.right; }
    int16_t BottomMargin() const { return margins.bottom; }

    void InitLinks();
    // Every default except the layout word, which keeps its value.
    void SetDefaults();
    // Compares what decides how a page looks; see the .cpp for the rules.
    bool Equals(const PageStyle& other) const;
    void ScaleMargins(int16_t percent);
};

#pragma pack(pop)

bool Equals(const ShortRect& one, const ShortRect& other);
// Each value becomes value x percent / 100, on 16-bit operands, held to the 16-bit range.
ShortRect ScaleByPercent(const ShortRect& rect, int16_t percent);

// The style a page is drawn with: the groups whose bit is set in the page's Flags from the page,
// the others from the document defaults; the link pairs and the group-0x2000 members always from
// the page.
PageStyle MergeWithDefaults(const PageStyle& page, const PageStyle& defaults);

// A selection in a text view: start and end (paragraph, offset), compared as unsigned.
struct TextRange {
    int32_t active = 0;
    int32_t second = 0;
    uint16_t startParagraph = 0;
    uint16_t startOffset = 0;
    uint16_t endParagraph = 0;
    uint16_t endOffset = 0;

    void Set(uint16_t fromParagraph, uint16_t fromOffset, uint16_t toParagraph, uint16_t toOffset);
    bool IsNonEmpty() const;
    struct Bounds {
        uint16_t startParagraph, startOffset, endParagraph, endOffset;
    };
    Bounds GetBounds() const { return {startParagraph, startOffset, endParagraph, endOffset}; }
};

}  // namespace lect32

#endif
