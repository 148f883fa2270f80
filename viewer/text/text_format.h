// The full set of character and paragraph attributes, each part with a presence flag, and the
// packed form in which a paragraph's format is stored: a u16 mask, the style number when bit
// 0x0001 is set, then each part whose bit is set, in a fixed order and with fixed sizes.
#ifndef LECT32_TEXT_TEXT_FORMAT_H
#define LECT32_TEXT_TEXT_FORMAT_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "text/char_format.h"
#include "text/format_parts.h"
#include "winplat/byte_reader.h"

namespace lect32 {

// Presence flags of a TextFormat (and of a FormatCursor); the others are carried but unused.
enum FormatPart : uint8_t {
    kPartChar = 1,
    kPartColours = 2,
    kPartShadow = 3,
    kPartAlignment = 4,
    kPartIndents = 5,
    kPartLineSpacing = 6,
    kPartSpacing = 7,
    kPartBorder = 8,
    kPartFrame = 9,
    kPartListMarker = 10,
    kPartFlagOnly = 11,  // mask bit 0x8000, no data
};

struct PackedPart {
    uint16_t maskBit;
    FormatPart part;
    uint8_t size;
    uint8_t valueOffset;  // in the 40 value bytes of a style record
};

// In stored order; the sizes are constants of the format.
inline constexpr std::array<PackedPart, 10> kPackedParts{{
    {0x0002, kPartChar, 5, 0},
    {0x0004, kPartColours, 2, 5},
    {0x0008, kPartShadow, 3, 7},
    {0x0010, kPartIndents, 8, 10},
    {0x0020, kPartAlignment, 1, 18},
    {0x0040, kPartLineSpacing, 2, 19},
    {0x0080, kPartSpacing, 4, 21},
    {0x0100, kPartBorder, 4, 25},
    {0x0200, kPartFrame, 3, 29},
    {0x0400, kPartListMarker, 8, 32},
}};

inline constexpr uint16_t kMaskStyleNumber = 0x0001;
inline constexpr uint16_t kMaskFlagOnly = 0x8000;
inline constexpr size_t kFormatValueBytes = 40;
inline constexpr size_t kMaxPackedSize = 4 + 5 + 2 + 3 + 8 + 1 + 2 + 4 + 4 + 3 + 8;

struct TextFormat {
    static constexpr int kFlagCount = 22;

    std::array<bool, kFlagCount> present{};
    CharFormat chars;
    ColourPair colours;
    Shadow shadow;
    Indents indents;
    uint8_t alignment = 0;
    int16_t lineSpacing = -100;  // <= 0: minus a percentage of single spacing; > 0: exact points
    ParagraphSpacing spacing;
    Border border;
    Shadow frame;
    ListMarker marker;
    uint8_t markerByte = 255;
    uint16_t styleNumber = 0;

    bool Has(FormatPart part) const { return present[part]; }
    void Clear(bool flags);
    void Reset();
    void SetParagraphDefaults();

    // Reads a packed format: the character format, colour pair and shadow merge onto the values
    // already held, the other parts replace theirs. A non-zero zoom then scales indents,
    // paragraph spacing and marker size. False when the bytes end inside a part (what was read
    // stays).
    bool ReadPacked(winplat::ByteReader& in, int zoom = 0);
    // The same, with each set font index mapped through the table; in marking mode the table
    // entry of each font used is set to 1 instead.
    enum class FontRemap : uint8_t { Replace, MarkUsed };
    bool ReadPackedRemapped(winplat::ByteReader& in, FontRemap mode, std::span<uint8_t, 256> table, int zoom = 0);

    // Writes the present parts after the mask; a style number the buffer already announces (mask
    // bit 0x0001) and its two bytes are kept. Returns the bytes written, 0 when they do not fit.
    size_t WritePacked(std::span<uint8_t> out) const;
    // The size WritePacked needs without a style number, plus 2 when flag 11 is set.
    size_t PackedSize() const;

    // The 40 value bytes of a style record, field by field.
    void ReadValues(winplat::ByteReader& in);
    void WriteValues(std::span<uint8_t, kFormatValueBytes> out) const;

    bool Equals(const TextFormat& other) const;
    int AvailableWidth(int width, bool furtherLines) const;
    // Extra space below a line. The units are mixed (points added to pixels for L <= 0, a pixel
    // conversion of points for L > 0), but stored documents were laid out with exactly this.
    int GetExtraLeading(int resolution) const;
    void ScaleByZoom(int percent, int charPercent);

private:
    bool readPart(FormatPart part, winplat::ByteReader& in);
    void writePart(FormatPart part, uint8_t* out) const;
};

// Rewrites a packed format of a document older than version 2 in place: the character size (when
// set) and the line spacing become value x 11 / 16. Returns the bytes the format uses, or 0 when
// it does not fit in the bytes given.
size_t ConvertOldPackedFormat(std::span<uint8_t> bytes);

// The current text zoom in percent (0 or 100: none), set by the shell.
int GetTextZoom();
void SetTextZoom(int percent);

}  // namespace lect32

#endif
